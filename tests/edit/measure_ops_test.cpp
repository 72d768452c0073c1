#include "edit/measure_ops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

constexpr int M = TicksPerMeasure;

TEST(MeasureOps, MovesObjectsAndLengthsByWholeMeasures) {
  constexpr auto kChanged = EditOutcome::Changed, kSame = EditOutcome::Unchanged, kRefused = EditOutcome::Refused;
  const struct {
    const char* name;
    bool insert;  // else delete the span
    MeasureSpan span;
    std::vector<int> before, after;
    EditOutcome outcome;
  } cases[] = {
      // clang-format off
      {"insert at 3", true, {3, 3}, {3 * M, 2 * M + 191, 7 * M + 5}, {4 * M, 2 * M + 191, 8 * M + 5}, kChanged},
      {"insert after every object", true, {4, 4}, {5}, {5}, kSame},
      {"delete 3", false, {3, 3}, {3 * M, 4 * M + 96, 2 * M + 191, 3 * M + 191}, {3 * M + 96, 2 * M + 191}, kChanged},
      {"delete 2 to 4", false, {2, 4}, {M, 2 * M, 4 * M + 191, 5 * M, 9 * M + 1}, {M, 2 * M, 6 * M + 1}, kChanged},
      {"delete past 999", false, {998, 5000}, {997 * M, 998 * M, 999 * M + 191}, {997 * M}, kChanged},
      {"insert with an object in 999", true, {3, 3}, {10, 999 * M + 3}, {10, 999 * M + 3}, kRefused},
      {"insert after 999", true, {1000, 1000}, {999 * M}, {999 * M}, kSame},
      {"delete from before 0", false, {-1, 0}, {0, M}, {0, M}, kRefused},
      {"delete 5 to 4", false, {5, 4}, {0, 6 * M}, {0, 6 * M}, kRefused},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Document doc;
    // Every object names its measure, and that measure has a length of its own.
    for (const int pos : c.before) doc.MeasureLen[pos / M] = doc.ObjList[doc.AddObject(1, pos, pos / M + 1)].Value;
    const MeasureOutcome got =
        c.insert ? InsertMeasure(doc, static_cast<int>(c.span.first)) : DeleteMeasures(doc, c.span);
    EXPECT_EQ(got.outcome, c.outcome);
    EXPECT_EQ(got.message.empty(), c.outcome != kRefused);
    EXPECT_EQ(test::ObjectPositions(doc), c.after);
    for (const TBmsObject& o : doc.ObjList) EXPECT_EQ(doc.MeasureLen[o.Pos / M], o.Value) << "a length moves along";
  }
  Document doc;
  doc.MeasureLen[999] = 2;
  EXPECT_EQ(InsertMeasure(doc, 0).message, kInsertLengthPastEndMessage) << "a length has nowhere to go either";
  // An object between two ticks moves with its measure and keeps its place in it.
  Document off;
  off.AddObject(1, 2 * M + 167, 1);
  SetOffset(off.ObjList[0], 3, 4);
  ASSERT_EQ(InsertMeasure(off, 1).outcome, kChanged);
  EXPECT_EQ(ExactTicks(off.ObjList[0]), 3 * M + 167.75);
}

TEST(MeasureOps, DialogFieldsBecomeASpanOrAMessage) {
  // clang-format off
  const struct {
    const char *first, *last;
    std::string_view message;
  } cases[] = {
      {"2", "4", {}}, {" 3", "3 ", {}}, {"5", "4", kMeasureRangeMessage}, {"-1", "3", kMeasureRangeMessage},
      {"a", "4", kMeasureTextMessage}, {"2", "", kMeasureTextMessage}, {"99999999999", "4", kMeasureTextMessage}};
  // clang-format on
  for (const auto& c : cases) {
    const ParsedSpan parsed = ParseMeasureSpan(c.first, c.last);
    EXPECT_EQ(parsed.message, c.message) << c.first << "-" << c.last;
    EXPECT_EQ(parsed.span.has_value(), c.message.empty());
  }
  EXPECT_EQ(ParseMeasureSpan("2", "4").span->last, 4);
}

TEST(MeasureOps, LengthListWalksDownAndRefusesBadValues) {
  std::array<double, MeasureCount> lengths;
  lengths.fill(1.0);
  lengths[12] = 0.75;
  lengths[20] = 0.1 + 0.2;  // shown rounded
  std::vector<std::string> lines = MeasureLengthLines(lengths);
  EXPECT_EQ(lines.size(), 1000u);
  // clang-format off
  const struct {
    const char* typed;
    std::vector<int> rows;
    std::string_view message;
    int next;
  } steps[] = {
      {"0.5", {7}, {}, 8}, {"0.75", {7, 8}, {}, 9}, {"0", {9}, kLengthNotPositiveMessage, -1},
      {"-1", {9}, kLengthNotPositiveMessage, -1}, {"abc", {9}, kLengthNotNumberMessage, -1},
      {"3", {}, {}, 0}, {"2", {999}, {}, 0}, {"1.50", {8}, {}, 9},
      {"1e300", {9}, kLengthOutOfRangeMessage, -1}, {"999.01", {9}, kLengthOutOfRangeMessage, -1},
      {"0.005", {9}, kLengthOutOfRangeMessage, -1}, {"999", {30}, {}, 31}, {"0.0052083", {31}, {}, 32}};
  // clang-format on
  for (const auto& s : steps) {
    const std::vector<std::string> before = lines;
    const LengthChange change = ChangeLengthLines(s.typed, lines, s.rows);
    EXPECT_EQ(change.message, s.message) << s.typed;
    EXPECT_EQ(change.nextRow, s.next) << s.typed;
    EXPECT_TRUE(s.message.empty() || lines == before) << s.typed;
  }
  using Lines = std::vector<std::string>;
  EXPECT_EQ((Lines{lines[0], lines[7], lines[8], lines[9], lines[12], lines[999]}),
            (Lines{"#000:1", "#007:0.75", "#008:1.5", "#009:1", "#012:0.75", "#999:2"}));
  std::array<double, MeasureCount> read = lengths;
  ReadLengthLines(lines, read);
  // A line left alone keeps its exact value, however the list rounded it.
  EXPECT_EQ((std::vector<double>{read[0], read[7], read[8], read[20]}), (std::vector<double>{1, 0.75, 1.5, 0.1 + 0.2}));
}

// A modern chart: a lone long-note start, a branch and a bad length line the
// (the last two kept as text), around ordinary notes of measure 5.
constexpr std::string_view kChart =
    "#TITLE kept\r\n#00311:01\r\n#00511:0101\r\n#00551:0100\r\n#00502:abc\r\n#00811:02\r\n#00602:0.5\r\n"
    "#RANDOM 2\r\n#IF 1\r\n#00513:03\r\n#ENDIF\r\n#ENDRANDOM\r\n";

TEST(MeasureOps, KeptLinesFollowTheirMeasureAndComeBackWithUndo) {
  const struct {
    const char* name;
    bool insert;
    MeasureSpan span;
    std::vector<std::string> present, absent;
  } cases[] = {
      // clang-format off
      {"insert at 4", true, {4, 4}, {"#00311:01", "#00611:0101", "#00651:01", "#00602:abc", "#00911:02", "#00613:03", "#00702:0.5"},
       {"#00551:", "#00513:", "#00502:"}},
      {"delete 3", false, {3, 3}, {"#00411:0101", "#00451:01", "#00402:abc", "#00711:02", "#00413:03", "#00502:0.5"},
       {"#00311:", "#00551:", "#00513:", "#00602:"}},
      {"delete 5", false, {5, 5}, {"#00311:01", "#00711:02", "#00502:0.5", "#RANDOM 2", "#IF 1", "#ENDIF"},
       {"#00511:", "#00551:", "#00513:", "#00451:", "#00413:", "#00502:abc", "#00402:abc"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChartSession session;
    LoadBmsBytes(session.Doc(), kChart, "kept.bms", session.ChartLog());
    const std::string original = WriteBmsText(session.Doc(), {});
    int told = 0;
    unsigned aspects = 0;
    session.AddListener([&](const ChartNotice& n) {
      ++told;
      aspects = n.aspects;
    });

    const MeasureOutcome got =
        c.insert ? InsertMeasure(session, static_cast<int>(c.span.first)) : DeleteMeasures(session, c.span);
    ASSERT_EQ(got.outcome, EditOutcome::Changed);
    EXPECT_TRUE(session.Doc().Modified);
    EXPECT_TRUE(aspects & kChartHeader) << "the memo of kept lines shows them renumbered";
    EXPECT_TRUE(aspects & kChartLayout) << "the lengths moved";
    const std::string saved = WriteBmsText(session.Doc(), {});
    for (const std::string& line : c.present) EXPECT_NE(saved.find(line + "\r\n"), std::string::npos) << line;
    for (const std::string& line : c.absent) EXPECT_EQ(saved.find(line), std::string::npos) << line;
    // A lone long-note start stays written after its own measure's notes.
    EXPECT_TRUE(!c.insert || saved.find("#00611:") < saved.find("#00651:"));

    ASSERT_TRUE(session.UndoLastChange());
    EXPECT_EQ(told, 2);
    EXPECT_TRUE(aspects & kChartHeader);
    EXPECT_EQ(WriteBmsText(session.Doc(), {}), original);
  }
}

TEST(MeasureOps, RefusalsSpendNoSnapshotAndLeaveKeptLines) {
  ChartSession session;
  LoadBmsBytes(session.Doc(), "#00111:01\r\n#99971:01\r\n", "end.bms", session.ChartLog());
  const std::vector<std::string> kept = session.Doc().mcom;
  ASSERT_EQ(kept, std::vector<std::string>{"#99971:01"});

  const MeasureOutcome got = InsertMeasure(session, 0);
  EXPECT_EQ(got.outcome, EditOutcome::Refused);
  EXPECT_EQ(got.message, kInsertPastEndMessage) << "a kept line in 999 has nowhere to go either";
  EXPECT_EQ(session.Doc().mcom, kept);
  EXPECT_EQ(test::ObjectPositions(session.Doc()), std::vector<int>{M});
  EXPECT_FALSE(session.Doc().Modified);
  EXPECT_FALSE(session.ChartHistory().CanUndo());

  ASSERT_EQ(DeleteMeasures(session, {500, 500}).outcome, EditOutcome::Changed);
  EXPECT_EQ(session.Doc().mcom, std::vector<std::string>{"#99871:01"});
  // A refusal makes no step: undo takes back the delete, kept lines and all.
  EXPECT_EQ(DeleteMeasures(session, {5, 4}).outcome, EditOutcome::Refused);
  ASSERT_TRUE(session.UndoLastChange());
  EXPECT_EQ(session.Doc().mcom, kept);
  EXPECT_EQ(test::ObjectPositions(session.Doc()), std::vector<int>{M});
}

}  // namespace
}  // namespace beatloom
