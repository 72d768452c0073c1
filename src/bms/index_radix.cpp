#include "bms/index_radix.h"

#include <algorithm>

#include "bms/bms_reader.h"
#include "model/file_io.h"
#include "model/text_scan.h"

namespace beatloom {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlankOrEnd(std::string_view line, size_t at) { return at >= line.size() || line[at] == ' ' || line[at] == '\t'; }

// Two characters that base 36 reads and hexadecimal does not.
bool OnlyBase36(char high, char low) {
  constexpr auto& b36 = detail::kBase36Digits;
  constexpr auto& hex = detail::kHexDigits;
  const auto h = static_cast<unsigned char>(high);
  const auto l = static_cast<unsigned char>(low);
  return b36[h] >= 0 && b36[l] >= 0 && (hex[h] < 0 || hex[l] < 0);
}

// Background sounds, the image layers, extended tempos, stops and every key
// channel, long notes included: the channels whose cells name definitions.
bool NamesDefinitions(char high, char low) {
  if (high == '0') return low == '1' || low == '4' || low == '6' || low == '7' || low == '8' || low == '9';
  return high >= '1' && high <= '6' && low >= '1' && low <= '9';
}

bool IsDataLine(std::string_view line) {
  return line.size() >= 6 && IsDigit(line[1]) && IsDigit(line[2]) && IsDigit(line[3]) && IsDigit(line[4]) &&
         IsDigit(line[5]);
}

// The first cell of a sound or image data line that only base 36 reads. A
// line that no radix reads (a comment after the cells, a stray sign) is kept
// as text whatever the radix, so it decides nothing.
std::string_view Base36Cell(std::string_view line) {
  if (!IsDataLine(line) || !NamesDefinitions(line[4], line[5])) return {};
  const std::string_view cells = TrimBlanks(line.substr(std::min<size_t>(7, line.size())));
  std::string_view found;
  for (size_t i = 0; i + 1 < cells.size(); i += 2) {
    const auto h = static_cast<unsigned char>(cells[i]);
    const auto l = static_cast<unsigned char>(cells[i + 1]);
    if (detail::kBase36Digits[h] < 0 || detail::kBase36Digits[l] < 0) return {};
    if (found.empty() && OnlyBase36(cells[i], cells[i + 1])) found = cells.substr(i, 2);
  }
  return found;
}

// The index of a "#BPMxx value" or "#STOPxx value" line (the blank keeps
// "#BPM150", a header tempo, out), or empty.
std::string_view TimingDefinitionIndex(std::string_view line) {
  for (const std::string_view word : {std::string_view("#BPM"), std::string_view("#STOP")}) {
    const size_t at = word.size();
    if (line.size() >= at + 3 && StartsWithNoCase(line, word) && IsBlankOrEnd(line, at + 2)) return line.substr(at, 2);
  }
  return {};
}

// A "#WAVxx", "#BMPxx", "#BPMxx" or "#STOPxx" definition whose index only
// base 36 reads. The index must stand alone: "#WAVCMD" is another command.
bool Base36Definition(std::string_view line) {
  const std::string_view timing = TimingDefinitionIndex(line);
  if (!timing.empty()) return OnlyBase36(timing[0], timing[1]);
  if (line.size() < 6 || !IsBlankOrEnd(line, 6)) return false;
  const char k1 = static_cast<char>(line[1] & ~0x20);
  const char k2 = static_cast<char>(line[2] & ~0x20);
  const char k3 = static_cast<char>(line[3] & ~0x20);
  const bool wav = k1 == 'W' && k2 == 'A' && k3 == 'V';
  const bool bmp = k1 == 'B' && k2 == 'M' && k3 == 'P';
  return (wav || bmp) && OnlyBase36(line[4], line[5]);
}

}  // namespace

bool IsBase62Line(std::string_view line) {
  if (line.size() < 5 || line[0] != '#' || (line[1] != 'B' && line[1] != 'b')) return false;
  for (size_t i = 1; i < 5; ++i)
    if ((line[i] & ~0x20) != "#BASE"[i]) return false;
  return IsBlankOrEnd(line, 5) && TrimBlanks(line.substr(5)) == "62";
}

IndexRadixChoice ChooseIndexRadix(std::string_view text) {
  IndexRadixChoice choice;
  int depth = 0;
  int lineNumber = 0;
  LineCursor lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    ++lineNumber;
    if (line.size() < 2 || line[0] != '#') continue;
    // Only a command word can open or close a block; data lines are most lines.
    if (!IsDigit(line[1])) {
      const ConditionalKind kind = ClassifyConditional(line);
      if (kind == ConditionalKind::Open) ++depth;
      if (kind == ConditionalKind::Close && depth > 0) --depth;
      if (depth == 0 && kind == ConditionalKind::None && IsBase62Line(line))
        return {DefinitionIndex::Base62, lineNumber, std::string(TrimBlanks(line))};
    }
    if (choice.radix != DefinitionIndex::Hex) continue;
    if (Base36Definition(line)) {
      choice = {DefinitionIndex::Base36, lineNumber, std::string(line.substr(0, 6))};
    } else if (const std::string_view cell = Base36Cell(line); !cell.empty()) {
      choice = {DefinitionIndex::Base36, lineNumber, std::string(cell) + " in " + std::string(line.substr(0, 6))};
    }
  }
  return choice;
}

IndexRadixChoice ChooseIndexRadixOfFile(std::string_view bytes) {
  if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
  return ChooseIndexRadix(ChartText(bytes));
}

std::string DescribeIndexRadix(const IndexRadixChoice& choice) {
  const std::string base = "base " + std::to_string(choice.radix) + ": ";
  if (choice.lineNumber == 0) return base + "no index beyond hexadecimal";
  return base + choice.evidence + " on line " + std::to_string(choice.lineNumber);
}

void ResetIndices(Document& doc, int radix) {
  doc.indices = DefinitionIndex(radix);
  doc.wav.assign(static_cast<size_t>(doc.indices.WavSlots()), std::string());
  doc.bmp.assign(static_cast<size_t>(doc.indices.BmpSlots()), std::string());
  doc.bpmDefs.assign(static_cast<size_t>(doc.indices.WavSlots()), std::string());
  doc.stopDefs.assign(static_cast<size_t>(doc.indices.WavSlots()), std::string());
}

}  // namespace beatloom
