#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace beatloom {

inline constexpr const char* kExAppsFile = "ExApps.cfg";

// The external players are one flat list of text lines (UTF-8 in memory),
// six lines an entry. Lines after the last whole entry are kept in the list,
// so that a list of one to five lines still counts as not empty, but they
// belong to no entry.
inline constexpr int kExAppLines = 6;

enum class ExAppField { Name = 0, Program, PlayFromStart, PlayFromView, Stop, Play };

int ExAppCount(const std::vector<std::string>& lines);
// Field of entry (0-based), which must be below ExAppCount.
const std::string& ExAppLine(const std::vector<std::string>& lines, int entry, ExAppField field);
// The whole entries only: what the options dialog edits, so that an entry it
// adds starts on a six-line boundary.
std::vector<std::string> WholeExAppEntries(const std::vector<std::string>& lines);

// Used when the list would otherwise be empty; never written until the
// author confirms the options dialog.
std::vector<std::string> DefaultExApps();

// File bytes to lines: CP932 unless the file is UTF-8 (a byte-order mark, or
// text that reads as UTF-8); any line end; a final line end adds no line.
std::vector<std::string> ParseExApps(std::string_view bytes);
// Lines to file bytes, each ended by CR LF. CP932 when every character has a
// CP932 form; otherwise UTF-8 behind a byte-order mark, so that a path with
// such a character comes back intact instead of turned into "?".
std::string FormatExApps(const std::vector<std::string>& lines);

// The list of the program folder, or the default entry when the file is
// missing, unreadable or empty.
std::vector<std::string> LoadExApps(const std::string& programFolder);
// Replaces the file whole; false with the reason (naming the file) on failure.
bool SaveExApps(const std::string& programFolder, const std::vector<std::string>& lines, std::string* reason);

// The measure at the bottom edge of the score for its vertical scroll
// position (0 at the top of the chart, negative further up).
int DisplayedMeasure(int verticalScroll);

// An argument template after its placeholders were replaced. literal marks,
// byte for byte, what a placeholder put in: those characters never quote or
// separate, whatever they are, so a chart's path cannot change how the
// arguments are split.
struct ArgumentText {
  std::string text;
  std::vector<bool> literal;
};

// Replaces the first "[NOTE#]", the first "[FILENAME]" (the path in double
// quotes) and the first "[PUREFILENAME]" (the bare path), each found without
// regard to letter case in the template itself: text a placeholder put in is
// never searched for placeholders.
ArgumentText SubstitutePlaceholders(std::string_view pattern, int measure, std::string_view workingCopyPath);

// Splits the text into arguments as a shell splits words, without running
// anything: blanks and tabs separate; double or single quotes group and are
// removed, and "" makes an empty argument; quoted and unquoted parts that
// touch make one argument. A backslash is an ordinary character: templates
// carry Windows-style paths, and the second byte of a CP932 character may be
// one. An unclosed quote runs to the end.
std::vector<std::string> SplitArguments(const ArgumentText& text);

// The program of an entry: a name with '/' (absolute or relative) is used as
// it is; a bare name is an executable file in the program folder, else the
// first one in the folders of searchPath (a PATH value), else the program
// folder's name, which the failed start then reports.
std::string ResolvePlayerProgram(const std::string& program, const std::string& programFolder,
                                 std::string_view searchPath);

}  // namespace beatloom
