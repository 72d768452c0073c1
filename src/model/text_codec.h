#pragma once

#include <string>
#include <string_view>

namespace beatloom {

enum class TextEncoding { Cp932, Utf8 };

// A file that is valid UTF-8 and has any non-ASCII byte is UTF-8; everything
// else is read as CP932, the encoding most charts are written in.
TextEncoding DetectEncoding(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// Bytes that do not decode become U+FFFD; nothing fails.
std::string ToUtf8(std::string_view bytes, TextEncoding encoding);
// Characters the encoding cannot hold become "?".
std::string FromUtf8(std::string_view utf8, TextEncoding encoding);

}  // namespace beatloom
