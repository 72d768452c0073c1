#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <ostream>
#include <string>

#include "app/ui/main_window_fixture.h"

// Readable failure messages for lists of Qt strings (single strings: the
// main window fixture).
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '[' << l.join(", ").toStdString() << ']'; }

namespace beatloom::test {

// A folder nobody may create files in, not even root (whom permission bits do
// not stop): the immutable flag is set as well when the bits are not enough.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(std::string path) : path_(std::move(path)) {
    chmod(path_.c_str(), 0555);
    if (Writable()) SetImmutable(true);
    ok_ = !Writable();
  }
  ~UnwritableFolder() {
    SetImmutable(false);
    chmod(path_.c_str(), 0755);
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
  void SetImmutable(bool on) {
    const int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    close(fd);
  }

  std::string path_;
  bool ok_ = false;
};

}  // namespace beatloom::test
