#include "bms/file_kinds.h"

#include <gtest/gtest.h>

#include <string>

namespace beatloom {
namespace {

// Only the file's own extension tells what it is.
TEST(FileKinds, AFileIsToldByItsOwnExtension) {
  const struct {
    const char* path;
    FileKind kind;
    FileKind onCommandLine;
  } cases[] = {
      {"/c/song.bms", FileKind::Chart, FileKind::Chart},
      {"/c/SONG.BME", FileKind::Chart, FileKind::Chart},
      {"/c/long.bml", FileKind::Other, FileKind::Chart},
      {"/c/nine.PMS", FileKind::Other, FileKind::Chart},
      {"/c/pack.bms.d/kick.wav", FileKind::Sound, FileKind::Sound},
      {"/c/song.bms.bak", FileKind::Other, FileKind::Other},
      {"/c/kick.wav.asd", FileKind::Other, FileKind::Other},
      {"/c/a.OGG", FileKind::Sound, FileKind::Sound},
      {"/c/a.flac", FileKind::Sound, FileKind::Sound},
      {"/c/a.mp3", FileKind::Sound, FileKind::Sound},
      {"/c/a.png", FileKind::Image, FileKind::Image},
      {"/c/a.JPEG", FileKind::Image, FileKind::Image},
      {"/c/a.jpg", FileKind::Image, FileKind::Image},
      {"/c/a.bmp", FileKind::Image, FileKind::Image},
      {"/c/a.jpgx", FileKind::Other, FileKind::Other},
      {"/c/song.mid", FileKind::Midi, FileKind::Midi},
      {"/c/song.midway.txt", FileKind::Other, FileKind::Other},
      {"/c/x.bms/noextension", FileKind::Other, FileKind::Other},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KindOfFileName(c.path), c.kind) << c.path;
    EXPECT_EQ(KindOfFileName(c.path, true), c.onCommandLine) << c.path;
  }
}

TEST(FileKinds, AChartIsTextWithAtLeastOneCommandLine) {
  const struct {
    std::string bytes;
    bool chart;
  } cases[] = {
      {"", true},
      {"#TITLE x\r\n", true},
      {"\xEF\xBB\xBF#title x", true},
      {"memo\n  #wav0Z kick.wav\n", true},
      {"#RANDOM 2\n", true},
      {"junk\r#00111:0101", true},
      {"%EMAIL a@b", true},
      {std::string("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0", 20) + "data", false},
      {"kick.wav\r\nsnare.wav\r\n_\r\n.\r\n", false},  // a BML sound list
      {"# not a command\n#12:3\n#0011:01\n", false},
      {"plain text mentioning #TITLE\n", false},
  };
  for (const auto& c : cases) EXPECT_EQ(LooksLikeChart(c.bytes), c.chart) << c.bytes;
}

}  // namespace
}  // namespace beatloom
