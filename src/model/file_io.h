#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace beatloom {

// Every file the program reads or writes goes through here, so that special
// files, links, read-only charts and full disks are handled the same way by
// the window, the command-line tool and the exchange formats.
//
// Failure reasons always name the path the caller gave ("song.bms:
// Permission denied"), never a temporary file.

// Reads a whole regular file. Anything else (a folder, a FIFO, a device) is
// refused without blocking, like a file that cannot be read.
bool ReadFileBytes(const std::string& path, std::string& out, std::string* reason = nullptr);

// Why path cannot be read ("path: reason"), or empty when it names a readable
// regular file. Opens nothing that could block and reads no byte.
std::string ReadProblem(const std::string& path);

// Replaces path with bytes through a short-named temporary file in the
// target's folder; the old file stays whole unless every new byte reached the
// disk. Links are followed to the file they name (a dangling link's target is
// created; a loop fails). A target that exists but may not be written (no
// write permission, or no write bit at all even for a privileged user) is
// refused and left untouched. When the folder takes no temporary file, a
// writable target is overwritten in place and restored if that fails mid-way.
// The file keeps its permissions; a new one gets the usual ones.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason);

// The same for the program's fixed-name working files: a link found at path
// is replaced by the new file, never written through; a file of another user
// found there is refused, and nothing is ever written in place.
bool WriteWorkingFile(const std::string& path, std::string_view bytes, std::string* reason);

// Where a file that must be overwritten in place keeps its old bytes while
// the new ones are written (the per-user state folder), so that a process
// killed mid-way leaves them recoverable. Until it is set, such a save is
// refused. SetAsidePath names the copy of one file there (empty while unset);
// a copy found there after a crash holds the old contents of that file.
inline constexpr const char* kSetAsideSuffix = ".before-save";
void SetAsideFolderForInPlaceSaves(const std::string& folder);
std::string SetAsidePath(const std::string& path);

// What identifies a file's contents cheaply: a file replaced, rewritten or
// touched by another program gets another stamp.
struct FileStamp {
  bool exists = false;
  unsigned long long device = 0, inode = 0;
  long long size = 0, modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);

// Writes several files so that either all are replaced or none is: each is
// written to a temporary file first and all are renamed into place only when
// every one is complete; a rename that fails puts back the ones already moved.
bool WriteFilesTogether(const std::vector<std::pair<std::string, std::string_view>>& files, std::string* reason);

// Walks the lines of a text in one pass over its bytes, storing none of them,
// so that a file of a million line ends costs no more than its bytes. CR, LF
// and CR LF each end a line; a final line end starts no empty line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view bytes) : rest_(bytes) {}
  // The next line; false after the last one.
  bool Next(std::string_view& line);

 private:
  std::string_view rest_;
};

// The program's own small text files (lists, templates): bytes, one entry a
// line, written with CR LF. Reading accepts any line end.
// The lines LineCursor walks, gathered.
std::vector<std::string_view> SplitLineEnds(std::string_view bytes);
bool ReadLinesFile(const std::string& path, std::vector<std::string>& lines);
bool WriteLinesFile(const std::string& path, const std::vector<std::string>& lines);

// Creates folder and any missing parents, the folder itself readable by its
// owner alone. True when it is a folder afterwards.
bool MakePrivateFolder(const std::string& folder);

// True for a regular file (what ReadFileBytes would accept).
bool FileExists(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
std::string FolderOf(const std::string& path);

}  // namespace beatloom
