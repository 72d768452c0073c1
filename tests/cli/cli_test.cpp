#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"
#include "support/test_support.h"
#include "support/unwritable_folder.h"

namespace beatloom {
namespace {

struct CliRun {
  int status;
  std::string out;
};

CliRun Cli(const std::string& args) {
  const test::CliRun r = test::RunCli(args, test::CliStream::Out);
  return {r.status, r.text};
}

using test::Quote;

TEST(Cli, ExitStatuses) {
  test::TempDir dir;
  const struct {
    std::string args;
    int status;
  } cases[] = {
      {"", 2},
      {"frobnicate", 2},
      {"--help", 0},
      {"check", 2},
      {"check " + Quote(dir.file("missing.bms")), 1},
      {"check " + Quote(dir.path()), 1},
      {"check " + Quote(test::DataFile("golden/basic.bms")), 0},
      {"dump " + Quote(dir.file("missing.bms")), 1},
      {"save " + Quote(test::DataFile("golden/basic.bms")), 2},
      {"save a b --min-cells", 2},
      {"save a b --bogus", 2},
      {"save " + Quote(dir.file("missing.bms")) + " " + Quote(dir.file("out.bms")), 1},
      {"save " + Quote(test::DataFile("golden/basic.bms")) + " " + Quote(dir.file("no/such/folder.bms")), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(Cli(c.args).status, c.status) << c.args;
  EXPECT_FALSE(test::ReadFile(dir.file("out.bms")).size());
}

TEST(Cli, FailuresNameTheFileAndTheSystemsReason) {
  alarm(60);  // a command blocked on a FIFO fails the test instead of hanging it
  test::TempDir dir;
  const std::string chart = test::DataFile("golden/basic.bms");
  const std::string fifo = dir.file("pipe.bms"), readOnly = dir.file("ro.bms");
  const std::string song = dir.file("song.bms"), longName = dir.file(std::string(251, 'n') + ".bms");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  test::WriteFile(readOnly, "old");
  chmod(readOnly.c_str(), 0444);
  test::WriteFile(song, "#BPM 120\r\n#00111:01\r\n");
  test::WriteFile(dir.file("song.BML"), "old list");
  // The sequence cannot be renamed over (append-only), so the sound list
  // already moved into place must be put back; else it is refused at once.
  test::WriteFile(dir.file("song.BMM"), "old sequence");
  const bool appendOnly = test::SetFileFlag(dir.file("song.BMM"), FS_APPEND_FL, true);
  if (!appendOnly) std::filesystem::remove(dir.file("song.BMM"));
  if (!appendOnly) mkdir(dir.file("song.BMM").c_str(), 0755);
  const struct {
    std::string args;
    int status;
    std::string err;
  } cases[] = {
      {"check " + Quote(fifo), 1, "cannot read " + fifo + ": not a regular file"},
      {"save " + Quote("/dev/zero") + " " + Quote(dir.file("x.bms")), 1, "cannot read /dev/zero: not a regular file"},
      {"save " + Quote(chart) + " " + Quote(readOnly), 1, "cannot write " + readOnly + ": Permission denied"},
      {"save " + Quote(chart) + " " + Quote(longName), 0, ""},
      {"import-ddr " + Quote(fifo) + " " + Quote(dir.file("x.bms")), 1, "cannot read " + fifo + ": not a regular file"},
      {"export-ps " + Quote(chart) + " " + Quote(dir.file("x.ps")) + " --template " + Quote(fifo), 1,
       "保存に失敗しました: " + fifo + ": not a regular file"},
      {"export-bmm " + Quote(song), 1,
       dir.file("song.BMM") + (appendOnly ? ": Operation not permitted" : ": Is a directory")},
  };
  for (const auto& c : cases) {
    const test::CliRun r = test::RunCli(c.args, test::CliStream::Err);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.text, c.err.empty() ? "" : "beatloom-cli: " + c.err + "\n") << c.args;
  }
  // A file-size limit makes the write fail like a full disk instead of
  // killing the program; no temporary file is left.
  std::string big;
  for (int i = 0; i < 2000; ++i) big += "#KEPT" + std::to_string(i) + " " + std::string(40, 'k') + "\r\n";
  test::WriteFile(dir.file("big.bms"), big);
  const std::string capped = dir.file("capped.bms");
  const test::CliRun limited = test::RunCommandLine("ulimit -f 16; '" BEATLOOM_CLI "' save " +
                                                    Quote(dir.file("big.bms")) + " " + Quote(capped) + " 2>&1");
  EXPECT_EQ(limited.status, 1);
  EXPECT_EQ(limited.text, "beatloom-cli: cannot write " + capped + ": File too large\n");
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_NE(e.path().filename().string().rfind(".bl", 0), 0u) << e.path();
  alarm(0);
  test::SetFileFlag(dir.file("song.BMM"), FS_APPEND_FL, false);
  EXPECT_EQ(test::ReadFile(readOnly), "old");
  EXPECT_EQ(test::ReadFile(dir.file("song.BML")), "old list");  // half a pair is never written
  EXPECT_EQ(test::ReadFile(longName), test::ReadFile(test::DataFile("golden/basic.expected.bms")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("x.bms")));
}

TEST(Cli, CheckPrintsTheLog) {
  const std::string file = test::DataFile("golden/kept.bms");
  const CliRun r = Cli("check " + Quote(file));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("ファイルのオープン:" + file + "\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Line0013:使用禁止記述  #00011:01z!\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("オブジェ総数:3\n"), std::string::npos) << r.out;
}

TEST(Cli, SaveWritesWhatTheEditorWrites) {
  test::TempDir dir;
  const std::string out = dir.file("out.bms");
  ASSERT_EQ(Cli("save " + Quote(test::DataFile("golden/basic.bms")) + " " + Quote(out)).status, 0);
  EXPECT_EQ(test::ReadFile(out), test::ReadFile(test::DataFile("golden/basic.expected.bms")));
  ASSERT_EQ(
      Cli("save " + Quote(test::DataFile("golden/basic.bms")) + " " + Quote(out) + " --min-cells 8 --pack-bgm").status,
      0);
  const std::string packed = test::ReadFile(out);
  EXPECT_NE(packed.find("#00011:0100000000000000\r\n"), std::string::npos);
  EXPECT_EQ(packed.find("#00101:00\r\n"), std::string::npos);  // packed: no placeholder lines
}

TEST(Cli, DumpIsJsonOfTheChart) {
  const CliRun r = Cli("dump " + Quote(test::DataFile("golden/utf8bom.bms")));
  ASSERT_EQ(r.status, 0);
  const char* expected[] = {
      "\"e_title\": \"曲名\"",
      "\"cbpmode\": 2",
      "\"cbrank\": 0",
      "\"wav\": {\n    \"01\": \"音.wav\"\n  }",
      "\"bmp\": {}",
      "\"measureLen\": {}",
      "\"objects\": [\n    [1, 0, 1, 0]\n  ]",
  };
  for (const char* e : expected) EXPECT_NE(r.out.find(e), std::string::npos) << e << "\n" << r.out;
  const CliRun k = Cli("dump " + Quote(test::DataFile("golden/basic.bms")));
  EXPECT_NE(k.out.find("\"measureLen\": {\n    \"0\": 0.75,\n    \"4\": 1.5\n  }"), std::string::npos) << k.out;
  EXPECT_NE(k.out.find("\"mmemo\": [\n    \"Made by hand\"\n  ]"), std::string::npos) << k.out;
  // Channel 03 and 08 tempo changes by value, in ticks; #BPM is no change.
  EXPECT_NE(k.out.find("\"tempos\": [\n    [128, 180],\n    [192, 190.5]\n  ],\n  \"stops\": []"), std::string::npos);
  const CliRun stop = Cli("dump " + Quote(test::DataFile("timing/soflan_single.bms")));
  EXPECT_NE(stop.out.find("\"stops\": [\n    [96, 96],\n    [408, 192],"), std::string::npos);
  // Cell 4 of a 5-cell line of measure 001 lies between two ticks.
  EXPECT_NE(k.out.find("[24, 345.6, 1, 0]"), std::string::npos) << k.out;
}

TEST(Cli, DumpWritesNumbersJsonCanRead) {
  test::TempDir dir;
  const std::string file = dir.file("len.bms");
  test::WriteFile(file, "#wav0f a.wav\r\n#RANK 9\r\n#00102:0.1\r\n#00202:1e999\r\n#00302:2\r\n#SUBARTIST a\r\n"
                        "#SUBARTIST b\r\n#DIFFICULTY 3\r\n");
  const CliRun r = Cli("dump " + Quote(file));
  ASSERT_EQ(r.status, 0);
  const char* expected[] = {
      "\"wav\": {\n    \"0F\": \"a.wav\"\n  }",
      "\"cbrank\": -1",
      "\"e_difficulty\": \"3\"",
      "\"e_subartist\": [\n      \"a\",\n      \"b\"\n    ]",
      "\"measureLen\": {\n    \"1\": 0.1,\n    \"3\": 2\n  }",
      "\"mcom\": [\n    \"#RANK 9\",\n    \"#00202:1e999\"\n  ]",
  };
  for (const char* e : expected) EXPECT_NE(r.out.find(e), std::string::npos) << e << "\n" << r.out;
}

}  // namespace
}  // namespace beatloom
