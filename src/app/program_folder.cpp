#include "app/program_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "model/file_io.h"

namespace beatloom {

namespace {

std::string ExecutableFolder() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  buf[n] = '\0';
  return FolderOf(buf);
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/tmp";
}

std::string ConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    base = JoinPath(HomeFolder(), ".config");
  }
  mkdir(base.c_str(), 0755);
  const std::string folder = JoinPath(base, "beatloom");
  mkdir(folder.c_str(), 0755);
  return folder;
}

}  // namespace

std::string StateFolder() {
  const char* home = std::getenv("BEATLOOM_HOME");
  if (home && *home) return home;
  const char* xdg = std::getenv("XDG_STATE_HOME");
  const std::string base = xdg && *xdg ? std::string(xdg) : JoinPath(HomeFolder(), ".local/state");
  return JoinPath(base, "beatloom");
}

std::string ProgramFolder() {
  const char* home = std::getenv("BEATLOOM_HOME");
  if (home && *home) return home;
  const std::string exe = ExecutableFolder();
  if (access(exe.c_str(), W_OK) == 0) return exe;
  return ConfigFolder();
}

std::string SharedDataFolder(const std::string& executableFolder) {
  const std::filesystem::path bin(executableFolder.empty() ? "." : executableFolder);
  return (bin / ".." / "share" / "beatloom").lexically_normal().string();
}

}  // namespace beatloom
