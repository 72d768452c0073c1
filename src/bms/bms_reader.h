#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bms/log.h"
#include "model/document.h"

namespace beatloom {

// A header value or definition index that does not convert. The loader
// reports it and keeps the line; the direct input line shows it to the author.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Applies one source line (bytes in the document's encoding) to the document.
// lineNumber appears only in log messages; the direct input line passes 0.
// Throws ConversionError for a malformed "#RANK" value or definition index.
// A line that sets the play mode, the rank or a measure's length drops the
// kept line (an out-of-range value) that set it before, and logs that.

// Where cell i of a data line of n cells lies in its measure: 192 i / n
// ticks, as the tick at or before it (0..191) and the rest of a tick,
// num/den reduced (0/1 on a tick).
struct CellPlace {
  int tick = 0;
  uint32_t num = 0;
  uint32_t den = 1;
};
CellPlace PlaceOfCell(long long i, long long n);

void InterpretLine(Document& doc, std::string_view line, int lineNumber, Log& log);

// The author chose the play mode or the rank in the window: a kept
// out-of-range "#PLAYER" or "#RANK" line no longer decides it, and written
// back after the header it would undo the choice on the next load. Removes
// such lines (outside conditional blocks); true when any went.
enum class HeaderChoice { PlayMode, Rank };
bool DropKeptLinesOf(Document& doc, HeaderChoice choice);

// The text of chart file bytes: a 0x1A ends it.
std::string_view ChartText(std::string_view bytes);
// Splits file bytes into lines the way chart files are written: a 0x1A
// ends the text, and CR, LF and CR LF each end a line. A whole chart is read
// with LineCursor over ChartText instead, which stores no line.
std::vector<std::string_view> SplitLines(std::string_view bytes);

// Replaces the document with the chart in the given bytes. displayName is what
// the log calls the file. Never throws.
void LoadBmsBytes(Document& doc, std::string_view bytes, const std::string& displayName, Log& log);

// Replaces the document with the chart in the file. Returns false when the
// file could not be read; the document is then empty and the log, and reason
// when given, say why ("song.bms: Permission denied").
bool LoadBmsFile(Document& doc, const std::string& path, Log& log, std::string* reason = nullptr);

// The index an "#LNOBJ xx" line kept outside conditional blocks names, or
// nothing: notes with that value end long notes.
std::optional<int> LnObjIndex(const Document& doc);

// Turns the notes a whole file gave into long notes: lone cells of the
// long-note channels pair up in order on their lane (start, end), unless
// #LNTYPE names another form; a note with the #LNOBJ value ends the long
// note begun by the note before it on its lane. What finds no partner stays
// as read.
void PairLongNotes(Document& doc);

// "#IF" and its kin: lines that only make sense together, kept as one block.
enum class ConditionalKind { None, Open, Close, Other };
ConditionalKind ClassifyConditional(std::string_view line);

}  // namespace beatloom
