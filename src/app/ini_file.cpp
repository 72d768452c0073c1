#include "app/ini_file.h"

#include <charconv>

#include "model/file_io.h"

namespace beatloom {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// The section name of a "[name]" line, or false.
bool SectionOf(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  const size_t close = line.find(']');
  name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  return true;
}

bool KeyOf(std::string_view line, std::string_view& key, std::string_view& value) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A value must stay on its own line, whatever the caller hands in.
std::string OneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace

IniFile::Lines IniFile::Load() const {
  Lines lines;
  std::string bytes;
  if (!ReadFileBytes(path_, bytes) || bytes.empty()) return lines;
  if (bytes.starts_with(kUtf8Mark)) {
    lines.byteOrderMark = kUtf8Mark;
    bytes.erase(0, kUtf8Mark.size());
    if (bytes.empty()) return lines;
  }
  const size_t firstEnd = bytes.find_first_of("\r\n");
  if (firstEnd != std::string::npos) {
    lines.lineEnd = bytes.compare(firstEnd, 2, "\r\n") == 0 ? "\r\n" : std::string(1, bytes[firstEnd]);
  }
  lines.endsWithNewline = bytes.back() == '\n' || bytes.back() == '\r';
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.text.push_back(bytes.substr(start));
      break;
    }
    lines.text.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

int IniFile::Find(const Lines& lines, std::string_view section, std::string_view key, int* sectionEnd) {
  if (sectionEnd) *sectionEnd = -1;
  bool inSection = false;
  bool seenSection = false;
  for (int i = 0; i < static_cast<int>(lines.text.size()); ++i) {
    std::string_view line = lines.text[i];
    std::string_view name;
    if (SectionOf(line, name)) {
      // Only the first section of a name counts, as profile files expect.
      if (inSection) return -1;
      inSection = !seenSection && SameText(name, section);
      if (inSection) {
        seenSection = true;
        if (sectionEnd) *sectionEnd = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    std::string_view k, v;
    if (!KeyOf(line, k, v)) continue;
    if (sectionEnd) *sectionEnd = i + 1;
    if (SameText(k, key)) return i;
  }
  return -1;
}

bool IniFile::MarkedUtf8() const { return !Load().byteOrderMark.empty(); }

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
  return Find(Load(), section, key, nullptr) >= 0;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  const Lines lines = Load();
  const int at = Find(lines, section, key, nullptr);
  if (at < 0) return std::string(fallback);
  std::string_view k, v;
  KeyOf(lines.text[at], k, v);
  return std::string(v);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const std::string text = ReadString(section, key, "");
  std::string_view t = Trim(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return fallback;
  return value;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSection(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  bool inSection = false;
  for (const std::string& line : Load().text) {
    std::string_view name;
    if (SectionOf(line, name)) {
      // Only the first section of a name counts, as in Find.
      if (inSection) break;
      inSection = SameText(name, section);
      continue;
    }
    std::string_view k, v;
    if (inSection && KeyOf(line, k, v)) entries.emplace_back(k, v);
  }
  return entries;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  return WriteStrings(section, {{std::string(key), std::string(value)}});
}

bool IniFile::WriteStrings(std::string_view section, const std::vector<std::pair<std::string, std::string>>& entries) {
  Lines lines = Load();
  for (const auto& [key, value] : entries) {
    int sectionEnd = -1;
    const int at = Find(lines, section, key, &sectionEnd);
    const std::string entry = std::string(Trim(key)) + "=" + OneLine(value);
    if (at >= 0) {
      lines.text[at] = entry;
    } else if (sectionEnd >= 0) {
      lines.text.insert(lines.text.begin() + sectionEnd, entry);
    } else {
      lines.text.push_back("[" + std::string(section) + "]");
      lines.text.push_back(entry);
      lines.endsWithNewline = true;
    }
  }
  std::string bytes = lines.byteOrderMark;
  for (size_t i = 0; i < lines.text.size(); ++i) {
    bytes += lines.text[i];
    if (i + 1 < lines.text.size() || lines.endsWithNewline) bytes += lines.lineEnd;
  }
  return WriteFileAtomically(path_, bytes, nullptr);
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

}  // namespace beatloom
