#include "bms/source_lines.h"

#include <gtest/gtest.h>

namespace beatloom {
namespace {

// Two lines whose bytes do not decode in CP932 and show as the same text.
const std::string A = "#TITLE \x85\x40", B = "#TITLE \x86\x40";

TEST(SourceLines, UntouchedLinesKeepTheirOwnBytes) {
  const std::string S = ToUtf8(A, TextEncoding::Cp932);
  ASSERT_EQ(S, ToUtf8(B, TextEncoding::Cp932));
  using Lines = std::vector<std::string>;
  const struct {
    const char* name;
    Lines original, edited, bytes;
  } cases[] = {
      {"untouched", {A, B}, {S, S}, {A, B}},
      {"a line between changed", {A, "#00111:01", B}, {S, "#00111:02", S}, {A, "#00111:02", B}},
      {"a line added", {A, B}, {S, S, "#X"}, {A, B, "#X"}},
      {"changes around", {A, "x", B, "y"}, {S, "x2", S, "y2"}, {A, "x2", B, "y2"}},
      {"one more typed", {A}, {S, S}, {A, "#TITLE ?@"}},
      {"one dropped", {B, A, "z"}, {S, "z"}, {B, "z"}},
  };
  for (const auto& c : cases) EXPECT_EQ(EditedLineBytes(c.original, c.edited, TextEncoding::Cp932), c.bytes) << c.name;
}

}  // namespace
}  // namespace beatloom
