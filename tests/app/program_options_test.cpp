#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace beatloom {
namespace {

struct ProgramRun {
  int status = -1;
  std::string out;
};

// The editor as a user starts it from a terminal with no window system at
// all: no X or Wayland display and no platform chosen.
ProgramRun RunWithoutDisplay(const std::string& args) {
#ifdef BEATLOOM_GUI
  const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '") + BEATLOOM_GUI +
                              "' " + args + " 2>/dev/null";
  ProgramRun r;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int raw = pclose(p);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
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
    const ProgramRun r = RunWithoutDisplay(row.args);
    EXPECT_EQ(r.status, 0) << row.args;
    EXPECT_EQ(r.out.rfind(row.starts, 0), 0u) << row.args << ": " << r.out;
  }
  const ProgramRun version = RunWithoutDisplay("--version");
  EXPECT_GT(version.out.size(), std::string("Beatloom \n").size());
  EXPECT_EQ(version.out.find('\n'), version.out.size() - 1);
}

}  // namespace
}  // namespace beatloom
