#include "model/text_codec.h"

#include <iconv.h>
#include <uchardet/uchardet.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/document.h"

namespace beatloom {

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int len;
    uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if ((c & 0xE0) == 0xC0) {
      len = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
      cp = c & 0x07;
    } else
      return false;
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

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// How well one character reads as chart text: Japanese best, the letters and
// symbols charts borrow from other alphabets less, and scripts or controls no
// chart holds count against the reading.
int Utf8CharScore(uint32_t cp) {
  // Kana, kanji, CJK punctuation, full- and half-width forms.
  if ((cp >= 0x3000 && cp <= 0x30FF) || (cp >= 0x3400 && cp <= 0x4DBF) || (cp >= 0x4E00 && cp <= 0x9FFF) ||
      (cp >= 0xFF01 && cp <= 0xFFEF))
    return 3;
  if (cp >= 0xA0 && cp <= 0xFF) return 2;                                      // Latin-1 letters and symbols
  if (cp < 0xA0 || (cp >= 0xE000 && cp <= 0xF8FF) || cp >= 0xFFF0) return -3;  // controls, private use
  // Other Latin, Greek, Cyrillic, punctuation, arrows, shapes, music signs, emoji.
  if ((cp >= 0x100 && cp <= 0x24F) || (cp >= 0x370 && cp <= 0x4FF) || (cp >= 0x1E00 && cp <= 0x27BF) ||
      (cp >= 0x2E80 && cp <= 0x2FFF) || (cp >= 0x3100 && cp <= 0x33FF) || (cp >= 0x1F000 && cp <= 0x1FAFF))
    return 1;
  return -1;
}

int64_t Utf8Score(std::string_view valid) {
  int64_t score = 0;
  for (size_t i = 0; i < valid.size();) {
    const unsigned char lead = static_cast<unsigned char>(valid[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const int len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    uint32_t cp = lead & (0x7F >> len);
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(valid[i + k]) & 0x3F);
    score += Utf8CharScore(cp);
    i += static_cast<size_t>(len);
  }
  return score;
}

enum class Cp932Kind { Ascii, AsciiAlnum, HalfKana, Double, Bad };

struct Cp932Char {
  Cp932Kind kind;
  size_t length;
  int score;
};

int DoubleByteScore(int lead, int trail) {
  const int code = lead << 8 | trail;
  if (lead == 0x81) return 2;                                    // symbols and punctuation
  if (lead == 0x82 || lead == 0x83) return 3;                    // full-width letters, kana, Greek
  if (lead == 0x84 || lead == 0x87) return 1;                    // Cyrillic, box drawing, circled numbers
  if (code >= 0x889F && code <= 0x9872) return 3;                // the everyday kanji
  if (code >= 0x989F && code <= 0xEAA4) return 1;                // the rarer kanji
  if ((lead >= 0xED && lead <= 0xEE) || lead >= 0xFA) return 0;  // vendor kanji
  return -3;                                                     // unused rows, user-defined characters
}

Cp932Char ReadCp932(std::string_view s, size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return {alnum ? Cp932Kind::AsciiAlnum : Cp932Kind::Ascii, 1, 0};
  }
  if (c >= 0xA1 && c <= 0xDF) return {Cp932Kind::HalfKana, 1, 1};
  const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
  if (!lead || i + 1 >= s.size()) return {Cp932Kind::Bad, 1, -3};
  const unsigned char t = static_cast<unsigned char>(s[i + 1]);
  if (t < 0x40 || t == 0x7F || t > 0xFC) return {Cp932Kind::Bad, 1, -3};
  return {Cp932Kind::Double, 2, DoubleByteScore(c, t)};
}

// Half-width katakana read well in runs of their own; glued to kanji they are
// what UTF-8 Japanese looks like in CP932, glued to Latin letters what a UTF-8
// accented letter looks like.
int64_t Cp932Score(std::string_view s) {
  int64_t score = 0;
  Cp932Kind previous = Cp932Kind::Ascii;
  for (size_t i = 0; i < s.size();) {
    const Cp932Char ch = ReadCp932(s, i);
    i += ch.length;
    int add = ch.score;
    if (ch.kind == Cp932Kind::HalfKana) {
      const Cp932Kind next = i < s.size() ? ReadCp932(s, i).kind : Cp932Kind::Ascii;
      if (previous == Cp932Kind::Double || next == Cp932Kind::Double) {
        add = -1;
      } else if (previous == Cp932Kind::AsciiAlnum || next == Cp932Kind::AsciiAlnum) {
        add = 0;
      }
    }
    score += add;
    previous = ch.kind;
  }
  return score;
}

// Every character reads as CP932, the reading scores as chart text, and at
// least one character is a double-byte one whose first byte (0x81-0x9F: kana,
// symbols, the everyday kanji) EUC-KR, GB2312 and Big5 never begin a
// character with.
bool ReadsAsJapanese(std::string_view s) {
  bool japanese = false;
  for (size_t i = 0; i < s.size();) {
    const Cp932Char ch = ReadCp932(s, i);
    if (ch.kind == Cp932Kind::Bad) return false;
    if (ch.kind == Cp932Kind::Double && static_cast<unsigned char>(s[i]) <= 0x9F) japanese = true;
    i += ch.length;
  }
  return japanese && Cp932Score(s) > 0;
}

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Converts with iconv, replacing what cannot be converted and going on: a
// stray byte in a chart must never stop a load or a display.
// lossy, when given, is set when something had to be replaced.
std::string Convert(std::string_view in, const char* from, const char* to, std::string_view replacement,
                    bool* lossy = nullptr) {
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
      if (lossy) *lossy = true;
      size_t skip = 1;
      if (std::string_view(from) == "UTF-8") {
        // One replacement per character, not per byte of it.
        const unsigned char lead = static_cast<unsigned char>(*src);
        skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        for (size_t k = 1; k < skip && k < srcLeft; ++k) {
          if ((static_cast<unsigned char>(src[k]) & 0xC0) != 0x80) {
            skip = k;
            break;
          }
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

const char* IconvName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Cp949: return "CP949";
    case TextEncoding::Gb18030: return "GB18030";
    case TextEncoding::Big5: return "CP950";
    case TextEncoding::Cp932: break;
  }
  return "CP932";
}

// The encodings the detector may name that we read, by the names it gives.
std::optional<TextEncoding> EncodingOfDetectorName(std::string_view name) {
  for (std::string_view korean : {"EUC-KR", "UHC", "CP949"})
    if (name == korean) return TextEncoding::Cp949;
  for (std::string_view chinese : {"GB18030", "GBK", "GB2312", "EUC-CN"})
    if (name == chinese) return TextEncoding::Gb18030;
  for (std::string_view traditional : {"BIG5", "BIG5-HKSCS", "CP950"})
    if (name == traditional) return TextEncoding::Big5;
  return std::nullopt;
}

// Asks the detector about the lines that hold more than ASCII (the data lines
// would only dilute them); a Korean or Chinese answer counts only when every
// byte decodes in it.
std::optional<TextEncoding> DetectEastAsian(std::string_view bytes) {
  std::string sample;
  for (size_t start = 0; start < bytes.size();) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    if (!IsAscii(line)) {
      sample.append(line);
      sample.push_back('\n');
    }
    start = end + 1;
  }
  const std::unique_ptr<uchardet, void (*)(uchardet_t)> detector(uchardet_new(), uchardet_delete);
  if (!detector) return std::nullopt;
  if (uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) return std::nullopt;
  uchardet_data_end(detector.get());
  const char* name = uchardet_get_charset(detector.get());
  const std::optional<TextEncoding> found = EncodingOfDetectorName(name ? name : "");
  if (!found) return std::nullopt;
  bool lossy = false;
  Convert(sample, IconvName(*found), "UTF-8", "", &lossy);
  if (lossy) return std::nullopt;
  return found;
}

// A short Korean title is too little for the detector. Text that CP932
// cannot read and that is nothing but ASCII and the Hangul syllables of
// EUC-KR (first byte 0xB0-0xC8, second 0xA1-0xFE) is Korean. Half-width
// katakana pair up like these, but they always read as CP932.
bool ReadsOnlyAsHangul(std::string_view bytes) {
  bool cp932Fault = false;
  for (size_t i = 0; i < bytes.size() && !cp932Fault;) {
    const Cp932Char ch = ReadCp932(bytes, i);
    cp932Fault = ch.kind == Cp932Kind::Bad;
    i += ch.length;
  }
  if (!cp932Fault) return false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) continue;
    if (lead < 0xB0 || lead > 0xC8 || i + 1 >= bytes.size()) return false;
    const unsigned char trail = static_cast<unsigned char>(bytes[++i]);
    if (trail < 0xA1 || trail > 0xFE) return false;
  }
  return true;
}

}  // namespace

TextEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kBom)) return TextEncoding::Utf8;
  if (IsAscii(bytes)) return TextEncoding::Cp932;
  if (IsValidUtf8(bytes)) {
    // A tie goes to CP932: such short text is far more often a CP932 chart's.
    const int64_t utf8 = Utf8Score(bytes);
    return utf8 > 0 && utf8 > Cp932Score(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp932;
  }
  if (ReadsAsJapanese(bytes)) return TextEncoding::Cp932;
  if (const std::optional<TextEncoding> found = DetectEastAsian(bytes)) return *found;
  return ReadsOnlyAsHangul(bytes) ? TextEncoding::Cp949 : TextEncoding::Cp932;
}

TextEncoding DetectDocumentEncoding(const Document& doc) {
  std::string text;
  // The writer puts a mark at the start for either of these, and the next
  // load takes the mark for UTF-8.
  if (doc.hasBom || (!doc.mmemo.empty() && doc.mmemo.front().starts_with(kBom))) text.append(kBom);
  const auto add = [&text](const std::string& piece) {
    if (piece.empty()) return;
    text.append(piece);
    text.push_back('\n');
  };
  for (const HeaderFieldRef& field : HeaderTextFields()) add(doc.header.*field.field);
  for (const std::string& name : doc.header.e_subartist) add(name);
  for (const std::string& name : doc.wav) add(name);
  for (const std::string& name : doc.bmp) add(name);
  for (const std::string& line : doc.mmemo) add(line);
  for (const std::string& line : doc.mcom) add(line);
  return DetectEncoding(text);
}

std::string ToUtf8(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return Convert(bytes, "UTF-8", "UTF-8", "\xEF\xBF\xBD");
  }
  if (IsAscii(bytes)) return std::string(bytes);
  return Convert(bytes, IconvName(encoding), "UTF-8", "\xEF\xBF\xBD");
}

std::string FromUtf8(std::string_view utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8 || IsAscii(utf8)) return std::string(utf8);
  return Convert(utf8, "UTF-8", IconvName(encoding), "?");
}

std::optional<std::string> FromUtf8Whole(std::string_view utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) {
    if (!IsValidUtf8(utf8)) return std::nullopt;
    return std::string(utf8);
  }
  if (IsAscii(utf8)) return std::string(utf8);
  bool lossy = false;
  std::string bytes = Convert(utf8, "UTF-8", IconvName(encoding), "?", &lossy);
  if (lossy) return std::nullopt;
  return bytes;
}

}  // namespace beatloom
