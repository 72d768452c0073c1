#include "app/external_players.h"

#include <algorithm>

#include "model/file_io.h"
#include "model/text_codec.h"

namespace beatloom {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Byte position of the first occurrence of an upper-case ASCII placeholder,
// letter case ignored (only ASCII letters change, so positions stay put).
size_t FindPlaceholder(std::string_view text, std::string_view placeholder) {
  const auto equal = [](char a, char b) { return AsciiUpper(a) == b; };
  const auto found = std::search(text.begin(), text.end(), placeholder.begin(), placeholder.end(), equal);
  return found == text.end() ? std::string_view::npos : static_cast<size_t>(found - text.begin());
}

// A piece of a replacement; literal pieces are taken as they are by the split.
struct Piece {
  std::string_view text;
  bool literal;
};

void ReplaceFirst(ArgumentText& t, std::string_view placeholder, std::initializer_list<Piece> replacement) {
  const size_t at = FindPlaceholder(t.text, placeholder);
  if (at == std::string_view::npos) return;
  std::string text;
  std::vector<bool> literal;
  for (const Piece& p : replacement) {
    text += p.text;
    literal.insert(literal.end(), p.text.size(), p.literal);
  }
  t.text.replace(at, placeholder.size(), text);
  t.literal.erase(t.literal.begin() + at, t.literal.begin() + at + placeholder.size());
  t.literal.insert(t.literal.begin() + at, literal.begin(), literal.end());
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
  ArgumentText t{std::string(pattern), std::vector<bool>(pattern.size(), false)};
  const std::string number = std::to_string(measure);
  ReplaceFirst(t, "[NOTE#]", {{number, true}});
  ReplaceFirst(t, "[FILENAME]", {{"\"", false}, {workingCopyPath, true}, {"\"", false}});
  ReplaceFirst(t, "[PUREFILENAME]", {{workingCopyPath, true}});
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

std::string ResolvePlayerProgram(const std::string& program, const std::string& programFolder) {
  if (program.find('/') != std::string::npos) return program;
  return JoinPath(programFolder, program);
}

}  // namespace beatloom
