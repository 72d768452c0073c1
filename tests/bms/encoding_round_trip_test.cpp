#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"

namespace beatloom {
namespace {

// The encoding a load settles on must survive a save: header edits are stored
// in it, so a change would mix encodings inside one file.
TEST(EncodingRoundTrip, ChartKeepsItsEncodingAcrossSaveAndLoad) {
  struct Case {
    const char* name;
    std::string file;
    TextEncoding encoding;
    const char* title;  // as shown, UTF-8
  };
  const std::vector<Case> cases = {
      {"CP932 half-width katakana", "#TITLE \xC4\xB7\xD7\xB2\r\n#00111:01\r\n", TextEncoding::Cp932, "ﾄｷﾗｲ"},
      {"UTF-8 title beside a dropped CP932 comment", "#TITLE Café\r\n*-- \x93\xFA\x96\x7B\r\n#00111:01\r\n",
       TextEncoding::Utf8, "Café"},
      {"CP932 title beside a dropped UTF-8 comment", "#TITLE \xC4\xB7\xD7\xB2\r\n*-- 日本語の譜面\r\n",
       TextEncoding::Cp932, "ﾄｷﾗｲ"},
      {"UTF-8 kanji in the memo", "#TITLE 譜面\r\nメモ\r\n#WAV01 音.wav\r\n", TextEncoding::Utf8, "譜面"},
      {"byte-order mark over ASCII", "\xEF\xBB\xBF#TITLE A\r\n", TextEncoding::Utf8, "A"},
      {"EUC-KR title and sub-artist",
       "#TITLE \xBD\xC3\xB0\xA3\xC0\xBB\x20\xB4\xDE\xB8\xAE\xB4\xC2\x20\xBC\xD2\xB3\xE0\r\n"
       "#SUBARTIST \xB1\xE8\xC3\xB6\xBC\xF6\r\n#00111:01\r\n",
       TextEncoding::Cp949, "시간을 달리는 소녀"},
  };
  for (const Case& c : cases) {
    Log log;
    Document first;
    LoadBmsBytes(first, c.file, "in.bms", log);
    EXPECT_EQ(first.encoding, c.encoding) << c.name;
    EXPECT_EQ(ToUtf8(first.header.e_title, first.encoding), c.title) << c.name;
    const std::string saved = WriteBmsText(first, {});
    const size_t title = c.file.find("#TITLE");
    EXPECT_NE(saved.find(c.file.substr(title, c.file.find('\r', title) - title + 2)), std::string::npos) << c.name;
    Document second;
    LoadBmsBytes(second, saved, "out.bms", log);
    EXPECT_EQ(second.encoding, c.encoding) << c.name;
    EXPECT_EQ(second.header, first.header) << c.name;
    EXPECT_EQ(WriteBmsText(second, {}), saved) << c.name;
  }
}

}  // namespace
}  // namespace beatloom
