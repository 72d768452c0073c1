#include "edit/selection.h"

#include <gtest/gtest.h>

#include <array>

#include "model/timing_values.h"
#include "view/score_geometry.h"

namespace beatloom {
namespace {

// 192 pixels a measure, 400 rows, bottom edge at bottomTick: positions
// bottomTick + 2 .. bottomTick + 400 are on screen.
PasteWindow ViewFrom(int bottomTick) {
  ScoreGeometry g;
  g.GridHeight = TicksPerMeasure;
  g.pbHeight = 400;
  g.V = -bottomTick;
  return {[g](int tick) { return g.ShowsTick(tick); }, g.TickAtY(g.pbHeight)};
}

struct SelectionTest : ::testing::Test {
  ChartSession session;
  Document& doc = session.Doc();

  // {lane, pos, selected, hidden}
  void Fill(std::initializer_list<std::array<int, 4>> objects) {
    doc.ObjList.clear();
    for (const auto& [lane, pos, selected, hidden] : objects) {
      doc.AddObject(lane, pos, lane + 1);
      doc.ObjList.back().Selected = static_cast<uint8_t>(selected);
      doc.ObjList.back().Hidden = static_cast<uint8_t>(hidden);
    }
    doc.Modified = false;
  }
};

std::vector<int> Lanes(const std::vector<TBmsObject>& list, bool selectedOnly = false) {
  std::vector<int> out;
  for (const TBmsObject& o : list)
    if (!selectedOnly || o.Selected) out.push_back(o.Lane);
  return out;
}

TEST_F(SelectionTest, SelectCommandsReplaceTheSelectionByLaneGroup) {
  const std::pair<LaneGroup, std::vector<int>> rows[] = {{LaneGroup::All, {0, 1, 9, 10, 18, 19, 21, 22, 49}},
                                                         {LaneGroup::Player1, {1, 9}},
                                                         {LaneGroup::Player2, {10, 18}},
                                                         {LaneGroup::Bmp, {19, 21}},
                                                         {LaneGroup::Bgm, {22, 49}}};
  for (const auto& [group, selected] : rows) {
    Fill({{0, 0, 1, 0},
          {1, 0, 0, 0},
          {9, 0, 0, 0},
          {10, 0, 0, 0},
          {18, 0, 0, 0},
          {19, 0, 0, 0},
          {21, 0, 0, 0},
          {22, 0, 1, 0},
          {49, 0, 0, 0}});
    SelectLaneGroup(session, group);
    EXPECT_EQ(Lanes(doc.ObjList, true), selected) << static_cast<int>(group);
    EXPECT_FALSE(doc.Modified || session.ChartHistory().CanUndo());
  }
}

// A click that selects repaints; the score's index, the timing and the
// statistics stay as they are.
TEST_F(SelectionTest, SelectingAndCopyingAreAnnouncedAsSelectionOnly) {
  std::vector<ChartNotice> notices;
  session.AddListener([&](const ChartNotice& n) { notices.push_back(n); });
  Fill({{1, 0, 0, 0}, {2, 48, 1, 0}});
  SelectLaneGroup(session, LaneGroup::All);
  CopySelected(session);
  ASSERT_EQ(notices.size(), 2u);
  for (const ChartNotice& n : notices) EXPECT_FALSE(ChartChanged(n));
}

TEST_F(SelectionTest, CutCopyDeleteFillClipboardAndCutAndDeleteUndo) {
  const std::tuple<EditOutcome (*)(ChartSession&), std::vector<int>, std::vector<int>, bool> rows[] = {
      {CutSelected, {2}, {4, 3, 1}, true},
      {CopySelected, {1, 2, 3, 4}, {4, 3, 1}, false},
      {DeleteSelected, {2}, {7}, true}};
  for (const auto& [command, remaining, clip, step] : rows) {
    session.Clipboard() = {TBmsObject{7, 0, 1, 1, 0}};
    Fill({{1, 0, 1, 0}, {2, 48, 0, 0}, {3, 96, 1, 1}, {4, 144, 1, 0}});
    const size_t steps = session.ChartHistory().Serial();
    command(session);
    EXPECT_EQ(Lanes(doc.ObjList), remaining);
    EXPECT_TRUE(Lanes(doc.ObjList, true).empty());
    EXPECT_EQ(Lanes(session.Clipboard(), true), clip) << "last object first, all selected";
    if (clip.size() == 3) {
      EXPECT_EQ(session.Clipboard()[1].Hidden, 1) << "Hidden kept";
    }
    EXPECT_EQ(doc.Modified, step) << "Copy changes nothing";
    EXPECT_EQ(session.ChartHistory().Serial(), steps + (step ? 1 : 0));
    if (!step) continue;
    ASSERT_TRUE(session.UndoLastChange());
    EXPECT_EQ(Lanes(doc.ObjList), (std::vector<int>{1, 2, 3, 4})) << "back in their places";
  }
}

TEST_F(SelectionTest, PastePlacesBlockOnItselfOrAfterTheViewBottomAndUndoes) {
  const int m5 = 5 * TicksPerMeasure;  // copied from measure 5, offsets 48 and 240
  const std::pair<int, std::vector<int>> rows[] = {
      {m5 - 100, {m5 + 240, m5 + 48}},                   // on screen: exactly on top
      {11 * 192 + 10, {12 * 192 + 240, 12 * 192 + 48}},  // the measure after the bottom edge
      {998 * 192 + 5, {999 * 192 + 48}},                 // nothing beyond measure 999
  };
  for (const auto& [bottom, pasted] : rows) {
    Fill({{1, m5 + 48, 1, 0}, {2, m5 + 240, 1, 1}});
    CopySelected(session);
    doc.Modified = false;
    PasteClip(session, ViewFrom(bottom));
    std::vector<int> positions;
    for (size_t i = 2; i < doc.ObjList.size(); ++i) positions.push_back(doc.ObjList[i].Pos);
    EXPECT_EQ(positions, pasted);
    EXPECT_EQ(Lanes(doc.ObjList, true).size(), pasted.size()) << "the pasted block is the selection";
    EXPECT_EQ(doc.ObjList[2].Hidden, doc.ObjList[2].Lane == 2);
    EXPECT_TRUE(doc.Modified);
    PasteClip(session, ViewFrom(bottom));
    ASSERT_TRUE(session.UndoLastChange());
    EXPECT_EQ(doc.ObjList.size(), 2 + pasted.size()) << "undo takes back the second paste only";
    ASSERT_TRUE(session.UndoLastChange());
    EXPECT_EQ(doc.ObjList.size(), 2u) << "then the first";
  }
}

TEST_F(SelectionTest, SystemClipboardTextBothWays) {
  Fill({{1, 384, 1, 0}, {22, 100, 0, 0}, {0, 191999, 1, 1}});
  const std::string text = CopySelectedAsText(session);
  EXPECT_EQ(text, "BTLM ClipBoard Object Data Format\r\n000191999001\r\n001000384002\r\n");
  EXPECT_TRUE(Lanes(doc.ObjList, true).empty() && !doc.Modified && session.Clipboard().empty())
      << "a copy changes nothing";

  EXPECT_EQ(PasteFromText(session, text, ViewFrom(300)), "");
  ASSERT_EQ(doc.ObjList.size(), 5u);
  EXPECT_EQ(doc.ObjList[3].Pos, 191999) << "on screen: on top of the original";
  EXPECT_EQ(doc.ObjList[3].Hidden, 0) << "the text carries no Hidden";
  // Another text pastes the internal clipboard; any line end and anything
  // after the twelfth character is read.
  PasteFromText(session, "btlm clipboard object data format\r\n", ViewFrom(300));
  EXPECT_EQ(doc.ObjList.size(), 7u);
  EXPECT_EQ(ReadClipboardText("BTLM ClipBoard Object Data Format\r002000048010xy\n003000096011").objects.size(), 2u);
  EXPECT_EQ(ReadClipboardText("BTLM ClipBoard Object Data Format\r\n\r\n002000048010\r\n \t\r\n\r\n").objects.size(),
            1u)
      << "blank lines are no objects";
  PasteFromText(session, "BTLM ClipBoard Object Data Format\r\n", ViewFrom(300));
  EXPECT_TRUE(session.Clipboard().empty() && doc.ObjList.size() == 7u) << "the header alone empties the clipboard";
}

// An object between two ticks keeps its place through both clipboards; the
// text carries it after the value, where older readers ignore it.
TEST_F(SelectionTest, PlacesBetweenTicksTravelWithTheBlock) {
  Fill({{1, 384, 1, 0}});
  SetOffset(doc.ObjList[0], 6, 8);
  const std::string text = CopySelectedAsText(session);
  EXPECT_EQ(text, "BTLM ClipBoard Object Data Format\r\n001000384002+3/4\r\n");
  for (const bool asText : {true, false}) {
    doc.ObjList[0].Selected = 1;
    if (!asText) CopySelected(session);
    if (asText) {
      PasteFromText(session, text, ViewFrom(1000));
    } else {
      PasteClip(session, ViewFrom(1000));
    }
    const TBmsObject& pasted = doc.ObjList.back();
    EXPECT_EQ(ExactTicks(pasted), 6 * 192 + 0.75) << asText;
  }
}

// A stop between two ticks carries both its place and its exact length.
TEST_F(SelectionTest, AStopBetweenTicksTravelsWholeThroughTheText) {
  Fill({{StopLane, 384, 1, 0}});
  ASSERT_TRUE(SetTimingValue(doc, doc.ObjList[0], 48.5));
  SetOffset(doc.ObjList[0], 1, 4);
  const std::string text = CopySelectedAsText(session);
  EXPECT_NE(text.find("+1/4 48.5\r\n"), std::string::npos) << text;
  EXPECT_EQ(PasteFromText(session, text, ViewFrom(1000)), "");
  const TBmsObject& pasted = doc.ObjList.back();
  EXPECT_EQ(ExactTicks(pasted), 6 * 192 + 0.25);
  EXPECT_EQ(StopLengthOf(doc, pasted), 48.5);
}

TEST_F(SelectionTest, BadClipboardLinesAreRefusedWithoutChange) {
  Fill({{1, 0, 1, 0}});
  CopySelected(session);
  doc.Modified = false;
  const std::vector<TBmsObject> objects = doc.ObjList, clip = session.Clipboard();
  for (const char* line : {"256000000001", "001000000000", "001000000256", "001192000001", "00100038400x", "00100038",
                           "-01000384001", "001000384001+4/4", "001000384001+1/0", "001000384001+1/x"}) {
    const std::string text = std::string(kClipboardHeader) + "\r\n001000000001\r\n" + line + "\r\n";
    EXPECT_NE(PasteFromText(session, text, ViewFrom(0)).find("3行目"), std::string::npos) << line;
    EXPECT_TRUE(doc.ObjList == objects && session.Clipboard() == clip) << line;
    EXPECT_FALSE(doc.Modified || session.ChartHistory().CanUndo()) << line;
  }
}

}  // namespace
}  // namespace beatloom
