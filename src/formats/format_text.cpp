#include "formats/format_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace beatloom {

std::string ToCp932(const std::string& bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Cp932) return bytes;
  return FromUtf8(encoding == TextEncoding::Utf8 ? bytes : ToUtf8(bytes, encoding), TextEncoding::Cp932);
}

namespace {

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
