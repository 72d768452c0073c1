#include "view/mouse_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bms/index_radix.h"
#include "edit/selection.h"
#include "model/timing_values.h"

namespace beatloom {
namespace {

// W = 6, "1Player", H = 192, pbHeight 600, no scroll: position p lies on row
// 600 - p, and these columns lie inside their lanes (the stop lane XS stands
// beside the tempo lane).
constexpr int X0 = 15, XS = 45, X1 = 69, X2 = 84, X3 = 96, X4 = 108, X22 = 288, X19 = 216;
int Row(int pos) { return 600 - pos; }

struct Obj {
  int lane, pos, value, selected, hidden;
  bool operator==(const Obj&) const = default;
};

class MouseEditorTest : public ::testing::Test {
 protected:
  MouseEditorTest() {
    g = ScoreGeometry::For(settings, 0, 800, 600, 0, 0);
    MouseEditor::Hooks hooks;
    hooks.values = [this] { return values; };
    hooks.askBpm = [this](std::string& text) {
      ++bpmAsked;
      text = bpmText;
      return bpmOk;
    };
    hooks.askStop = [this](std::string& text) {
      text = stopText;
      return true;
    };
    hooks.message = [this](const std::string& text) { messages.push_back(text); };
    hooks.popup = [this](int x, int y) { popupAt = {x, y}; };
    editor = std::make_unique<MouseEditor>(session, g, settings, hooks);
  }

  void Add(int lane, int pos, int value, bool selected = false) {
    const int i = session.Doc().AddObject(lane, pos, value);
    session.Doc().ObjList[i].Selected = selected;
  }
  std::vector<Obj> Objects() const {
    std::vector<Obj> out;
    for (const TBmsObject& o : session.Doc().ObjList) out.push_back({o.Lane, o.Pos, o.Value, o.Selected, o.Hidden});
    return out;
  }
  void Click(int x, int y, bool shift = false, bool ctrl = false) {
    editor->Press({x, y, PointerButton::Left, shift, ctrl});
    editor->Release({x, y, PointerButton::Left, shift, ctrl});
  }
  void DragTo(int x0, int y0, int x1, int y1, bool shift = false, bool ctrl = false) {
    editor->Press({x0, y0, PointerButton::Left, shift, ctrl});
    editor->Move({x1, y1, PointerButton::Left, shift, ctrl});
    editor->Release({x1, y1, PointerButton::Left, shift, ctrl});
  }

  ChartSession session;
  ViewSettings settings;
  ScoreGeometry g;
  NewObjectValues values{7, 3};
  std::string bpmText = "150";
  std::string stopText = "96";
  bool bpmOk = true;
  int bpmAsked = 0;
  std::vector<std::string> messages;
  std::pair<int, int> popupAt{-1, -1};
  std::unique_ptr<MouseEditor> editor;
};

TEST_F(MouseEditorTest, WriteAndEraseClicks) {
  struct Case {
    const char* name;
    EditTool tool;
    int grid;
    int x, y;
    bool shift, ctrl;
    std::vector<Obj> want;
  };
  const Obj a{2, 384, 5, 0, 0};
  const Obj b{3, 384, 6, 0, 0};
  // One case a line reads as a table.
  // clang-format off
  const Case cases[] = {
      {"replaces on the same lane, 1/16 snaps down", EditTool::Write, 2, X2, Row(384) - 5, false, false, {b, {2, 384, 7, 0, 0}}},
      {"adds beside on another lane", EditTool::Write, 2, X4, Row(389), false, false, {a, b, {4, 384, 7, 0, 0}}},
      {"1/3 snaps to the lower grid line", EditTool::Write, 4, X22, Row(100), false, false, {a, b, {22, 64, 7, 0, 0}}},
      {"Ctrl writes a hidden key note", EditTool::Write, 2, X4, Row(0), false, true, {a, b, {4, 0, 7, 0, 1}}},
      {"Ctrl on a background lane writes a visible one", EditTool::Write, 2, X22, Row(0), false, true, {a, b, {22, 0, 7, 0, 0}}},
      {"image lane takes the BMP index", EditTool::Write, 2, X19, Row(0), false, false, {a, b, {19, 0, 3, 0, 0}}},
      {"Shift in write mode erases both objects under the point", EditTool::Write, 2, X3 - 3, Row(384) - 4, true, false, {}},
      {"erase takes every object under the point", EditTool::Erase, 2, X3 - 3, Row(384) - 4, false, false, {}},
      {"erase beside the objects keeps them", EditTool::Erase, 2, X22, Row(384), false, false, {a, b}},
      {"Shift in erase mode writes", EditTool::Erase, 2, X2, Row(384), true, false, {b, {2, 384, 7, 0, 0}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    session.Doc().ObjList.clear();
    Add(a.lane, a.pos, a.value);
    Add(b.lane, b.pos, b.value);
    settings.GridPosition = c.grid;
    editor->SetTool(c.tool);
    Click(c.x, c.y, c.shift, c.ctrl);
    EXPECT_EQ(Objects(), c.want);
    // A click that changes nothing makes no step and leaves the mark alone.
    const bool changed = c.want != std::vector<Obj>{a, b};
    EXPECT_EQ(session.Doc().Modified, changed);
    if (!changed) continue;
    ASSERT_TRUE(session.UndoLastChange());
    EXPECT_EQ(Objects(), (std::vector<Obj>{a, b}));
  }
}

TEST_F(MouseEditorTest, RefusedWritesChangeNothing) {
  g.S = -10;  // as the view opens: a margin left of lane 0; the last lane ends at x 958
  Add(0, 192, 120);
  struct Case {
    int x;
    NewObjectValues values;
    bool ok;
    const char* text;
    const char* message;
  };
  const Case cases[] = {{X0, {7, 3}, false, "150", nullptr},
                        {X0, {7, 3}, true, "abc", "数値を入力して下さい"},
                        {X0, {7, 3}, true, "-1", "0 より大きい値を入力して下さい"},
                        {X0, {7, 3}, true, "0", "0 より大きい値を入力して下さい"},
                        {X19, {7, 0}, true, "", nullptr},
                        {X19, {7, -1}, true, "", nullptr},
                        {5, {7, 3}, true, "150", nullptr},     // left of the tempo lane
                        {965, {7, 3}, true, "150", nullptr}};  // right of the last lane
  for (const Case& c : cases) {
    messages.clear();
    values = c.values;
    bpmOk = c.ok;
    bpmText = c.text;
    Click(c.x, Row(192));
    EXPECT_EQ(Objects(), (std::vector<Obj>{{0, 192, 120, 0, 0}})) << c.text;
    EXPECT_FALSE(session.Doc().Modified);
    EXPECT_FALSE(session.ChartHistory().CanUndo());
    EXPECT_EQ(messages, c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
  }
  bpmText = "150";
  Click(X0, Row(192), false, true);
  EXPECT_EQ(Objects(), (std::vector<Obj>{{0, 192, 150, 0, 0}}));
}

TEST_F(MouseEditorTest, EditGestures) {
  struct Case {
    const char* name;
    std::vector<Obj> start;
    int x0, y0, x1, y1;
    bool shift, ctrl;
    std::vector<Obj> want;
    bool modified;
  };
  // One case a line reads as a table.
  // clang-format off
  const Case cases[] = {
      {"Shift-click toggles and starts no drag", {{3, 192, 1, 1, 0}, {5, 0, 2, 1, 0}}, X3, Row(195), X4, Row(195), true, false, {{3, 192, 1, 0, 0}, {5, 0, 2, 1, 0}}, false},
      {"drag by one lane moves the whole selection", {{3, 192, 1, 1, 0}, {5, 240, 2, 1, 0}, {8, 0, 9, 0, 0}}, X3, Row(195), X4, Row(195), false, false, {{8, 0, 9, 0, 0}, {4, 192, 1, 1, 0}, {6, 240, 2, 1, 0}}, true},
      {"a click on an unselected object drags it alone", {{3, 192, 1, 0, 1}, {5, 240, 2, 1, 0}}, X3, Row(195), X3, Row(195 + 48), false, false, {{5, 240, 2, 0, 0}, {3, 240, 1, 1, 1}}, true},
      {"a click on a hidden note leaves it hidden", {{3, 192, 1, 0, 1}}, X3, Row(195), X3, Row(195), false, false, {{3, 192, 1, 1, 1}}, false},
      {"Ctrl-drag copies a hidden note hidden", {{4, 192, 1, 0, 1}}, X4, Row(195), X3, Row(195), false, true, {{4, 192, 1, 0, 1}, {3, 192, 1, 1, 1}}, true},
      {"rubber band skips the lanes the play mode hides", {{8, 100, 3, 0, 0}, {12, 100, 2, 0, 0}}, X4, Row(300), X19, Row(50), false, false, {{8, 100, 3, 1, 0}, {12, 100, 2, 0, 0}}, false},
      {"onto lane 0 a key note becomes a tempo", {{1, 0, 32, 0, 0}}, X1, Row(3), X0, Row(3), false, false, {{0, 0, 32, 1, 0}}, true},
      {"Ctrl-drag copies", {{3, 192, 1, 0, 0}}, X3, Row(195), X4, Row(195), false, true, {{3, 192, 1, 0, 0}, {4, 192, 1, 1, 0}}, true},
      {"a drop at the start place changes nothing, not even the order", {{3, 192, 1, 1, 0}, {5, 0, 2, 0, 0}}, X3, Row(195), X3, Row(195), false, false, {{3, 192, 1, 1, 0}, {5, 0, 2, 0, 0}}, false},
      {"rubber band selects what it spans", {{3, 192, 1, 0, 0}, {5, 100, 2, 1, 0}, {8, 0, 3, 1, 0}}, X2, Row(300), X4, Row(50), false, false, {{3, 192, 1, 1, 0}, {5, 100, 2, 0, 0}, {8, 0, 3, 0, 0}}, false},
      {"with Shift the rubber band toggles", {{3, 192, 1, 0, 0}, {4, 100, 2, 1, 0}, {8, 0, 3, 1, 0}}, X2, Row(300), X4, Row(50), true, false, {{3, 192, 1, 1, 0}, {4, 100, 2, 0, 0}, {8, 0, 3, 1, 0}}, false},
  };
  // clang-format on
  editor->SetTool(EditTool::Select);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    session.Doc().ObjList.clear();
    for (const Obj& o : c.start) Add(o.lane, o.pos, o.value, o.selected);
    for (size_t i = 0; i < c.start.size(); ++i) session.Doc().ObjList[i].Hidden = c.start[i].hidden;
    session.Doc().Modified = false;
    DragTo(c.x0, c.y0, c.x1, c.y1, c.shift, c.ctrl);
    EXPECT_EQ(Objects(), c.want);
    EXPECT_EQ(session.Doc().Modified, c.modified);
    EXPECT_EQ(editor->CurrentState(), MouseEditor::Idle);
    EXPECT_TRUE(session.Dragged().empty());
  }
}

// Stops and decimal tempos written, moved and erased with the mouse, a base
// 36 index dragged onto the tempo lane, and all of it carried by value
// through the clipboard text into another chart.
TEST_F(MouseEditorTest, StopsAndDecimalTemposThroughTheWindowAndTheClipboard) {
  Document& doc = session.Doc();
  ResetIndices(doc, DefinitionIndex::Base36);
  Add(1, 384, 1295, true);
  bpmText = "155.5";
  Click(X0, Row(192));
  Click(XS, Row(192));
  editor->SetTool(EditTool::Select);
  DragTo(X1, Row(387), X0, Row(387));  // ZZ onto the tempo lane: 1295 BPM, not a wrapped byte
  DragTo(XS, Row(195), XS, Row(195 + 48));
  editor->SetTool(EditTool::Erase);
  Click(X0, Row(195));
  ASSERT_EQ(doc.ObjList.size(), 2u);
  EXPECT_EQ(doc.bpmDefs[1], "155.5");
  EXPECT_EQ(doc.ObjList[0].Value, 2);  // the first free index
  EXPECT_EQ(NumberOf(doc, doc.ObjList[0]), 1295);
  EXPECT_EQ(doc.ObjList[1], (TBmsObject{StopLane, 240, 1, 1, 0, 1}));  // its index kept while moved
  EXPECT_EQ(doc.stopDefs[1], "96");

  for (TBmsObject& o : doc.ObjList) o.Selected = 1;
  ChartSession other;
  other.Doc().bpmDefs[1] = "999";
  PasteFromText(other, CopySelectedAsText(session), {[](int) { return true; }, 0});
  ASSERT_EQ(other.Doc().ObjList.size(), 2u);
  EXPECT_EQ(NumberOf(other.Doc(), other.Doc().ObjList[0]), 96);
  EXPECT_EQ(NumberOf(other.Doc(), other.Doc().ObjList[1]), 1295);
  ASSERT_TRUE(other.UndoLastChange());
  EXPECT_EQ(other.Doc().bpmDefs[2], "");
  while (session.UndoLastChange()) {
  }
  EXPECT_EQ(Objects(), (std::vector<Obj>{{1, 384, 1295, 1, 0}}));
  EXPECT_EQ(doc.bpmDefs, std::vector<std::string>(doc.bpmDefs.size()));
}

TEST_F(MouseEditorTest, DropPastMeasure999LeavesTheChartAndUndoBringsItBack) {
  const std::vector<Obj> start{{3, 191808, 1, 1, 0}, {5, 191712, 2, 1, 0}};
  for (const Obj& o : start) Add(o.lane, o.pos, o.value, true);
  g.V = -191700;
  editor->SetTool(EditTool::Select);
  DragTo(X3, 490, X3, 490 - 192);
  EXPECT_EQ(Objects(), (std::vector<Obj>{{5, 191904, 2, 1, 0}}));
  EXPECT_TRUE(session.Doc().Modified);
  ASSERT_TRUE(session.UndoLastChange());
  EXPECT_EQ(Objects(), start);
}

TEST_F(MouseEditorTest, ActivationClickAndPopup) {
  editor->SampleActivation(false);
  Click(X2, Row(0));
  EXPECT_TRUE(Objects().empty());
  editor->Tick(true, 10, 10);
  Click(X2, Row(0));
  EXPECT_EQ(Objects().size(), 1u);
  editor->SetActivationGuard(false);
  editor->SampleActivation(false);
  editor->Press({X4, Row(200), PointerButton::Right});
  EXPECT_EQ(popupAt, std::make_pair(X4, Row(200)));
  EXPECT_EQ(editor->AnchorLane(), 4);
  EXPECT_EQ(editor->AnchorPos(), 200);
  EXPECT_EQ(Objects().size(), 1u);
}

TEST_F(MouseEditorTest, OverlaysStatusAndAutoScroll) {
  Add(3, 197, 0x1A);
  editor->SetTool(EditTool::Erase);
  editor->TakeOverlay();
  editor->Move({X3, Row(200)});
  const ScreenRect r = g.ObjectRect(session.Doc().ObjList[0]);
  const std::vector<OverlayStep> frame{{.kind = OverlayStep::Kind::Restore},
                                       {.kind = OverlayStep::Kind::Frame,
                                        .rect = {r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2},
                                        .red = true,
                                        .remember = true}};
  EXPECT_EQ(editor->TakeOverlay(), frame);
  EXPECT_EQ(editor->Status(), (StatusText{"Object", "001", "5", "/192", "1player key3"}));
  editor->Move({X3, Row(199)});
  EXPECT_TRUE(editor->TakeOverlay().empty());  // still the framed object

  editor->SetTool(EditTool::Write);
  editor->Move({X22, Row(30)}, true);
  const auto preview = editor->TakeOverlay();
  ASSERT_EQ(preview.size(), 2u);
  EXPECT_EQ(preview[1].object, (TBmsObject{22, 24, 7, 0, 0}));
  EXPECT_EQ(editor->Status(), (StatusText{"Position", "000", "2", "/16", "BGM Track"}));

  EXPECT_EQ(editor->Tick(true, 10, -5).verticalStep, 0);  // no gesture: no scroll
  editor->SetTool(EditTool::Select);
  editor->Press({X22, Row(30)});
  ASSERT_EQ(editor->CurrentState(), MouseEditor::RubberBand);
  const auto up = editor->Tick(true, 10, -5);
  EXPECT_EQ(up.verticalStep, -48);
  EXPECT_TRUE(up.blit);
  EXPECT_EQ(editor->Tick(true, 900, 700).horizontalStep, 20);
  EXPECT_EQ(editor->Tick(true, 900, 700).verticalStep, 48);
  EXPECT_EQ(editor->Tick(true, 10, 10).verticalStep, 0);
}

// Long notes under the mouse: written by a drag along a key lane, lengthened
// by their end cell, moved and erased by their bar, taken by a rubber band
// over the bar; each gesture is one step.
TEST_F(MouseEditorTest, LongNotesByDragging) {
  struct Held {
    int lane, pos, end, value, selected, form, endValue;  // end 0: a plain note
    bool operator==(const Held&) const = default;
  };
  struct Case {
    const char* name;
    EditTool tool;
    bool lnobj;  // the chart has "#LNOBJ 0A"
    std::vector<Held> start;
    int x0, y0, x1, y1;
    std::vector<Held> want;
    const char* status;  // the zone text while the pointer is at the end
  };
  const Held bar{3, 96, 192, 5, 0, LongByChannel, 5};
  // clang-format off
  const Case cases[] = {
      {"a drag along a key lane writes a long note", EditTool::Write, false, {}, X3, Row(96), X3, Row(192), {{3, 96, 192, 7, 0, LongByChannel, 7}}, "1player key3  長さ 96/192"},
      {"drawn down the lane it starts at the release", EditTool::Write, false, {}, X3, Row(192), X3, Row(96), {{3, 96, 192, 7, 0, LongByChannel, 7}}, nullptr},
      {"a chart of #LNOBJ ends it with that value", EditTool::Write, true, {}, X3, Row(96), X3, Row(480), {{3, 96, 480, 7, 0, LongByLnObj, 10}}, "1player key3  長さ 2小節"},
      {"a click writes a plain note", EditTool::Write, false, {}, X3, Row(96), X3, Row(96), {{3, 96, 0, 7, 0, 0, 0}}, nullptr},
      {"a drag back onto the press tick is a plain note", EditTool::Write, false, {}, X3, Row(96), X4, Row(101), {{3, 96, 0, 7, 0, 0, 0}}, nullptr},
      {"the end cell dragged lengthens it", EditTool::Select, false, {bar}, X3, Row(194), X3, Row(288), {{3, 96, 288, 5, 1, LongByChannel, 5}}, "1player key3  長さ 1小節"},
      {"the end stops a grid step after the start", EditTool::Select, false, {bar}, X3, Row(194), X3, Row(0), {{3, 96, 108, 5, 1, LongByChannel, 5}}, nullptr},
      {"the bar dragged moves the whole note with the pointer", EditTool::Select, false, {bar}, X3, Row(150), X4, Row(198), {{4, 144, 240, 5, 1, LongByChannel, 5}}, nullptr},
      {"a rubber band across the bar alone takes it", EditTool::Select, false, {bar}, X0, Row(160), X4, Row(170), {{3, 96, 192, 5, 1, LongByChannel, 5}}, nullptr},
      {"an erase click on the bar takes the note", EditTool::Erase, false, {bar}, X3, Row(150), X3, Row(150), {}, nullptr},
  };
  // clang-format on
  const auto chart = [this] {
    std::vector<Held> out;
    for (const TBmsObject& o : session.Doc().ObjList)
      out.push_back({o.Lane, o.Pos, IsLongNote(o) ? o.EndPos : 0, o.Value, o.Selected, o.Long, o.EndValue});
    return out;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Document& doc = session.Doc();
    doc.ObjList.clear();
    doc.mcom.clear();
    if (c.lnobj) doc.mcom.push_back("#LNOBJ 0A");
    for (const Held& h : c.start) {
      TBmsObject& o = doc.ObjList.emplace_back(h.lane, h.pos, h.value, h.selected);
      o.Long = static_cast<uint8_t>(h.form);
      o.EndPos = h.end;
      o.EndValue = static_cast<uint16_t>(h.endValue);
    }
    editor->SetTool(c.tool);
    editor->Press({c.x0, c.y0});
    editor->Move({c.x1, c.y1});
    if (c.status) {
      EXPECT_EQ(editor->Status().zone, c.status);
    }
    editor->Release({c.x1, c.y1});
    EXPECT_EQ(chart(), c.want);
    EXPECT_EQ(editor->CurrentState(), MouseEditor::Idle);
    if (c.tool == EditTool::Select && c.x0 == X0) continue;  // a rubber band makes no step
    // One step: a single undo gives the chart back, a redo the gesture's end.
    ASSERT_TRUE(session.UndoLastChange());
    std::vector<Held> back = chart();
    for (Held& h : back) h.selected = 0;
    EXPECT_EQ(back, c.start);
    ASSERT_TRUE(session.RedoNextChange());
    EXPECT_EQ(chart(), c.want);
  }
}

}  // namespace
}  // namespace beatloom

namespace beatloom {
namespace {

// A write, then an erase click on empty score: the click makes no step, so
// undo takes back the written note.
TEST_F(MouseEditorTest, AnEraseClickOnEmptyScoreLeavesTheWriteToUndo) {
  editor->SetTool(EditTool::Write);
  Click(X2, Row(0));
  editor->SetTool(EditTool::Erase);
  Click(X22, Row(384));
  ASSERT_EQ(Objects().size(), 1u);
  ASSERT_TRUE(session.UndoLastChange());
  EXPECT_TRUE(Objects().empty());
  EXPECT_FALSE(session.Doc().Modified);
}

// A save (the tidying before the write) or an undo arriving while objects are
// dragged: the drag ends with them back in place, nothing lost or doubled.
TEST_F(MouseEditorTest, ASaveOrAnUndoDuringADragLosesAndDoublesNothing) {
  const std::vector<std::function<void()>> interruptions{
      [this] {
        session.Apply({.label = "保存前の整理", .modified = ChartEdit::Mark::Leave}, [](Document& d) {
          d.RemoveDuplicates();
          return EditOutcome::Changed;
        });
      },
      [this] { session.UndoLastChange(); }};
  editor->SetTool(EditTool::Select);
  for (const auto& interrupt : interruptions) {
    session.Doc().ObjList.clear();
    Add(3, 192, 1, true);
    Add(5, 0, 2, true);
    const std::vector<Obj> before = Objects();
    editor->Press({X3, Row(195), PointerButton::Left, false, false});
    editor->Move({X4, Row(195), PointerButton::Left, false, false});
    interrupt();
    EXPECT_EQ(Objects(), before);
    EXPECT_EQ(editor->CurrentState(), MouseEditor::Idle);
    editor->Release({X4, Row(195), PointerButton::Left, false, false});
    EXPECT_EQ(Objects(), before);
    EXPECT_FALSE(session.Doc().Modified);
  }
}

}  // namespace
}  // namespace beatloom
