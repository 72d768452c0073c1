#include <gtest/gtest.h>

#include <algorithm>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "bms/index_radix.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

std::vector<std::tuple<int, int, int, int>> SortedObjects(const Document& d) {
  std::vector<std::tuple<int, int, int, int>> out;
  for (const auto& o : d.ObjList) out.emplace_back(o.Lane, o.Pos, o.Value, o.Hidden);
  std::sort(out.begin(), out.end());
  return out;
}

// Counted from the text alone: every cell but 00 on a data line other than a
// measure length must come back as an object.
size_t NonZeroCells(const std::string& text) {
  size_t count = 0;
  for (std::string_view line : SplitLines(text)) {
    if (line.size() < 7 || line[0] != '#' || line[1] < '0' || line[1] > '9' || line.substr(4, 2) == "02") continue;
    for (size_t i = 7; i + 1 < line.size(); i += 2) count += line.substr(i, 2) != "00" ? 1 : 0;
  }
  return count;
}

TEST(Radix, RealChartsLoadWhollyAndSaveStably) {
  const struct {
    const char* file;
    int radix;
    size_t minWav;
    const char* label;  // a definition as only this radix writes it
  } charts[] = {
      {"radix/base36.bms", 36, 600, "#BMPZZ bga_zz.bmp"},
      {"radix/base62.bms", 62, 300, "#WAV0a s0036.ogg"},
      {"radix/hexlower.bms", 16, 199, "#WAV0A synth10.wav"},
  };
  for (const auto& c : charts) {
    SCOPED_TRACE(c.file);
    test::TempDir dir;
    Document first, second;
    Log log;
    ASSERT_TRUE(LoadBmsFile(first, test::GeneratedFile(c.file), log));
    EXPECT_EQ(first.indices.Radix(), c.radix);
    for (const std::string& line : log.Lines()) EXPECT_EQ(line.find("使用禁止記述"), std::string::npos) << line;
    EXPECT_EQ(first.ObjList.size(), NonZeroCells(test::ReadFile(test::GeneratedFile(c.file))));
    EXPECT_GE(first.wav.size() - static_cast<size_t>(std::count(first.wav.begin(), first.wav.end(), "")), c.minWav);

    ASSERT_TRUE(SaveBmsFile(first, dir.file("a.bms"), {}, log, nullptr));
    const std::string saved = test::ReadFile(dir.file("a.bms"));
    EXPECT_NE(saved.find(std::string(c.label) + "\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("#BASE 62"), c.radix == 62 ? saved.rfind("#BASE 62") : std::string::npos) << "once";
    ASSERT_TRUE(LoadBmsFile(second, dir.file("a.bms"), log));
    EXPECT_EQ(second.indices.Radix(), c.radix);
    EXPECT_EQ(SortedObjects(second), SortedObjects(first));
    EXPECT_TRUE(second.wav == first.wav && second.bmp == first.bmp && second.mcom == first.mcom);
    EXPECT_TRUE(second.MeasureLen == first.MeasureLen && second.header == first.header);
    ASSERT_TRUE(SaveBmsFile(second, dir.file("b.bms"), {}, log, nullptr));
    EXPECT_EQ(test::ReadFile(dir.file("b.bms")), saved);
  }
}

TEST(Radix, TheReaderDecidesOnceFromTheWholeFile) {
  const std::string hex = "base 16: no index beyond hexadecimal";
  const struct {
    std::vector<const char*> lines;
    std::string described;
  } cases[] = {
      {{"#WAV01 a.wav", "#00111:0102"}, hex},
      {{"#TITLE t", "#00111:0102", "#wav0z a.wav"}, "base 36: #wav0z on line 3"},
      {{"#00111:01000g00"}, "base 36: 0g in #00111 on line 1"},
      // Tempo and lengths are no indices; "#WAVCMD" and "#WAV0Z1" no definitions.
      {{"#00103:ZZ", "#00102:ZZ", "#00105:ZZ", "#WAVCMD 01 2", "#WAV0Z1 x"}, hex},
      // A line no radix reads decides nothing, however its letters pair up.
      {{"#00111:0101 kick", "#00112:01-Z"}, hex},
      {{"#00111:0Z", "#base  62 "}, "base 62: #base  62 on line 2"},
      {{"#IF 1", "#BASE 62", "#ENDIF", "#BASE 36"}, hex},
      {{"#RANDOM 2", "#IF 1", "#00101:ZZ", "#ENDIF"}, "base 36: ZZ in #00101 on line 3"},
  };
  for (const auto& c : cases) {
    std::string text;
    for (const char* line : c.lines) text += std::string(line) + "\r\n";
    SCOPED_TRACE(text);
    EXPECT_EQ(DescribeIndexRadix(ChooseIndexRadixOfFile(text)), c.described);
    Document d;
    Log log;
    LoadBmsBytes(d, text, "t.bms", log);
    EXPECT_EQ(d.indices.Radix(), ChooseIndexRadixOfFile(text).radix);
    // What no radix reads stays text, whole.
    const std::string saved = WriteBmsText(d, {});
    for (const std::string_view line : c.lines) {
      if (line.starts_with("#WAV0Z1") || line.starts_with("#WAVCMD")) {
        EXPECT_NE(saved.find(std::string(line) + "\r\n"), std::string::npos) << line;
      }
    }
  }
}

}  // namespace
}  // namespace beatloom
