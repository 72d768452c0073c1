// What an author tried and lost work with: each scenario ends in undo and
// redo, and the chart must be as it stood at that point.
#include <gtest/gtest.h>

#include <functional>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "edit/definition_lists.h"
#include "edit/measure_ops.h"
#include "edit/selection.h"

namespace beatloom {
namespace {

EditOutcome EditKeptLines(ChartSession& session) {
  return session.Apply({.label = "拡張命令の編集", .aspects = kChartHeader}, [](Document& d) {
    d.mcom.push_back("#00299:typed");
    return EditOutcome::Changed;
  });
}

// Every note names a sound the chart defines.
bool NotesNameDefinedSounds(const Document& doc) {
  for (const TBmsObject& o : doc.ObjList)
    if (o.Lane > 0 && o.Lane < 19 && doc.wav[o.Value].empty()) return false;
  return true;
}

TEST(HistoryScenarios, UndoGivesBackTheChartAsItStoodBeforeEachCommand) {
  struct Scenario {
    const char* name;
    std::vector<std::function<EditOutcome(ChartSession&)>> commands;
    size_t steps;
  };
  const Scenario scenarios[] = {
      {"Select all, Delete", {[](ChartSession& s) { return SelectLaneGroup(s, LaneGroup::All); }, DeleteSelected}, 1},
      {"insert a measure, then edit the kept lines",
       {[](ChartSession& s) { return InsertMeasure(s, 1).outcome; }, EditKeptLines},
       2},
      {"edit the kept lines, then insert a measure",
       {EditKeptLines, [](ChartSession& s) { return InsertMeasure(s, 1).outcome; }},
       2},
      {"delete the notes of a sound, release unused definitions",
       {[](ChartSession& s) {
          return s.Apply({.modified = ChartEdit::Mark::Leave}, [](Document& d) {
            for (TBmsObject& o : d.ObjList) o.Selected = o.Value == 2;
            return EditOutcome::Changed;
          });
        },
        DeleteSelected, ReleaseUnusedDefinitions},
       2},
  };
  for (const Scenario& s : scenarios) {
    SCOPED_TRACE(s.name);
    ChartSession session;
    LoadBmsBytes(session.Doc(), "#WAV01 a.wav\r\n#WAV02 b.wav\r\n#00111:0102\r\n#00212:02\r\n#00351:01\r\n", "s.bms",
                 session.ChartLog());
    std::vector<std::string> states{WriteBmsText(session.Doc(), {})};
    for (const auto& command : s.commands) {
      command(session);
      if (session.ChartHistory().Size() < states.size()) continue;  // selecting makes no step
      states.push_back(WriteBmsText(session.Doc(), {}));
    }
    ASSERT_EQ(states.size(), s.steps + 1) << "one step per command that changed the chart";
    for (size_t k = states.size() - 1; k-- > 0;) {
      ASSERT_TRUE(session.UndoLastChange());
      EXPECT_EQ(WriteBmsText(session.Doc(), {}), states[k]) << "undo " << states.size() - 1 - k;
      EXPECT_TRUE(NotesNameDefinedSounds(session.Doc()));
    }
    EXPECT_FALSE(session.Doc().Modified);
    while (session.RedoNextChange()) {
    }
    EXPECT_EQ(WriteBmsText(session.Doc(), {}), states.back());
  }
}

}  // namespace
}  // namespace beatloom
