#include "session/undo.h"

#include <gtest/gtest.h>

namespace beatloom {
namespace {

struct UndoFixture : ::testing::Test {
  Document doc;
  Undo undo{doc};
  std::vector<bool> told;
  void SetUp() override {
    undo.onAvailableChanged = [this](bool a) { told.push_back(a); };
  }
  void Add(int lane, int pos, int value, bool selected = false, bool hidden = false) {
    const int i = doc.AddObject(lane, pos, value);
    doc.ObjList[i].Selected = selected;
    doc.ObjList[i].Hidden = hidden;
  }
};

TEST_F(UndoFixture, EmptyChartTakesNoSnapshot) {
  EXPECT_FALSE(undo.TakeSnapshot());
  EXPECT_FALSE(undo.Available());
  EXPECT_FALSE(undo.Restore());
  EXPECT_TRUE(told.empty());
  EXPECT_FALSE(doc.Modified);
}

TEST_F(UndoFixture, RestoreBringsBackEveryRecordInOrderOnce) {
  Add(1, 0, 1, true, false);
  Add(3, 48, 2, false, true);
  Add(AnyBgmLane, 48, 3);
  const std::vector<TBmsObject> before = doc.ObjList;
  ASSERT_TRUE(undo.TakeSnapshot());
  EXPECT_TRUE(undo.Available());

  // A mirror-like change: lanes, flags and count all differ afterwards.
  for (TBmsObject& o : doc.ObjList) {
    o.Lane = static_cast<uint8_t>(8 - o.Lane % 8);
    o.Selected = !o.Selected;
  }
  doc.DeleteObject(0);
  doc.MeasureLen[3] = 0.5;
  doc.header.e_bpm = "140";
  doc.wav[1] = "a.wav";

  ASSERT_TRUE(undo.Restore());
  EXPECT_EQ(doc.ObjList, before);
  EXPECT_TRUE(doc.Modified);
  EXPECT_FALSE(undo.Available());
  // What the snapshot does not hold stays as the command left it.
  EXPECT_EQ(doc.MeasureLen[3], 0.5);
  EXPECT_EQ(doc.header.e_bpm, "140");
  EXPECT_EQ(doc.wav[1], "a.wav");

  doc.ObjList.clear();
  EXPECT_FALSE(undo.Restore());
  EXPECT_TRUE(doc.ObjList.empty());
  EXPECT_EQ(told, (std::vector<bool>{true, false}));
}

TEST_F(UndoFixture, ANewSnapshotReplacesTheOldOne) {
  Add(1, 0, 1);
  undo.TakeSnapshot();  // first paste
  Add(2, 0, 1);
  const auto afterFirst = doc.ObjList;
  undo.TakeSnapshot();  // second paste
  Add(3, 0, 1);
  ASSERT_TRUE(undo.Restore());
  EXPECT_EQ(doc.ObjList, afterFirst);
  EXPECT_FALSE(undo.Restore());
}

TEST_F(UndoFixture, EmptyChartKeepsAnOlderSnapshot) {
  Add(5, 96, 7);
  const auto saved = doc.ObjList;
  undo.TakeSnapshot();
  doc.ObjList.clear();
  EXPECT_FALSE(undo.TakeSnapshot());
  EXPECT_TRUE(undo.Available());
  ASSERT_TRUE(undo.Restore());
  EXPECT_EQ(doc.ObjList, saved);
}

TEST_F(UndoFixture, DisableUsesTheSnapshotUp) {
  Add(1, 0, 2);
  undo.TakeSnapshot();
  undo.Disable();
  EXPECT_FALSE(undo.Available());
  doc.ObjList[0].Value = 3;
  EXPECT_FALSE(undo.Restore());
  EXPECT_EQ(doc.ObjList[0].Value, 3);
  EXPECT_EQ(told, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace beatloom
