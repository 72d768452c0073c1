#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "bms/file_kinds.h"
#include "model/file_io.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

struct Loaded {
  Document doc;
  Log log;
};

// Loads text as a file would be, with CR LF line ends between the given lines.
std::unique_ptr<Loaded> Load(const std::vector<std::string>& lines) {
  auto l = std::make_unique<Loaded>();
  std::string bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  LoadBmsBytes(l->doc, bytes, "t.bms", l->log);
  return l;
}

using Obj = std::tuple<int, int, int, int>;  // lane, pos, value, hidden
std::vector<Obj> Objects(const Document& d) {
  std::vector<Obj> out;
  for (const auto& o : d.ObjList) out.emplace_back(o.Lane, o.Pos, o.Value, o.Hidden);
  return out;
}

TEST(Reader, DataLinesGoToTheirLanesAndPositions) {
  struct Case {
    const char* line;
    std::vector<Obj> objects;
  } cases[] = {
      {"#00111:01000200", {{1, 192, 1, 0}, {1, 288, 2, 0}}},
      {"#00116:01", {{8, 192, 1, 0}}},
      {"#00118:01", {{6, 192, 1, 0}}},
      {"#00136:01", {{8, 192, 1, 1}}},
      {"#00146:0a", {{17, 192, 10, 1}}},
      {"#00229:FF", {{16, 384, 255, 0}}},
      {"#00003:B4", {{0, 0, 180, 0}}},
      {"#00004:01", {{19, 0, 1, 0}}},
      {"#00007:01", {{20, 0, 1, 0}}},
      {"#00006:01", {{21, 0, 1, 0}}},
      // Between two ticks an object stands at the tick before its place.
      {"#00011:01010101010101", {{1, 0, 1, 0}, {1, 27, 1, 0}, {1, 54, 1, 0}, {1, 82, 1, 0}, {1, 109, 1, 0},
                                  {1, 137, 1, 0}, {1, 164, 1, 0}}},
      {"#00011:0101010101", {{1, 0, 1, 0}, {1, 38, 1, 0}, {1, 76, 1, 0}, {1, 115, 1, 0}, {1, 153, 1, 0}}},
      {"#00011:010101", {{1, 0, 1, 0}, {1, 64, 1, 0}, {1, 128, 1, 0}}},
      {"#00011:0101  ", {{1, 0, 1, 0}, {1, 96, 1, 0}}},  // trailing blanks are no cells
      // A trailing odd character is no cell: ignored, whatever it is.
      {"#00111:010", {{1, 192, 1, 0}}},
      {"#00111:01020", {{1, 192, 1, 0}, {1, 288, 2, 0}}},
      {"#00111:0102z", {{1, 192, 1, 0}, {1, 288, 2, 0}}},
      {"#00111:0", {}},
      {"#00101:030", {{22, 192, 3, 0}}},
      {"#99911:01", {{1, 999 * 192, 1, 0}}},
  };
  for (const Case& c : cases) {
    auto l = Load({c.line});
    EXPECT_EQ(Objects(l->doc), c.objects) << c.line;
    EXPECT_TRUE(l->doc.mcom.empty()) << c.line;
  }
}

TEST(Reader, CellPositionsKeepTheirHalves) {
  std::string line = "#00011:";
  for (int i = 0; i < 128; ++i) line += "01";
  auto l = Load({line});
  ASSERT_EQ(l->doc.ObjList.size(), 128u);
  const double expected[] = {0, 1.5, 3, 4.5, 6, 7.5, 9, 10.5, 12};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(ExactTicks(l->doc.ObjList[i]), expected[i]) << i;
}

TEST(Reader, HeaderKeywordsAndDefinitions) {
  auto l = Load({"#title My Song", "#GENRE  Trance ", "#ARTIST x", "#BPM 150", "#PLAYLEVEL 7", "#TOTAL 250",
                 "#VOLWAV 80", "#MIDIFILE a.mid", "#STAGEFILE s.jpg", "%EMAIL me@x", "%URL http://x",
                 "#WAV0a kick.wav", "#BMP00 bg.bmp", "#WAV01  lead.wav", "#PLAYER 3", "#RANK 2"});
  const HeaderFields& h = l->doc.header;
  EXPECT_EQ(h.e_title, "My Song");
  EXPECT_EQ(h.e_genre, "Trance");
  EXPECT_EQ(h.e_art, "x");
  EXPECT_EQ(h.e_bpm, "150");
  EXPECT_EQ(h.e_level, "7");
  EXPECT_EQ(h.e_total, "250");
  EXPECT_EQ(h.e_volwav, "80");
  EXPECT_EQ(h.e_midif, "a.mid");
  EXPECT_EQ(h.E_Stagefile, "s.jpg");
  EXPECT_EQ(h.E_Email, "me@x");
  EXPECT_EQ(h.E_URL, "http://x");
  EXPECT_EQ(h.cbpmode, 2);
  EXPECT_EQ(h.cbrank, 3);
  EXPECT_EQ(l->doc.wav[10], "kick.wav");
  EXPECT_EQ(l->doc.wav[1], " lead.wav");  // exactly one separator is skipped
  EXPECT_EQ(l->doc.bmp[0], "bg.bmp");
  EXPECT_TRUE(l->doc.mcom.empty());
  EXPECT_TRUE(l->doc.mmemo.empty());
}

TEST(Reader, LinesTheModelCannotHoldAreKeptVerbatim) {
  struct Case {
    const char* line;
    bool logged;
    int cbrank = 0;
    int cbpmode = 0;
  } cases[] = {
      {"#WAV00 mine.wav", false},
      {"#BPM00 150", false},  // index 00 names nothing
      {"#LNOBJ ZZ", false},
      {"#SUBTITLEX x", false},  // no keyword of ours
      {"#PLAYERS x", false},
      {"#PLAYER x", false},
      {"#PLAYER 4", false, 0, -1},
      {"#RANK 7", false, -1, 0},
      {"#00105:01", true},       // channel 05 is not ours
      {"#00150:01", true},
      {"#00111:01z!02", true},   // a malformed cell: no object at all
      {"#-0111:01", true},       // no measure we can hold
      {"#00102:x", false},       // length 1.0, line kept
      {"#00102:1e999", false},   // no finite length either
      {"#WAVZ! a.wav", true},
      {"#RANK high", true},
  };
  for (const Case& c : cases) {
    auto l = Load({c.line});
    EXPECT_EQ(l->doc.mcom, std::vector<std::string>{c.line}) << c.line;
    EXPECT_TRUE(l->doc.ObjList.empty()) << c.line;
    EXPECT_EQ(l->doc.header.e_bpm, "120") << c.line;
    EXPECT_EQ(l->doc.header.cbrank, c.cbrank) << c.line;
    EXPECT_EQ(l->doc.header.cbpmode, c.cbpmode) << c.line;
    for (double len : l->doc.MeasureLen) ASSERT_EQ(len, 1.0) << c.line;
    EXPECT_EQ(l->log.Lines().size(), c.logged ? 4u : 3u) << c.line;
  }
}

TEST(Reader, LogMessagesNameTheLine) {
  auto l = Load({"#TITLE a", "", "#00105:01", "#RANK q"});
  const auto& lines = l->log.Lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Line0003:使用禁止記述  #00105:01");
  EXPECT_EQ(lines[1], "Line0004：解析失敗。スキップします：#RANK q");
  EXPECT_EQ(lines[2], "ファイルのクローズt.bms");
  EXPECT_EQ(lines[3], "処理は正常に終了しましたt.bms");
  EXPECT_EQ(lines[4], "オブジェ総数:0");
  EXPECT_TRUE(l->log.ShowRequested());
}

TEST(Reader, MemoCommentsAndMeasureLength) {
  auto l = Load({"hello", "*- comment", "#00102:0.75", "  indented", "%OTHER"});
  EXPECT_EQ(l->doc.mmemo, (std::vector<std::string>{"hello", "  indented", "%OTHER"}));
  EXPECT_EQ(l->doc.MeasureLen[1], 0.75);
  EXPECT_TRUE(l->doc.mcom.empty());
}

TEST(Reader, BackgroundLinesTakeSuccessiveLanes) {
  auto l = Load({"#00201:01", "#00201:02", "#00201:00", "#00201:03", "#00301:04"});
  EXPECT_EQ(Objects(l->doc), (std::vector<Obj>{{22, 384, 1, 0}, {23, 384, 2, 0}, {25, 384, 3, 0}, {22, 576, 4, 0}}));
}

TEST(Reader, BackgroundLinesBeyondTheLastLanePlaceOrKeepWholeLine) {
  std::vector<std::string> lines;
  for (int i = 0; i < BgmLaneLimit; ++i) lines.push_back("#00001:0100");  // fills every lane at tick 0
  lines.push_back("#00001:0002");  // tick 96 is free: placed on lane 22
  lines.push_back("#00001:0303");  // tick 0 is full: nothing of it is added
  lines.push_back("#00001:0004");  // and it took no lane: tick 96 gets lane 23
  auto l = Load(lines);
  const size_t n = BgmLaneLimit;
  ASSERT_EQ(l->doc.ObjList.size(), n + 2);
  EXPECT_EQ(Objects(l->doc)[n - 1], Obj(255, 0, 1, 0));
  EXPECT_EQ(Objects(l->doc)[n], Obj(22, 96, 2, 0));
  EXPECT_EQ(Objects(l->doc)[n + 1], Obj(23, 96, 4, 0));
  EXPECT_EQ(l->doc.mcom, std::vector<std::string>{"#00001:0303"});
  EXPECT_EQ(l->doc.BgmLineCount[0], BgmLaneLimit);
}

TEST(Reader, BackgroundLinesBeyondTheLastLaneGoAboveTheHighestLane) {
  std::vector<std::string> lines(BgmLaneLimit, "#00001:00");
  lines[3] = "#00001:0100";  // lane 25 at tick 0
  lines[0] = "#00001:0001";  // lane 22 at tick 96
  lines.push_back("#00001:0202");  // tick 0: above 25, the gap below is not filled; tick 96: lane 23
  // 384 cells: cells 0 and 1 both round to tick 0 and take one lane each.
  std::string wide = "#00001:0303";
  for (int i = 2; i < 384; ++i) wide += "00";
  lines.push_back(wide);
  auto l = Load(lines);
  EXPECT_EQ(Objects(l->doc), (std::vector<Obj>{{22, 96, 1, 0},
                                               {25, 0, 1, 0},
                                               {26, 0, 2, 0},
                                               {23, 96, 2, 0},
                                               {27, 0, 3, 0},
                                               {28, 0, 3, 0}}));
  EXPECT_TRUE(l->doc.mcom.empty());
}

// The direct input line continues where the load left off: the background
// lanes the loaded lines took, and the kept settings a typed line overrides.
TEST(Reader, TypedLinesContinueTheLoadedChart) {
  std::vector<std::string> lines(BgmLaneLimit, "#00001:01");
  lines.insert(lines.end(), {"#PLAYER 5", "#00102:x", "#RANK 9"});
  auto l = Load(lines);
  for (const char* typed : {"#00001:0202", "#00001:0003", "#PLAYER 2", "#00102:0.5", "#00202:0.25"})
    InterpretLine(l->doc, typed, 0, l->log);
  EXPECT_EQ(l->doc.ObjList.size(), BgmLaneLimit + 1u);
  EXPECT_EQ(Objects(l->doc).back(), Obj(22, 96, 3, 0));
  EXPECT_EQ(l->doc.mcom, (std::vector<std::string>{"#RANK 9", "#00001:0202"}));
  EXPECT_EQ(l->doc.header.cbpmode, 1);
  EXPECT_EQ(l->doc.MeasureLen[1], 0.5);
  const auto& log = l->log.Lines();
  EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
            (std::vector<std::string>{"Line0000:後の記述で上書きされたため破棄します  #PLAYER 5",
                                      "Line0000:後の記述で上書きされたため破棄します  #00102:x"}));
}

TEST(Reader, CellsOfVeryLongLinesStayInTheirMeasure) {
  // With more than 384 cells the last one lies nearer the next measure's first
  // tick, but it is still of its own measure, measure 999 too.
  struct Case {
    const char* measure;
    bool kept;
    std::vector<Obj> objects;
  } cases[] = {
      {"998", false, {{1, 998 * 192, 1, 0}, {1, 998 * 192 + 191, 2, 0}}},
      {"999", false, {{1, 999 * 192, 1, 0}, {1, 999 * 192 + 191, 2, 0}}},
  };
  for (const Case& c : cases) {
    std::string line = std::string("#") + c.measure + "11:01";
    for (int i = 1; i < 384; ++i) line += "00";
    line += "02";
    auto l = Load({line});
    EXPECT_EQ(Objects(l->doc), c.objects) << c.measure;
    EXPECT_EQ(l->doc.mcom.size(), c.kept ? 1u : 0u) << c.measure;
    EXPECT_EQ(l->log.Lines().size(), c.kept ? 4u : 3u) << c.measure;
  }
}

TEST(Reader, ConditionalBlocksAreKeptAndNotInterpreted) {
  auto l = Load({"#00011:01", "#RANDOM 2", "#IF 1", "#00111:02", "#TITLE inside", "#IF 2", "#ENDIF", "#00211:03",
                 "#ENDIF", "#IF 2", "#00311:04", "#ENDIF", "#ENDRANDOM", "#IFX 1", "#00411:05"});
  EXPECT_EQ(Objects(l->doc), (std::vector<Obj>{{1, 0, 1, 0}, {1, 4 * 192, 5, 0}}));
  EXPECT_EQ(l->doc.header.e_title, "");
  EXPECT_EQ(l->doc.mcom, (std::vector<std::string>{"#RANDOM 2", "#IF 1", "#00111:02", "#TITLE inside", "#IF 2",
                                                   "#ENDIF", "#00211:03", "#ENDIF", "#IF 2", "#00311:04", "#ENDIF",
                                                   "#ENDRANDOM", "#IFX 1"}));
}

TEST(Reader, LineEndsByteOrderMarkAndEndOfFile) {
  const std::string body[] = {"#PLAYER 3\r\n#00111:01\r\n\r\n#00105:01\r\n", "#PLAYER 3\n#00111:01\n\n#00105:01\n",
                              "#PLAYER 3\r#00111:01\r\r#00105:01\r", "#PLAYER 3\r\n#00111:01\n\r#00105:01"};
  for (const std::string& b : body) {
    for (const bool bom : {false, true}) {
      Document d;
      Log log;
      LoadBmsBytes(d, (bom ? "\xEF\xBB\xBF" : "") + b + "\x1A#00211:01", "f", log);
      EXPECT_EQ(d.header.cbpmode, 2);
      EXPECT_EQ(d.hasBom, bom);
      EXPECT_EQ(Objects(d), (std::vector<Obj>{{1, 192, 1, 0}}));
      EXPECT_EQ(log.Lines()[0], "Line0004:使用禁止記述  #00105:01");
    }
  }
}

TEST(Reader, LongValuesAreNotCut) {
  const std::string title(100000, 'a');
  std::string data = "#00011:";
  for (int i = 0; i < 1000; ++i) data += "01";
  auto l = Load({"#TITLE " + title, "#WAV01 " + title, data});
  EXPECT_EQ(l->doc.header.e_title, title);
  EXPECT_EQ(l->doc.wav[1], title);
  EXPECT_EQ(l->doc.ObjList.size(), 1000u);
}

TEST(Reader, TempoKeywordStandsAlone) {
  const struct {
    const char* line;
    const char* bpm;
    bool kept;
  } cases[] = {
      {"#BPM 150", "150", false}, {"#bpm\t150 ", "150", false}, {"#BPM", "", false},
      {"#BPM01 150", "120", false}, {"#BPMX", "120", true},       {"#BPM:150", "120", true},
  };
  for (const auto& c : cases) {
    auto l = Load({c.line});
    EXPECT_EQ(l->doc.header.e_bpm, c.bpm) << c.line;
    EXPECT_EQ(l->doc.mcom, c.kept ? std::vector<std::string>{c.line} : std::vector<std::string>{}) << c.line;
  }
}

TEST(Reader, LineSplitting) {
  const struct {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\nb", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two line ends
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\r\na", {"", "a"}},
      {"a\x1A\r\nb", {"a"}},
      {"\x1A", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(c.bytes)) lines.emplace_back(line);
    EXPECT_EQ(lines, c.lines) << testing::PrintToString(c.bytes);
  }
}

// The lines of chart bytes by the rule spelled out byte by byte.
std::vector<std::string> ReferenceLines(std::string_view bytes) {
  std::vector<std::string> lines{""};
  for (size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
    if (bytes[i] == '\n' && i > 0 && bytes[i - 1] == '\r') continue;
    if (bytes[i] == '\r' || bytes[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += bytes[i];
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

TEST(Reader, AnyMixOfLineEndsReadsAsTheSameLines) {
  const std::string pieces[] = {"#00111:01", "#WAV0Z z.wav", "#00211:0Z00", "memo",
                                "#IF 1",     "#ENDIF",       "#00105:01",   "#TITLE t",
                                "",          "\x1A",         "#00302:0.5"};
  const std::string ends[] = {"\r", "\n", "\r\n", ""};
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    for (int i = static_cast<int>(rng() % 12); i > 0; --i)
      bytes += pieces[rng() % std::size(pieces)] + ends[rng() % std::size(ends)];
    const std::vector<std::string> want = ReferenceLines(bytes);
    std::vector<std::string> lines;
    LineCursor cursor(ChartText(bytes));
    for (std::string_view line; cursor.Next(line);) lines.emplace_back(line);
    ASSERT_EQ(lines, want) << testing::PrintToString(bytes);
    // The same lines ended by CR LF load as the same chart, line numbers included.
    const auto mixed = std::make_unique<Loaded>();
    LoadBmsBytes(mixed->doc, bytes, "t.bms", mixed->log);
    const auto plain = Load(want);
    EXPECT_EQ(WriteBmsText(mixed->doc, {}), WriteBmsText(plain->doc, {}));
    EXPECT_EQ(mixed->log.Lines(), plain->log.Lines());
  }
}

TEST(Reader, LoadingBytesReplacesTheChart) {
  Document d;
  Log log;
  LoadBmsBytes(d, "\xEF\xBB\xBF#TITLE a\r\n#00111:01\r\n#LNTYPE 1\r\nmemo\r\n#00102:0.5\r\n", "f", log);
  LoadBmsBytes(d, "#00211:02\r\n", "f", log);
  EXPECT_EQ(Objects(d), (std::vector<Obj>{{1, 384, 2, 0}}));
  EXPECT_EQ(d.header.e_title, "");
  EXPECT_TRUE(d.mcom.empty());
  EXPECT_TRUE(d.mmemo.empty());
  EXPECT_EQ(d.MeasureLen[1], 1.0);
  EXPECT_FALSE(d.hasBom);
}

TEST(Reader, EncodingIsDetected) {
  Document d;
  Log log;
  LoadBmsBytes(d, "#TITLE \xE6\x9B\xB2\r\n", "f", log);
  EXPECT_EQ(d.encoding, TextEncoding::Utf8);
  LoadBmsBytes(d, "#TITLE \x8B\xC8\r\n", "f", log);
  EXPECT_EQ(d.encoding, TextEncoding::Cp932);
  EXPECT_EQ(ToUtf8(d.header.e_title, d.encoding), "曲");
}

TEST(LoadBmsFile, UnreadableFilesFailCleanly) {
  test::TempDir dir;
  const std::string missing = dir.file("none.bms");
  // The log gives the reason the command-line tool gives, and never says
  // the file opened.
  const std::pair<std::string, std::string> cases[] = {{missing, ": No such file or directory"},
                                                       {dir.path(), ": Is a directory"}};
  for (const auto& [path, why] : cases) {
    Document d;
    d.AddObject(1, 0, 1);
    d.header.e_title = "old";
    Log log;
    std::string reason;
    EXPECT_FALSE(LoadBmsFile(d, path, log, &reason));
    EXPECT_EQ(reason, ReadProblem(path));
    EXPECT_TRUE(d.ObjList.empty());
    EXPECT_EQ(d.header.e_title, "");
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"ファイルのオープン:" + path,
                                                      "ファイルの読込に失敗しました：" + path + why,
                                                      "メモリ内のデータをリセットしました" + path}));
    EXPECT_TRUE(log.ShowRequested());
  }
}

TEST(LoadBmsFile, EmptyAndBinaryFilesLoad) {
  test::TempDir dir;
  test::WriteFile(dir.file("empty.bms"), "");
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
  test::WriteFile(dir.file("bin.bms"), binary);
  for (const char* name : {"empty.bms", "bin.bms"}) {
    Document d;
    Log log;
    EXPECT_TRUE(LoadBmsFile(d, dir.file(name), log)) << name;
    EXPECT_EQ(log.Lines().back().rfind("オブジェ総数:", 0), 0u);
  }
}

// Only the file's own extension tells what it is (the command line also
// takes the long-note and nine-key charts); only its lines tell a chart.
TEST(FileKinds, AFileIsToldByItsOwnExtensionAndAChartByItsLines) {
  using K = FileKind;
  const std::tuple<const char*, FileKind, FileKind> names[] = {
      {"/c/s.bms", K::Chart, K::Chart},         {"/c/S.BME", K::Chart, K::Chart},
      {"/c/l.bml", K::Other, K::Chart},         {"/c/n.PMS", K::Other, K::Chart},
      {"/c/p.bms.d/k.wav", K::Sound, K::Sound}, {"/c/s.bms.bak", K::Other, K::Other},
      {"/c/k.wav.asd", K::Other, K::Other},     {"/c/a.OGG", K::Sound, K::Sound},
      {"/c/a.flac", K::Sound, K::Sound},        {"/c/a.mp3", K::Sound, K::Sound},
      {"/c/a.png", K::Image, K::Image},         {"/c/a.JPEG", K::Image, K::Image},
      {"/c/a.jpgx", K::Other, K::Other},        {"/c/s.mid", K::Midi, K::Midi},
      {"/c/x.bms/none", K::Other, K::Other}};
  for (const auto& [path, kind, onCommandLine] : names) {
    EXPECT_EQ(KindOfFileName(path), kind) << path;
    EXPECT_EQ(KindOfFileName(path, true), onCommandLine) << path;
  }
  const std::pair<std::string, bool> files[] = {
      {"", true},
      {"#TITLE x\r\n", true},
      {"\xEF\xBB\xBF#title x", true},
      {"memo\n  #wav0Z k.wav\n", true},
      {"junk\r#00111:0101", true},
      {"%EMAIL a@b", true},
      {std::string("RIFF\x24\0\0\0WAVEfmt ", 16), false},
      {"kick.wav\r\nsnare.wav\r\n_\r\n.\r\n", false},  // the BMM export's sound list
      {"# not a command\n#12:3\n#0011:01\ntext #TITLE\n", false}};
  for (const auto& [bytes, chart] : files) EXPECT_EQ(LooksLikeChart(bytes), chart) << bytes;
}

}  // namespace
}  // namespace beatloom
