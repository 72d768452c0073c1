#pragma once

#include <string>
#include <vector>

#include "bms/bms_writer.h"
#include "model/document.h"
#include "model/file_io.h"

namespace beatloom {

// Copies of unsaved work that outlive a crash. Each running program keeps at
// most one copy in the per-user state folder (never beside the chart): the
// chart as the writer writes it, and beside it the name of the file it came
// from with that file's stamp at the time it was read or saved. A clean
// exit, a save and every state without unsaved changes remove it; a copy
// whose program is no longer running is what a crash left behind.
class RecoveryStore {
 public:
  // What a program that did not end cleanly left behind.
  struct Orphan {
    std::string chartPath;     // the copy itself, a chart
    std::string originalName;  // the chart's own file; empty for a chart never saved
    FileStamp originalStamp;   // that file as the crashed program knew it
  };

  // pid names this program's copy; a copy named by a running process is
  // that process's and never offered.
  RecoveryStore(std::string folder, long pid);

  // The copies of programs that no longer run, newest first.
  std::vector<Orphan> FindOrphans() const;
  static void Discard(const Orphan& orphan);
  // Old bytes a save in place kept aside and never removed: the process was
  // killed while it wrote, and the file it wrote may be torn.
  std::vector<std::string> FindSetAsideCopies() const;

  // Called now and then and after every change. A chart without unsaved
  // changes needs no copy (one left from before goes); a modified one is
  // copied unless it is unchanged since the last copy (same revision, same
  // file name). True when a copy was written; a copy that cannot be written
  // is tried again next time.
  bool Update(const Document& doc, unsigned long revision, const std::string& originalName,
              const FileStamp& originalStamp, const SaveOptions& options);
  void Remove();
  bool HasCopy() const { return hasCopy_; }
  std::string CopyPath() const;

 private:
  std::string NamePath() const;

  std::string folder_;
  long pid_;
  bool hasCopy_ = false;
  unsigned long copiedRevision_ = 0;
  std::string copiedName_;
};

}  // namespace beatloom
