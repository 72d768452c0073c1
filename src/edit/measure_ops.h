#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/document.h"
#include "session/chart_session.h"

namespace beatloom {

inline constexpr std::string_view kMeasureTextMessage = "小節の指定に誤りがあるため実行できません";
inline constexpr std::string_view kMeasureRangeMessage = "小節の範囲指定に誤りがあるため実行できません";
inline constexpr std::string_view kInsertPastEndMessage = "小節999にオブジェがあるため、小節を挿入できません";
inline constexpr std::string_view kInsertLengthPastEndMessage = "小節999に小節長があるため、小節を挿入できません";
inline constexpr std::string_view kLengthNotNumberMessage = "数値を入力して下さい";
inline constexpr std::string_view kLengthNotPositiveMessage = "0以下の数値は設定できません";
inline constexpr std::string_view kLengthOutOfRangeMessage = "小節長は1/192(0.0052083)以上999以下で指定して下さい";

// The shortest measure still holds one tick; the longest keeps every time of
// a 1000-measure chart within what the status line and the players can show.
inline constexpr double kShortestMeasureLength = 1.0 / TicksPerMeasure;
inline constexpr double kLongestMeasureLength = 999;

// Whole measures first to last, both included, as the author typed them. A
// last measure beyond 999 simply reaches past every object.
struct MeasureSpan {
  long long first = 0;
  long long last = 0;
};

// What a measure command did, and the message that tells the author why it
// was refused.
struct MeasureOutcome {
  EditOutcome outcome = EditOutcome::Unchanged;
  std::string_view message;
};

// The measure of a score position, truncating toward zero like the popup.
int MeasureOfPos(int pos);

// Moves every object from measure m on one measure later, with the kept data
// lines and the lengths of those measures; the new measure m has length 1.
// Refused when something (an object, a kept line, a length other than 1)
// would pass measure 999.
MeasureOutcome InsertMeasure(Document& doc, int measure);
// Removes the objects, kept data lines and lengths of the span and moves the
// later ones down by its length. Refused for a span that starts before
// measure 0.
MeasureOutcome DeleteMeasures(Document& doc, MeasureSpan span);

// The same through the session: one step of the history, which holds the
// kept lines and the lengths these commands move along with the objects.
MeasureOutcome InsertMeasure(ChartSession& session, int measure);
MeasureOutcome DeleteMeasures(ChartSession& session, MeasureSpan span);

// The delete-measures dialog's two fields as a span, or the message that
// refuses them.
struct ParsedSpan {
  std::optional<MeasureSpan> span;
  std::string_view message;
};
ParsedSpan ParseMeasureSpan(std::string_view first, std::string_view last);

// The measure length list: one line per measure, "#012:0.75".
std::string MeasureLengthLine(int measure, double length);
std::vector<std::string> MeasureLengthLines(const std::array<double, MeasureCount>& lengths);

// "変更": gives every selected row (ascending) the typed length. On success
// nextRow is the row the selection walks on to; otherwise message says why
// and no line changed.
struct LengthChange {
  std::string_view message;
  int nextRow = -1;
};
LengthChange ChangeLengthLines(std::string_view typed, std::vector<std::string>& lines,
                               const std::vector<int>& selectedRows);

// Reads every line's value back into the table. A line left as the table
// wrote it keeps its exact value, whatever digits the text rounded away.
void ReadLengthLines(const std::vector<std::string>& lines, std::array<double, MeasureCount>& lengths);

}  // namespace beatloom
