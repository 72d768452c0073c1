#include "model/text_scan.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace beatloom {

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

}  // namespace

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

bool ParseDecimalNumber(std::string_view s, double& value) { return ParseReal<double>(s, value, std::strtod); }

bool ParseDecimalNumber(std::string_view s, long double& value) {
  return ParseReal<long double>(s, value, std::strtold);
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (size_t i = 0; i < prefix.size(); ++i)
    if (lower(s[i]) != lower(prefix[i])) return false;
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

std::string ShortestDecimal(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", v);
  const std::string s = buf;
  const size_t e = s.find('E');
  if (e == std::string::npos) return s;
  std::string digits = s.substr(e + 2);
  while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
  return s.substr(0, e) + "E" + (s[e + 1] == '-' ? "-" : "") + digits;
}

}  // namespace beatloom
