#include "formats/ddrv_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "support/test_support.h"

namespace beatloom {
namespace {

using LanePos = std::pair<int, int>;

std::vector<LanePos> Objects(const Document& doc) {
  std::vector<LanePos> out;
  for (const TBmsObject& o : doc.ObjList) out.emplace_back(o.Lane, o.Pos);
  return out;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

TEST(DdrvExport, WritesTheNineLineExampleByteForByte) {
  Document doc;
  doc.header.e_title = "Hop";
  doc.header.e_genre = "BASIC";
  doc.header.e_art = "Ann";
  doc.AddObject(1, 0, 1);
  doc.AddObject(3, 48, 1);
  doc.AddObject(8, 48, 1);
  doc.AddObject(5, 200, 1);  // off the 12-tick grid, but it still sets the measure count
  EXPECT_EQ(ExportDdrvText(doc), Lines({"#TITLE Hop", "#BASIC", "#COMMENT Ann", "#000:1000A00000000000",
                                        "$000:", "#001:0000000000000000", "$001:", "#002:0000000000000000", "$002:"}));
}

TEST(DdrvExport, HeaderAndSidesFollowThePlayMode) {
  struct Case {
    const char* name;
    int mode;
    std::vector<std::tuple<int, int>> objects;  // lane, pos
    std::vector<std::string> mcom;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"empty chart", 0, {}, {}, {"#TITLE ", "#", "#COMMENT ", "#000:0000000000000000", "$000:"}},
      {"second side in 1Player stays off the $ line",
       0,
       {{10, 0}, {17, 12}, {1, 24}},
       {},
       {"#TITLE ", "#", "#COMMENT ", "#000:0010000000000000", "$000:", "#001:0000000000000000", "$001:"}},
      {"2Player writes the second side",
       1,
       {{10, 0}, {12, 12}, {14, 24}, {17, 36}, {17, 180}},
       {},
       {"#TITLE ", "#", "#TWOPLAY", "#COMMENT ", "#000:0000000000000000", "$000:1248000000000008"}},
      {"Double Play, and mcom lines after the header, an #MSD value behind its keyword",
       2,
       {{1, 180}, {12, 0}},
       {"120", "#LNTYPE 1"},
       {"#TITLE ", "#", "#DOUBLE", "#COMMENT ", "#MSD 120", "#LNTYPE 1", "#000:0000000000000001", "$000:2000000000000000",
        "#001:0000000000000000", "$001:0000000000000000"}},
      {"the second side's last arrow is written past the first side's end",
       1,
       {{1, 0}, {10, 384}, {11, 960}},
       {},
       {"#TITLE ", "#", "#TWOPLAY", "#COMMENT ", "#000:1000000000000000", "$000:0000000000000000",
        "#001:0000000000000000", "$001:0000000000000000", "#002:0000000000000000", "$002:1000000000000000"}},
      {"the tempo lane counts for the measure count, other lanes are left out",
       0,
       {{0, 193}, {2, 192}, {4, 192}, {22, 0}},
       {},
       {"#TITLE ", "#", "#COMMENT ", "#000:0000000000000000", "$000:", "#001:0000000000000000",
        "$001:", "#002:0000000000000000", "$002:"}},
  };
  for (const Case& c : cases) {
    Document doc;
    doc.header.cbpmode = c.mode;
    doc.mcom = c.mcom;
    for (const auto& [lane, pos] : c.objects) doc.AddObject(lane, pos, 1);
    EXPECT_EQ(ExportDdrvText(doc), Lines(c.expected)) << c.name;
  }
}

TEST(DdrvExport, LastMeasureNeverNeedsFourDigits) {
  Document doc;
  doc.AddObject(1, 999 * 192 + 12, 1);
  const std::string text = ExportDdrvText(doc);
  EXPECT_NE(text.find("#999:0100000000000000\r\n$999:\r\n"), std::string::npos);
  EXPECT_EQ(text.find("1000:"), std::string::npos);
}

TEST(DdrvExport, Utf8ChartIsWrittenAsCp932) {
  Document doc;
  doc.encoding = TextEncoding::Utf8;
  doc.header.e_title = "曲";
  const std::string text = ExportDdrvText(doc);
  EXPECT_EQ(text.substr(0, 11), std::string("#TITLE \x8B\xC8\r\n"));
}

TEST(DdrvImport, StepLinesGiveObjects) {
  const std::vector<std::pair<std::string, std::vector<LanePos>>> cases = {
      {"#004:1000", {{1, 768}}},
      {"#004:12481248", {{1, 768}, {3, 792}, {5, 816}, {8, 840}, {1, 864}, {3, 888}, {5, 912}, {8, 936}}},
      {"#000:C", {{5, 0}, {8, 0}}},
      {"#000:F", {{1, 0}, {3, 0}, {5, 0}, {8, 0}}},
      {"#000:a", {{3, 0}, {8, 0}}},
      {"$010:8", {{17, 1920}}},
      {"x001:0F", {{10, 288}, {12, 288}, {14, 288}, {17, 288}}},
      {"#001:111", {{1, 192}, {1, 256}, {1, 320}}},  // any step count, spread by truncating division
      {"#000:1111111", {{1, 0}, {1, 27}, {1, 54}, {1, 82}, {1, 109}, {1, 137}, {1, 164}}},
      {"#001:1G1", {{1, 192}}},  // a bad step ends the line, the steps before it stay
      {"#001: 1", {}},           // the untrimmed line is read, so a leading blank ends it
      {"#001:1  ", {{1, 192}}},
      {"", {}},
      {"#01:1", {}},
      {"#0x1:1", {}},
      {"#-01:1", {}},
      {"#999:1", {{1, 191808}}},
      {"#001:", {}},
  };
  for (const auto& [line, expected] : cases) {
    Document doc;
    ImportDdrvBytes(doc, line + "\r\n");
    EXPECT_EQ(Objects(doc), expected) << line;
    for (const TBmsObject& o : doc.ObjList) EXPECT_EQ(o.Value, 1) << line;
  }
}

TEST(DdrvImport, HeaderLines) {
  Document doc;
  doc.mcom = {"old"};
  ImportDdrvBytes(doc,
                  "#TITLE   Song  \r\n#comment\tAnn B \r\n#MANIAC\r\n#BASIC\r\n#TWOPLAY\r\n#MSD  7.5 \r\n#MSD\r\n");
  EXPECT_EQ(doc.header.e_title, "Song");
  EXPECT_EQ(doc.header.e_art, "Ann B");
  EXPECT_EQ(doc.header.e_genre, "BASIC");  // the last keyword met
  EXPECT_EQ(doc.header.cbpmode, 1);
  EXPECT_EQ(doc.mcom, (std::vector<std::string>{"7.5", ""}));
  EXPECT_TRUE(doc.ObjList.empty());

  Document other;
  other.header.cbpmode = 2;
  ImportDdrvBytes(other, "#title lower\n#ANOTHER\n");
  EXPECT_EQ(other.header.e_title, "lower");
  EXPECT_EQ(other.header.e_genre, "ANOTHER");
  EXPECT_EQ(other.header.cbpmode, 0);  // no mode keyword: 1Player

  Document doubled;
  ImportDdrvBytes(doubled, "#DOUBLE\r\n");
  EXPECT_EQ(doubled.header.cbpmode, 2);
}

TEST(DdrvImport, AllDifficultiesLandInOneChart) {
  Document doc;
  ImportDdrvBytes(doc, "#BASIC\r\n#000:1\r\n#MANIAC\r\n#000:2\r\n");
  EXPECT_EQ(Objects(doc), (std::vector<LanePos>{{1, 0}, {3, 0}}));
  EXPECT_EQ(doc.header.e_genre, "MANIAC");
}

TEST(DdrvImport, MissingFileLeavesTheDocumentAlone) {
  test::TempDir dir;
  Document doc;
  std::string error;
  EXPECT_FALSE(ImportDdrvFile(doc, dir.file("none.ddr"), &error));
  EXPECT_NE(error.find("none.ddr"), std::string::npos);
  EXPECT_TRUE(doc.ObjList.empty());
  EXPECT_EQ(doc.header, HeaderFields{});
}

TEST(DdrvRoundTrip, ExportThenImportGivesTheChartBack) {
  for (const int mode : {0, 1, 2}) {
    Document doc;
    doc.header.e_title = "\x82\xA0\x82\xA2 Title";  // CP932 bytes stay as they are
    doc.header.e_art = "Ann";
    doc.header.e_genre = "MANIAC";
    doc.header.cbpmode = mode;
    const int lanes[] = {1, 3, 5, 8, 10, 12, 14, 17};
    int pos = 0;
    for (int round = 0; round < 3; ++round) {
      for (const int lane : lanes) {
        doc.AddObject(lane, pos, 1);
        pos += 36;
      }
    }
    doc.AddObject(1, pos, 1);  // the first side reaches past the second
    // #MSD values that would read back as steps, a header line or nothing.
    doc.mcom = {"5000:0000000000000001", "#000:1020", "#MSD 3", "#title x", "7.5"};
    test::TempDir dir;
    const std::string path = dir.file("out.ddr");
    std::string error;
    ASSERT_TRUE(ExportDdrvFile(doc, path, &error)) << error;

    Document back;
    ASSERT_TRUE(ImportDdrvFile(back, path, &error)) << error;
    std::vector<LanePos> expected = Objects(doc);
    if (mode == 0) {
      std::erase_if(expected, [](const LanePos& lp) { return lp.first >= 10; });
    }
    std::vector<LanePos> got = Objects(back);
    std::sort(expected.begin(), expected.end(),
              [](auto a, auto b) { return std::tie(a.second, a.first) < std::tie(b.second, b.first); });
    std::sort(got.begin(), got.end(),
              [](auto a, auto b) { return std::tie(a.second, a.first) < std::tie(b.second, b.first); });
    EXPECT_EQ(got, expected) << "mode " << mode;
    EXPECT_EQ(back.header.e_title, doc.header.e_title);
    EXPECT_EQ(back.header.e_art, "Ann");
    EXPECT_EQ(back.header.e_genre, "MANIAC");
    EXPECT_EQ(back.header.cbpmode, mode);
    EXPECT_EQ(back.mcom, doc.mcom);
  }
}

}  // namespace
}  // namespace beatloom
