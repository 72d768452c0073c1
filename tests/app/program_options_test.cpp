#include <gtest/gtest.h>

#include <string>

#include "support/command_line.h"

namespace beatloom {
namespace {

// The editor as a user starts it from a terminal with no window system at
// all: no X or Wayland display and no platform chosen.
test::CommandOutput RunWithoutDisplay(const std::string& args) {
#ifdef BEATLOOM_GUI
  const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '") + BEATLOOM_GUI +
                              "' " + args + " 2>/dev/null";
  return test::RunCommandLine(command);
#else
  (void)args;
  return {};
#endif
}

TEST(ProgramOptions, HelpAndVersionNeedNoDisplay) {
#ifndef BEATLOOM_GUI
  GTEST_SKIP() << "built without the window program";
#endif
  struct Row {
    const char* args;
    const char* starts;
  };
  const Row rows[] = {
      {"--help", "Usage: beatloom [CHART.bms]\n"},
      {"-h", "Usage: beatloom [CHART.bms]\n"},
      {"song.bms --help", "Usage: beatloom [CHART.bms]\n"},
      {"--version", "Beatloom "},
  };
  for (const Row& row : rows) {
    const test::CommandOutput r = RunWithoutDisplay(row.args);
    EXPECT_EQ(r.status, 0) << row.args;
    EXPECT_EQ(r.text.rfind(row.starts, 0), 0u) << row.args << ": " << r.text;
  }
  const test::CommandOutput version = RunWithoutDisplay("--version");
  EXPECT_GT(version.text.size(), std::string("Beatloom \n").size());
  EXPECT_EQ(version.text.find('\n'), version.text.size() - 1);
}

}  // namespace
}  // namespace beatloom
