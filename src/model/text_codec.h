#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace beatloom {

enum class TextEncoding { Cp932, Utf8 };

class Document;

// CP932 is the encoding most charts are written in, and short CP932 text can
// happen to be valid UTF-8 (half-width katakana pair up as two-byte
// sequences). So a byte-order mark means UTF-8; otherwise the text is UTF-8
// only when it is valid UTF-8, reads as plausible chart text that way and
// reads worse as CP932. Everything else is CP932.
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
