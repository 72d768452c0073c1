#include "app/external_players.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "model/file_io.h"
#include "model/text_codec.h"

namespace beatloom {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether text holds the upper-case ASCII placeholder at pos, letter case
// ignored.
bool PlaceholderAt(std::string_view text, size_t pos, std::string_view placeholder) {
  if (text.size() - pos < placeholder.size()) return false;
  for (size_t i = 0; i < placeholder.size(); ++i)
    if (AsciiUpper(text[pos + i]) != placeholder[i]) return false;
  return true;
}

// A piece of a replacement; literal pieces are taken as they are by the split.
struct Piece {
  std::string_view text;
  bool literal;
};

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

void Append(ArgumentText& t, const Piece& p) {
  t.text += p.text;
  t.literal.insert(t.literal.end(), p.text.size(), p.literal);
}

}  // namespace

int ExAppCount(const std::vector<std::string>& lines) { return static_cast<int>(lines.size() / kExAppLines); }

const std::string& ExAppLine(const std::vector<std::string>& lines, int entry, ExAppField field) {
  return lines[static_cast<size_t>(entry) * kExAppLines + static_cast<size_t>(field)];
}

std::vector<std::string> WholeExAppEntries(const std::vector<std::string>& lines) {
  return {lines.begin(), lines.begin() + ExAppCount(lines) * kExAppLines};
}

std::vector<std::string> DefaultExApps() {
  return {"Playview", "Playview.exe", "-B -A -S -P -N0 [filename]", "-B -A -S -P -N[note#] [filename]", "-S", ""};
}

std::vector<std::string> ParseExApps(std::string_view bytes) {
  std::string text;
  if (bytes.substr(0, kBom.size()) == kBom) {
    text = bytes.substr(kBom.size());
  } else {
    text = ToUtf8(bytes, DetectEncoding(bytes));
  }
  std::vector<std::string> lines;
  for (std::string_view line : SplitLineEnds(text)) lines.emplace_back(line);
  return lines;
}

std::string FormatExApps(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  std::string cp932 = FromUtf8(text, TextEncoding::Cp932);
  if (ToUtf8(cp932, TextEncoding::Cp932) == text) return cp932;
  return std::string(kBom) + text;
}

std::vector<std::string> LoadExApps(const std::string& programFolder) {
  std::string bytes;
  if (!ReadFileBytes(JoinPath(programFolder, kExAppsFile), bytes)) return DefaultExApps();
  std::vector<std::string> lines = ParseExApps(bytes);
  return lines.empty() ? DefaultExApps() : lines;
}

bool SaveExApps(const std::string& programFolder, const std::vector<std::string>& lines, std::string* reason) {
  return WriteFileAtomically(JoinPath(programFolder, kExAppsFile), FormatExApps(lines), reason);
}

int DisplayedMeasure(int verticalScroll) { return -verticalScroll / 192; }

ArgumentText SubstitutePlaceholders(std::string_view pattern, int measure, std::string_view workingCopyPath) {
  const std::string number = std::to_string(measure);
  struct Placeholder {
    std::string_view name;
    std::vector<Piece> replacement;
    bool done = false;
  };
  Placeholder placeholders[] = {
      {"[NOTE#]", {{number, true}}},
      {"[FILENAME]", {{"\"", false}, {workingCopyPath, true}, {"\"", false}}},
      {"[PUREFILENAME]", {{workingCopyPath, true}}},
  };
  // One pass over the template alone: what a placeholder put in is never
  // searched again, so a path that itself holds "[purefilename]" stays whole.
  ArgumentText t;
  for (size_t pos = 0; pos < pattern.size();) {
    Placeholder* found = nullptr;
    for (Placeholder& p : placeholders)
      if (!p.done && PlaceholderAt(pattern, pos, p.name)) found = &p;
    if (!found) {
      Append(t, {pattern.substr(pos, 1), false});
      ++pos;
      continue;
    }
    for (const Piece& piece : found->replacement) Append(t, piece);
    found->done = true;
    pos += found->name.size();
  }
  return t;
}

std::vector<std::string> SplitArguments(const ArgumentText& t) {
  std::vector<std::string> arguments;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (size_t i = 0; i < t.text.size(); ++i) {
    const char c = t.text[i];
    const bool literal = i < t.literal.size() && t.literal[i];
    if (!literal && quote && c == quote) {
      quote = 0;
    } else if (!literal && !quote && (c == '"' || c == '\'')) {
      quote = c;
      inWord = true;
    } else if (!literal && !quote && (c == ' ' || c == '\t')) {
      if (inWord) arguments.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) arguments.push_back(std::move(word));
  return arguments;
}

std::string ResolvePlayerProgram(const std::string& program, const std::string& programFolder,
                                 std::string_view searchPath) {
  if (program.find('/') != std::string::npos) return program;
  const std::string inProgramFolder = JoinPath(programFolder, program);
  if (program.empty() || IsExecutableFile(inProgramFolder)) return inProgramFolder;
  size_t start = 0;
  while (start <= searchPath.size()) {
    size_t end = searchPath.find(':', start);
    if (end == std::string_view::npos) end = searchPath.size();
    // An empty entry means the current folder, as for the shell.
    const std::string folder(end == start ? std::string_view(".") : searchPath.substr(start, end - start));
    const std::string candidate = JoinPath(folder, program);
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return inProgramFolder;
}

}  // namespace beatloom
