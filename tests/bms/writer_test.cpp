#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "edit/name_lists.h"
#include "edit/recent_files.h"
#include "model/file_io.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

// The data lines of the main data field (everything after its caption line,
// without the empty separator lines).
std::vector<std::string> DataLines(const Document& d, const SaveOptions& o = {}) {
  const std::string text = WriteBmsText(d, o);
  const size_t at = text.find("*---------------------- MAIN DATA FIELD\r\n");
  std::vector<std::string> out;
  for (std::string_view line : SplitLines(std::string_view(text).substr(at))) {
    if (!line.empty() && line[0] == '#') out.emplace_back(line);
  }
  return out;
}

TEST(Writer, ChoosesTheCoarsestExactResolution) {
  struct Case {
    std::vector<int> offsets;
    int minCells;
    std::string line;
  } cases[] = {
      {{0}, 1, "#00111:01"},
      {{0}, 4, "#00111:01000000"},
      {{0, 64}, 1, "#00111:010100"},
      {{0, 32}, 1, "#00111:010100000000"},
      {{0, 24}, 1, "#00111:0101000000000000"},
      {{96}, 3, "#00111:00000100"},  // fewer than 3 cells are not allowed; 4 hold 96
      {{0, 64}, 4, "#00111:010001000000"},
  };
  for (const Case& c : cases) {
    Document d;
    for (int off : c.offsets) d.AddObject(1, 192 + off, 1);
    SaveOptions o;
    o.minCells = c.minCells;
    EXPECT_EQ(DataLines(d, o), std::vector<std::string>{c.line}) << c.line;
  }
  Document d;
  d.AddObject(1, 192 + 1, 0xAB);
  const auto lines = DataLines(d);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), 7u + 384u);
  EXPECT_EQ(lines[0].substr(7, 4), "00AB");
}

TEST(Writer, ColumnsAndChannels) {
  struct Case {
    int lane, hidden;
    const char* line;
  } cases[] = {
      {0, 0, "#00003:78"},  {1, 0, "#00011:78"},  {6, 0, "#00018:78"},  {7, 0, "#00019:78"},  {8, 0, "#00016:78"},
      {9, 0, "#00017:78"},  {8, 1, "#00036:78"},  {6, 1, "#00038:78"},  {10, 0, "#00021:78"}, {15, 0, "#00028:78"},
      {17, 0, "#00026:78"}, {17, 1, "#00046:78"}, {19, 0, "#00004:78"}, {20, 0, "#00007:78"}, {21, 0, "#00006:78"},
      {22, 0, "#00001:78"}, {22, 1, "#00001:78"},  // a hidden mark on a background lane is not lost
  };
  for (const Case& c : cases) {
    Document d;
    d.ObjList[d.AddObject(c.lane, 0, 0x78)].Hidden = static_cast<uint8_t>(c.hidden);
    // An invisible-note line comes after the 28 background columns, each
    // empty one standing as a placeholder line.
    const auto lines = DataLines(d);
    EXPECT_EQ(lines.back(), c.line) << c.lane << "/" << c.hidden;
    EXPECT_EQ(lines.size(), c.hidden && c.lane < 19 ? 29u : 1u) << c.lane << "/" << c.hidden;
  }
}

TEST(Writer, MeasureOrderOfColumns) {
  Document d;
  const int lanes[] = {22, 1, 0, 9, 8, 10, 19, 21, 20};
  for (int lane : lanes) d.AddObject(lane, 0, 1);
  d.ObjList[d.AddObject(1, 0, 2)].Hidden = 1;  // stands beside the visible lane-1 note
  d.RemoveDuplicates();
  std::vector<std::string> expected = {"#00003:01", "#00011:01", "#00016:01", "#00017:01", "#00021:01",
                                       "#00004:01", "#00007:01", "#00006:01", "#00001:01"};
  expected.insert(expected.end(), 27, "#00001:00");
  expected.push_back("#00031:02");
  EXPECT_EQ(DataLines(d), expected);
}

TEST(Writer, BackgroundPlaceholdersKeepTheLanes) {
  Document d;
  d.AddObject(22, 192, 1);
  d.AddObject(25, 192, 2);
  d.AddObject(25, 0, 3);
  EXPECT_EQ(DataLines(d), (std::vector<std::string>{"#00001:00", "#00001:00", "#00001:00", "#00001:03", "#00101:01",
                                                    "#00101:00", "#00101:00", "#00101:02"}));
  Document back;
  Log log;
  LoadBmsBytes(back, WriteBmsText(d, {}), "f", log);
  ASSERT_EQ(back.ObjList.size(), 3u);
  std::multiset<std::pair<int, int>> lanes;
  for (auto& o : back.ObjList) lanes.insert({o.Lane, o.Pos});
  EXPECT_EQ(lanes, (std::multiset<std::pair<int, int>>{{25, 0}, {22, 192}, {25, 192}}));

  // Placeholders above the highest lane appear only when a later column writes.
  Document h;
  h.AddObject(22, 0, 1);
  h.ObjList[h.AddObject(1, 0, 1)].Hidden = 1;
  const auto lines = DataLines(h);
  ASSERT_EQ(lines.size(), 2u + 27u);
  EXPECT_EQ(lines.back(), "#00031:01");
}

TEST(Writer, PackingMovesBackgroundObjectsDown) {
  Document d;
  d.AddObject(22, 192, 1);
  d.AddObject(25, 192, 2);
  d.AddObject(30, 0, 3);
  d.AddObject(27, 0, 4);
  PackBgmLanes(d);
  std::vector<int> lanes;
  for (auto& o : d.ObjList) lanes.push_back(o.Lane);
  EXPECT_EQ(lanes, (std::vector<int>{22, 23, 22, 23}));
  SaveOptions o;
  o.keepLayout = false;
  EXPECT_EQ(DataLines(d, o), (std::vector<std::string>{"#00001:03", "#00001:04", "#00101:01", "#00101:02"}));
}

TEST(Writer, WholeFileLayout) {
  Document d;  // empty header fields still give their lines
  EXPECT_EQ(WriteBmsText(d, {}),
            "\r\n*---------------------- HEADER FIELD\r\n#PLAYER 1\r\n#GENRE \r\n#TITLE \r\n#ARTIST \r\n#BPM 120\r\n"
            "#STAGEFILE \r\n%EMAIL \r\n%URL \r\n\r\n\r\n\r\n\r\n*---------------------- MAIN DATA FIELD\r\n\r\n");
}

TEST(Writer, HeaderLinesAndTheirConditions) {
  // Each row changes one thing in a new chart and names the header lines that
  // must then stand between "#ARTIST " and "#STAGEFILE ".
  const struct {
    void (*change)(HeaderFields&);
    const char* player;  // the #PLAYER line, empty for none
    const char* lines;
  } cases[] = {
      {[](HeaderFields&) {}, "#PLAYER 1\r\n", "#BPM 120\r\n"},
      {[](HeaderFields& h) { h.e_bpm.clear(); }, "#PLAYER 1\r\n", ""},
      {[](HeaderFields& h) { h.cbpmode = 2; }, "#PLAYER 3\r\n", "#BPM 120\r\n"},
      {[](HeaderFields& h) { h.cbpmode = -1; }, "", "#BPM 120\r\n"},
      {[](HeaderFields& h) { h.cbrank = -1; }, "#PLAYER 1\r\n", "#BPM 120\r\n"},
      {[](HeaderFields& h) { h.cbrank = 1; }, "#PLAYER 1\r\n", "#BPM 120\r\n#RANK 0\r\n"},
      {[](HeaderFields& h) { h.cbrank = 4; }, "#PLAYER 1\r\n", "#BPM 120\r\n#RANK 3\r\n"},
      {[](HeaderFields& h) {
         h.e_midif = "m.mid";
         h.e_level = "5";
         h.cbrank = 3;
         h.e_volwav = "80";
         h.e_total = "300";
       },
       "#PLAYER 1\r\n", "#BPM 120\r\n#MIDIFILE m.mid\r\n#PLAYLEVEL 5\r\n#RANK 2\r\n#VOLWAV 80\r\n#TOTAL 300\r\n"},
  };
  for (const auto& c : cases) {
    Document d;
    d.header.e_genre = "G";
    d.header.e_title = "T";
    d.header.e_art = "A";
    d.header.E_Stagefile = "s.png";
    d.header.E_Email = "e@x";
    d.header.E_URL = "http://u";
    c.change(d.header);
    const std::string expected = std::string("\r\n*---------------------- HEADER FIELD\r\n") + c.player +
                                 "#GENRE G\r\n#TITLE T\r\n#ARTIST A\r\n" + c.lines +
                                 "#STAGEFILE s.png\r\n%EMAIL e@x\r\n%URL http://u\r\n\r\n";
    const std::string text = WriteBmsText(d, {});
    EXPECT_EQ(text.substr(0, expected.size()), expected) << c.lines;
  }
}

TEST(Writer, MemoLineWithAByteOrderMarkSurvives) {
  for (const bool bom : {false, true}) {
    Document d;
    d.hasBom = bom;
    d.mmemo = {"\xEF\xBB\xBF#PLAYER 3", "next"};
    Document back;
    Log log;
    LoadBmsBytes(back, WriteBmsText(d, {}), "f", log);
    EXPECT_EQ(back.mmemo, d.mmemo) << bom;
    EXPECT_EQ(back.header.cbpmode, 0) << bom;
  }
}

// #SUBTITLE and the other optional header lines are fields: each is written
// back after the header line it followed, a new one after #PLAYLEVEL, and one
// inside a conditional block stays text.
TEST(Writer, OptionalHeaderLinesStayWhereTheChartHadThem) {
  struct Case {
    std::string file;
    void (*edit)(HeaderFields&);
    std::vector<std::string> written;  // runs of header lines, in order
  } cases[] = {
      {"#SUBARTIST a\r\n#TITLE t\r\n#SUBTITLE [A]\r\n#PLAYLEVEL 3\r\n#DIFFICULTY 9\r\n#SUBARTIST b\r\n"
       "#WAV01 a.wav\r\n#BANNER b.png\r\n#PREVIEW p.ogg\r\n#IF 1\r\n#LNTYPE 2\r\n#ENDIF\r\n",
       [](HeaderFields&) {},
       {"HEADER FIELD\r\n#SUBARTIST a\r\n#SUBARTIST b\r\n#PLAYER 1\r\n", "#TITLE t\r\n#SUBTITLE [A]\r\n#ARTIST",
        "#PLAYLEVEL 3\r\n#DIFFICULTY 9\r\n#STAGEFILE",
        "\r\n\r\n\r\n#BANNER b.png\r\n#PREVIEW p.ogg\r\n#IF 1\r\n#LNTYPE 2\r\n"}},
      {"#PLAYLEVEL 3\r\n#TOTAL 300\r\n#BACKBMP k.bmp\r\n",
       [](HeaderFields& h) {
         h.e_lntype = "1";
         h.e_difficulty = "2";
         h.e_backbmp.clear();
       },
       {"#PLAYLEVEL 3\r\n#DIFFICULTY 2\r\n#LNTYPE 1\r\n#TOTAL 300\r\n#STAGEFILE"}},
  };
  for (const Case& c : cases) {
    Document d;
    Log log;
    LoadBmsBytes(d, c.file, "f", log);
    c.edit(d.header);
    const std::string text = WriteBmsText(d, {});
    size_t at = 0;
    for (const std::string& run : c.written) {
      at = text.find(run, at);
      ASSERT_NE(at, std::string::npos) << run << "\n" << text;
    }
    Document back;
    LoadBmsBytes(back, text, "f", log);
    EXPECT_EQ(back.header.e_subartist, d.header.e_subartist);
    EXPECT_EQ(WriteBmsText(back, {}), text);
  }
}

TEST(Writer, KeptLinesGoWhereTheyBelong) {
  Document d;
  d.mcom = {"#LNTYPE 1", "#00105:01", "#IF 1", "#00211:01", "#ENDIF", "#-0111:01", "x001 text", "#00902:x"};
  d.AddObject(1, 192, 1);
  const std::string text = WriteBmsText(d, {});
  EXPECT_NE(text.find("#BPM 120\r\n#STAGEFILE \r\n%EMAIL \r\n%URL \r\n\r\n\r\n\r\n#LNTYPE 1\r\n#-0111:01\r\n"
                      "x001 text\r\n#IF 1\r\n#00211:01\r\n#ENDIF\r\n\r\n*---------------------- MAIN DATA FIELD"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("#00111:01\r\n\r\n#00105:01\r\n"), std::string::npos) << text;
  // The range reaches the last measure any kept line names.
  EXPECT_NE(text.find("\r\n\r\n#00902:x\r\n"), std::string::npos) << text;
  d.mcom = {"#IF 1", "#00211:01"};  // an #IF left open is closed before the data
  EXPECT_NE(WriteBmsText(d, {}).find("#00211:01\r\n#ENDIF\r\n\r\n*----"), std::string::npos);
}

TEST(Writer, MeasureLengthsInShortestForm) {
  Document d;
  d.MeasureLen[0] = 0.75;
  d.MeasureLen[1] = 1.5;
  d.MeasureLen[2] = 2;
  d.MeasureLen[5] = 0.1;
  d.MeasureLen[6] = 1e-5;
  const auto lines = DataLines(d);
  EXPECT_EQ(lines, (std::vector<std::string>{"#00002:0.75", "#00102:1.5", "#00202:2", "#00502:0.1", "#00602:1E-5"}));
  Document back;
  Log log;
  LoadBmsBytes(back, WriteBmsText(d, {}), "f", log);
  EXPECT_EQ(back.MeasureLen, d.MeasureLen);
}

TEST(Writer, MinCellsText) {
  const std::pair<const char*, int> cases[] = {{"1", 1}, {"4", 4}, {"x", 1}, {"", 1}, {"-3", -3}, {"999", 999}};
  for (auto& [text, value] : cases) EXPECT_EQ(ParseMinCells(text), value) << text;
  Document d;
  d.AddObject(1, 0, 1);
  SaveOptions o;
  o.minCells = 999;
  EXPECT_EQ(DataLines(d, o)[0].size(), 7u + 384u);
}

TEST(SaveBmsFile, ReplacesTheFileAndUpdatesTheLists) {
  test::TempDir dir;
  const std::string path = dir.file("song.bms");
  test::WriteFile(path, "old");
  Document d;
  d.header.e_art = "New Artist";
  d.AddObject(1, 0, 1);
  d.AddObject(1, 0, 2);
  d.Modified = true;
  std::vector<std::string> artists = {"Someone"}, genres;
  SaveSideEffects fx{dir.path(), &artists, &genres};
  Log log;
  std::string error;
  const Document before = d;
  ASSERT_TRUE(SaveBmsFile(d, path, {}, log, &error)) << error;
  RecordSavedChart(d, path, fx);
  EXPECT_TRUE(d.ObjList == before.ObjList && d.Modified) << "the writer only reads the chart";
  Document tidied = d;
  TidyForSave(tidied, {});
  ASSERT_EQ(tidied.ObjList.size(), 1u);
  EXPECT_EQ(test::ReadFile(path), WriteBmsText(tidied, {})) << "the file holds no duplicate";
  EXPECT_EQ(artists, (std::vector<std::string>{"New Artist", "Someone"}));
  std::vector<std::string> stored;
  ASSERT_TRUE(ReadLinesFile(dir.file("BTLM ArtistList.txt"), stored));
  EXPECT_EQ(stored, artists);
  EXPECT_FALSE(FileExists(dir.file("BTLM GenreList.txt")));  // empty genre: nothing to remember
  EXPECT_EQ(LoadRecentFiles(dir.path()), std::vector<std::string>{path});
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"filename:" + path, "正常に保存が完了しました。"}));
}

TEST(SaveBmsFile, WorkingCopiesTouchNothingElse) {
  test::TempDir dir;
  Document d;
  d.DocumentIO = false;
  d.Modified = true;
  d.header.e_art = "A";
  std::vector<std::string> artists, genres;
  SaveSideEffects fx{dir.path(), &artists, &genres};
  Log log;
  ASSERT_TRUE(SaveBmsFile(d, dir.file("workcode"), {}, log, nullptr));
  RecordSavedChart(d, dir.file("workcode"), fx);
  EXPECT_TRUE(d.Modified);
  EXPECT_TRUE(artists.empty());
  EXPECT_TRUE(LoadRecentFiles(dir.path()).empty());
}

TEST(SaveBmsFile, FailureLeavesTheOldFileAndTheModifiedMark) {
  test::TempDir dir;
  const std::string folder = dir.file("locked");
  mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/song.bms";
  test::WriteFile(path, "precious");
  chmod(path.c_str(), 0444);  // a writable chart would be saved in place
  chmod(folder.c_str(), 0555);
  const bool rootCanWriteAnyway = access(folder.c_str(), W_OK) == 0;
  Document d;
  d.Modified = true;
  Log log;
  std::string error;
  const std::string target = rootCanWriteAnyway ? dir.path() : path;  // a folder cannot be replaced by a file
  EXPECT_FALSE(SaveBmsFile(d, target, {}, log, &error));
  EXPECT_EQ(error.rfind("保存でエラーが生じました", 0), 0u);
  EXPECT_TRUE(d.Modified);
  EXPECT_EQ(test::ReadFile(path), "precious");
  EXPECT_EQ(log.Lines().size(), 1u);  // nothing reported as completed
}

TEST(SaveBmsFile, PacksTheFileNotTheChart) {
  test::TempDir dir;
  Document d;
  d.AddObject(25, 0, 1);
  d.AddObject(30, 192, 2);
  SaveOptions pack;
  pack.keepLayout = false;
  Log log;
  std::string error;
  EXPECT_FALSE(SaveBmsFile(d, dir.path(), pack, log, &error));  // a folder is no file
  EXPECT_EQ(d.ObjList[0].Lane, 25);
  EXPECT_EQ(d.ObjList[1].Lane, 30);
  ASSERT_TRUE(SaveBmsFile(d, dir.file("ok.bms"), pack, log, &error)) << error;
  EXPECT_EQ(d.ObjList[0].Lane, 25);
  EXPECT_EQ(d.ObjList[1].Lane, 30);
  Document packed = d;
  PackBgmLanes(packed);
  EXPECT_EQ(test::ReadFile(dir.file("ok.bms")), WriteBmsText(packed, pack));
}

// Only a place no line of a few million cells can hold is rounded, to the
// nearest cell of the longest line, and the log says so.
TEST(SaveBmsFile, RoundsOnlyWhatNoLineHoldsAndSaysSo) {
  test::TempDir dir;
  Document d;
  d.AddObject(1, 193, 1);
  SetOffset(d.ObjList[0], 1, 5000011);
  d.AddObject(1, 194, 2);
  SetOffset(d.ObjList[1], 1, 3);
  Log log;
  ASSERT_TRUE(SaveBmsFile(d, dir.file("a.bms"), {}, log, nullptr));
  EXPECT_EQ(std::count_if(log.Lines().begin(), log.Lines().end(),
                          [](const std::string& l) { return l.find("1 個のオブジェ") != std::string::npos; }),
            1);
  Document back;
  ASSERT_TRUE(LoadBmsFile(back, dir.file("a.bms"), log));
  ASSERT_EQ(back.ObjList.size(), 2u);
  EXPECT_NEAR(ExactTicks(back.ObjList[0]), 193.0, 192.0 / (1 << 22));
  EXPECT_EQ(ExactTicks(back.ObjList[1]), ExactTicks(d.ObjList[1]));
}

TEST(SaveBmsFile, SavingThroughALinkReplacesWhatItPointsTo) {
  test::TempDir dir;
  const std::string target = dir.file("real.bms");
  const std::string link = dir.file("link.bms");
  test::WriteFile(target, "old");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  Document d;
  d.AddObject(1, 0, 1);
  Log log;
  std::string error;
  ASSERT_TRUE(SaveBmsFile(d, link, {}, log, &error)) << error;
  struct stat st {};
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(test::ReadFile(target), WriteBmsText(d, {}));
}

TEST(SaveBmsFile, AWorkingFileReplacesALinkPlantedInItsPlace) {
  test::TempDir dir;
  test::WriteFile(dir.file("victim.bms"), "keep me");
  ASSERT_EQ(symlink(dir.file("victim.bms").c_str(), dir.file("workcode").c_str()), 0);
  Document d;
  d.AddObject(1, 0, 1);
  SaveOptions options;
  options.workingFile = true;
  Log log;
  ASSERT_TRUE(SaveBmsFile(d, dir.file("workcode"), options, log, nullptr));
  EXPECT_EQ(test::ReadFile(dir.file("victim.bms")), "keep me");
  EXPECT_EQ(test::ReadFile(dir.file("workcode")), WriteBmsText(d, {}));
}

TEST(NameLists, RememberOnlyNewNamesExactly) {
  const struct {
    std::vector<std::string> items;
    std::string name;
    std::vector<std::string> after;
    bool written;
  } cases[] = {
      {{"B", "C"}, "A", {"A", "B", "C"}, true},
      {{"B", "C"}, "C", {"B", "C"}, false},
      {{"B", "C"}, "c", {"c", "B", "C"}, true},  // the match is case-sensitive
      {{"B"}, "", {"B"}, false},
      {{}, "A", {"A"}, true},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    std::vector<std::string> items = c.items;
    RememberName(items, c.name, dir.path(), kGenreListFile);
    EXPECT_EQ(items, c.after) << c.name;
    std::vector<std::string> stored;
    EXPECT_EQ(ReadLinesFile(dir.file(kGenreListFile), stored), c.written) << c.name;
    EXPECT_EQ(stored, c.written ? c.after : std::vector<std::string>{}) << c.name;
  }
}

TEST(RecentFiles, MoveToTopIgnoringCaseAndKeepTen) {
  test::TempDir dir;
  for (int i = 0; i < 12; ++i) PushRecentFile(dir.path(), "/c/" + std::to_string(i) + ".bms");
  PushRecentFile(dir.path(), "/C/5.BMS");
  const auto list = LoadRecentFiles(dir.path());
  ASSERT_EQ(list.size(), 10u);
  EXPECT_EQ(list[0], "/C/5.BMS");
  EXPECT_EQ(list[1], "/c/11.bms");
  EXPECT_EQ(std::count(list.begin(), list.end(), "/c/5.bms"), 0);
}

}  // namespace
}  // namespace beatloom
