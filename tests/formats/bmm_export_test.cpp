#include "formats/bmm_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>
#include <vector>

#include "support/test_support.h"

namespace beatloom {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

// The two lines every sequence starts with, for the header the tests use.
const std::string kNameLine =
    "N\"Pop\",\"Go\",\"\x81\x99\x82\x98"
    "5\",\"Ann\"";

Document Chart(const std::vector<std::tuple<int, int, int>>& objects, std::vector<std::string> mcom = {}) {
  Document doc;
  doc.header.e_bpm = "120";
  doc.header.e_genre = "Pop";
  doc.header.e_title = "Go";
  doc.header.e_level = "5";
  doc.header.e_art = "Ann";
  doc.mcom = std::move(mcom);
  for (const auto& [lane, pos, value] : objects) doc.AddObject(lane, pos, value);
  return doc;
}

std::string Bmm(const Document& doc) {
  BmmExport files;
  std::string error;
  EXPECT_TRUE(BuildBmmExport(doc, files, &error)) << error;
  return files.bmm;
}

TEST(BmmExport, WritesTheTwelveLineExampleByteForByte) {
  const Document doc = Chart({{1, 96, 1}, {22, 192, 1}});
  EXPECT_EQ(Bmm(doc), Lines({"T41.50", kNameLine, "|", "48:", "@A,1", "96:A", "|", "0:a", "|", "|", "|", "*"}));
}

TEST(BmmExport, SequenceCases) {
  struct Case {
    const char* name;
    std::vector<std::tuple<int, int, int>> objects;  // lane, pos, value
    std::vector<std::string> mcom;
    std::vector<std::string> blocks;  // the lines between the third line and the closing lines
  };
  const std::vector<Case> cases = {
      {"same sound twice: one assignment", {{2, 100, 7}, {2, 300, 7}}, {}, {"50:", "@B,7", "100:B", "|", "108:B", "|"}},
      {"a new sound gets its own assignment",
       {{2, 100, 7}, {2, 300, 8}},
       {},
       {"50:", "@B,7", "100:B", "|", "8:", "@B,8", "108:B", "|"}},
      {"keys 6, 7 and the second side are not exported",
       {{6, 0, 1}, {10, 0, 1}, {9, 0, 1}, {5, 10, 3}},
       {},
       {"5:", "@E,3", "10:E", "|"}},
      {"scratch is F", {{8, 40, 2}}, {}, {"20:", "@F,2", "40:F", "|"}},
      {"background objects get no assignment",
       {{22, 0, 1}, {23, 0, 2}, {24, 0, 3}, {48, 4, 1}, {49, 5, 1}},
       {},
       {"0:a", "0:b", "0:c", "4:{", "5:|", "|"}},
      {"ties come out in the order of the exchange sort",
       {{22, 192, 1}, {23, 192, 1}, {24, 0, 1}},
       {},
       {"0:c", "|", "0:b", "0:a", "|"}},
      {"empty measures between give bare blocks", {{22, 0, 1}, {22, 600, 1}}, {}, {"0:a", "|", "|", "|", "24:a", "|"}},
      {"a shorter measure is rescaled and framed by B lines",
       {{1, 288, 1}, {22, 384, 1}},
       {"#00102:0.75"},
       {"132:", "@A,1", "|", "B144", "72:A", "|", "B192", "0:a", "|"}},
      {"a longer measure pushes a note into the next block",
       {{1, 160, 1}},
       {"#00002:1.5"},
       {"B288", "120:", "@A,1", "|", "B192", "48:A", "|"}},
      {"lines that are no measure lengths are skipped",
       {{1, 96, 1}},
       {"#LNTYPE 1", "#00003:2", "#abc02:2", "#00002:x", "#-0102:2", "#00002:1e30"},
       {"48:", "@A,1", "96:A", "|"}},
      {"a measure-length line with a blank before its value",
       {{1, 96, 1}},
       {"#00002 0.5"},
       {"B96", "24:", "@A,1", "48:A", "|"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> expected = {"T41.50", kNameLine, "|"};
    expected.insert(expected.end(), c.blocks.begin(), c.blocks.end());
    expected.insert(expected.end(), {"|", "|", "*"});
    EXPECT_EQ(Bmm(Chart(c.objects, c.mcom)), Lines(expected)) << c.name;
  }
}

TEST(BmmExport, NothingToExportWritesNoBlock) {
  const Document doc = Chart({{6, 0, 1}, {11, 0, 1}, {0, 0, 1}});
  EXPECT_EQ(Bmm(doc), Lines({"T41.50", kNameLine, "|", "|", "|", "*"}));
}

TEST(BmmExport, SoundListHasOneLinePerIndex) {
  Document doc = Chart({});
  doc.wav[1] = "kick.wav";
  doc.wav[3] = "\x83\x68.wav";
  BmmExport files;
  ASSERT_TRUE(BuildBmmExport(doc, files, nullptr));
  std::vector<std::string> expected(255, "_");
  expected[0] = "kick.wav";
  expected[2] = "\x83\x68.wav";
  expected.push_back(".");
  EXPECT_EQ(files.bml, Lines(expected));
}

TEST(BmmExport, TempoLine) {
  const std::vector<std::pair<std::string, std::string>> good = {
      {"120", "T41.50"},
      {"150", "T33.20"},
      {"60", "T83.00"},
      {"7", "T711.43"},
      {" 180.5 ", "T27.59"},
      {"39840", "T00.13"},
      {"9999", "T00.50"},
      // quotients whose exact decimal is a tie go away from zero, whichever
      // side of the tie their binary value lies
      {"800", "T06.23"},
      {"12000", "T00.42"},
      {"318.72", "T15.63"},
      {"2400", "T02.08"},
      {"-800", "T-06.23"}};
  for (const auto& [tempo, line] : good) {
    Document doc = Chart({});
    doc.header.e_bpm = tempo;
    EXPECT_EQ(Bmm(doc).substr(0, line.size() + 2), line + "\r\n") << tempo;
  }
  for (const std::string tempo : {"abc", "0", "", "0.0", "12x"}) {
    Document doc = Chart({{1, 0, 1}});
    doc.header.e_bpm = tempo;
    BmmExport files;
    std::string error;
    EXPECT_FALSE(BuildBmmExport(doc, files, &error)) << tempo;
    EXPECT_NE(error.find("テンポ"), std::string::npos) << tempo;
  }
}

TEST(BmmExport, FilesLandBesideTheChart) {
  test::TempDir dir;
  EXPECT_EQ(BmmFileName(dir.file("song.bms"), "BML"), dir.file("song.BML"));
  EXPECT_EQ(BmmFileName("a.bme", "BMM"), "a.BMM");

  const Document doc = Chart({{1, 96, 1}, {22, 192, 1}});
  std::string error;
  ASSERT_TRUE(ExportBmmFiles(doc, dir.file("song.bms"), &error)) << error;
  BmmExport files;
  ASSERT_TRUE(BuildBmmExport(doc, files, nullptr));
  EXPECT_EQ(test::ReadFile(dir.file("song.BML")), files.bml);
  EXPECT_EQ(test::ReadFile(dir.file("song.BMM")), files.bmm);
}

TEST(BmmExport, BadTempoWritesNeitherFile) {
  test::TempDir dir;
  test::WriteFile(dir.file("song.BMM"), "old");
  Document doc = Chart({{1, 96, 1}});
  doc.header.e_bpm = "fast";
  std::string error;
  EXPECT_FALSE(ExportBmmFiles(doc, dir.file("song.bms"), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::ReadFile(dir.file("song.BMM")), "old");
  EXPECT_FALSE(std::ifstream(dir.file("song.BML")).good());
}

}  // namespace
}  // namespace beatloom
