#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/document.h"
#include "session/chart_session.h"

namespace beatloom {

// The two definition lists. Rows count from the first line of a list: WAV row
// r names sound r + 1 (sound 00 has no line), BMP row r names image r.
enum class DefinitionKind { Wav, Bmp };

inline constexpr const char* kWavCapacityMessage = "WAVファイルは最大255個迄しか登録できません";
inline constexpr const char* kBmpCapacityMessage = "画像ファイルは最大256個迄しか登録できません";
// The refusal of a file name the chart's encoding cannot hold (it would be
// stored with "?" and name no file); the names follow, one a line.
inline constexpr const char* kUnencodableNameMessage =
    "譜面の文字コードで表せない文字を含む名前のため、使えません:";
// Stands in for a used definition without a file while indices are compacted.
inline constexpr const char* kCompactPlaceholder = "--------";

// The refusal of a drop onto a full list, naming the chart's real capacity.
std::string CapacityMessage(const Document& doc, DefinitionKind kind);

int IndexOfRow(DefinitionKind kind, int row);
int RowCount(const Document& doc, DefinitionKind kind);
// Whether the Value of an object on lane names a definition of kind.
bool LaneUsesKind(DefinitionKind kind, int lane);
std::vector<std::string>& NamesOf(Document& doc, DefinitionKind kind);
const std::vector<std::string>& NamesOf(const Document& doc, DefinitionKind kind);

struct ListOutcome {
  EditOutcome outcome = EditOutcome::Unchanged;
  std::string message;  // why a change was refused
};

// The row's file name becomes name (empty: cleared). Objects keep their values.
EditOutcome AssignDefinition(ChartSession& session, DefinitionKind kind, int row, const std::string& name);

// Exchanges the files of rows a and b and the values of every object and
// kept data line that names them; the renumbering (for the clipboard) is
// added to renumbered. Rows out of reach (BMP 00 among
// them) change nothing. A kept line whose cells cannot be read safely refuses
// the whole swap, since renumbering around it would point it at other files.
bool CanSwap(const Document& doc, DefinitionKind kind, int a, int b);
std::optional<std::string> SwapInDocument(Document& doc, DefinitionKind kind, int a, int b,
                                          std::vector<Renumbering>* renumbered = nullptr);
// The ▲/▼ command: one step of the history, which takes the clipboard's
// numbers back with it; refused (with the reason) when the rows do not allow
// a swap.
ListOutcome SwapDefinitions(ChartSession& session, DefinitionKind kind, int a, int b);

// Clears every definition that neither an object nor a cell of a kept data
// line names; image 00 stays.
void ReleaseUnusedInDocument(Document& doc);
EditOutcome ReleaseUnusedDefinitions(ChartSession& session);

// Moves the used definitions down into the gaps, keeping their order; a used
// index without a file keeps its place in the numbering.
std::optional<std::string> CompactInDocument(Document& doc, std::vector<Renumbering>* renumbered = nullptr);
// The command: one step of the history, like a swap.
ListOutcome CompactDefinitions(ChartSession& session);

// Turns a hexadecimal chart into a base-36 one: every definition and object
// keeps its two-character label, so the saved file stays the same
// bytes until new definitions are added. False, changing nothing, for a chart
// that is not hexadecimal.
bool ExpandToBase36InDocument(Document& doc, std::vector<Renumbering>* renumbered = nullptr);
// The command: one step of the history, like a swap; refused with a message when the chart is base 36 or 62 already,
// or when a kept line that means nothing in hexadecimal would be read as a
// definition or a tempo in base 36 (the message quotes it).
ListOutcome ExpandToBase36(ChartSession& session);
// Where a hexadecimal index lands in base 36: the label stays, "1A" is 1A.
constexpr int Base36OfHex(int value) { return value / 16 * 36 + value % 16; }

// What a drop of files (without a chart among them) registers.
struct DropPlan {
  // A chart among the files is opened instead; nothing else registers.
  std::optional<std::string> chart;
  // Names in the chart's encoding.
  std::vector<std::pair<int, std::string>> wav;  // row, file name
  std::vector<std::pair<int, std::string>> bmp;
  std::optional<std::string> midi;
  // To be shown: capacity messages, each at most once, and the refusal of
  // names the chart's encoding cannot hold (which are never stored altered).
  std::vector<std::string> messages;
  std::vector<std::string> otherFolder;  // paths outside the chart's folder
  std::vector<std::string> leftOut;      // neither sound, image nor MIDI by extension
  std::vector<std::string> unencodable;  // names the chart's encoding cannot hold
  int wavRow = 0;                        // rows selected afterwards
  int bmpRow = 0;
};

struct DropStart {
  int wavRow = 0;  // selected rows, -1 none
  int bmpRow = 0;
  bool skipUsed = true;
  std::string chartFolder;  // empty: no chart file chosen yet
};

// Paths (UTF-8) are taken in name order, ignoring case, and told apart by
// their extension only. Files fill the lines from the selected one on, the
// last line included; the capacity message comes only when no line is left.
DropPlan PlanDrop(const Document& doc, std::vector<std::string> paths, const DropStart& start);
// A file from another folder gets a line in the log, as the chart will not
// find it until it is copied beside the chart; the files left out share one.
EditOutcome ApplyDrop(ChartSession& session, const DropPlan& plan);

}  // namespace beatloom
