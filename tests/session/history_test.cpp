#include "session/history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace beatloom {
namespace {

std::vector<TBmsObject> WithoutSelection(std::vector<TBmsObject> list) {
  for (TBmsObject& o : list) o.Selected = 0;
  return list;
}

// Any mix of removals, changes in place, appends and (now and then) a
// reordering must be recorded so that undo gives the list before and redo
// the list after; selection flags are no part of it.
TEST(ChartChange, ObjectsGoBackAndComeAgainWhateverTheChange) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    Document doc;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) doc.ObjList.push_back({uint8_t(random() % 50), int32_t(random() % 900), 1, 0, 0});
    const std::vector<TBmsObject> before = doc.ObjList;
    ChangeRecorder recorder(doc, ChangeRecorder::Objects::Compared, kAllParts);
    auto& list = doc.ObjList;
    for (TBmsObject& o : list) {
      if (random() % 4 == 0) o.Pos += 48;
      o.Selected = random() % 2;
    }
    std::erase_if(list, [&](const TBmsObject&) { return random() % 5 == 0; });
    for (int i = static_cast<int>(random() % 4); i > 0; --i) list.push_back({7, int32_t(random() % 900), 2, 1, 0});
    if (round % 10 == 0) std::shuffle(list.begin(), list.end(), random);
    if (round % 3 == 0) {
      doc.MeasureLen[round % 999] = 0.75;
      doc.mcom.push_back("#00199:01");
      doc.wav[1] = "x.wav";
      doc.header.e_title = "t";
    }
    const Document after = doc;
    const ChartChange change = recorder.Finish(doc);
    EXPECT_EQ(change.Empty(), WithoutSelection(before) == WithoutSelection(after.ObjList) && round % 3 != 0);
    change.Undo(doc);
    EXPECT_EQ(WithoutSelection(doc.ObjList), WithoutSelection(before)) << round;
    EXPECT_EQ(doc.MeasureLen, Document().MeasureLen);
    EXPECT_TRUE(doc.mcom.empty() && doc.wav[1].empty() && doc.header.e_title.empty());
    change.Redo(doc);
    EXPECT_EQ(WithoutSelection(doc.ObjList), WithoutSelection(after.ObjList)) << round;
    EXPECT_EQ(doc.MeasureLen, after.MeasureLen);
    EXPECT_EQ(doc.mcom, after.mcom);
    EXPECT_EQ(doc.header, after.header);
  }
}

// What the old single step could not do: several steps back and forth, a new
// change dropping what could have been redone, the saved point, and a bound.
TEST(History, StepsWalkBothWaysAndTheSavedPointDecidesModified) {
  Document doc;
  History history;
  auto step = [&](int lane) {
    ChangeRecorder recorder(doc, ChangeRecorder::Objects::Appended, 0);
    doc.AddObject(lane, 0, 1);
    std::vector<ChartChange> changes;
    changes.push_back(recorder.Finish(doc));
    history.Record({"書き込み", std::move(changes)});
  };
  step(1);
  history.MarkSaved();
  step(2);
  step(3);
  EXPECT_TRUE(history.Modified());
  ASSERT_TRUE(history.Undo(doc) && history.Undo(doc));
  EXPECT_FALSE(history.Modified()) << "back where it was saved";
  EXPECT_EQ(doc.ObjList.size(), 1u);
  ASSERT_TRUE(history.Redo(doc));
  EXPECT_EQ(history.UndoLabel(), "書き込み");
  ASSERT_TRUE(history.Undo(doc) && history.Undo(doc));
  step(4);  // after an undo past the saved point: that state is gone for good
  EXPECT_FALSE(history.CanRedo());
  ASSERT_TRUE(history.Undo(doc));
  EXPECT_TRUE(doc.ObjList.empty());
  EXPECT_TRUE(history.Modified());
  EXPECT_FALSE(history.Undo(doc));

  history.SetLimit(2);
  for (int lane = 5; lane < 9; ++lane) step(lane);
  EXPECT_EQ(history.Size(), 2u);
  ASSERT_TRUE(history.Undo(doc) && history.Undo(doc));
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(doc.ObjList.size(), 2u) << "the two oldest steps can no longer be undone";
}

}  // namespace
}  // namespace beatloom
