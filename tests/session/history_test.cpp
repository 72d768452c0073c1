#include "session/history.h"

#include <gtest/gtest.h>

namespace beatloom {
namespace {

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
