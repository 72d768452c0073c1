#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "session/chart_session.h"

namespace beatloom {

// The lanes each select command reaches. The tempo lane belongs to no group:
// only All reaches it.
enum class LaneGroup { All, Player1, Player2, Bmp, Bgm };

bool InLaneGroup(int lane, LaneGroup group);

// Replaces the selection with the objects of one group. Neither marks the
// chart nor takes the undo step: only flags change.
EditOutcome SelectLaneGroup(ChartSession& session, LaneGroup group);

// The selected objects go to the internal clipboard, last object first; Cut
// also takes them out of the chart. Both leave nothing selected and mark the
// chart when something was selected. No undo step: a later undo goes back to
// the last change that took one.
EditOutcome CutSelected(ChartSession& session);
EditOutcome CopySelected(ChartSession& session);
// Takes every selected object out; no undo step either.
EditOutcome DeleteSelected(ChartSession& session);

// What a paste needs to know of the score: whether it shows a tick, and the
// tick at its bottom edge.
struct PasteWindow {
  std::function<bool(int tick)> shows;
  int bottomTick = 0;
};

// The measure start the clipboard block is pasted at: where it was copied
// from when its earliest object is on screen, otherwise the measure after the
// one at the bottom edge of the view. clip must not be empty.
int PasteBase(const std::vector<TBmsObject>& clip, const PasteWindow& view);
// Appends the internal clipboard at PasteBase as the new selection, with the
// undo step. An empty clipboard does nothing at all. Objects that would land
// beyond measure 999 are left out.
EditOutcome PasteClip(ChartSession& session, const PasteWindow& view);

// The first line of the exchange text.
inline constexpr std::string_view kClipboardHeader = "BTLM ClipBoard Object Data Format";

// The exchange text for the selected objects, last object first, each line
// ended by CR LF (a value from 1000 on takes a fourth digit); the objects are deselected and the chart marked when
// there were any.
std::string CopySelectedAsText(ChartSession& session);

// What a system clipboard text holds for the paste.
struct ClipboardText {
  // False: another text; the internal clipboard stays and is pasted.
  bool ours = false;
  std::vector<TBmsObject> objects;
  // The tempo or stop length of each object on those lanes, 0 elsewhere.
  std::vector<double> numbers;
  // Set when the text is ours but a line is no object: nothing may change.
  std::string error;
};
// Values are checked against the chart's radix; tempos and stop lengths are
// numbers up to 9999, or exact after a blank.
ClipboardText ReadClipboardText(std::string_view text, const DefinitionIndex& indices = DefinitionIndex());

// Paste from the system clipboard: a text of ours replaces the internal
// clipboard, then the internal clipboard is pasted. A text with a bad line
// changes nothing; the message says why, empty when the paste ran.
std::string PasteFromText(ChartSession& session, std::string_view text, const PasteWindow& view);

// The control names of the editing items (K8, K6, subete1, their popup twins,
// K11 ...) that are enabled for this chart and clipboard. Outside edit mode
// none is.
std::vector<std::string> EnabledEditMenuItems(const ChartSession& session, bool editMode);

}  // namespace beatloom
