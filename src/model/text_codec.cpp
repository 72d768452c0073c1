#include "model/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <vector>

namespace beatloom {

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int len;
    uint32_t cp;
    if (c < 0x80) { ++i; continue; }
    if ((c & 0xE0) == 0xC0) { len = 2; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { len = 3; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { len = 4; cp = c & 0x07; }
    else return false;
    if (i + len > n) return false;
    for (int k = 1; k < len; ++k) {
      const unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

TextEncoding DetectEncoding(std::string_view bytes) {
  bool nonAscii = false;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) { nonAscii = true; break; }
  }
  return nonAscii && IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

namespace {

// Converts with iconv, replacing what cannot be converted and going on: a
// stray byte in a chart must never stop a load or a display.
std::string Convert(std::string_view in, const char* from, const char* to, std::string_view replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  out.reserve(in.size() * 3 / 2 + 4);
  std::vector<char> buf(4096);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char* dst = buf.data();
    size_t dstLeft = buf.size();
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf.data(), dst);
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: skip one input unit and mark it.
      out.append(replacement);
      size_t skip = 1;
      if (std::string_view(from) == "UTF-8") {
        // One replacement per character, not per byte of it.
        const unsigned char lead = static_cast<unsigned char>(*src);
        skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        for (size_t k = 1; k < skip && k < srcLeft; ++k) {
          if ((static_cast<unsigned char>(src[k]) & 0xC0) != 0x80) { skip = k; break; }
        }
        if (skip > srcLeft) skip = srcLeft;
      }
      src += skip;
      srcLeft -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string ToUtf8(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return Convert(bytes, "UTF-8", "UTF-8", "\xEF\xBF\xBD");
  }
  bool ascii = true;
  for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(bytes);
  return Convert(bytes, "CP932", "UTF-8", "\xEF\xBF\xBD");
}

std::string FromUtf8(std::string_view utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return std::string(utf8);
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(utf8);
  return Convert(utf8, "UTF-8", "CP932", "?");
}

}  // namespace beatloom
