#include "formats/format_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace beatloom {

std::string ToCp932(const std::string& bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Cp932) return bytes;
  return FromUtf8(bytes, TextEncoding::Cp932);
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
  return s;
}

bool ParseDecimalInt(std::string_view s, int& value) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return false;
  long long v = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return false;
  value = static_cast<int>(v);
  return true;
}

namespace {

// strtod would also take hexadecimal and "inf"; a typed number never looks like that.
bool LooksDecimal(std::string_view s) {
  if (s.empty()) return false;
  for (const char c : s) {
    const bool ok = (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
    if (!ok) return false;
  }
  return true;
}

template <typename Real>
bool ParseReal(std::string_view s, Real& value, Real (*convert)(const char*, char**)) {
  s = TrimBlanks(s);
  if (!LooksDecimal(s)) return false;
  const std::string text(s);
  char* end = nullptr;
  const Real v = convert(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

// |value| to 18 significant digits in fixed notation with exactly `places`
// digits after the point (cut or padded with zeros).
std::string SignificantFixed(long double magnitude, int places) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17Le", magnitude);  // d.ddddddddddddddddde+XX
  const std::string text(buf);
  const size_t e = text.find('e');
  const std::string mantissa = text.substr(0, 1) + text.substr(2, e - 2);
  const int exponent = std::atoi(text.c_str() + e + 1);
  const int size = static_cast<int>(mantissa.size());
  std::string intPart;
  std::string fraction;
  if (exponent >= 0) {
    const int intDigits = exponent + 1;
    intPart = mantissa.substr(0, static_cast<size_t>(std::min(intDigits, size)));
    if (intDigits > size) intPart.append(static_cast<size_t>(intDigits - size), '0');
    if (intDigits < size) fraction = mantissa.substr(static_cast<size_t>(intDigits));
  } else {
    intPart = "0";
    fraction = std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
  }
  fraction.resize(static_cast<size_t>(places), '0');
  return intPart + "." + fraction;
}

}  // namespace

bool ParseDecimalNumber(std::string_view s, double& value) { return ParseReal<double>(s, value, std::strtod); }

bool ParseDecimalNumber(std::string_view s, long double& value) {
  return ParseReal<long double>(s, value, std::strtold);
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append("\r\n");
}

std::string FormatRounded(long double value, int decimals, int minIntDigits) {
  // Rounded by hand from the decimal digits: printf alone would send exact
  // ties to the even digit.
  const std::string text = SignificantFixed(std::fabs(value), decimals + 1);
  const size_t point = text.find('.');
  std::string digits = text.substr(0, point) + text.substr(point + 1, static_cast<size_t>(decimals));
  const bool roundUp = text[point + 1 + static_cast<size_t>(decimals)] >= '5';
  if (roundUp) {
    size_t i = digits.size();
    while (i > 0) {
      --i;
      if (digits[i] == '9') {
        digits[i] = '0';
        continue;
      }
      ++digits[i];
      break;
    }
    if (i == 0 && digits[0] == '0') digits.insert(digits.begin(), '1');
  }
  std::string intPart = digits.substr(0, digits.size() - static_cast<size_t>(decimals));
  const std::string fraction = digits.substr(intPart.size());
  const size_t firstNonZero = intPart.find_first_not_of('0');
  intPart = firstNonZero == std::string::npos ? std::string() : intPart.substr(firstNonZero);
  if (static_cast<int>(intPart.size()) < minIntDigits)
    intPart.insert(0, static_cast<size_t>(minIntDigits) - intPart.size(), '0');
  std::string result = decimals > 0 ? intPart + "." + fraction : intPart;
  const bool zero =
      intPart.find_first_not_of('0') == std::string::npos && fraction.find_first_not_of('0') == std::string::npos;
  if (value < 0 && !zero) result.insert(0, "-");
  return result;
}

}  // namespace beatloom
