#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace beatloom {

// The program's own small text files (lists, templates): bytes, one entry a
// line, written with CR LF. Reading accepts any line end.
// Splits at CR, LF and CR LF alike; a final line end makes no empty line.
std::vector<std::string_view> SplitLineEnds(std::string_view bytes);
bool ReadLinesFile(const std::string& path, std::vector<std::string>& lines);
bool WriteLinesFile(const std::string& path, const std::vector<std::string>& lines);
bool FileExists(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
std::string FolderOf(const std::string& path);

}  // namespace beatloom
