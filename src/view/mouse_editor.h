#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/document.h"
#include "session/chart_session.h"
#include "view/object_index.h"
#include "view/score_geometry.h"
#include "view/status_line.h"
#include "view/view_settings.h"

namespace beatloom {

// Shown when a new tempo or stop length finds every definition index taken.
inline constexpr const char* kNoFreeDefinition = "定義の空きがないため書き込めません";

// The three tool-bar modes of the score.
enum class EditTool { Select, Write, Erase };
enum class PointerButton { Left, Right, Middle };

// One mouse event on the paint area, in its pixel coordinates.
struct PointerInput {
  int x = 0;
  int y = 0;
  PointerButton button = PointerButton::Left;
  bool shift = false;
  bool ctrl = false;
};

// What a new object takes from the definition lists: the selected WAV row
// gives index row + 1, the selected BMP row gives index row.
struct NewObjectValues {
  int wav = 0;   // 0: no WAV entry selected
  int bmp = -1;  // -1: no BMP entry selected
};

// One thing the screen must do, in order. The score image itself is redrawn
// through the chart session's notices; these only touch the screen copy.
struct OverlayStep {
  enum class Kind {
    Blit,     // copy the whole score image to the screen, wiping overlays
    Restore,  // wipe the remembered overlay rectangle
    Object,   // draw object as a preview
    Frame,    // unfilled rectangle rect (right and bottom exclusive)
  };
  Kind kind = Kind::Blit;
  TBmsObject object{};
  ScreenRect rect{};
  bool red = false;       // Frame: red (erase) instead of white
  bool remember = false;  // remember what was drawn for the next Restore
  bool operator==(const OverlayStep&) const = default;
};

// The mouse editing of the score as a state machine without a window: the
// widget forwards its presses, moves, releases and timer ticks, and draws the
// overlay steps and status texts this leaves behind. Every change of the
// chart goes through the chart session.
class MouseEditor {
 public:
  // HoldWrite: a note just written on a key lane, the press still down; a
  // drag along the lane makes it a long note. EndDrag: a long note's end
  // taken hold of.
  enum State { Idle = 0, RubberBand = 1, Dragging = 10, CopyPress = 11, MovePress = 12, HoldWrite = 13, EndDrag = 14 };

  struct Hooks {
    std::function<NewObjectValues()> values;
    // The tempo dialog and the stop length dialog; false when it was closed
    // without OK.
    std::function<bool(std::string& text)> askBpm;
    std::function<bool(std::string& text)> askStop;
    std::function<void(const std::string& text)> message;
    // Right button: the popup menu opens at this point of the paint area.
    std::function<void(int x, int y)> popup;
    // After a gesture that may have changed the selection.
    std::function<void()> selectionChanged;
  };

  // What a timer tick asks of the view.
  struct TickResult {
    int verticalStep = 0;    // add to GSV
    int horizontalStep = 0;  // add to GSH
    bool blit = false;       // wipe overlays left behind
  };

  MouseEditor(ChartSession& session, const ScoreGeometry& geometry, const ViewSettings& settings, Hooks hooks);
  ~MouseEditor();
  MouseEditor(const MouseEditor&) = delete;
  MouseEditor& operator=(const MouseEditor&) = delete;

  // A mode button was pressed: any gesture ends. (The view controls
  // deselect the objects.)
  void SetTool(EditTool tool);
  EditTool Tool() const { return tool_; }
  // N34: ignore the press that activates the window.
  void SetActivationGuard(bool on) { activationGuard_ = on; }
  void SampleActivation(bool active) { activeSample_ = active; }

  void Press(const PointerInput& in);
  // Moves only count while the application is active.
  void Move(const PointerInput& in, bool applicationActive = true);
  void Release(const PointerInput& in);
  // The 100 ms timer: active is whether the application is active, (x, y)
  // the pointer in paint-area pixels.
  TickResult Tick(bool active, int x, int y);

  // The overlay steps since the last call.
  std::vector<OverlayStep> TakeOverlay();
  const StatusText& Status() const { return status_; }
  // The position the status line describes.
  int StatusPos() const { return statusPos_; }
  // Its exact place in ticks: an object between two ticks is timed there.
  double StatusTicks() const { return statusTicks_; }
  int CurrentState() const { return state_; }
  // Where the last right click or edit-mode press was; the popup's measure
  // commands read it.
  int AnchorLane() const { return anchorLane_; }
  int AnchorPos() const { return anchorPos_; }
  // The object under a point, topmost by list order; -1 when none.
  int HitTest(int x, int y);
  // Indices of every object under a point, in list order.
  void ObjectsAt(int x, int y, std::vector<int>& out);

 private:
  enum class Action { Write, Erase, Edit };
  Action ActionFor(bool shift) const;
  const ObjectIndex& Index();
  void Write(const PointerInput& in);
  // The tempo or stop length the author types, above 0; nothing (with a
  // message when the text was no such number) when none was given.
  std::optional<double> AskTimingValue(bool stop);
  void Erase(const PointerInput& in);
  void EditPress(const PointerInput& in);
  void StartDrag(bool copy);
  void DrawPreview(const PointerInput& in);
  // The written note as the release at y would make it: plain on the press
  // tick, else held from the earlier of both ticks to the later.
  TBmsObject HeldAt(int y) const;
  void FinishHoldWrite(const PointerInput& in);
  // A long note's end dragged: taken out for the drag, like a move.
  void StartEndDrag(int hit);
  TBmsObject EndDraggedTo(int y) const;
  void DropEnd(const PointerInput& in);
  void DrawHover(const PointerInput& in, Action action);
  void DrawDrag(const PointerInput& in);
  void DrawRubberBand(const PointerInput& in);
  // Whether a rubber band spanning columns lo..hi (see LaneColumn) takes an
  // object of lane.
  bool InBand(int lane, int lo, int hi) const;
  void UpdateStatus();
  void Drop(const PointerInput& in);
  void FinishRubberBand(const PointerInput& in);
  // Selection-only changes: no step, the modified mark untouched.
  void ChangeSelection(const std::function<bool(Document&)>& change);
  void Cancel();
  void Push(OverlayStep step) { overlay_.push_back(step); }

  ChartSession& session_;
  const ScoreGeometry& geometry_;
  const ViewSettings& settings_;
  Hooks hooks_;
  ChartSession::ListenerId listener_ = 0;

  ObjectIndex index_{1};  // tick buckets: a crowded measure must not slow a move
  bool indexStale_ = true;
  std::vector<int> candidates_;
  std::vector<int> found_;

  EditTool tool_ = EditTool::Write;
  bool activationGuard_ = true;
  bool activeSample_ = true;
  bool askingBpm_ = false;
  bool pointerSeen_ = false;

  int state_ = Idle;
  int anchorLane_ = 0;
  int anchorPos_ = 0;
  int currentLane_ = 0;
  int currentPos_ = 0;
  bool dragCopy_ = false;
  bool rubberShift_ = false;
  int framed_ = -1;
  int written_ = -1;   // HoldWrite: the note's index
  TBmsObject held_{};  // HoldWrite: the note as written
  std::optional<int> heldLnObj_;  // HoldWrite: the chart's #LNOBJ value, if any
  int heldStep_ = 0;   // merges a write and its lengthening into one step
  TBmsObject preview_{255, INT32_MIN, 0, 0, 0};

  int statusLane_ = 0;
  int statusPos_ = 0;
  double statusTicks_ = 0;
  int statusValue_ = 0;
  double statusLength_ = 0;  // of the long note described, in ticks; 0: none
  StatusText status_;
  std::vector<OverlayStep> overlay_;
};

}  // namespace beatloom
