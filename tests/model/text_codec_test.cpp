#include "model/text_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace beatloom {
namespace {

// Each line is read as a chart line would be and shown as the author typed it.
TEST(DetectEncoding, ChartTextReadsAsItsAuthorWroteIt) {
  struct Case {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    std::string shown;  // UTF-8
  };
  const std::vector<Case> cases = {
      {"CP932 half-width katakana that is also valid UTF-8", "#TITLE \xC4\xB7\xD7\xB2", TextEncoding::Cp932,
       "#TITLE ﾄｷﾗｲ"},
      {"CP932 half-width katakana pairing up as Latin-1 letters", "#TITLE \xC3\xBD\xC3\xA8", TextEncoding::Cp932,
       "#TITLE ﾃｽﾃｨ"},
      {"kanji in CP932", "#TITLE \x93\xFA\x96\x7B\x8C\xEA", TextEncoding::Cp932, "#TITLE 日本語"},
      {"kanji in UTF-8", "#TITLE 日本語の譜面", TextEncoding::Utf8, "#TITLE 日本語の譜面"},
      {"one kanji in UTF-8 among ASCII", "#ARTIST DJ 曲 feat. Hanako", TextEncoding::Utf8,
       "#ARTIST DJ 曲 feat. Hanako"},
      {"half-width katakana in UTF-8", "#TITLE ﾄｷﾗｲ", TextEncoding::Utf8, "#TITLE ﾄｷﾗｲ"},
      {"Latin-1 letters in UTF-8", "#TITLE Café Noël", TextEncoding::Utf8, "#TITLE Café Noël"},
      {"Latin-1 symbol in UTF-8", "#ARTIST ©2020 Zoë", TextEncoding::Utf8, "#ARTIST ©2020 Zoë"},
      {"symbols in UTF-8", "#GENRE ☆★♪", TextEncoding::Utf8, "#GENRE ☆★♪"},
      {"plain ASCII", "#TITLE Plain", TextEncoding::Cp932, "#TITLE Plain"},
      {"a byte-order mark", "\xEF\xBB\xBF#TITLE \xC4\xB7", TextEncoding::Utf8, "\xEF\xBB\xBF#TITLE ķ"},
  };
  for (const Case& c : cases) {
    const TextEncoding detected = DetectEncoding(c.bytes);
    EXPECT_EQ(detected, c.encoding) << c.name;
    EXPECT_EQ(ToUtf8(c.bytes, detected), c.shown) << c.name;
  }
}

// A name the encoding cannot hold is told apart, never turned into "?".
TEST(FromUtf8Whole, RefusesWhatTheEncodingCannotHold) {
  EXPECT_EQ(FromUtf8Whole("k?.wav", TextEncoding::Cp932), "k?.wav");
  EXPECT_EQ(FromUtf8Whole("日本.wav", TextEncoding::Cp932), "\x93\xFA\x96\x7B.wav");
  EXPECT_EQ(FromUtf8Whole("ü é.wav", TextEncoding::Utf8), "ü é.wav");
  EXPECT_EQ(FromUtf8Whole("ü é.wav", TextEncoding::Cp932), std::nullopt);
}

}  // namespace
}  // namespace beatloom
