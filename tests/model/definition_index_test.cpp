#include "model/definition_index.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace beatloom {
namespace {

TEST(DefinitionIndex, EveryHexadecimalIndexFormatsAndReadsBack) {
  const DefinitionIndex hex;
  ASSERT_EQ(hex.HighestWav(), 255);
  ASSERT_EQ(hex.BmpSlots(), 256);
  for (int v = 0; v <= hex.HighestBmp(); ++v) {
    const std::string text = hex.Format(v);
    char cell[2] = {};
    hex.FormatCell(v, cell);
    EXPECT_EQ(std::string(cell, 2), text);
    EXPECT_EQ(hex.Parse(text), v) << text;
    EXPECT_EQ(hex.CellValue(text[0], text[1]), v) << text;
  }
  // Beyond the range a label keeps every digit; a cell keeps its width.
  EXPECT_EQ(hex.Format(300), "12C");
  char cell[2] = {};
  hex.FormatCell(256, cell);
  EXPECT_EQ(std::string(cell, 2), "00");
}

TEST(DefinitionIndex, ReadsEitherCaseAndRefusesAnythingElse) {
  const DefinitionIndex hex;
  const std::pair<std::string, int> cases[] = {
      {"0a", 10}, {"fF", 255}, {"FF", 255}, {"7", 7},   {"", -1},    {"0G", -1},
      {"G0", -1}, {" 1", -1},  {"1 ", -1},  {"-1", -1}, {"100", -1}, {"0Z", -1},
  };
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(hex.Parse(text).value_or(-1), value) << '"' << text << '"';
    if (text.size() != 2) continue;
    EXPECT_EQ(hex.CellValue(text[0], text[1]), value) << text;
  }
}

}  // namespace
}  // namespace beatloom
