#include "view/mouse_editor.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "bms/bms_reader.h"
#include "model/text_scan.h"
#include "model/timing_values.h"

namespace beatloom {

namespace {

constexpr int LastPosition = MeasureCount * TicksPerMeasure - 1;
constexpr int AutoScrollTicks = 48;
constexpr int AutoScrollPixels = 20;

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

bool IsImageLane(int lane) { return lane >= FirstImageLane && lane <= LastImageLane; }
bool IsKeyLane(int lane) { return lane >= 1 && lane <= P2FreeScratchLane; }

// Points on the rectangle's edges count as on the object.
bool Contains(const ScreenRect& r, int x, int y) {
  return !r.IsEmpty() && x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

ScreenRect Grown(const ScreenRect& r) { return {r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2}; }

// The step names of the mouse's writes and of a long note's new length.
constexpr const char* kWriteStep = "書き込み";
constexpr const char* kLengthStep = "長さの変更";

// Toggling the bpm-dialog guard back even when the dialog hook throws.
class Flag {
 public:
  explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
  ~Flag() { flag_ = false; }
  Flag(const Flag&) = delete;
  Flag& operator=(const Flag&) = delete;

 private:
  bool& flag_;
};

}  // namespace


MouseEditor::MouseEditor(ChartSession& session, const ScoreGeometry& geometry, const ViewSettings& settings,
                         Hooks hooks)
    : session_(session), geometry_(geometry), settings_(settings), hooks_(std::move(hooks)) {
  listener_ = session_.AddListener([this](const ChartNotice& notice) {
    // Indices and positions may have moved under whatever we remembered.
    if (ChartChanged(notice)) indexStale_ = true;
    framed_ = -1;
    if (notice.replaced != ChartReplaced::No) Cancel();
  });
}

MouseEditor::~MouseEditor() { session_.RemoveListener(listener_); }

void MouseEditor::Cancel() {
  state_ = Idle;
  // A move cut short (a command, a mode change, a release never seen) puts
  // its objects back where they were: nothing lost, nothing doubled.
  session_.CancelGesture();
  session_.Dragged().clear();
}

const ObjectIndex& MouseEditor::Index() {
  const auto& objects = session_.Doc().ObjList;
  if (indexStale_ || !index_.Built() || index_.IndexedSize() != objects.size()) {
    index_.Rebuild(objects);
    indexStale_ = false;
  }
  return index_;
}

void MouseEditor::ObjectsAt(int x, int y, std::vector<int>& out) {
  out.clear();
  const auto& objects = session_.Doc().ObjList;
  if (objects.empty()) return;
  // Rows y..y+tallest hold the bottom edge of every object that can cover y;
  // the positions of those rows, widened by a rounding margin, are the
  // candidates. ObjectRect decides.
  const int64_t H = geometry_.GridHeight;
  // Only the free scratch lanes hold taller objects; their rectangles are
  // their lanes' columns.
  int64_t tallest = geometry_.ObjectHeight;
  for (const int lane : {P1FreeScratchLane, P2FreeScratchLane}) {
    const int left = geometry_.lanes.LaneLeft()[lane] - geometry_.S + 1;
    const int right = left - 1 + geometry_.lanes.LaneWidth()[lane];
    if (x >= left && x <= right) tallest = std::max(tallest, int64_t{geometry_.ObjectHeightOf(lane)});
  }
  const int64_t base = int64_t{geometry_.pbHeight} - geometry_.ScrollPixels() + 1 - y;
  const int64_t lo = FloorDiv((base - tallest - 1) * TicksPerMeasure, H) - 1;
  const int64_t hi = FloorDiv((base + 1) * TicksPerMeasure, H) + 1;
  found_.clear();
  // A bar from below can only cover x in its own column, or a key's
  // neighbour's, as keys overlap half a key on a keyboard.
  const int lane = geometry_.LaneAtX(x);
  Index().Query(objects, lo, hi, found_, lane - 1, lane + 1);
  for (const int i : found_) {
    if (Contains(geometry_.ObjectSpan(objects[i]), x, y)) out.push_back(i);
  }
}

int MouseEditor::HitTest(int x, int y) {
  ObjectsAt(x, y, candidates_);
  return candidates_.empty() ? -1 : candidates_.back();
}

MouseEditor::Action MouseEditor::ActionFor(bool shift) const {
  switch (tool_) {
    case EditTool::Write:
      return shift ? Action::Erase : Action::Write;
    case EditTool::Erase:
      return shift ? Action::Write : Action::Erase;
    case EditTool::Select:
      break;
  }
  return Action::Edit;
}

std::vector<OverlayStep> MouseEditor::TakeOverlay() { return std::exchange(overlay_, {}); }

void MouseEditor::ChangeSelection(const std::function<bool(Document&)>& change) {
  const ChartEdit edit{.modified = ChartEdit::Mark::Leave, .aspects = kChartSelection, .inGesture = true};
  session_.Apply(edit, [&](Document& doc) { return change(doc) ? EditOutcome::Changed : EditOutcome::Unchanged; });
}

void MouseEditor::SetTool(EditTool tool) {
  tool_ = tool;
  Cancel();
  framed_ = -1;
  preview_.Lane = 255;
}

// ---- press ----

void MouseEditor::Press(const PointerInput& in) {
  if (activationGuard_ && !activeSample_) return;
  // The tempo dialog is modal, but a second click can still arrive through
  // its event loop; it must not open a second one.
  if (askingBpm_) return;
  if (in.button == PointerButton::Right) {
    anchorLane_ = geometry_.LaneAtX(in.x);
    anchorPos_ = geometry_.TickAtY(in.y);
    session_.SettleGesture();
    if (hooks_.popup) hooks_.popup(in.x, in.y);
    return;
  }
  Cancel();
  switch (ActionFor(in.shift)) {
    case Action::Write:
      Write(in);
      break;
    case Action::Erase:
      Erase(in);
      break;
    case Action::Edit:
      EditPress(in);
      break;
  }
}

void MouseEditor::Write(const PointerInput& in) {
  // The margins around the lanes hold no lane: nothing is written there.
  if (!geometry_.OnLanes(in.x)) return;
  const int lane = geometry_.LaneAtX(in.x);
  const int pos = geometry_.SnappedTickAtY(in.y, settings_.GridPosition);
  const NewObjectValues values = hooks_.values ? hooks_.values() : NewObjectValues{};
  int value = values.wav;
  if (IsImageLane(lane)) {
    if (values.bmp <= 0) return;
    value = values.bmp;
  }
  std::optional<double> timing;
  if (lane == TempoLane || lane == StopLane) {
    timing = AskTimingValue(lane == StopLane);
    if (!timing) return;
  }
  const bool hidden = in.ctrl && IsKeyLane(lane);
  const auto& objects = session_.Doc().ObjList;
  std::vector<int> same;
  Index().Query(objects, pos, pos, same);
  // A spot holds one object per lane: whatever stood there goes.
  std::erase_if(same, [&](int i) { return objects[static_cast<size_t>(i)].Lane != lane; });
  std::sort(same.begin(), same.end());
  // A visible note on a key lane may still be drawn out into a long note
  // before the button comes up; that makes the same step as the write.
  const bool holdable = IsKeyLane(lane) && !hidden;
  // The form the chart's long notes take: with an #LNOBJ line the end is a
  // note of that value, else a cell of the start's value on the long-note
  // channels (read once here, not at every move of the drag).
  if (holdable) heldLnObj_ = LnObjIndex(session_.Doc());
  session_.SealStep();
  if (same.size() == 1) {
    const TBmsObject& there = objects[static_cast<size_t>(same.front())];
    if (timing ? NumberOf(session_.Doc(), there) == *timing
               : there.Value == value && there.Hidden == (hidden ? 1 : 0)) {
      // The same note again; a drag may still make it long.
      if (holdable) {
        written_ = same.front();
        held_ = there;
        state_ = HoldWrite;
      }
      return;
    }
  }
  // Only the objects taken out and the one appended are kept for the
  // history, so a write costs the same in a chart of any size.
  ChartEdit edit{
      .label = kWriteStep, .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended, .mergeKey = &heldStep_};
  edit.remove = std::move(same);
  bool full = false;
  session_.Apply(edit, [&](Document& doc) {
    // A tempo or stop length takes a definition of its value, within the same step.
    TBmsObject made;
    made.Lane = static_cast<uint8_t>(lane);
    if (timing && !SetTimingValue(doc, made, *timing)) {
      full = true;
      return EditOutcome::Refused;
    }
    const int before = doc.ObjLast();
    const int added = doc.AddObject(lane, pos, timing ? made.Value : value);
    if (added != before && hidden) doc.ObjList[added].Hidden = 1;
    if (added != before) doc.ObjList[added].Defined = made.Defined;
    // Like every write, also one that found no WAV entry to write.
    return EditOutcome::Changed;
  });
  if (full && hooks_.message) hooks_.message(kNoFreeDefinition);
  const auto& after = session_.Doc().ObjList;
  if (holdable && !after.empty() && after.back().Lane == lane && after.back().Pos == pos) {
    written_ = static_cast<int>(after.size()) - 1;
    held_ = after.back();
    state_ = HoldWrite;
  }
}

TBmsObject MouseEditor::HeldAt(int y) const {
  TBmsObject o = held_;
  const int at = geometry_.SnappedTickAtY(y, settings_.GridPosition);
  if (at == held_.Pos || at < 0 || at > LastPosition) return o;
  // Drawn down the lane, the start moves onto the release's tick.
  if (at < held_.Pos) ClearOffset(o);
  o.Pos = std::min(at, held_.Pos);
  o.EndPos = std::max(at, held_.Pos);
  o.EndOffNum = 0;
  o.EndOffDen = 1;
  o.Long = heldLnObj_ ? LongByLnObj : LongByChannel;
  o.EndValue = static_cast<uint16_t>(heldLnObj_ ? *heldLnObj_ : o.Value);
  return o;
}

void MouseEditor::FinishHoldWrite(const PointerInput& in) {
  const TBmsObject made = HeldAt(in.y);
  const auto& objects = session_.Doc().ObjList;
  // Whatever came in meanwhile may have taken the note away.
  const bool still = written_ >= 0 && static_cast<size_t>(written_) < objects.size() &&
                     objects[static_cast<size_t>(written_)].Lane == held_.Lane &&
                     objects[static_cast<size_t>(written_)].Pos == held_.Pos;
  if (!still || made == held_) {
    session_.SealStep();
    return;
  }
  // The note is taken out and appended long; drawn down the lane, its start
  // moves to the release and takes the place of a note standing there.
  std::vector<int> remove{written_};
  if (made.Pos != held_.Pos) {
    Index().Query(objects, made.Pos, made.Pos, remove);
    std::erase_if(remove, [&](int i) { return i != written_ && objects[static_cast<size_t>(i)].Lane != made.Lane; });
  }
  std::sort(remove.begin(), remove.end());
  remove.erase(std::unique(remove.begin(), remove.end()), remove.end());
  ChartEdit edit{
      .label = kWriteStep, .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended, .mergeKey = &heldStep_};
  edit.remove = std::move(remove);
  session_.Apply(edit, [&made](Document& doc) {
    doc.ObjList.push_back(made);
    return EditOutcome::Changed;
  });
  session_.SealStep();
}

std::optional<double> MouseEditor::AskTimingValue(bool stop) {
  std::string text;
  {
    const Flag asking(askingBpm_);
    const auto& ask = stop ? hooks_.askStop : hooks_.askBpm;
    if (!ask || !ask(text)) return std::nullopt;
  }
  double value = 0;
  const char* refusal = nullptr;
  if (!ParseDecimalNumber(text, value)) {
    refusal = "数値を入力して下さい";
  } else if (!(value > 0)) {
    refusal = "0 より大きい値を入力して下さい";
  }
  if (!refusal) return value;
  if (hooks_.message) hooks_.message(refusal);
  return std::nullopt;
}

void MouseEditor::Erase(const PointerInput& in) {
  std::vector<int> hit;
  ObjectsAt(in.x, in.y, hit);
  std::sort(hit.begin(), hit.end());
  hit.erase(std::unique(hit.begin(), hit.end()), hit.end());
  if (hit.empty()) return;
  ChartEdit edit{.label = "消去", .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended};
  edit.remove = std::move(hit);
  session_.Apply(edit, [](Document&) { return EditOutcome::Changed; });
}

void MouseEditor::EditPress(const PointerInput& in) {
  const int hit = HitTest(in.x, in.y);
  if (hit >= 0) {
    const TBmsObject object = session_.Doc().ObjList[hit];
    anchorLane_ = object.Lane;
    anchorPos_ = object.Pos;
    if (HasBar(object) && in.y < geometry_.ObjectRect(object).Top) {
      // Taken by its bar, the note moves with the pointer by whole grid
      // steps instead of jumping with its start to the pointer.
      const int step = TicksPerMeasure / GridDivision(settings_.GridPosition);
      anchorPos_ = geometry_.SnappedTickAtY(in.y, settings_.GridPosition) + object.Pos % step;
    }
    if (in.shift) {
      ChangeSelection([hit](Document& doc) {
        doc.ObjList[hit].Selected ^= 1;
        return true;
      });
    } else if (in.ctrl) {
      ChangeSelection([hit](Document& doc) {
        const bool was = doc.ObjList[hit].Selected;
        doc.ObjList[hit].Selected = 1;
        return !was;
      });
      state_ = CopyPress;
    } else if (Contains(geometry_.EndGrip(object), in.x, in.y)) {
      ChangeSelection([hit](Document& doc) {
        for (TBmsObject& o : doc.ObjList) o.Selected = 0;
        doc.ObjList[hit].Selected = 1;
        return true;
      });
      StartEndDrag(hit);
    } else if (object.Selected) {
      state_ = MovePress;
    } else {
      ChangeSelection([hit](Document& doc) {
        for (TBmsObject& o : doc.ObjList) o.Selected = 0;
        doc.ObjList[hit].Selected = 1;
        return true;
      });
      state_ = MovePress;
    }
    if (state_ == CopyPress || state_ == MovePress) StartDrag(state_ == CopyPress);
  } else {
    anchorLane_ = geometry_.LaneAtX(in.x);
    anchorPos_ = geometry_.TickAtY(in.y);
    // A command that comes in while the band is drawn ends it unfinished.
    session_.BeginGesture([this] { Cancel(); });
    state_ = RubberBand;
    rubberShift_ = in.shift;
    currentLane_ = 0;
    currentPos_ = 0;
    if (!in.shift) {
      ChangeSelection([](Document& doc) {
        bool any = false;
        for (TBmsObject& o : doc.ObjList) {
          any = any || o.Selected;
          o.Selected = 0;
        }
        return any;
      });
    }
  }
  Push({.kind = OverlayStep::Kind::Blit});
  Move(in);
  if (hooks_.selectionChanged) hooks_.selectionChanged();
}

void MouseEditor::StartEndDrag(int hit) {
  // The note leaves the score image while its end is drawn over it, and
  // comes back as it was when the drag is cut short.
  session_.BeginGesture([this] { Cancel(); });
  ChartEdit edit{
      .label = kLengthStep, .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended, .inGesture = true};
  edit.remove.push_back(hit);
  session_.Apply(edit, [this, hit](Document& doc) {
    session_.Dragged().assign(1, doc.ObjList[static_cast<size_t>(hit)]);
    return EditOutcome::Changed;
  });
  state_ = EndDrag;
}

TBmsObject MouseEditor::EndDraggedTo(int y) const {
  TBmsObject o = session_.Dragged().front();
  // At least one grid step long: a long note ends after it starts.
  const int step = TicksPerMeasure / GridDivision(settings_.GridPosition);
  const int at = geometry_.SnappedTickAtY(y, settings_.GridPosition);
  const int end = std::clamp(std::max(at, o.Pos + step), o.Pos + 1, LastPosition);
  if (end == o.EndPos) return o;
  o.EndPos = end;
  o.EndOffNum = 0;
  o.EndOffDen = 1;
  return o;
}

void MouseEditor::DropEnd(const PointerInput& in) {
  if (session_.Dragged().empty()) return Cancel();
  const TBmsObject made = EndDraggedTo(in.y);
  if (made == session_.Dragged().front() || !HasBar(made)) {
    Cancel();
  } else {
    const ChartEdit edit{
        .label = kLengthStep, .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended, .inGesture = true};
    session_.Apply(edit, [&made](Document& doc) {
      doc.ObjList.push_back(made);
      return EditOutcome::Changed;
    });
    session_.Dragged().clear();
    session_.EndGesture(kLengthStep);
  }
  if (hooks_.selectionChanged) hooks_.selectionChanged();
}

void MouseEditor::StartDrag(bool copy) {
  dragCopy_ = copy;
  // The whole drag is one step; anything that comes in between puts the
  // objects back first.
  session_.BeginGesture([this] { Cancel(); });
  ChartEdit edit{.label = "移動", .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended, .inGesture = true};
  const auto& objects = session_.Doc().ObjList;
  if (!copy) {
    for (size_t i = 0; i < objects.size(); ++i)
      if (objects[i].Selected) edit.remove.push_back(static_cast<int>(i));
  }
  session_.Apply(edit, [this](Document& doc) {
    std::vector<TBmsObject>& dragged = session_.Dragged();
    dragged.clear();
    for (const TBmsObject& o : doc.ObjList) {
      if (o.Selected) dragged.push_back(o);
    }
    return EditOutcome::Changed;
  });
  currentLane_ = -1;
  currentPos_ = -1;
  state_ = Dragging;
}

// ---- move ----

void MouseEditor::Move(const PointerInput& in, bool applicationActive) {
  if (!applicationActive) return;
  pointerSeen_ = true;
  statusLane_ = geometry_.LaneAtX(in.x);
  statusPos_ = geometry_.SnappedTickAtY(in.y, settings_.GridPosition);
  statusTicks_ = statusPos_;
  statusValue_ = 0;
  statusLength_ = 0;
  const Action action = state_ == HoldWrite ? Action::Write : ActionFor(in.shift);
  if (state_ == EndDrag) {
    if (session_.Dragged().empty()) return;
    const TBmsObject o = EndDraggedTo(in.y);
    statusLane_ = o.Lane;
    statusPos_ = o.Pos;
    statusTicks_ = ExactTicks(o);
    statusValue_ = o.Value;
    statusLength_ = EndTicks(o) - ExactTicks(o);
    Push({.kind = OverlayStep::Kind::Blit});
    Push({.kind = OverlayStep::Kind::Object, .object = o});
  } else if (action == Action::Write) {
    DrawPreview(in);
  } else if (action == Action::Erase || state_ == Idle) {
    if (!session_.Doc().ObjList.empty()) {
      const int before = framed_;
      DrawHover(in, action);
      if (framed_ >= 0 && framed_ == before) return;  // the status line keeps its text
    }
  }
  if (action == Action::Edit && state_ == Dragging) {
    const int lane = currentLane_;
    const int pos = currentPos_;
    currentPos_ = geometry_.SnappedTickAtY(in.y, settings_.GridPosition);
    currentLane_ = geometry_.LaneAtX(in.x);
    if (lane == currentLane_ && pos == currentPos_) return;
    DrawDrag(in);
  } else if (action == Action::Edit && state_ == RubberBand) {
    const int lane = currentLane_;
    const int pos = currentPos_;
    currentPos_ = geometry_.TickAtY(in.y);
    currentLane_ = geometry_.LaneAtX(in.x);
    if (lane == currentLane_ && pos == currentPos_) return;
    DrawRubberBand(in);
  }
  UpdateStatus();
}

void MouseEditor::DrawPreview(const PointerInput& in) {
  if (state_ == HoldWrite) {
    // The note being drawn out along its lane, wherever the pointer is across.
    const TBmsObject o = HeldAt(in.y);
    if (HasBar(o)) {
      statusLane_ = o.Lane;
      statusPos_ = o.Pos;
      statusLength_ = EndTicks(o) - ExactTicks(o);
    }
    if (o == preview_) return;
    preview_ = o;
    Push({.kind = OverlayStep::Kind::Restore});
    Push({.kind = OverlayStep::Kind::Object, .object = o, .remember = true});
    return;
  }
  if (!geometry_.OnLanes(in.x)) {
    // A press here writes nothing, so nothing is shown either.
    if (preview_.Lane != 255) Push({.kind = OverlayStep::Kind::Restore});
    preview_.Lane = 255;
    return;
  }
  const int lane = geometry_.LaneAtX(in.x);
  const int pos = geometry_.SnappedTickAtY(in.y, settings_.GridPosition);
  if (lane == preview_.Lane && pos == preview_.Pos) return;
  const NewObjectValues values = hooks_.values ? hooks_.values() : NewObjectValues{};
  TBmsObject o;
  o.Lane = static_cast<uint8_t>(lane);
  o.Pos = pos;
  if (IsImageLane(lane)) {
    o.Value = static_cast<uint16_t>(std::max(values.bmp, 0));
  } else if (lane != TempoLane && lane != StopLane) {
    o.Value = static_cast<uint16_t>(values.wav);
    o.Hidden = in.ctrl && IsKeyLane(lane) ? 1 : 0;
  }
  preview_ = o;
  Push({.kind = OverlayStep::Kind::Restore});
  Push({.kind = OverlayStep::Kind::Object, .object = o, .remember = true});
}

void MouseEditor::DrawHover(const PointerInput& in, Action action) {
  const int hit = HitTest(in.x, in.y);
  if (hit < 0) {
    framed_ = -1;
    Push({.kind = OverlayStep::Kind::Blit});
    return;
  }
  const TBmsObject& o = session_.Doc().ObjList[hit];
  statusLane_ = o.Lane;
  statusPos_ = o.Pos;
  statusTicks_ = ExactTicks(o);
  statusValue_ = o.Value;
  statusLength_ = HasBar(o) ? EndTicks(o) - ExactTicks(o) : 0;
  if (hit == framed_) return;
  Push({.kind = OverlayStep::Kind::Restore});
  Push({.kind = OverlayStep::Kind::Frame,
        .rect = Grown(geometry_.ObjectSpan(o)),
        .red = action == Action::Erase,
        .remember = true});
  framed_ = hit;
}

void MouseEditor::DrawDrag(const PointerInput&) {
  Push({.kind = OverlayStep::Kind::Blit});
  const int dColumn = LaneColumn(currentLane_) - LaneColumn(anchorLane_);
  const int dPos = currentPos_ - anchorPos_;
  // Positions far from the view are passed over before any rectangle is
  // worked out: a drag may carry a whole chart.
  int64_t lo = 0;
  int64_t hi = 0;
  geometry_.CandidatePositions(lo, hi);
  for (TBmsObject o : session_.Dragged()) {
    const int64_t start = int64_t{o.Pos} + dPos;
    if (start > hi || (HasBar(o) ? int64_t{o.EndPos} + dPos : start) < lo) continue;
    const int column = LaneColumn(o.Lane) + dColumn;
    if (column < 0 || column >= LaneCount) continue;
    if (LaneAtColumn(column) != o.Lane) o.Defined = 0;  // the preview shows the number carried
    o.Lane = static_cast<uint8_t>(LaneAtColumn(column));
    o.Pos += dPos;
    o.EndPos += dPos;
    if (!geometry_.RowsVisible(geometry_.ObjectSpan(o))) continue;
    Push({.kind = OverlayStep::Kind::Object, .object = o});
  }
}

void MouseEditor::DrawRubberBand(const PointerInput&) {
  Push({.kind = OverlayStep::Kind::Blit});
  const int lo = std::min(LaneColumn(anchorLane_), LaneColumn(currentLane_));
  const int hi = std::max(LaneColumn(anchorLane_), LaneColumn(currentLane_));
  const int pLo = std::min(anchorPos_, currentPos_);
  const int pHi = std::max(anchorPos_, currentPos_);
  const auto& left = geometry_.lanes.LaneLeft();
  const auto& width = geometry_.lanes.LaneWidth();
  const int right = left[LaneAtColumn(hi)] + width[LaneAtColumn(hi)];
  const int yLo = geometry_.YOfTick(pLo);
  const int yHi = geometry_.YOfTick(pHi) + 1;
  Push({.kind = OverlayStep::Kind::Frame,
        .rect = {left[LaneAtColumn(lo)] - geometry_.S, std::min(yLo, yHi), right - geometry_.S + 1,
                 std::max(yLo, yHi)}});
  const auto& objects = session_.Doc().ObjList;
  std::vector<int> inside;
  Index().Query(objects, pLo, pHi, inside);
  for (const int i : inside) {
    const TBmsObject& o = objects[i];
    if (!InBand(o.Lane, lo, hi)) continue;
    const ScreenRect r = geometry_.ObjectSpan(o);
    if (!geometry_.RowsVisible(r)) continue;
    Push({.kind = OverlayStep::Kind::Frame, .rect = Grown(r)});
  }
}

bool MouseEditor::InBand(int lane, int lo, int hi) const {
  // A lane the play mode collapses is not shown, so a band drawn across it
  // must not take (and a drop then lose) its notes.
  return lane < LaneCount && LaneColumn(lane) >= lo && LaneColumn(lane) <= hi && geometry_.lanes.LaneWidth()[lane] > 0;
}

void MouseEditor::UpdateStatus() {
  status_ = StatusAt(statusLane_, statusPos_, statusValue_, settings_.GridPosition);
  if (statusLength_ > 0) status_.zone += "  " + HoldLengthText(statusLength_);
}

// ---- release ----

void MouseEditor::Release(const PointerInput& in) {
  if (state_ == Dragging) {
    Drop(in);
  } else if (state_ == HoldWrite) {
    FinishHoldWrite(in);
    preview_.Lane = 255;
    Push({.kind = OverlayStep::Kind::Restore});
  } else if (state_ == EndDrag) {
    DropEnd(in);
  } else if (state_ == RubberBand) {
    FinishRubberBand(in);
  }
  state_ = Idle;
}

void MouseEditor::Drop(const PointerInput& in) {
  currentPos_ = geometry_.SnappedTickAtY(in.y, settings_.GridPosition);
  currentLane_ = geometry_.LaneAtX(in.x);
  const int dColumn = LaneColumn(currentLane_) - LaneColumn(anchorLane_);
  const int dPos = currentPos_ - anchorPos_;
  const bool moved = dColumn != 0 || dPos != 0;
  const auto& widths = geometry_.lanes.LaneWidth();
  if (!moved) {
    // Dropped where it started: nothing moved, nothing copied, no step.
    Cancel();
    if (hooks_.selectionChanged) hooks_.selectionChanged();
    return;
  }
  const char* label = dragCopy_ ? "複写" : "移動";
  const ChartEdit edit{
      .label = label, .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended, .inGesture = true};
  session_.Apply(edit, [&](Document& doc) {
    for (TBmsObject& o : doc.ObjList) o.Selected = 0;
    doc.SelectAddedObjects = true;
    std::vector<TBmsObject>& dragged = session_.Dragged();
    doc.ObjList.reserve(doc.ObjList.size() + dragged.size());
    for (const TBmsObject& d : dragged) {
      const int column = LaneColumn(d.Lane) + dColumn;
      const int lane = column < 0 || column >= LaneCount ? LaneCount : LaneAtColumn(column);
      const int64_t pos = int64_t{d.Pos} + dPos;
      // Outside the lanes, before measure 000, past measure 999 or on a
      // collapsed lane the object leaves the chart (undo brings it back).
      if (lane >= LaneCount || pos < 0 || pos > LastPosition || widths[lane] == 0) continue;
      // A held note moves whole: one whose end would pass measure 999 leaves too.
      const bool held = IsLongNote(d) && IsKeyLane(lane);
      if (held && int64_t{d.EndPos} + dPos > LastPosition) continue;
      // Onto the tempo or stop lane a value comes as a tempo or stop of its
      // number; one that cannot stand there leaves the chart.
      TBmsObject carried = d;
      const std::optional<double> number = NumberOf(doc, d);
      if (lane != d.Lane && (!number || !CarryToLane(doc, carried, lane, *number))) continue;
      const int before = doc.ObjLast();
      const int added = doc.AddObject(lane, static_cast<int>(pos), carried.Value);
      if (added == before) continue;
      // A hidden note stays hidden wherever it lands, as a paste keeps it.
      doc.ObjList[added].Hidden = d.Hidden;
      doc.ObjList[added].Defined = carried.Defined;
      // Moved along its measure it lands on the snapped tick; moved only
      // across lanes it keeps the exact place it had between two ticks.
      if (dPos == 0) SetOffset(doc.ObjList[added], d.OffNum, d.OffDen);
      // On another key lane it is still held; elsewhere only its start can stand.
      if (d.Long != PlainNote && IsKeyLane(lane)) {
        TBmsObject& moved = doc.ObjList[added];
        moved.Long = d.Long;
        moved.EndPos = static_cast<int32_t>(d.EndPos + dPos);
        moved.EndOffNum = d.EndOffNum;
        moved.EndOffDen = d.EndOffDen;
        moved.EndValue = d.EndValue;
        // Snapped onto the end's tick, it would be held for no time.
        if (IsLongNote(moved) && !EndsAfterStart(moved)) ClearLong(moved);
      }
    }
    doc.SelectAddedObjects = false;
    dragged.clear();
    return EditOutcome::Changed;
  });
  session_.EndGesture(label);
  if (hooks_.selectionChanged) hooks_.selectionChanged();
}

void MouseEditor::FinishRubberBand(const PointerInput& in) {
  currentPos_ = geometry_.TickAtY(in.y);
  currentLane_ = geometry_.LaneAtX(in.x);
  const int lo = std::min(LaneColumn(anchorLane_), LaneColumn(currentLane_));
  const int hi = std::max(LaneColumn(anchorLane_), LaneColumn(currentLane_));
  const int pLo = std::min(anchorPos_, currentPos_);
  const int pHi = std::max(anchorPos_, currentPos_);
  std::vector<int> inside;
  Index().Query(session_.Doc().ObjList, pLo, pHi, inside);
  const bool shift = in.shift;
  ChangeSelection([&](Document& doc) {
    if (!shift) {
      for (TBmsObject& o : doc.ObjList) o.Selected = 0;
    }
    for (const int i : inside) {
      TBmsObject& o = doc.ObjList[i];
      if (InBand(o.Lane, lo, hi)) o.Selected ^= 1;
    }
    return true;
  });
  session_.EndGesture(nullptr);
  if (hooks_.selectionChanged) hooks_.selectionChanged();
}

// ---- timer ----

MouseEditor::TickResult MouseEditor::Tick(bool active, int x, int y) {
  activeSample_ = active;
  TickResult r;
  const bool outside = x < 0 || y < 0 || x >= geometry_.pbWidth || y >= geometry_.pbHeight;
  if (!outside) return r;
  if (state_ != Idle) {
    if (y < 0) r.verticalStep = -AutoScrollTicks;
    if (y >= geometry_.pbHeight) r.verticalStep = AutoScrollTicks;
    if (x < 0) r.horizontalStep = -AutoScrollPixels;
    if (x >= geometry_.pbWidth) r.horizontalStep = AutoScrollPixels;
  }
  if (pointerSeen_) {
    r.blit = true;
    // Drawn again when the pointer comes back, even onto the same place.
    framed_ = -1;
    preview_.Lane = 255;
    Push({.kind = OverlayStep::Kind::Blit});
  }
  return r;
}

}  // namespace beatloom
