#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace beatloom {

// A settings file with the behaviour charts authors' settings files have
// always had: sections and keys match without regard to case, every write
// reaches the disk at once, and lines the program does not touch (comments,
// unknown keys, odd spacing) stay exactly as they were. Values are bytes.
class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  // Whether the file starts with the UTF-8 byte order mark, which is how a
  // file says its texts are UTF-8 rather than the Japanese code page. The
  // mark is no part of the first line, and a write keeps it.
  bool MarkedUtf8() const;

  bool HasKey(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // Text that is not a whole decimal integer (after trimming) gives fallback.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // Any non-zero integer is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
  // Every key of the section with its value, in file order; one reading of
  // the file for callers that want many keys.
  std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const;

  // false when the file could not be written; the old file is then untouched.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);
  // Many keys at one write of the file, as if written one after the other.
  bool WriteStrings(std::string_view section, const std::vector<std::pair<std::string, std::string>>& entries);

 private:
  struct Lines {
    std::vector<std::string> text;  // without line ends
    std::string byteOrderMark;      // kept before the first line
    std::string lineEnd = "\r\n";
    bool endsWithNewline = true;
  };
  Lines Load() const;
  // Index of the value's line, or -1; sectionEnd receives the line after the
  // section's last key (or -1 when the section is missing).
  static int Find(const Lines& lines, std::string_view section, std::string_view key, int* sectionEnd);

  std::string path_;
};

}  // namespace beatloom
