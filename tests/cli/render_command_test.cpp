// render as the author runs it: a sound named with Windows separators and
// another letter case, from a measure on, at another rate.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "audio/wav_writer.h"
#include "cli/cli_runner.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

TEST(CliRender, SameBytesOnEveryRunFromTheGivenMeasure) {
  test::TempDir dir;
  mkdir(dir.file("sounds").c_str(), 0755);
  test::WriteFile(dir.file("sounds/click.wav"), EncodeWav16({0.5f, 0.5f, 0.0f, 0.0f}, 22050));
  const std::string chart = dir.file("song.bms");
  test::WriteFile(chart, "#BPM 120\r\n#WAV01 Sounds\\Click.WAV\r\n#00111:01\r\n#00211:0001\r\n");
  const std::string args = test::Quote(chart) + " --from 2 --rate 22050 ";
  ASSERT_EQ(test::RunCli("render " + args + test::Quote(dir.file("a.wav")), test::CliStream::Err).status, 0);
  ASSERT_EQ(test::RunCli("render " + args + test::Quote(dir.file("b.wav")), test::CliStream::Err).status, 0);
  const std::string a = test::ReadFile(dir.file("a.wav"));
  EXPECT_EQ(a, test::ReadFile(dir.file("b.wav")));
  // Measure 1's note is before the start; measure 2's at 1 s: 22050 silent
  // frames, then the two frames of the sound, a click (16384) on both sides.
  ASSERT_EQ(a.size(), 44u + (22050u + 2u) * 4u);
  EXPECT_EQ(a.substr(44 + 22050 * 4), std::string("\x00\x40\x00\x40\0\0\0\0", 8));

  const test::CliRun bad = test::RunCli("render " + test::Quote(chart) + " out.wav --to x", test::CliStream::Err);
  EXPECT_EQ(bad.status, 2);
}

}  // namespace
}  // namespace beatloom
