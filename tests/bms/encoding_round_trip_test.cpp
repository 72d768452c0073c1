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
  };
  const std::vector<Case> cases = {
      {"CP932 half-width katakana", "#TITLE \xC4\xB7\xD7\xB2\r\n#00111:01\r\n", TextEncoding::Cp932},
      {"UTF-8 title beside a dropped CP932 comment", "#TITLE Café\r\n*-- \x93\xFA\x96\x7B\r\n#00111:01\r\n",
       TextEncoding::Utf8},
      {"CP932 title beside a dropped UTF-8 comment", "#TITLE \xC4\xB7\xD7\xB2\r\n*-- 日本語の譜面\r\n",
       TextEncoding::Cp932},
      {"UTF-8 kanji in the memo", "#TITLE 譜面\r\nメモ\r\n#WAV01 音.wav\r\n", TextEncoding::Utf8},
      {"byte-order mark over ASCII", "\xEF\xBB\xBF#TITLE A\r\n", TextEncoding::Utf8},
  };
  for (const Case& c : cases) {
    Log log;
    Document first;
    LoadBmsBytes(first, c.file, "in.bms", log);
    EXPECT_EQ(first.encoding, c.encoding) << c.name;
    const std::string saved = WriteBmsText(first, {});
    Document second;
    LoadBmsBytes(second, saved, "out.bms", log);
    EXPECT_EQ(second.encoding, c.encoding) << c.name;
    EXPECT_EQ(second.header, first.header) << c.name;
    EXPECT_EQ(WriteBmsText(second, {}), saved) << c.name;
  }
}

}  // namespace
}  // namespace beatloom
