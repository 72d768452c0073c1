#include "formats/format_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

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

bool ParseDecimalNumber(std::string_view s, double& value) {
  s = TrimBlanks(s);
  if (s.empty()) return false;
  // strtod would also take hexadecimal and "inf"; a typed number never looks like that.
  for (const char c : s) {
    const bool ok = (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
    if (!ok) return false;
  }
  const std::string text(s);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
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

std::string FormatRounded(double value, int decimals, int minIntDigits) {
  // The exact decimal expansion of the double, to more places than a tie
  // could need, then rounded by hand: printf alone would send exact ties to
  // the even digit.
  const double magnitude = std::fabs(value);
  const int needed = std::snprintf(nullptr, 0, "%.*f", decimals + 20, magnitude);
  std::vector<char> buf(static_cast<size_t>(needed) + 1);
  std::snprintf(buf.data(), buf.size(), "%.*f", decimals + 20, magnitude);
  std::string text(buf.data());
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
