// stats, lint and dump --times as the author runs them.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_runner.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

TEST(CliAnalysis, TimesStatsAndFindings) {
  test::TempDir dir;
  const std::string chart = dir.file("song.bms");
  // Two notes at 120 and a stop of a beat between them; sound 02 is not defined.
  test::WriteFile(chart, "#BPM 120\r\n#WAV01 a.wav\r\n#STOP01 48\r\n#00111:0102\r\n#00109:00010000\r\n");
  test::WriteFile(dir.file("a.wav"), "");

  const test::CliRun dump = test::RunCli("dump --times " + test::Quote(chart), test::CliStream::Out);
  ASSERT_EQ(dump.status, 0);
  EXPECT_NE(dump.text.find("[1, 192, 1, 0, 2]"), std::string::npos) << dump.text;
  EXPECT_NE(dump.text.find("[1, 288, 2, 0, 3.5]"), std::string::npos) << dump.text;

  const test::CliRun stats = test::RunCli("stats --json " + test::Quote(chart), test::CliStream::Out);
  ASSERT_EQ(stats.status, 0);
  EXPECT_NE(stats.text.find("\"lengthSeconds\": 3.5"), std::string::npos) << stats.text;
  EXPECT_NE(stats.text.find("\"density\": [0, 0, 1, 1]"), std::string::npos) << stats.text;

  const test::CliRun lint = test::RunCli("lint " + test::Quote(chart), test::CliStream::Out);
  EXPECT_EQ(lint.status, 1);
  EXPECT_EQ(
      lint.text,
      chart + ":4: error: 小節001 から: 定義されていない音 02 を鳴らすオブジェが 1 個あります [undefined-sound]\n");
}

// A long note is listed once with its end and counts as one note; a lone
// start on a long-note channel is reported where it stands.
TEST(CliAnalysis, LongNotesInDumpStatsAndFindings) {
  test::TempDir dir;
  const std::string chart = dir.file("song.bms");
  test::WriteFile(chart, "#WAV01 a.wav\r\n#00151:00010001\r\n#00011:01\r\n#00252:01\r\n");
  const auto run = [&chart](const char* command) {
    return test::RunCli(command + test::Quote(chart), test::CliStream::Out).text;
  };
  EXPECT_NE(run("dump ").find("\"longNotes\": [\n    [1, 240, 336, 1]\n  ]"), std::string::npos);
  EXPECT_NE(run("stats --json ").find("\"totalNotes\": 3,\n  \"longNotes\": 1,\n  \"longNoteSeconds\": 1,"),
            std::string::npos);
  EXPECT_NE(run("lint ").find(chart + ":4: warning: 小節002: 終点のないロングノートの始点が 1 個あります"),
            std::string::npos);
}

}  // namespace
}  // namespace beatloom
