#pragma once

#include <QString>
#include <string>
#include <vector>

#include "bms/bms_writer.h"

namespace beatloom {

// What the document commands need from the window around them, beyond the
// chart itself: the chart reaches every view through the chart session, and
// these are the few things that are not the chart. The main window
// implements it; tests implement it with a recorder.
class DocumentHost {
 public:
  enum class NameList { Artist, Genre };
  // %EMAIL and %URL of a new chart, as the author last stored them.
  struct AuthorAddress {
    std::string email;
    std::string url;
  };

  virtual ~DocumentHost() = default;

  virtual void SetCaption(const QString& caption) = 0;
  // "ソースのダイレクト編集" and the two "play the chart being edited" entries:
  // they need a chart that has been through a file.
  virtual void SetFileCommandsEnabled(bool enabled) = 0;
  // The log has a new report; bring the log window up when show is true.
  virtual void LogChanged(bool show) = 0;
  // From the settings controls Edit3 and CheckBox8.
  virtual SaveOptions CurrentSaveOptions() const = 0;
  // Drop-down items of e_art / e_genre, bytes as kept in their list files.
  // Setting them keeps the combo box's text.
  virtual std::vector<std::string> NameListItems(NameList list) const = 0;
  virtual void SetNameListItems(NameList list, const std::vector<std::string>& items) = 0;
  // "Beatloom WorkFiles.txt" changed; the reopen menu follows it.
  virtual void RecentFilesChanged() = 0;
  // Read at every reset, so an address changed in the options dialog reaches
  // the next new or loaded chart.
  virtual AuthorAddress AuthorDefaults() const = 0;
};

}  // namespace beatloom
