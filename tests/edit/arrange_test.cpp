#include "edit/arrange.h"

#include <gtest/gtest.h>

#include "analysis/chart_timing.h"
#include "bms/bms_reader.h"
#include "model/timing_values.h"

namespace beatloom {
namespace {

struct SpacingCase {
  const char* name;
  SpacingRequest request;
  std::string bpm;
  std::vector<int32_t> before, after;  // after: empty when refused
  std::string bpmAfter;
  std::string_view message;
};

// A chart with an older undo step in it, so that a refusal can be seen to
// keep that step; tempo changes and background sounds alike.
void Prepare(ChartSession& session, const std::string& bpm, const std::vector<int32_t>& positions) {
  Document& doc = session.Doc();
  doc.AddObject(5, 0, 1);
  session.Apply({.label = "older", .aspects = kChartObjects | kChartHeader}, [&](Document& d) {
    d.ObjList.clear();
    d.header.e_bpm = bpm;
    for (size_t i = 0; i < positions.size(); ++i) d.AddObject(i % 2 ? 22 : 0, positions[i], 7);
    return EditOutcome::Changed;
  });
  doc.Modified = false;
}

TEST(ObjectSpacing, ScalesEveryPositionAndTheTempoOrRefusesBeforeChangingAnything) {
  const SpacingCase cases[] = {
      {"same width", {"100", "100", true}, "150", {0, 672}, {0, 672}, "150", {}},
      {"double with tempo", {"200", "100", true}, "150", {1, 672, 999}, {2, 1344, 1998}, "300", {}},
      {"third rounds", {"1", "3", true}, "100", {1, 3}, {0, 1}, "33.3333333333333", {}},
      {"halves to even", {" 3 ", "+2", true}, "120", {1, 3}, {2, 4}, "180", {}},
      {"last tick fits", {"1", "1", true}, "1.5", {191999}, {191999}, "1.5", {}},
      {"tempo abc", {"200", "100", true}, "abc", {5}, {10}, "abc", kSpacingTempoMessage},
      {"empty", {"", "100", true}, "150", {5}, {}, "150", kSpacingInputMessage},
      {"letters", {"abc", "100", true}, "150", {5}, {}, "150", kSpacingInputMessage},
      {"fraction", {"1.5", "1", true}, "150", {5}, {}, "150", kSpacingInputMessage},
      {"zero original", {"100", "0", true}, "150", {5}, {}, "150", kSpacingInputMessage},
      {"negative", {"-100", "100", true}, "150", {5}, {}, "150", kSpacingNegativeMessage},
      {"zero new width", {"0", "100", true}, "150", {5, 700}, {}, "150", kSpacingZeroMessage},
      {"past measure 999", {"2", "1", true}, "150", {5, 96000}, {}, "150", kSpacingRangeMessage},
  };
  for (const SpacingCase& c : cases) {
    SCOPED_TRACE(c.name);
    ChartSession session;
    Prepare(session, c.bpm, c.before);
    const Document& doc = session.Doc();
    const std::vector<TBmsObject> before = doc.ObjList;
    const ArrangeResult result = ChangeObjectSpacing(session, c.request);
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(doc.header.e_bpm, c.bpmAfter);
    const bool refused = c.after.empty();
    EXPECT_EQ(result.outcome, refused ? EditOutcome::Refused : EditOutcome::Changed);
    // A factor that moves nothing makes no step either.
    const bool changed = !refused && (c.before != c.after || c.bpm != c.bpmAfter);
    EXPECT_EQ(doc.Modified, changed);
    std::vector<int32_t> positions;
    for (size_t i = 0; i < doc.ObjList.size(); ++i) {
      positions.push_back(doc.ObjList[i].Pos);
      EXPECT_EQ(doc.ObjList[i].Lane, before[i].Lane);
      // Tempo changes scale with the widths; background sounds keep their index.
      const double f = refused ? 1 : std::stod(c.request.newWidth) / std::stod(c.request.originalWidth);
      EXPECT_NEAR(*NumberOf(doc, doc.ObjList[i]), doc.ObjList[i].Lane == 0 ? 7 * f : 7, 1e-9);
    }
    EXPECT_EQ(positions, refused ? c.before : c.after);
    // Undo brings back the chart before the spacing, or when it made no step
    // the one before the older step.
    const std::vector<TBmsObject> older{{5, 0, 1}};
    ASSERT_TRUE(session.UndoLastChange());
    EXPECT_EQ(doc.ObjList, changed ? before : older);
  }
}

// Other lanes, and hidden notes on key lanes, are other slots.
// Tempo changes of each form and stops scale with the widths: the chart plays
// as long as before, and one undo puts back positions and definitions.
TEST(ObjectSpacing, MatchingTheTempoKeepsThePlayLength) {
  ChartSession session;
  Log log;
  LoadBmsBytes(session.Doc(),
               "#BPM 120\r\n#BPM01 155.5\r\n#STOP01 96\r\n#00103:C8\r\n#00108:0001\r\n#00209:01\r\n#00311:01\r\n"
               "#00403:96\r\n#00511:01\r\n",
               "t.bms", log);
  const Document& doc = session.Doc();
  const Document before = doc;
  for (const char* width : {"3", "1"}) {
    const double seconds = ChartTiming(doc).SecondsAt(doc.ObjList.back().Pos);
    ChangeObjectSpacing(session, {width, "2", true});
    EXPECT_NEAR(ChartTiming(doc).SecondsAt(doc.ObjList.back().Pos), seconds, 1e-9) << width;
  }
  EXPECT_EQ(NumberOf(doc, doc.ObjList.front()), 150);  // 200 * 3/2 / 2: written through a definition between
  ASSERT_TRUE(session.UndoLastChange());
  ASSERT_TRUE(session.UndoLastChange());
  EXPECT_EQ(doc.ObjList, before.ObjList);
  EXPECT_EQ(doc.bpmDefs, before.bpmDefs);
  EXPECT_EQ(doc.stopDefs, before.stopDefs);
}

TEST(ObjectSpacing, CountsObjectsASqueezeWouldStack) {
  Document doc;
  doc.ObjList = {{1, 0}, {1, 1}, {1, 4}, {2, 2}, {1, 3, 0, 0, 1}, {5, 8}, {5, 8}, {5, 9}, {5, 10}};
  EXPECT_EQ(SpacingOverlaps(doc, {"1", "8"}), 4u);
  EXPECT_EQ(SpacingOverlaps(doc, {"0", "8"}), 0u) << "refused, never asked";
}

TEST(ObjectSpacing, TempoTextIsTheShortestDecimal) {
  const std::vector<std::string> texts{TempoText(0.1 + 0.2), TempoText(1e20), TempoText(0.00001), TempoText(-2.5)};
  EXPECT_EQ(texts, (std::vector<std::string>{"0.3", "1E20", "1E-5", "-2.5"}));
}

TEST(Mirror, SwapsKeysOfSelectedObjectsAndTwiceRestores) {
  ChartSession session;
  Document& doc = session.Doc();
  EXPECT_EQ(MirrorSelected(session), EditOutcome::Unchanged);
  EXPECT_FALSE(session.ChartHistory().CanUndo() || doc.Modified) << "an empty chart is left alone";
  for (int lane = 0; lane < 24; ++lane) doc.ObjList.push_back({uint8_t(lane), lane * 3, 1, 1, uint8_t(lane % 2)});
  doc.ObjList.push_back({1, 9, 2, 0, 0});  // not selected
  const std::vector<TBmsObject> chart = doc.ObjList;
  ASSERT_EQ(MirrorSelected(session), EditOutcome::Changed);
  std::vector<TBmsObject> expected = chart;
  const int mirrored[24] = {0, 7, 6, 5, 4, 3, 2, 1, 8, 9, 16, 15, 14, 13, 12, 11, 10, 17, 18, 19, 20, 21, 22, 23};
  for (int i = 0; i < 24; ++i) expected[i].Lane = uint8_t(mirrored[i]);
  EXPECT_EQ(doc.ObjList, expected);
  MirrorSelected(session);
  EXPECT_EQ(doc.ObjList, chart);

  // Nothing selected: nothing moves, no step, no mark; undo takes back the
  // second mirror.
  for (TBmsObject& o : doc.ObjList) o.Selected = 0;
  doc.Modified = false;
  const std::vector<TBmsObject> unselected = doc.ObjList;
  MirrorSelected(session);
  EXPECT_EQ(doc.ObjList, unselected);
  EXPECT_FALSE(doc.Modified);
  ASSERT_TRUE(session.UndoLastChange());
  for (int i = 0; i < 24; ++i) EXPECT_EQ(doc.ObjList[i].Lane, expected[i].Lane);
}

}  // namespace
}  // namespace beatloom
