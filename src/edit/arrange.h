#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "session/chart_session.h"

namespace beatloom {

// What the spacing dialog collected, as typed.
struct SpacingRequest {
  std::string newWidth;
  std::string originalWidth;
  bool matchTempo = true;
};

// How a command ended, with the message the author is to see (empty: none).
struct ArrangeResult {
  EditOutcome outcome = EditOutcome::Unchanged;
  std::string message;
};

inline constexpr std::string_view kSpacingInputMessage = "入力された値が不正か、または間違っています";
inline constexpr std::string_view kSpacingTempoMessage = "BMPの値が不正なため、BPMを自動調整出来ませんでした";
inline constexpr std::string_view kSpacingNegativeMessage = "幅に負の値は指定できません";
inline constexpr std::string_view kSpacingZeroMessage = "幅に0は指定できません";
inline constexpr std::string_view kSpacingRangeMessage =
    "この幅ではオブジェが小節000～999の外に出てしまうため、間隔を変更できません";

// Nearest integer, halves to the even neighbour, whatever the floating-point
// rounding mode happens to be.
double RoundHalfEven(double value);

// A decimal integer with an optional sign; spaces around it are allowed.
std::optional<int> ParseWholeNumber(std::string_view text);

// The text a tempo is written back as: the shortest general decimal form with
// up to 15 significant digits ("300", "33.3333333333333", "1E20").
std::string TempoText(double tempo);

// Stretches or squeezes every position by new width / original width, with
// the undo step, and when asked scales the header tempo, every tempo change
// and every stop length by the same factor so that the chart keeps its
// timing in seconds. Bad widths, and widths that
// would carry an object outside measures 000-999, change nothing and keep
// the older undo step. A tempo that is no number leaves the tempo alone but
// keeps the moved objects.
ArrangeResult ChangeObjectSpacing(ChartSession& session, const SpacingRequest& request);

// How many objects the spacing would put into a slot (lane and tick, see
// SlotKey) that another object takes, more than share one now: the save
// would keep one of each. 0 for a request the command refuses.
size_t SpacingOverlaps(const Document& doc, const SpacingRequest& request);

// Swaps keys 1-7 of each player end for end (1<->7, 2<->6, 3<->5) on the
// selected objects, with the undo step. Does nothing at all on an empty chart.
EditOutcome MirrorSelected(ChartSession& session);

}  // namespace beatloom
