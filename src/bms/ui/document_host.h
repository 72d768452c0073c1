#pragma once

#include <QString>
#include <string>
#include <vector>

#include "bms/bms_writer.h"

namespace beatloom {

// What the document commands need from the window that shows the chart. The
// main window implements it; tests implement it with a recorder.
class DocumentHost {
 public:
  enum class NameList { Artist, Genre };
  // Which reset the window half follows: a new chart selects BMP01, a loaded
  // one BMP00.
  enum class Replaced { New, Loaded };

  virtual ~DocumentHost() = default;

  virtual void SetCaption(const QString& caption) = 0;
  // Header controls, memos and definition lists show the document again, and
  // the lanes follow a changed play mode. Must leave the document alone.
  virtual void RefreshFromDocument() = 0;
  // The window half of a reset or load: everything RefreshFromDocument does,
  // plus the score back to the top, the list selections and the lanes of the
  // play mode now set.
  virtual void ShowReplacedDocument(Replaced how) = 0;
  virtual void Redraw() = 0;
  // "ソースのダイレクト編集" and the two "play the chart being edited" entries:
  // they need a chart that has been through a file.
  virtual void SetFileCommandsEnabled(bool enabled) = 0;
  virtual void TakeUndoSnapshot() = 0;
  virtual void DisableUndo() = 0;
  // The log has a new report; bring the log window up when show is true.
  virtual void LogChanged(bool show) = 0;
  virtual std::string ProgramFolder() const = 0;
  // From the settings controls Edit3 and CheckBox8.
  virtual SaveOptions CurrentSaveOptions() const = 0;
  // Drop-down items of e_art / e_genre, bytes as kept in their list files.
  // Setting them keeps the combo box's text.
  virtual std::vector<std::string> NameListItems(NameList list) const = 0;
  virtual void SetNameListItems(NameList list, const std::vector<std::string>& items) = 0;
  // "Beatloom WorkFiles.txt" changed; the reopen menu follows it.
  virtual void RecentFilesChanged() = 0;
};

}  // namespace beatloom
