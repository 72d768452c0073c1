#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

// check says which radix the reader chose and from which line; dump carries it.
TEST(CliRadix, CheckAndDumpReportTheRadix) {
  const char* const cases[][3] = {
      {"radix/base36.bms", "base 36: #WAV0G on line 29\n", "\"radix\": 36"},
      {"radix/base62.bms", "base 62: #BASE 62 on line 4\n", "\"radix\": 62"},
      {"radix/hexlower.bms", "base 16: no index beyond hexadecimal\n", "\"radix\": 16"},
  };
  for (const auto& [file, check, dump] : cases) {
    const std::string path = test::Quote(test::GeneratedFile(file));
    EXPECT_NE(test::RunCli("check " + path, test::CliStream::Out).text.find(check), std::string::npos) << file;
    EXPECT_NE(test::RunCli("dump " + path, test::CliStream::Out).text.find(dump), std::string::npos) << file;
  }
}

}  // namespace
}  // namespace beatloom
