#include <gtest/gtest.h>

#include <filesystem>

#include "bms/bms_reader.h"
#include "formats/bmm_export.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

// The sound list stops at line 255: a key note beyond it refuses the export
// before either file is written. Background sounds carry no index there.
TEST(BmmRadix, KeyNotesBeyondTheListRefuseTheExport) {
  const std::pair<const char*, bool> cases[] = {
      {"#WAV0Z a.wav\r\n#00111:0Z\r\n#00101:ZZ\r\n", true},
      {"#WAV0Z a.wav\r\n#00116:00ZZ\r\n", false},  // the scratch
      {"#BASE 62\r\n#00111:47\r\n", true},         // 4 * 62 + 7: the last line
      {"#BASE 62\r\n#00111:48\r\n", false},
  };
  for (const auto& [chart, exported] : cases) {
    test::TempDir dir;
    Document doc;
    Log log;
    LoadBmsBytes(doc, chart, "t.bms", log);
    std::string error;
    EXPECT_EQ(ExportBmmFiles(doc, dir.file("song.bms"), &error), exported) << chart;
    EXPECT_EQ(std::filesystem::exists(dir.file("song.BMM")) || std::filesystem::exists(dir.file("song.BML")), exported);
    EXPECT_EQ(error.find("255") != std::string::npos, !exported) << error;
  }
}

}  // namespace
}  // namespace beatloom
