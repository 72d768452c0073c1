// Timing, statistics and the check on small charts whose figures are counted
// by hand. At #BPM 120 a 4/4 measure lasts 2 s and a tick 1/96 s.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "analysis/chart_check.h"
#include "analysis/chart_stats.h"
#include "analysis/chart_timing.h"
#include "bms/bms_reader.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

std::string Text(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

Document Chart(const std::vector<std::string>& lines) {
  Document doc;
  Log log;
  LoadBmsBytes(doc, Text(lines), "chart", log);
  return doc;
}

struct TimingCase {
  const char* name;
  std::vector<std::string> lines;
  int pos;
  double seconds;
};

TEST(ChartTiming, FollowsTemposStopsAndLengths) {
  const TimingCase cases[] = {
      {"tempo change mid-measure, inside", {"#BPM 120", "#00103:00F0"}, 288, 3.0},
      {"tempo change mid-measure, after", {"#BPM 120", "#00103:00F0"}, 480, 3.5 + 0.5},
      {"3/4 measure, half way", {"#BPM 120", "#00002:0.75"}, 96, 0.75},
      {"3/4 measure, the next one", {"#BPM 120", "#00002:0.75"}, 384, 1.5 + 2.0},
      {"extended tempo", {"#BPM 120", "#BPM01 65535.9999", "#00008:0001"}, 192, 1.0 + 120.0 / 65535.9999},
      {"object on a stop sounds as it begins", {"#BPM 120", "#STOP01 48", "#00009:0001", "#00003:00F0"}, 96, 1.0},
      // One beat of stop at the new tempo 240 (0.25 s), then half a measure at 240.
      {"stop written before the tempo change", {"#BPM 120", "#STOP01 48", "#00009:0001", "#00003:00F0"}, 192, 1.75},
      {"stop written after the tempo change", {"#BPM 120", "#00003:00F0", "#STOP01 48", "#00009:0001"}, 192, 1.75},
      {"extended tempo on the stop's tick",
       {"#BPM 120", "#STOP01 48", "#00009:0001", "#BPM01 240", "#00008:0001"},
       192,
       1.75},
      // 0.5 s, a beat of stop at 120 (0.5 s), 0.5 s, then half a measure at 240.
      {"stop a tick group before the tempo change",
       {"#BPM 120", "#STOP01 48", "#00009:00010000", "#00003:00F0"},
       192,
       2.0},
      // Half of a 1.5 s measure, a whole 4/4 measure of stop (2 s), the other half.
      {"stop in a 3/4 measure", {"#BPM 120", "#00002:0.75", "#STOP01 192", "#00009:0001"}, 192, 3.5},
      {"undefined index and tempo 0 ignored", {"#BPM 120", "#BPM01 0", "#00008:0102"}, 192, 2.0},
      {"conditional block not read", {"#BPM 120", "#BPM01 240", "#RANDOM 2", "#IF 1", "#00008:01", "#ENDIF"}, 192, 2.0},
      // Every player takes "#IF 1" of a "#RANDOM 1": its stop (1 s), not the other branch's.
      {"#RANDOM 1 stop timed",
       {"#BPM 120", "#STOP01 96", "#RANDOM 1", "#IF 1", "#00009:01", "#ENDIF", "#IF 2", "#00009:0101", "#ENDIF"},
       192,
       3.0},
      {"#RANDOM 1 length and tempo", {"#BPM 120", "#RANDOM 1", "#IF 1", "#00002:0.5", "#00103:F0", "#ENDIF"}, 288, 1.5},
      // A stop in the last cell of a 768-cell line (191.75) stays in its measure.
      {"stop just before the bar line",
       {"#BPM 120", "#STOP01 192", "#00009:" + std::string(1534, '0') + "01"},
       192,
       4.0},
      {"no header tempo plays at 120", {"#BPM fast"}, 192, 2.0},
      {"measure length 0 counts as 1", {"#BPM 120", "#00002:0"}, 192, 2.0},
  };
  for (const TimingCase& c : cases) {
    const ChartTiming timing(Chart(c.lines));
    EXPECT_NEAR(timing.SecondsAt(c.pos), c.seconds, 1e-9) << c.name;
    // Going back from the time lands on the position, except inside a stop.
    EXPECT_EQ(timing.PosAt(c.seconds + 1e-9), c.pos) << c.name;
  }
}

TEST(ChartStats, CountsAHandCountedChart) {
  // The hidden note on lane 1 at 192 replaces the visible one the save would drop.
  const Document doc = Chart({"#BPM 120", "#PLAYER 3", "#WAV01 a.wav", "#00111:01010000", "#00116:01", "#00131:01",
                              "#00221:0101", "#00201:01", "#00204:01", "#00003:78"});
  const ChartStats s = StatsOf(doc, ChartTiming(doc));
  EXPECT_DOUBLE_EQ(s.lengthSeconds, 5.0);
  EXPECT_EQ(s.groups, (std::array<int, kNoteGroupCount>{1, 2, 1, 1, 1, 1}));
  EXPECT_EQ(s.totalNotes, 4);
  EXPECT_EQ(s.density, (std::vector<int>{0, 0, 2, 0, 1, 1}));
  EXPECT_EQ(s.peakNotesPerSecond, 2);
  EXPECT_DOUBLE_EQ(s.averageNotesPerSecond, 0.8);
}

// A chart that plays for ages keeps a bounded graph; one whose times overflow
// leaves the unreachable objects out of the figures and the check names them.
TEST(ChartStats, LongAndOverflowingChartsStayBounded) {
  const struct {
    const char* name;
    std::vector<std::string> lines;
    double length;
    int overflowFrom;  // the measure the check names, -1 none
  } cases[] = {
      {"a stop of 10^12", {"#STOP01 1000000000000", "#00009:01", "#00111:01", "#00211:01"}, 4 + 1e12 / 96, -1},
      {"tempo 0.0001 up to measure 999", {"#BPM 0.0001", "#00111:01", "#99911:01"}, 999 * 2.4e6, -1},
      {"a length of 1e308", {"#00102:1e308", "#00111:01", "#00311:01", "#00411:01"}, 2, 3},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = {"#BPM 120", "#WAV01 a.wav"};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    const Document doc = Chart(lines);
    const ChartTiming timing(doc);
    const ChartStats s = StatsOf(doc, timing);
    EXPECT_NEAR(s.lengthSeconds, c.length, c.length * 1e-12) << c.name;
    EXPECT_LE(s.density.size(), kMaxDensityBins) << c.name;
    EXPECT_EQ(std::accumulate(s.density.begin(), s.density.end(), 0), c.overflowFrom < 0 ? s.totalNotes : 1) << c.name;
    EXPECT_EQ(s.peakNotesPerSecond, 1) << c.name;
    for (const double t : {std::nan(""), 1e300, c.length}) EXPECT_GE(timing.PosAt(t), 0) << c.name;
    const std::vector<Finding> found = CheckChart(doc, nullptr);
    const auto overflow =
        std::find_if(found.begin(), found.end(), [](const Finding& f) { return f.rule == "time-overflow"; });
    EXPECT_EQ(overflow == found.end() ? -1 : overflow->measure, c.overflowFrom) << c.name;
  }
}

struct CheckCase {
  std::vector<std::string> extra;  // after a sound chart: WAV01 a.wav used on lane 1
  std::vector<std::string> rules;
  int measure;
  int line;  // of the first finding, in the whole text
};

TEST(ChartCheck, EachRuleOnce) {
  const std::vector<std::string> base = {"#PLAYER 3", "#WAV01 a.wav", "#00111:01"};
  const CheckCase cases[] = {
      {{}, {}, -1, 0},
      {{"#00112:02"}, {"undefined-sound"}, 1, 4},
      {{"#00104:05"}, {"undefined-image"}, 1, 4},
      {{"#WAV02 gone.wav", "#00112:02"}, {"missing-file"}, -1, 4},
      // A ".wav" converted to ".ogg", and a name in another case, are found.
      {{"#WAV02 kick.wav", "#WAV03 snare.wav", "#00112:0203"}, {}, -1, 0},
      {{"#WAV02 a.wav"}, {"unused-definition"}, -1, 4},
      {{"#PLAYER 1", "#00221:01"}, {"collapsed-lane"}, 2, 5},
      {{"#00111:0001", "#00111:01"}, {"duplicate-object"}, 1, 3},
      {{"#00251:01"}, {"unpaired-long-note"}, 2, 4},
      // A long note on the key of lane 1 from tick 0 to 96 of measure 2: a note at its end.
      {{"#00251:0101", "#00211:0001"}, {"note-in-long-note"}, 2, 5},
      {{"#00251:0101", "#00211:000001"}, {}, -1, 0},
      {{"#WAV02 a.wav", "#LNOBJ 02", "#00211:0102"}, {}, -1, 0},
      {{"#BPM01 -5", "#00108:01"}, {"bad-tempo"}, -1, 4},
      {{"#STOP01 -1", "#00109:01"}, {"bad-stop"}, -1, 4},
      {{"#00208:01"}, {"undefined-tempo"}, 2, 4},
      {{"#00309:0001"}, {"undefined-stop"}, 3, 4},
      {{"#00402:0"}, {"bad-measure-length"}, 4, 4},
      {{"#RANDOM 2", "#IF 1", "#00111:01", "#ENDIF"}, {"conditional-block"}, -1, 4},
  };
  test::TempDir folder;
  for (const char* name : {"a.wav", "kick.ogg", "Snare.WAV"}) test::WriteFile(folder.file(name), "");
  for (const CheckCase& c : cases) {
    std::vector<std::string> lines = base;
    lines.insert(lines.end(), c.extra.begin(), c.extra.end());
    const Document doc = Chart(lines);
    const std::vector<Finding> found = CheckChart(doc, FolderProbe(folder.path(), doc.encoding));
    std::vector<std::string> rules;
    for (const Finding& f : found) rules.push_back(f.rule);
    ASSERT_EQ(rules, c.rules) << Text(c.extra);
    if (found.empty()) continue;
    EXPECT_EQ(found[0].measure, c.measure) << c.rules[0];
    const std::string text = Text(lines);
    EXPECT_EQ(LineOf(SplitLines(text), found[0]), c.line) << c.rules[0];
    EXPECT_EQ(HasError(found), found[0].severity == Severity::Error) << c.rules[0];
  }
}

// A tempo or stop object whose definition an edit took away.
TEST(ChartCheck, TimingObjectsNamingNoDefinition) {
  Document doc = Chart({"#BPM01 150", "#STOP01 96", "#00208:01", "#00309:01"});
  EXPECT_TRUE(CheckChart(doc, nullptr).empty());
  doc.bpmDefs[1].clear();
  doc.stopDefs[1].clear();
  std::vector<std::string> rules;
  for (const Finding& f : CheckChart(doc, nullptr)) rules.push_back(f.rule + " " + f.source);
  EXPECT_EQ(rules, (std::vector<std::string>{"undefined-tempo #00208", "undefined-stop #00309"}));
}

// Identical and prefix-sharing kept lines: each finding names its own line.
TEST(ChartCheck, RepeatedKeptLinesAreNumberedInFileOrder) {
  const std::vector<std::string> lines = {"#WAV01 a.wav", "#00111:01",  "#BPM01 -5",  "#RANDOM 2", "#IF 1",
                                          "#ENDIF",       "#ENDRANDOM", "#X 1",       "#RANDOM 2", "#ENDRANDOM",
                                          "#X 1",         "#RANDOM 20", "#ENDRANDOM", "#X 1",      "#random 2",
                                          "#ENDRANDOM",   "#BPM01 -5"};
  const std::vector<Finding> found = CheckChart(Chart(lines), nullptr);
  std::vector<std::pair<std::string, int>> placed;
  const std::string text = Text(lines);
  const std::vector<int> at = LinesOf(SplitLines(text), found);
  for (size_t i = 0; i < found.size(); ++i) placed.emplace_back(found[i].rule, at[i]);
  EXPECT_EQ(placed, (std::vector<std::pair<std::string, int>>{{"bad-tempo", 17},
                                                              {"conditional-block", 4},
                                                              {"conditional-block", 9},
                                                              {"conditional-block", 12},
                                                              {"conditional-block", 15}}));
}

}  // namespace
}  // namespace beatloom
