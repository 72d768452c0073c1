// import-ddr, export-ddr, export-bmm and export-ps run as the author would run them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "cli/cli_runner.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

struct FormatRun {
  int status;
  std::string err;
};

// Keeps what beatloom-cli said on stderr: every failure must say why.
FormatRun FormatCli(const std::string& args) {
  const test::CliRun r = test::RunCli(args, test::CliStream::Err);
  return {r.status, r.text};
}

std::string Q(const std::string& s) { return test::Quote(s); }

TEST(CliFormats, DdrvThroughBmsAndBack) {
  test::TempDir dir;
  const std::string ddr =
      "#TITLE Hop\r\n#BASIC\r\n#TWOPLAY\r\n#COMMENT Ann\r\n#000:1000A00000000000\r\n$000:0001000000000000\r\n";
  test::WriteFile(dir.file("in.ddr"), ddr);
  ASSERT_EQ(FormatCli("import-ddr " + Q(dir.file("in.ddr")) + " " + Q(dir.file("mid.bms"))).status, 0);
  ASSERT_EQ(FormatCli("export-ddr " + Q(dir.file("mid.bms")) + " " + Q(dir.file("out.ddr"))).status, 0);
  // The last note at tick 48 makes the exporter write one more, empty measure.
  EXPECT_EQ(test::ReadFile(dir.file("out.ddr")), ddr + "#001:0000000000000000\r\n$001:0000000000000000\r\n");
}

TEST(CliFormats, BmmBesideTheChart) {
  test::TempDir dir;
  test::WriteFile(dir.file("song.bms"), "#BPM 150\r\n#WAV01 a.wav\r\n#00011:01\r\n");
  ASSERT_EQ(FormatCli("export-bmm " + Q(dir.file("song.bms"))).status, 0);
  EXPECT_EQ(test::ReadFile(dir.file("song.BMM")).substr(0, 8), "T33.20\r\n");
  EXPECT_EQ(test::ReadFile(dir.file("song.BML")).substr(0, 10), "a.wav\r\n_\r\n");
}

TEST(CliFormats, WinPsmFromATemplate) {
  test::TempDir dir;
  test::WriteFile(dir.file("master.psf"), std::string(9000, '\0'));
  test::WriteFile(dir.file("song.bms"), "#00011:01\r\n");
  ASSERT_EQ(FormatCli("export-ps " + Q(dir.file("song.bms")) + " " + Q(dir.file("out.ps")) + " --template " +
                      Q(dir.file("master.psf")) + " --edit-name X --block-name ABC --song 2A")
                .status,
            0);
  const std::string out = test::ReadFile(dir.file("out.ps"));
  ASSERT_EQ(out.size(), 9000u);
  EXPECT_EQ(out.substr(8708, 8), "X       ");
  EXPECT_EQ(out.substr(8242, 4), "ABC\x81");
  EXPECT_EQ(out[8718], '\x2A');
  EXPECT_EQ(out[8760], '\x11');
}

TEST(CliFormats, FailuresSayWhy) {
  test::TempDir dir;
  test::WriteFile(dir.file("song.bms"), "#BPM 0\r\n#00011:01\r\n");
  test::WriteFile(dir.file("keep.ps"), "old");
  const struct {
    std::string args;
    int status;
    std::string said;
  } cases[] = {
      {"import-ddr " + Q(dir.file("none.ddr")) + " " + Q(dir.file("x.bms")), 1, "none.ddr"},
      {"import-ddr " + Q(dir.file("none.ddr")), 2, "import-ddr"},
      {"export-ddr " + Q(dir.file("none.bms")) + " " + Q(dir.file("x.ddr")), 1, "none.bms"},
      {"export-bmm " + Q(dir.file("song.bms")), 1, "テンポ"},
      {"export-ps " + Q(dir.file("song.bms")) + " " + Q(dir.file("keep.ps")) + " --template " + Q(dir.file("no.psf")),
       1, "保存に失敗しました"},
      {"export-ps " + Q(dir.file("song.bms")) + " " + Q(dir.file("keep.ps")), 2, "--template"},
      {"export-ps " + Q(dir.file("song.bms")) + " " + Q(dir.file("keep.ps")) + " --template x --song 30", 2, "--song"},
  };
  for (const auto& c : cases) {
    const FormatRun r = FormatCli(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << c.args << "\n" << r.err;
  }
  EXPECT_EQ(test::ReadFile(dir.file("keep.ps")), "old");
  EXPECT_FALSE(std::ifstream(dir.file("song.BMM")).good());
  EXPECT_FALSE(std::ifstream(dir.file("song.BML")).good());
}

}  // namespace
}  // namespace beatloom
