#include "model/chart_file_lookup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "model/file_io.h"

namespace beatloom {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> Components(const std::string& name) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= name.size()) {
    const size_t end = std::min(name.find('/', start), name.size());
    const std::string part = name.substr(start, end - start);
    if (!part.empty() && part != ".") parts.push_back(part);
    start = end + 1;
  }
  return parts;
}

// The entry of folder named part in any letter case, of the kind wanted.
std::string MatchInFolder(const std::string& folder, const std::string& part, bool last) {
  const std::string exact = JoinPath(folder, part);
  if (last ? FileExists(exact) : IsFolder(exact)) return exact;
  if (part == "..") return std::string();
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return std::string();
  std::vector<std::string> matches;
  while (const dirent* entry = readdir(dir))
    if (SameIgnoringCase(entry->d_name, part)) matches.emplace_back(entry->d_name);
  closedir(dir);
  std::sort(matches.begin(), matches.end());
  for (const std::string& match : matches) {
    const std::string path = JoinPath(folder, match);
    if (last ? FileExists(path) : IsFolder(path)) return path;
  }
  return std::string();
}

std::string InFolder(const std::string& chartFolder, const std::string& name) {
  return !name.empty() && name.front() == '/' ? name : JoinPath(chartFolder, name);
}

}  // namespace

std::string ResolveChartFile(const std::string& chartFolder, const std::string& name) {
  if (name.empty()) return std::string();
  const std::string asWritten = InFolder(chartFolder, name);
  if (FileExists(asWritten)) return asWritten;
  std::string slashed = name;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  if (slashed != name && FileExists(InFolder(chartFolder, slashed))) return InFolder(chartFolder, slashed);
  const std::vector<std::string> parts = Components(slashed);
  if (parts.empty()) return std::string();
  std::string found = slashed.front() == '/' ? "/" : chartFolder;
  for (size_t i = 0; i < parts.size(); ++i) {
    found = MatchInFolder(found, parts[i], i + 1 == parts.size());
    if (found.empty()) return std::string();
  }
  return found;
}

std::string ResolveChartSound(const std::string& chartFolder, const std::string& name) {
  std::string found = ResolveChartFile(chartFolder, name);
  if (!found.empty()) return found;
  const size_t folderEnd = name.find_last_of("/\\");
  const size_t dot = name.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd);
  const std::string base = hasExtension ? name.substr(0, dot) : name;
  for (const char* extension : {".ogg", ".flac", ".mp3"}) {
    found = ResolveChartFile(chartFolder, base + extension);
    if (!found.empty()) return found;
  }
  return std::string();
}

}  // namespace beatloom
