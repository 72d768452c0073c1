#include "model/chart_file_lookup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/test_support.h"

namespace beatloom {
namespace {

using test::TempDir;
using test::WriteFile;

// Charts made on other systems name their files with "\" and in any letter
// case; only regular files are ever found.
TEST(ChartFileLookup, FindsTheFileAChartNamesAsOtherSystemsWriteIt) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("Sounds/Drums"));
  WriteFile(dir.file("Sounds/Drums/Kick.wav"), "k");
  WriteFile(dir.file("bg.BMP"), "b");
  WriteFile(dir.file("Exact.wav"), "e");
  WriteFile(dir.file("exact.WAV"), "e");
  WriteFile(dir.file("hat.ogg"), "h");
  ASSERT_EQ(mkfifo(dir.file("pipe.wav").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.file("folder.bmp"));
  const struct {
    const char* written;
    const char* found;  // "": none
  } cases[] = {
      {"bg.BMP", "bg.BMP"},
      {"BG.bmp", "bg.BMP"},
      {"Sounds/Drums/Kick.wav", "Sounds/Drums/Kick.wav"},
      {"Sounds\\Drums\\Kick.wav", "Sounds/Drums/Kick.wav"},
      {"sounds\\DRUMS\\kick.WAV", "Sounds/Drums/Kick.wav"},
      {".\\sounds/drums\\kick.wav", "Sounds/Drums/Kick.wav"},
      {"exact.WAV", "exact.WAV"},  // the exact name wins over another case
      {"EXACT.wav", "Exact.wav"},  // among several, the first in byte order
      {"missing.wav", ""},
      {"Sounds\\missing.wav", ""},
      {"pipe.wav", ""},  // a FIFO would block whoever opens it
      {"PIPE.WAV", ""},
      {"folder.bmp", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    const std::string expected = *c.found ? dir.file(c.found) : std::string();
    EXPECT_EQ(ResolveChartFile(dir.path(), c.written), expected) << c.written;
  }
  EXPECT_EQ(ResolveChartSound(dir.path(), "HAT.wav"), dir.file("hat.ogg"));
  EXPECT_EQ(ResolveChartSound(dir.path(), "pipe.flac"), "");
}

}  // namespace
}  // namespace beatloom
