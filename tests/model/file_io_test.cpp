#include "model/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <optional>

#include "model/chart_file_lookup.h"
#include "support/test_support.h"
#include "support/unwritable_folder.h"

namespace beatloom {
namespace {

using test::ReadFile;
using test::TempDir;

bool IsLink(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// What a row's folder holds before the write: a file "old" with a mode, a
// link, a FIFO or a folder.
struct Step {
  char kind;  // 'f', 'l', 'p', 'd'
  std::string name, to;
  mode_t mode = 0644;
};

// Each row writes "new" to the file the user chose and checks what became
// of it and of everything around it.
TEST(FileIo, WritesReplaceOnlyWhatTheUserMayWrite) {
  const std::string longName = std::string(251, 'n') + ".bms";
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::string chosen;
    bool working, lockFolder;  // a fixed-name working file; no temporary file can be made beside it
    std::string why;           // the reason after "chosen: ", empty on success
    std::string file, holds;   // afterwards file holds this, with the given mode when not 0
    mode_t mode;
  } rows[] = {
      {"permissions kept", {{'f', "a.bms", "", 0640}}, "a.bms", false, false, "", "a.bms", "new", 0640},
      {"read-only", {{'f', "a.bms", "", 0444}}, "a.bms", false, false, "Permission denied", "a.bms", "old", 0444},
      {"fifo", {{'p', "a.bms", ""}}, "a.bms", false, false, "not a regular file", "", "", 0},
      {"missing folder", {}, "no/a.bms", false, false, "No such file or directory", "", "", 0},
      {"locked folder, writable chart", {{'f', "a.bms", "", 0640}}, "a.bms", false, true, "", "a.bms", "new", 0640},
      {"locked folder, new chart", {}, "b.bms", false, true, "Permission denied", "", "", 0},
      {"live link chain",
       {{'f', "real.bms", "", 0600}, {'l', "mid.bms", "real.bms"}, {'l', "a.bms", "mid.bms"}},
       "a.bms",
       false,
       false,
       "",
       "real.bms",
       "new",
       0600},
      {"dangling link", {{'l', "a.bms", "made.bms"}}, "a.bms", false, false, "", "made.bms", "new", 0},
      {"looping link",
       {{'l', "a.bms", "b.bms"}, {'l', "b.bms", "a.bms"}},
       "a.bms",
       false,
       false,
       "Too many levels of symbolic links",
       "",
       "",
       0},
      {"planted link",
       {{'f', "victim", ""}, {'l', "workcode", "victim"}},
       "workcode",
       true,
       false,
       "",
       "victim",
       "old",
       0},
      {"longest legal name", {}, longName, false, false, "", longName, "new", 0},
  };
  TempDir aside;
  SetAsideFolderForInPlaceSaves(aside.path());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    for (const Step& s : row.steps) {
      const std::string path = dir.file(s.name);
      if (s.kind == 'f') test::WriteFile(path, "old");
      const int made = s.kind == 'f'   ? chmod(path.c_str(), s.mode)
                       : s.kind == 'l' ? symlink(s.to.c_str(), path.c_str())
                       : s.kind == 'p' ? mkfifo(path.c_str(), 0644)
                                       : mkdir(path.c_str(), 0755);
      ASSERT_EQ(made, 0) << s.name;
    }
    std::optional<test::UnwritableFolder> locked;
    if (row.lockFolder) locked.emplace(dir.path(), test::UnwritableFolder::Files::Writable);
    if (locked && !locked->ok()) continue;  // nothing stops this user; the other rows still count
    const std::vector<std::string> before = Entries(dir.path());
    const std::string chosen = dir.file(row.chosen);
    std::string reason;
    const bool ok =
        row.working ? WriteWorkingFile(chosen, "new", &reason) : WriteFileAtomically(chosen, "new", &reason);
    // A folder whose immutable flag alone stops a privileged user is refused
    // in the system's other words.
    const bool immutable = row.why == "Permission denied" && reason == chosen + ": Operation not permitted";
    EXPECT_EQ(reason, ok ? "" : chosen + ": " + (immutable ? "Operation not permitted" : row.why));
    EXPECT_EQ(ok, row.why.empty());
    EXPECT_EQ(row.file.empty() ? "" : ReadFile(dir.file(row.file)), row.holds);
    EXPECT_EQ(row.mode != 0 ? ModeOf(dir.file(row.file)) : 0, row.mode);
    // Links are followed, never replaced, except where a working file belongs.
    for (const Step& s : row.steps) EXPECT_EQ(IsLink(dir.file(s.name)), s.kind == 'l' && !row.working) << s.name;
    EXPECT_EQ(row.working ? ReadFile(chosen) : "new", "new");
    // No temporary file is left behind, and a failure changes nothing.
    const std::vector<std::string> after = Entries(dir.path());
    for (const std::string& name : after) EXPECT_NE(name.rfind(".bl", 0), 0u) << name;
    EXPECT_EQ(ok ? before : after, before);
    EXPECT_TRUE(Entries(aside.path()).empty());
  }
  SetAsideFolderForInPlaceSaves("");
}

// A save that the file-size limit cuts short, in a child process: with the
// signal at its default the child is killed in the middle of the write, as
// by any kill; ignored, the write fails with EFBIG. The chart is then old or
// new, never torn, or its old bytes wait whole in the set-aside folder. A
// folder that takes no new file makes the save an in-place one.
TEST(FileIo, ASaveCutShortLeavesTheOldOrTheNewChart) {
  const std::string old(3000, 'o'), fresh(9000, 'n');
  for (const bool locked : {false, true}) {
    for (const bool killed : {false, true}) {
      SCOPED_TRACE(std::string(locked ? "in place, " : "by rename, ") + (killed ? "killed" : "refused"));
      TempDir dir, aside;
      const std::string chart = dir.file("a.bms");
      test::WriteFile(chart, old);
      std::optional<test::UnwritableFolder> lock;
      if (locked) lock.emplace(dir.path(), test::UnwritableFolder::Files::Writable);
      if (lock && !lock->ok()) continue;
      const pid_t child = fork();
      if (child == 0) {
        SetAsideFolderForInPlaceSaves(aside.path());
        const struct rlimit limit = {6000, 6000};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
        std::string reason;
        const bool ok = WriteFileAtomically(chart, fresh, &reason);
        _exit(!ok && reason == chart + ": File too large" ? 0 : 1);
      }
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_TRUE(killed ? WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ
                         : WIFEXITED(status) && WEXITSTATUS(status) == 0);
      const std::string now = ReadFile(chart);
      const std::vector<std::string> keptAside = Entries(aside.path());
      const std::string kept = keptAside.size() == 1 ? ReadFile(aside.file(keptAside[0])) : "";
      EXPECT_TRUE(now == old || now == fresh || kept == old) << now.size();
      if (killed) continue;  // a killed process cleans nothing up
      EXPECT_EQ(now, old);
      EXPECT_TRUE(keptAside.empty());
      for (const std::string& name : Entries(dir.path())) EXPECT_NE(name.rfind(".bl", 0), 0u) << name;
    }
  }
}

// Charts made on other systems name their files with "\" and in any letter
// case; an exact name comes first, then the first match in byte order; only
// regular files are ever found (a FIFO would block whoever opens it).
TEST(ChartFileLookup, FindsTheFileAChartNamesAsOtherSystemsWriteIt) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("Sounds/Drums"));
  std::filesystem::create_directory(dir.file("folder.bmp"));
  for (const char* name : {"Sounds/Drums/Kick.wav", "bg.BMP", "Exact.wav", "exact.WAV", "hat.ogg", "Sounds/Ride.MP3"})
    test::WriteFile(dir.file(name), "x");
  ASSERT_EQ(mkfifo(dir.file("pipe.wav").c_str(), 0600), 0);
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"bg.BMP", "bg.BMP"}, {"BG.bmp", "bg.BMP"}, {"Sounds\\Drums\\Kick.wav", "Sounds/Drums/Kick.wav"},
      {"sounds\\DRUMS\\kick.WAV", "Sounds/Drums/Kick.wav"}, {".\\sounds/drums\\kick.wav", "Sounds/Drums/Kick.wav"},
      {"exact.WAV", "exact.WAV"}, {"EXACT.wav", "Exact.wav"}, {"missing.wav", ""}, {"Sounds\\missing.wav", ""},
      {"PIPE.WAV", ""}, {"pipe.wav", ""}, {"folder.bmp", ""}};
  // clang-format on
  for (const auto& [written, found] : cases)
    EXPECT_EQ(ResolveChartFile(dir.path(), written), *found ? dir.file(found) : "") << written;
  EXPECT_EQ(ResolveChartSound(dir.path(), "HAT.wav"), dir.file("hat.ogg"));
  EXPECT_EQ(ResolveChartSound(dir.path(), "sounds\\ride.wav"), dir.file("Sounds/Ride.MP3"));
}

}  // namespace
}  // namespace beatloom
