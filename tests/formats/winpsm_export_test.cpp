#include "formats/winpsm_export.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/test_support.h"

namespace beatloom {
namespace {

// A stand-in for the author's template: every byte differs from its
// neighbours, so a write at a wrong offset shows.
std::string Template(size_t size = 9000) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return bytes;
}

uint8_t At(const std::string& bytes, size_t offset) { return static_cast<uint8_t>(bytes.at(offset)); }

Document Chart(int mode, const std::vector<std::tuple<int, int>>& objects) {
  Document doc;
  doc.header.cbpmode = mode;
  for (const auto& [lane, pos] : objects) doc.AddObject(lane, pos, 1);
  return doc;
}

std::string Patched(const Document& doc, const WinPsmFields& fields = {}, std::string bytes = Template()) {
  PatchWinPsm(bytes, doc, fields);
  return bytes;
}

TEST(WinPsmExport, StepBytesOfTheWorkedExample) {
  const std::string template_ = Template();
  const std::string out = Patched(Chart(0, {{1, 0}, {3, 24}, {8, 24}}));
  EXPECT_EQ(At(out, 8760), 0x11);
  EXPECT_EQ(At(out, 8761), 0x00);
  EXPECT_EQ(At(out, 8762), 0xAA);
  EXPECT_EQ(At(out, 8763), At(template_, 8763));  // S = 2: nothing written after step 2
  EXPECT_EQ(out.size(), template_.size());
}

TEST(WinPsmExport, StepByteCases) {
  struct Case {
    const char* name;
    int mode;
    std::vector<std::tuple<int, int>> objects;
    std::vector<uint8_t> steps;
  };
  const std::vector<Case> cases = {
      {"no objects: one zero step", 0, {}, {0x00}},
      {"1Player repeats the side in the upper bits", 0, {{5, 0}}, {0x44}},
      {"every lane has its bit",
       1,
       {{1, 0}, {8, 12}, {5, 24}, {3, 36}, {10, 0}, {17, 12}, {14, 24}, {12, 36}},
       {0x11, 0x22, 0x44, 0x88}},
      {"Double Play keeps the second side", 2, {{5, 0}, {12, 0}}, {0x84}},
      {"off the grid: not written but still counted", 1, {{1, 30}}, {0, 0, 0, 0}},
      {"second side does not lengthen", 1, {{10, 0}, {10, 120}}, {0x10}},
      {"other lanes are left out", 1, {{2, 0}, {0, 0}, {22, 0}, {11, 0}}, {0x00}},
  };
  for (const Case& c : cases) {
    const Document doc = Chart(c.mode, c.objects);
    EXPECT_EQ(WinPsmStepBytes(doc), c.steps) << c.name;
  }
}

TEST(WinPsmExport, NamesModeSongAndCheckByte) {
  WinPsmFields fields;
  fields.blockName = "ABC";
  fields.editName = "X";
  fields.songCode = 0x2A;
  const std::string template_ = Template();
  const std::string out = Patched(Chart(2, {}), fields);
  EXPECT_EQ(out.substr(8242, 16), std::string("ABC\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81", 16));
  EXPECT_EQ(out.substr(8708, 8), "X       ");
  EXPECT_EQ(out.substr(150, 8), "X       ");
  EXPECT_EQ(At(out, 8718), 0x2A);
  EXPECT_EQ(At(out, 8706), 2);
  uint8_t check = 0;
  for (size_t i = 128; i < 255; ++i) check ^= At(out, i);
  EXPECT_EQ(At(out, 255), check);
  EXPECT_NE(At(out, 255), At(template_, 255));  // the name at 150 changed what it covers

  // Every byte outside the patched fields is the template's.
  std::string masked = out;
  std::string expected = template_;
  for (const auto& [offset, size] : std::vector<std::pair<size_t, size_t>>{
           {150, 8}, {255, 1}, {8242, 16}, {8706, 1}, {8708, 8}, {8718, 1}, {8760, 1}}) {
    for (size_t i = offset; i < offset + size; ++i) masked[i] = expected[i] = 0;
  }
  EXPECT_EQ(masked, expected);
}

TEST(WinPsmExport, NamesAreCutAtTheByteLimit) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"", std::string(16, ' ').replace(0, 16, "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40"),
       "        "},
      {"\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x82\xA9\x82\xAB\x82\xAD\x82\xAF",
       "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x82\xA9\x82\xAB\x82\xAD", "\x82\xA0\x82\xA2\x82\xA4\x82\xA6"},
      {"ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNOP", "ABCDEFGH"},
      {"A\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0",
       "A\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82", "A\x82\xA0\x82\xA0\x82\xA0\x82"},
  };
  for (const auto& [text, block, edit] : cases) {
    EXPECT_EQ(WinPsmBlockName(text), block) << text;
    EXPECT_EQ(WinPsmEditName(text), edit) << text;
  }
}

TEST(WinPsmExport, LongChartExtendsTheFile) {
  const std::string out = Patched(Chart(1, {{1, 12 * 500}}), {}, Template(8760));
  EXPECT_EQ(out.size(), 8760u + 501u);
  EXPECT_EQ(At(out, 8760 + 500), 0x01);
}

// A short template is written at the same offsets and grows: what it lacks
// reads as zero bytes, up to the last step byte.
TEST(WinPsmExport, ShortTemplateGrows) {
  const Document doc = Chart(0, {{1, 0}, {3, 24}, {8, 24}});
  WinPsmFields fields;
  fields.blockName = "ABC";
  fields.editName = "X";
  for (const size_t size : {size_t{0}, size_t{200}, size_t{8250}, size_t{8759}, size_t{8760}}) {
    test::TempDir dir;
    test::WriteFile(dir.file("master.psf"), Template(size));
    std::string reason;
    ASSERT_TRUE(ExportWinPsmFile(doc, fields, dir.file("master.psf"), dir.file("out.ps"), &reason)) << reason;
    std::string padded = Template(size);
    padded.resize(9000, '\0');
    EXPECT_EQ(test::ReadFile(dir.file("out.ps")), Patched(doc, fields, padded).substr(0, 8763)) << size;
  }
}

TEST(WinPsmExport, FileExport) {
  test::TempDir dir;
  test::WriteFile(dir.file("master.psf"), Template());
  test::WriteFile(dir.file("out.ps"), "old file");
  const Document doc = Chart(0, {{1, 0}, {3, 24}, {8, 24}});
  std::string reason;
  ASSERT_TRUE(ExportWinPsmFile(doc, {}, dir.file("master.psf"), dir.file("out.ps"), &reason)) << reason;
  EXPECT_EQ(test::ReadFile(dir.file("out.ps")), Patched(doc));
  EXPECT_EQ(test::ReadFile(dir.file("master.psf")), Template());  // the template itself is never patched
}

TEST(WinPsmExport, MissingTemplateKeepsTheDestination) {
  test::TempDir dir;
  test::WriteFile(dir.file("out.ps"), "old file");
  std::string reason;
  EXPECT_FALSE(ExportWinPsmFile(Chart(0, {}), {}, dir.file("master.psf"), dir.file("out.ps"), &reason));
  EXPECT_NE(reason.find("master.psf"), std::string::npos);
  EXPECT_EQ(test::ReadFile(dir.file("out.ps")), "old file");
}

TEST(WinPsmExport, SongList) {
  const std::vector<std::string>& songs = WinPsmSongList();
  ASSERT_EQ(songs.size(), 47u);
  EXPECT_EQ(songs[0], "01:HAVE YOU NEVER BEEN MELLOW");
  for (size_t i = 0; i < songs.size(); ++i) EXPECT_EQ(WinPsmSongCode(songs[i]), static_cast<int>(i) + 1) << songs[i];
  for (const int code : {0x1E, 0x1F, 0x20, 0x21, 0x22, 0x27, 0x28, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F}) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X:", code);
    EXPECT_EQ(songs[static_cast<size_t>(code - 1)], text);
  }
  EXPECT_GT(songs[0x29 - 1].size(), 3u);  // 29 has a title
  EXPECT_EQ(WinPsmSongCode("2a:"), 0x2A);
  EXPECT_EQ(WinPsmSongCode("G1:"), -1);
  EXPECT_EQ(WinPsmSongCode(""), -1);
}

}  // namespace
}  // namespace beatloom
