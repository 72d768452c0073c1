#include "model/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>

namespace beatloom {

namespace {

// What the system itself follows before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;

bool Fail(std::string* reason, const std::string& path, int err) {
  if (reason) *reason = path + ": " + std::strerror(err);
  errno = err;
  return false;
}

bool Fail(std::string* reason, const std::string& path, const char* why, int err) {
  if (reason) *reason = path + ": " + why;
  errno = err;
  return false;
}

bool RegularOrFail(const struct stat& st, const std::string& path, std::string* reason) {
  if (S_ISREG(st.st_mode)) return true;
  if (S_ISDIR(st.st_mode)) return Fail(reason, path, EISDIR);
  return Fail(reason, path, "not a regular file", EINVAL);
}

class FdCloser {
 public:
  explicit FdCloser(int fd) : fd_(fd) {}
  ~FdCloser() {
    if (fd_ >= 0) ::close(fd_);
  }
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;

 private:
  int fd_;
};

// A FIFO blocks an ordinary open or read forever and a device such as
// /dev/zero never ends, so only regular files are opened at all: the stat
// before the open keeps devices closed, the fstat after it closes the race.
int OpenForReading(const std::string& path, struct stat& st, std::string* reason) {
  if (stat(path.c_str(), &st) != 0) {
    Fail(reason, path, errno);
    return -1;
  }
  if (!RegularOrFail(st, path, reason)) return -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Fail(reason, path, errno);
    return -1;
  }
  if (fstat(fd, &st) != 0 || !RegularOrFail(st, path, reason)) {
    const int e = errno;
    ::close(fd);
    errno = e;
    return -1;
  }
  return fd;
}

bool WriteAllAt(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t w = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      if (w == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<size_t>(w);
  }
  return true;
}

// The file a write replaces: the end of a link chain, or the link itself
// when links are not to be followed.
struct Target {
  std::string path;
  bool exists = false;
  struct stat st {};
};

bool ReadLinkText(const std::string& path, std::string& text) {
  std::string buf(256, '\0');
  for (;;) {
    const ssize_t n = readlink(path.c_str(), buf.data(), buf.size());
    if (n < 0) return false;
    if (static_cast<size_t>(n) < buf.size()) {
      text.assign(buf.data(), static_cast<size_t>(n));
      return true;
    }
    buf.resize(buf.size() * 2);
  }
}

// Follows links by hand rather than with realpath so that a dangling link
// still names the file to create, as writing into it would.
bool FindTarget(const std::string& requested, bool followLinks, Target& t, std::string* reason) {
  std::string path = requested;
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
      if (errno != ENOENT) return Fail(reason, requested, errno);
      t.path = path;
      return true;
    }
    if (!S_ISLNK(st.st_mode) || !followLinks) {
      t.path = path;
      // A link where a working file belongs is replaced like a missing file.
      t.exists = !S_ISLNK(st.st_mode);
      t.st = st;
      return true;
    }
    if (hops == kMaxLinkHops) return Fail(reason, requested, ELOOP);
    std::string next;
    if (!ReadLinkText(path, next)) return Fail(reason, requested, errno);
    path = !next.empty() && next.front() == '/' ? next : JoinPath(FolderOf(path), next);
  }
}

// Renaming over a file never asks whether the file itself may be written, so
// that is asked here. A file with no write bit at all was made read-only on
// purpose; a user whom the bits do not bind respects that too.
bool MayReplace(const Target& t, const std::string& requested, std::string* reason) {
  if (!t.exists) return true;
  if (!RegularOrFail(t.st, requested, reason)) return false;
  if (faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) return Fail(reason, requested, errno);
  if ((t.st.st_mode & 0222) == 0) return Fail(reason, requested, EACCES);
  return true;
}

// Short names, so that a target whose own name is at the length limit can
// still be saved. The mode goes through the umask like any new file's.
int CreateTemp(const std::string& folder, mode_t mode, std::string& tmp) {
  thread_local std::minstd_rand next(std::random_device{}() ^ static_cast<unsigned>(getpid()));
  constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = ".bl";
    for (int i = 0; i < 6; ++i) name += kChars[next() % (sizeof kChars - 1)];
    tmp = JoinPath(folder, name);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Writes bytes to a new temporary file beside the target, carrying the
// target's owner and permissions. On failure tmp is empty and err says why.
bool WriteTemp(const Target& t, std::string_view bytes, std::string& tmp, int& err) {
  const int fd = CreateTemp(FolderOf(t.path), t.exists ? 0600 : 0666, tmp);
  if (fd < 0) {
    err = errno;
    tmp.clear();
    return false;
  }
  bool ok = WriteAllAt(fd, bytes);
  if (ok && t.exists) {
    // The owner first: changing it clears the set-id bits. Only a privileged
    // user can give a file away; anyone else keeps the file as their own.
    if (fchown(fd, t.st.st_uid, t.st.st_gid) != 0) errno = 0;
    fchmod(fd, t.st.st_mode & 07777);
  }
  ok = ok && fsync(fd) == 0;
  if (!ok) err = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    tmp.clear();
  }
  return ok;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  ::close(fd);
}

// A folder that refuses new entries (or a rename over a mount point) does not
// stop the author saving a file they may write.
bool InPlaceHelps(const Target& t, int err) { return t.exists && (err == EACCES || err == EPERM || err == EBUSY); }

std::string& AsideFolder() {
  static std::string folder;
  return folder;
}

// Overwrites the file where it stands. A process killed in the middle would
// leave a file that is neither the old one nor the new one, so the old bytes
// first go whole (written and flushed) to the set-aside folder, and stay
// there until the new bytes are on the disk. Without that copy nothing is
// written. When the new bytes do not all reach the disk the old ones are
// written back; as nothing is truncated before the new bytes are in, a
// failure can only come from growing the file, and putting the old bytes
// back needs no new space.
bool WriteInPlace(const Target& t, std::string_view bytes, const std::string& requested, std::string* reason) {
  std::string old;
  if (!ReadFileBytes(t.path, old)) return Fail(reason, requested, errno);
  const std::string aside = AsideFolder().empty() ? std::string() : SetAsidePath(t.path);
  if (aside.empty() || !MakePrivateFolder(AsideFolder()) || !WriteWorkingFile(aside, old, nullptr))
    return Fail(reason, requested, "its folder takes no new file and the old contents could not be kept aside", EACCES);
  const int fd = ::open(t.path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int e = errno;
    ::unlink(aside.c_str());
    return Fail(reason, requested, e);
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    ::unlink(aside.c_str());
    return Fail(reason, requested, "not a regular file", EINVAL);
  }
  if (WriteAllAt(fd, bytes) && ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0) {
    const int closed = ::close(fd);
    const int e = errno;
    if (closed != 0) return Fail(reason, requested, e);
    ::unlink(aside.c_str());
    return true;
  }
  const int e = errno;
  // The set-aside copy goes only once the old bytes are back for sure.
  if (WriteAllAt(fd, old) && ftruncate(fd, static_cast<off_t>(old.size())) == 0 && fsync(fd) == 0)
    ::unlink(aside.c_str());
  ::close(fd);
  return Fail(reason, requested, e);
}

// A working file is never written in place: the file standing at its name
// may be anyone's (a shared folder), and the program writes only into files
// it created itself.
bool Replace(const Target& t, std::string_view bytes, const std::string& requested, std::string* reason,
             bool mayWriteInPlace) {
  std::string tmp;
  int err = 0;
  if (!WriteTemp(t, bytes, tmp, err)) {
    if (mayWriteInPlace && InPlaceHelps(t, err)) return WriteInPlace(t, bytes, requested, reason);
    return Fail(reason, requested, err);
  }
  if (std::rename(tmp.c_str(), t.path.c_str()) != 0) {
    err = errno;
    ::unlink(tmp.c_str());
    if (mayWriteInPlace && InPlaceHelps(t, err)) return WriteInPlace(t, bytes, requested, reason);
    return Fail(reason, requested, err);
  }
  SyncFolder(FolderOf(t.path));
  return true;
}

bool WriteFileFollowing(const std::string& path, std::string_view bytes, std::string* reason, bool followLinks) {
  Target t;
  if (!FindTarget(path, followLinks, t, reason) || !MayReplace(t, path, reason)) return false;
  const bool working = !followLinks;
  // Another user's file at a working file's name was put there by them, not
  // left by this program: it is neither replaced nor written into.
  if (working && t.exists && t.st.st_uid != geteuid())
    return Fail(reason, path, "a file of another user stands at this name", EPERM);
  return Replace(t, bytes, path, reason, !working);
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& out, std::string* reason) {
  struct stat st {};
  const int fd = OpenForReading(path, st, reason);
  if (fd < 0) return false;
  FdCloser closer(fd);
  // One byte more than the size, so that the read which finds the end needs
  // no growth; a file that grows meanwhile is read to its new end.
  out.assign(static_cast<size_t>(st.st_size) + 1, '\0');
  size_t used = 0;
  for (;;) {
    if (used == out.size()) out.resize(out.size() * 2);
    const ssize_t n = ::read(fd, out.data() + used, out.size() - used);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int e = errno;
      out.clear();
      return Fail(reason, path, e);
    }
    used += static_cast<size_t>(n);
  }
  out.resize(used);
  return true;
}

std::string ReadProblem(const std::string& path) {
  struct stat st {};
  std::string reason;
  const int fd = OpenForReading(path, st, &reason);
  if (fd >= 0) ::close(fd);
  return reason;
}

void SetAsideFolderForInPlaceSaves(const std::string& folder) { AsideFolder() = folder; }

std::string SetAsidePath(const std::string& path) {
  if (AsideFolder().empty()) return {};
  // The file's name for the author, its whole path's hash so that two charts
  // of one name in different folders do not share the copy.
  const size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(std::hash<std::string>{}(path)));
  return JoinPath(AsideFolder(), name.substr(0, 200) + "." + hash + kSetAsideSuffix);
}

FileStamp StampOf(const std::string& path) {
  struct stat st {};
  FileStamp s;
  if (stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.device = static_cast<unsigned long long>(st.st_dev);
  s.inode = static_cast<unsigned long long>(st.st_ino);
  s.size = static_cast<long long>(st.st_size);
  s.modifiedNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return s;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
  return WriteFileFollowing(path, bytes, reason, true);
}

bool WriteWorkingFile(const std::string& path, std::string_view bytes, std::string* reason) {
  return WriteFileFollowing(path, bytes, reason, false);
}

bool WriteFilesTogether(const std::vector<std::pair<std::string, std::string_view>>& files, std::string* reason) {
  struct Staged {
    Target target;
    std::string tmp;
    std::string old;  // what an existing target held, to put back
    bool moved = false;
  };
  std::vector<Staged> staged(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    if (!FindTarget(files[i].first, true, staged[i].target, reason)) return false;
    if (!MayReplace(staged[i].target, files[i].first, reason)) return false;
  }
  const auto discard = [&staged] {
    for (Staged& s : staged)
      if (!s.tmp.empty() && !s.moved) ::unlink(s.tmp.c_str());
  };
  for (size_t i = 0; i < files.size(); ++i) {
    Staged& s = staged[i];
    int err = 0;
    if (s.target.exists && !ReadFileBytes(s.target.path, s.old)) err = errno;
    if (err == 0 && WriteTemp(s.target, files[i].second, s.tmp, err)) continue;
    discard();
    return Fail(reason, files[i].first, err);
  }
  for (size_t i = 0; i < files.size(); ++i) {
    Staged& s = staged[i];
    if (std::rename(s.tmp.c_str(), s.target.path.c_str()) == 0) {
      s.moved = true;
      continue;
    }
    const int err = errno;
    discard();
    // Put back what was already moved: the old bytes with the old
    // permissions, or no file where there was none.
    for (size_t j = 0; j < i; ++j) {
      Staged& back = staged[j];
      if (!back.target.exists) {
        ::unlink(back.target.path.c_str());
        continue;
      }
      std::string tmp;
      int ignored = 0;
      if (WriteTemp(back.target, back.old, tmp, ignored) && std::rename(tmp.c_str(), back.target.path.c_str()) != 0)
        ::unlink(tmp.c_str());
    }
    return Fail(reason, files[i].first, err);
  }
  for (const Staged& s : staged) SyncFolder(FolderOf(s.target.path));
  return true;
}

bool LineCursor::Next(std::string_view& line) {
  if (rest_.empty()) return false;
  const char* const begin = rest_.data();
  const char* const end = begin + rest_.size();
  const char* p = begin;
  // Most bytes are above CR, and one comparison clears them.
  while (p != end && (static_cast<unsigned char>(*p) > '\r' || (*p != '\n' && *p != '\r'))) ++p;
  line = std::string_view(begin, static_cast<size_t>(p - begin));
  if (p != end) {
    if (*p == '\r' && p + 1 != end && p[1] == '\n') ++p;
    ++p;
  }
  rest_ = std::string_view(p, static_cast<size_t>(end - p));
  return true;
}

std::vector<std::string_view> SplitLineEnds(std::string_view bytes) {
  std::vector<std::string_view> lines;
  LineCursor cursor(bytes);
  std::string_view line;
  while (cursor.Next(line)) lines.push_back(line);
  return lines;
}

bool ReadLinesFile(const std::string& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  lines.clear();
  for (std::string_view line : SplitLineEnds(bytes)) lines.emplace_back(line);
  return true;
}

bool WriteLinesFile(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return WriteFileAtomically(path, bytes, nullptr);
}

bool MakePrivateFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ignored);
  mkdir(folder.c_str(), 0700);
  struct stat st {};
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace beatloom
