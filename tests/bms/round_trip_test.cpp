#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "analysis/chart_timing.h"
#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "support/test_support.h"
#include "view/lane_layout.h"

namespace beatloom {
namespace {

using Obj = std::tuple<int, int, uint32_t, uint32_t, int, int>;  // lane, tick, fraction of it, value, hidden

// anyBgmLane: a packed background lane whose places need two data lines
// comes back as two lanes; which one an object is on does not count.
std::vector<Obj> SortedObjects(const Document& d, bool anyBgmLane = false) {
  std::vector<Obj> out;
  for (const auto& o : d.ObjList) {
    const int lane = anyBgmLane && IsBgmLane(o.Lane) ? FirstBgmLane : o.Lane;
    out.emplace_back(lane, o.Pos, o.OffNum, o.OffDen, o.Value, o.Hidden);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// Everything a save must carry over; the writer's layout may reorder the kept
// lines and the objects, so those are compared as sets.
void ExpectSameChart(const Document& a, const Document& b, const std::string& what, bool anyBgmLane = false) {
  EXPECT_EQ(SortedObjects(a, anyBgmLane), SortedObjects(b, anyBgmLane)) << what;
  EXPECT_EQ(a.MeasureLen, b.MeasureLen) << what;
  EXPECT_EQ(a.header, b.header) << what;
  EXPECT_EQ(a.wav, b.wav) << what;
  EXPECT_EQ(a.bmp, b.bmp) << what;
  EXPECT_EQ(a.mmemo, b.mmemo) << what;
  EXPECT_EQ(Sorted(a.mcom), Sorted(b.mcom)) << what;
  EXPECT_EQ(a.hasBom, b.hasBom) << what;
}

// Each golden input beside the exact bytes a save must produce for it.
TEST(Golden, SaveWritesTheExpectedBytes) {
  for (const char* name : {"basic", "kept", "utf8bom"}) {
    test::TempDir dir;
    Document d;
    Log log;
    ASSERT_TRUE(LoadBmsFile(d, test::DataFile(std::string("golden/") + name + ".bms"), log));
    const std::string out = dir.file("out.bms");
    ASSERT_TRUE(SaveBmsFile(d, out, {}, log, nullptr));
    EXPECT_EQ(test::ReadFile(out), test::ReadFile(test::DataFile(std::string("golden/") + name + ".expected.bms")))
        << name;
  }
}

TEST(RoundTrip, SavedChartsLoadBackAndSaveIdentically) {
  std::vector<std::pair<std::string, std::string>> inputs;
  for (const char* name : {"golden/basic.bms", "golden/kept.bms", "golden/utf8bom.bms"}) {
    inputs.emplace_back(name, test::ReadFile(test::DataFile(name)));
  }
  inputs.emplace_back("demo", test::ReadFile(std::string(BEATLOOM_TEST_DATA) + "/../../samples/demo.bms"));
  // A generated chart with every lane, hidden notes, odd resolutions and lengths.
  std::mt19937 rng(42);
  std::string gen = "#TITLE generated\r\n";
  for (int m = 0; m < 40; ++m) {
    if (m % 7 == 3) gen += "#" + std::to_string(100 + m).substr(1) + "02:0." + std::to_string(m) + "\r\n";
    const char* channels[] = {"01", "03", "04", "06", "07", "11", "16", "19", "21", "28", "37", "49", "01", "01"};
    for (const char* ch : channels) {
      const int cells = std::uniform_int_distribution<int>(1, 48)(rng);
      char head[16];
      std::snprintf(head, sizeof head, "#%03d%s:", m, ch);
      std::string line = head;
      for (int i = 0; i < cells; ++i) {
        char cell[3];
        std::snprintf(cell, sizeof cell, "%02X", rng() % 3 == 0 ? static_cast<int>(rng() % 255 + 1) : 0);
        line += cell;
      }
      gen += line + "\r\n";
    }
  }
  inputs.emplace_back("generated", gen);

  for (const auto& [name, bytes] : inputs) {
    for (const bool keepLayout : {true, false}) {
      for (const int minCells : {1, 3, 16}) {
        const std::string what = name + (keepLayout ? " keep " : " pack ") + std::to_string(minCells);
        SaveOptions options;
        options.keepLayout = keepLayout;
        options.minCells = minCells;
        Document first;
        Log log;
        LoadBmsBytes(first, bytes, name, log);
        first.RemoveDuplicates();
        if (!keepLayout) PackBgmLanes(first);
        const std::string written = WriteBmsText(first, options);
        Document second;
        LoadBmsBytes(second, written, name, log);
        ExpectSameChart(first, second, what, !keepLayout);
        second.RemoveDuplicates();
        if (keepLayout) {
          EXPECT_EQ(WriteBmsText(second, options), written) << what;
        }
      }
    }
  }
}

std::string CrLfText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Lines of odd lengths beside a note on the 192 grid: every object keeps
// its exact place through a save and a load, written in as few cells as hold
// them, on a second line where one would need an unreasonable number.
TEST(RoundTrip, OffGridCellsKeepTheirExactPlaces) {
  const struct {
    int n;
    std::vector<int> cells;       // filled cells (value 01) of a line of n cells
    int gridTick;                 // a note (value 02) on the 192 grid beside them
    std::vector<size_t> written;  // cells of each channel 11 line the save writes
  } cases[] = {
      {22, {1, 21}, 96, {22}},   {29, {3}, 96, {58}},     {30, {1, 14}, 96, {30}},
      {160, {1}, 1, {960}},      {384, {1, 383}, 1, {384}}, {768, {671}, 96, {768}},
      {1008, {1, 1007}, 1, {1008, 192}},
  };
  for (const auto& c : cases) {
    std::string line(static_cast<size_t>(c.n) * 2, '0');
    for (const int i : c.cells) line[2 * static_cast<size_t>(i) + 1] = '1';
    std::string grid(2 * TicksPerMeasure, '0');
    grid[2 * static_cast<size_t>(c.gridTick) + 1] = '2';
    Document first;
    Log log;
    LoadBmsBytes(first, CrLfText({"#00111:" + line, "#00111:" + grid}), "t", log);
    ASSERT_EQ(first.ObjList.size(), c.cells.size() + 1) << c.n;
    for (size_t k = 0; k < c.cells.size(); ++k) {
      const TBmsObject& o = first.ObjList[k];  // at 192 i / n ticks into measure 001
      EXPECT_EQ((uint64_t(o.Pos - TicksPerMeasure) * o.OffDen + o.OffNum) * uint64_t(c.n),
                uint64_t(TicksPerMeasure) * uint64_t(c.cells[k]) * o.OffDen)
          << c.n << " cell " << c.cells[k];
    }
    const std::string text = WriteBmsText(first, {});
    std::vector<size_t> written;
    for (std::string_view l : SplitLines(text))
      if (l.starts_with("#00111:")) written.push_back((l.size() - 7) / 2);
    EXPECT_EQ(written, c.written) << c.n;
    Document second;
    LoadBmsBytes(second, text, "t", log);
    EXPECT_EQ(SortedObjects(second), SortedObjects(first)) << c.n;
  }
}

// Every kind of line the reader keeps as text, alone and around the lines that
// override it: a save and a load must give back the chart the first load
// gave, and saving that again must write the same bytes.
TEST(RoundTrip, KeptLinesNeitherGainNorLoseTheirEffect) {
  std::vector<std::string> roundsOver{"#99911:01"};
  for (int i = 1; i < 383; ++i) roundsOver.front() += "00";
  roundsOver.front() += "02";  // 384 cells: the last one half a tick before the end of measure 999
  std::vector<std::string> fullLanes(BgmLaneLimit, "#00001:01");
  fullLanes.push_back("#00001:0202");  // tick 0 is full, tick 96 is not: kept whole
  std::vector<std::string> topLaneOnly(BgmLaneLimit - 1, "#00001:00");
  topLaneOnly.push_back("#00001:01");    // the last lane alone at tick 0
  topLaneOnly.push_back("#00001:02");    // nothing above it: kept
  topLaneOnly.push_back("#00001:0003");  // tick 96 is free
  const struct Case {
    std::vector<std::string> lines;
    const char* overridden = nullptr;  // the kept line a later one overrides
    int overriddenLine = 0;
  } cases[] = {
      {{"#00102:x", "#00102:0.75", "#00111:01"}, "#00102:x", 1},
      {{"#00102:0.75", "#00102:x", "#00111:01"}},
      {{"#00102:x", "#00102:1e999", "#00111:01"}, "#00102:x", 1},
      {{"#00302:x"}},
      {{"#PLAYER 5", "#PLAYER 2"}, "#PLAYER 5", 1},
      {{"#PLAYER 2", "#PLAYER 5"}},
      {{"#PLAYER 0", "#TITLE t", "#PLAYER 7"}, "#PLAYER 0", 1},
      {{"#RANK 9", "#RANK 2"}, "#RANK 9", 1},
      {{"#BPM01 150", "#RANK 9", "#RANK 2"}, "#RANK 9", 2},  // a kept line before the dropped one stays
      {{"#RANK 2", "#RANK 9"}},
      {{"#RANK -2", "#RANK -1"}, "#RANK -2", 1},
      {{"#RANK high", "#RANK 1", "#RANK low"}},
      {{"#PLAYER x", "#PLAYERS 2", "#PLAYER 3", "#LNTYPE 1", "#BPM01 150", "#BPMX"}},
      {{"#WAV00 a.wav", "#WAV01 b.wav", "#WAVZZ c.wav", "#BMPG0 d.bmp"}},
      {{"#00105:01", "#00150:01", "#00111:01zz02", "#-0111:01", "#00211:01"}},
      {roundsOver},
      {{"#RANDOM 2", "#IF 1", "#00111:02", "#PLAYER 5", "#00102:x", "#ENDIF", "#ENDRANDOM", "#00102:0.5"}},
      {{"#IF 1", "#00211:01", "#RANK 9"}},  // left open
      {fullLanes},
      {topLaneOnly},
  };
  for (const Case& c : cases) {
    for (const bool keepLayout : {true, false}) {
      const std::string what = c.lines.front() + " ... " + c.lines.back() + (keepLayout ? " keep" : " pack");
      test::TempDir dir;
      test::WriteFile(dir.file("in.bms"), CrLfText(c.lines));
      SaveOptions options;
      options.keepLayout = keepLayout;
      Document first;
      Log log;
      ASSERT_TRUE(LoadBmsFile(first, dir.file("in.bms"), log)) << what;
      if (c.overridden) {
        EXPECT_EQ(std::count(first.mcom.begin(), first.mcom.end(), c.overridden), 0) << what;
        char tag[16];
        std::snprintf(tag, sizeof tag, "Line%04d", c.overriddenLine);
        const std::string message = tag + std::string(":後の記述で上書きされたため破棄します  ") + c.overridden;
        EXPECT_EQ(std::count(log.Lines().begin(), log.Lines().end(), message), 1) << what;
      }
      // The comparison is with the chart as the save tidied it.
      TidyForSave(first, options);
      ASSERT_TRUE(SaveBmsFile(first, dir.file("a.bms"), options, log, nullptr)) << what;
      Document second;
      ASSERT_TRUE(LoadBmsFile(second, dir.file("a.bms"), log)) << what;
      ExpectSameChart(first, second, what);
      ASSERT_TRUE(SaveBmsFile(second, dir.file("b.bms"), options, log, nullptr)) << what;
      EXPECT_EQ(test::ReadFile(dir.file("b.bms")), test::ReadFile(dir.file("a.bms"))) << what;
    }
  }
}

// Both ways a file writes long notes, and a chart that mixes them: what is
// read comes back from a save with the same notes, places and form.
TEST(RoundTrip, LongNotesKeepTheirNotesTimesAndForm) {
  using Long = std::tuple<int, double, double, int>;  // lane, start, end (ticks), value
  const struct {
    const char* text;
    std::vector<Long> longNotes;
    std::vector<const char*> written;  // lines the save must hold
    size_t objects;
  } cases[] = {
      // Channel pairs, #LNTYPE missing; lane 8 comes from channel 56; a lone start stays one.
      {"#00151:0101\n#00251:00000202\n#00256:0300\n#00356:03\n#00111:04\n#00452:05\n",
       {{1, 192, 288, 1}, {1, 480, 528, 2}, {8, 384, 576, 3}},
       {"#LNTYPE 1", "#00151:0101", "#00256:03", "#00356:03", "#00452:05", "#00111:04"}, 5},
      {"#00152:0300000004\n", {{2, 192, 192 + 153.6, 3}}, {"#00152:0300000004"}, 1},  // an end between ticks
      // #LNOBJ: the note before an end begins the long note; a lone end stays a note.
      {"#LNOBJ ZZ\n#00111:01ZZ\n#00211:0200ZZ00\n#00312:ZZ\n", {{1, 192, 288, 1}, {1, 384, 480, 2}},
       {"#00111:01ZZ", "#00211:02ZZ", "#00312:ZZ"}, 3},
      {"#LNOBJ ZZ\n#00111:01ZZ\n#00251:0303\n#00161:0404\n", {{1, 192, 288, 1}, {1, 384, 480, 3}, {10, 192, 288, 4}},
       {"#00111:01ZZ", "#00251:0303", "#00161:0404", "#LNTYPE 1"}, 3},  // both forms
  };
  const auto longNotes = [](const Document& d) {
    std::vector<Long> out;
    for (const TBmsObject& o : d.ObjList)
      if (IsLongNote(o)) out.emplace_back(o.Lane, ExactTicks(o), EndTicks(o), o.Value);
    std::sort(out.begin(), out.end());
    return out;
  };
  for (const auto& c : cases) {
    Document d, back;
    Log log;
    LoadBmsBytes(d, std::string("#WAV01 a.wav\n") + c.text, "f", log);
    EXPECT_EQ(longNotes(d), c.longNotes) << c.text;
    EXPECT_EQ(d.ObjList.size(), c.objects) << c.text;
    Document tidied = d;
    TidyForSave(tidied, {});
    const std::string text = WriteBmsText(tidied, {});
    for (const char* line : c.written) EXPECT_NE(text.find(std::string(line) + "\r\n"), std::string::npos) << line;
    LoadBmsBytes(back, text, "f", log);
    EXPECT_EQ(longNotes(back), longNotes(d)) << text;
    EXPECT_EQ(SortedObjects(d), SortedObjects(back)) << text;
    EXPECT_EQ(WriteBmsText(back, {}), text) << c.text;
  }
}

// A measure with 41 background lines: each line takes a lane of its own (the
// 28 numbered ones, then those after the stop lane), the score widens to show
// them, and a save and a load give back every sound at its time.
TEST(RoundTrip, EveryBackgroundLineOfABusyMeasureTakesALane) {
  std::string text = "#BPM 150\n#00103:78\n#00109:01\n#STOP01 96\n#00202:0.75\n";
  for (int i = 1; i <= 41; ++i)  // lines of 1, 2 and 5 cells, the last between ticks
    text += "#00201:" + std::string(i % 3 == 2 ? 8 : 2 * (i % 3), '0') + (i < 10 ? "0" : "") + std::to_string(i) + "\n";
  const auto times = [](const Document& chart, bool lanes) {
    const ChartTiming timing(chart);
    std::vector<std::tuple<int, int, double>> out;
    for (const TBmsObject& o : chart.ObjList) out.emplace_back(o.Value, lanes ? o.Lane : 0, timing.SecondsAt(o));
    std::sort(out.begin(), out.end());
    return out;
  };
  for (const bool keepLayout : {true, false}) {
    Document d, back;
    Log log;
    LoadBmsBytes(d, text, "f", log);
    EXPECT_TRUE(d.mcom.empty());
    ASSERT_EQ(d.ObjList.size(), 43u);  // after the tempo and the stop, lines 1..41 in turn
    EXPECT_EQ(d.ObjList[2 + 27].Lane, 49);
    EXPECT_EQ(d.ObjList[2 + 28].Lane, 51);
    EXPECT_EQ(d.ObjList[2 + 40].Lane, 63);
    LaneLayout shown, fixed;
    shown.RecomputeLanes(0, 6, false, BgmLaneCountOf(d));
    fixed.RecomputeLanes(0, 6, false);
    EXPECT_EQ(shown.TotalWidth() - fixed.TotalWidth(), 13 * 4 * 6);
    const auto read = times(d, keepLayout);
    SaveOptions options;
    options.keepLayout = keepLayout;
    TidyForSave(d, options);
    LoadBmsBytes(back, WriteBmsText(d, options), "f", log);
    ExpectSameChart(d, back, keepLayout ? "keep" : "pack", !keepLayout);
    EXPECT_EQ(times(back, keepLayout), read);
  }
}

}  // namespace
}  // namespace beatloom
