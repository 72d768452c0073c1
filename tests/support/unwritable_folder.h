#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace beatloom::test {

// Sets or clears an inode flag (FS_IMMUTABLE_FL, FS_APPEND_FL); false when
// the file system or the user's privileges do not allow it.
inline bool SetFileFlag(const std::string& path, int flag, bool on) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | flag) : (flags & ~flag);
    ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  close(fd);
  return ok;
}

// A folder nobody may create files in, not even root (whom permission bits do
// not stop): the immutable flag is set as well when the bits are not enough.
// A writable file in such a folder is still saved in place, so by default the
// files already there are made read-only too, to make every save there fail.
class UnwritableFolder {
 public:
  enum class Files { ReadOnly, Writable };

  explicit UnwritableFolder(std::string path, Files files = Files::ReadOnly) : path_(std::move(path)) {
    if (files == Files::ReadOnly) {
      for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        struct stat st {};
        const std::string file = entry.path().string();
        if (lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        modes_.emplace_back(file, st.st_mode & 07777);
        chmod(file.c_str(), 0444);
      }
    }
    chmod(path_.c_str(), 0555);
    if (Writable()) SetFileFlag(path_, FS_IMMUTABLE_FL, true);
    ok_ = !Writable();
  }
  ~UnwritableFolder() {
    SetFileFlag(path_, FS_IMMUTABLE_FL, false);
    chmod(path_.c_str(), 0755);
    for (const auto& [file, mode] : modes_) chmod(file.c_str(), mode);
  }
  UnwritableFolder(const UnwritableFolder&) = delete;
  UnwritableFolder& operator=(const UnwritableFolder&) = delete;
  bool ok() const { return ok_; }

 private:
  bool Writable() const {
    const std::string probe = path_ + "/.probe";
    const int fd = open(probe.c_str(), O_CREAT | O_WRONLY, 0644);
    if (fd < 0) return false;
    close(fd);
    unlink(probe.c_str());
    return true;
  }

  std::string path_;
  std::vector<std::pair<std::string, mode_t>> modes_;
  bool ok_ = false;
};

}  // namespace beatloom::test
