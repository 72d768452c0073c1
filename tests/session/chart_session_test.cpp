#include "session/chart_session.h"

#include <gtest/gtest.h>

namespace beatloom {
namespace {

struct ChartSessionFixture : ::testing::Test {
  ChartSession session;
  std::vector<ChartNotice> notices;
  void SetUp() override {
    session.AddListener([this](const ChartNotice& n) { notices.push_back(n); });
  }
  EditOutcome AddNote(int lane, int pos, EditOutcome outcome = EditOutcome::Changed) {
    return session.Apply({.label = "書き込み"}, [&](Document& doc) {
      if (outcome != EditOutcome::Refused) doc.AddObject(lane, pos, 1);
      return outcome;
    });
  }
};

TEST_F(ChartSessionFixture, ChangeIsAnnouncedMarkedAndUndone) {
  AddNote(1, 0);
  const std::vector<TBmsObject> afterFirst = session.Doc().ObjList;
  session.Doc().Modified = false;
  notices.clear();

  EXPECT_EQ(AddNote(2, 48), EditOutcome::Changed);
  EXPECT_TRUE(session.Doc().Modified);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].aspects, kChartObjects);
  EXPECT_EQ(session.Doc().ObjList.size(), 2u);

  ASSERT_TRUE(session.UndoLastChange());
  EXPECT_EQ(session.Doc().ObjList, afterFirst);
  EXPECT_EQ(notices.size(), 2u);
  EXPECT_TRUE(session.UndoLastChange()) << "and the step before it";
  EXPECT_FALSE(session.UndoLastChange());
}

TEST_F(ChartSessionFixture, RefusedChangeMakesNoStepAndKeepsModified) {
  AddNote(1, 0);
  AddNote(2, 48);
  session.Doc().Modified = false;
  notices.clear();

  EXPECT_EQ(AddNote(3, 96, EditOutcome::Refused), EditOutcome::Refused);
  EXPECT_FALSE(session.Doc().Modified);
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(session.ChartHistory().Size(), 2u);
  ASSERT_TRUE(session.UndoLastChange());
  ASSERT_EQ(session.Doc().ObjList.size(), 1u);
  EXPECT_EQ(session.Doc().ObjList[0].Lane, 1) << "the step before the refused change";
}

TEST_F(ChartSessionFixture, MarkRulesFollowTheEdit) {
  struct Row {
    ChartEdit::Mark mark;
    bool before;
    EditOutcome outcome;
    bool after;
  };
  const Row rows[] = {
      {ChartEdit::Mark::Set, false, EditOutcome::Unchanged, false},
      {ChartEdit::Mark::Set, true, EditOutcome::Unchanged, true},
      {ChartEdit::Mark::Leave, false, EditOutcome::Changed, false},
      {ChartEdit::Mark::Clear, true, EditOutcome::Changed, false},
  };
  for (const Row& row : rows) {
    session.Doc().Modified = row.before;
    session.Apply({.modified = row.mark}, [&](Document&) { return row.outcome; });
    EXPECT_EQ(session.Doc().Modified, row.after) << static_cast<int>(row.mark);
  }
}

}  // namespace
}  // namespace beatloom
