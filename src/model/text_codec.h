#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace beatloom {

// The encodings charts come in: Japanese CP932 (Shift_JIS) above all, UTF-8,
// and the Korean (CP949, a superset of EUC-KR), Simplified Chinese (GB18030,
// a superset of GBK and GB2312) and Traditional Chinese (Big5, as CP950)
// encodings of chart packs from elsewhere.
enum class TextEncoding { Cp932, Utf8, Cp949, Gb18030, Big5 };

class Document;

// CP932 is the encoding most charts are written in, and short CP932 text can
// happen to be valid UTF-8 (half-width katakana pair up as two-byte
// sequences). So a byte-order mark means UTF-8; otherwise the text is UTF-8
// only when it is valid UTF-8, reads as plausible chart text that way and
// reads worse as CP932. Text that is no UTF-8 is CP932 when it reads as
// Japanese without doubt (kana or everyday kanji, and no byte CP932 cannot
// read); only otherwise does a statistical detector (uchardet) decide, and its
// Korean or Chinese answer is taken only when the text decodes in it without
// a fault. Everything else is CP932.
TextEncoding DetectEncoding(std::string_view bytes);
// The same choice made on the text a save writes back (header values,
// definitions, memo and kept lines), so that a chart keeps its encoding when
// a load drops lines that swayed the choice for the file as it was.
TextEncoding DetectDocumentEncoding(const Document& doc);
bool IsValidUtf8(std::string_view bytes);

// Bytes that do not decode become U+FFFD; nothing fails.
std::string ToUtf8(std::string_view bytes, TextEncoding encoding);
// Characters the encoding cannot hold become "?".
std::string FromUtf8(std::string_view utf8, TextEncoding encoding);
// The same, for text that must not change on the way (a file name the chart
// will look up): nothing when some character cannot be held.
std::optional<std::string> FromUtf8Whole(std::string_view utf8, TextEncoding encoding);

}  // namespace beatloom
