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
      {"CP932 half-width katakana that is no UTF-8", "#TITLE \xC3\xBD\xC4\r\n", TextEncoding::Cp932, "#TITLE ﾃｽﾄ\r\n"},
      {"Korean in EUC-KR",
       "#TITLE \xBD\xC3\xB0\xA3\xC0\xBB\x20\xB4\xDE\xB8\xAE\xB4\xC2\x20\xBC\xD2\xB3\xE0\r\n#ARTIST "
       "\xB1\xE8\xC3\xB6\xBC\xF6\r\n",
       TextEncoding::Cp949, "#TITLE 시간을 달리는 소녀\r\n#ARTIST 김철수\r\n"},
      {"a Korean word too short for the detector", "#TITLE \xBB\xE7\xB6\xFB\r\n", TextEncoding::Cp949,
       "#TITLE 사랑\r\n"},
      {"Simplified Chinese in GB18030", "#TITLE \xD6\xD0\xCE\xC4\xB1\xEA\xCC\xE2\r\n#ARTIST \xB8\xE8\xCA\xD6\r\n",
       TextEncoding::Gb18030, "#TITLE 中文标题\r\n#ARTIST 歌手\r\n"},
      {"Traditional Chinese in Big5", "#TITLE \xA4\xA4\xA4\xE5\xBC\xD0\xC3\x44\r\n#ARTIST \xBA\x71\xA4\xE2\r\n",
       TextEncoding::Big5, "#TITLE 中文標題\r\n#ARTIST 歌手\r\n"},
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
  EXPECT_EQ(FromUtf8Whole("김.wav", TextEncoding::Cp949), "\xB1\xE8.wav");
  EXPECT_EQ(FromUtf8Whole("ﾃ.wav", TextEncoding::Cp949), std::nullopt);
}

}  // namespace
}  // namespace beatloom
