#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

using Obj = std::tuple<int, int, int, int>;

std::vector<Obj> SortedObjects(const Document& d) {
  std::vector<Obj> out;
  for (const auto& o : d.ObjList) out.emplace_back(o.Lane, o.Pos, o.Value, o.Hidden);
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// Everything a save must carry over; the writer's layout may reorder the kept
// lines and the objects, so those are compared as sets.
void ExpectSameChart(const Document& a, const Document& b, const std::string& what) {
  EXPECT_EQ(SortedObjects(a), SortedObjects(b)) << what;
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
    ASSERT_TRUE(SaveBmsFile(d, out, {}, log, nullptr, nullptr));
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
        ExpectSameChart(first, second, what);
        second.RemoveDuplicates();
        EXPECT_EQ(WriteBmsText(second, options), written) << what;
      }
    }
  }
}

}  // namespace
}  // namespace beatloom
