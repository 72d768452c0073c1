#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "bms/ui/document_host.h"
#include "model/file_io.h"
#include "session/chart_session.h"

namespace beatloom {

class Prompts;
class SourceEditor;

inline constexpr const char* kSourceWorkFile = "workcode";
inline constexpr const char* kPlayerWorkingCopyFile = "Edit temp BMS (can delete).bms";
// The memo of every new chart, from the program folder.
inline constexpr const char* kHeaderTemplateFile = "header.txt";

// Whether a file name names a chart the program opens: it ends in ".bms" or
// ".bme" in any letter case.
bool IsChartFileName(const QString& path);
// A chart named on the command line, as a file manager hands over any file of
// the chart types the desktop entry claims: also the long-note (.bml) and
// nine-key (.pms) variants, which are the same text format. An argument
// that mentions ".bms" or ".bme" anywhere is tried too; the load asks before
// it opens a file that holds no chart.
bool IsCommandLineChart(const QString& path);

// The commands on the chart as a whole: new, open, save, the question before
// a modified chart is dropped, the header pickers, the direct input line and
// the direct source editor. Every change of the chart goes through the chart
// session, which tells the views; the rest of the window is reached only
// through DocumentHost.
class DocumentCommands {
 public:
  DocumentCommands(ChartSession& session, Prompts& prompts, DocumentHost& host, SourceEditor& sourceEditor,
                   std::string programFolder);

  // True: go on, the chart may be replaced. A modified chart is offered for
  // saving first; when that save is cancelled or fails the answer is false,
  // so the author's changes are never dropped behind their back.
  bool ConfirmDiscard();

  void New();
  bool Open();
  bool Save();
  bool SaveAs();
  // The new-chart state without asking: reset, "header.txt" into the memo,
  // not modified. Start-up uses it too.
  void ResetToNew();
  // The whole reset of a new chart, as an import starts it: the document and
  // the window (caption, file commands, the views back at the top). Leaves
  // Modified alone and the memo empty.
  void ResetChart();
  // Loads a chart without asking to save the one open (a file named on the
  // command line). Every load asks first when the file holds no chart line
  // at all (a sound, any binary file).
  bool LoadChart(const QString& path);
  // Asks, then loads (the recent-file menu). False when the author refused or
  // the load failed.
  bool OpenFile(const QString& path);
  // Files dropped on the window: the first chart among them (in name order,
  // ignoring case) is opened after asking. True when the drop held a chart;
  // the rest of the drop is then to be ignored.
  bool OpenDroppedChart(const QStringList& paths);

  void ChooseMidiFile();
  void ChooseStageFile();
  void ClearNameList(DocumentHost::NameList list);

  // One typed source line. True when it was taken (the input box is to be
  // emptied); false after a conversion error, which has been shown.
  bool DirectInput(const QString& line);
  void EditSource();
  void ShowLog();

  // The copy handed to the external player lives beside the chart last
  // opened or saved; every reset, save and the close remove it.
  QString PlayerWorkingCopyPath() const;
  void RemovePlayerWorkingCopy() const;
  // Writes that copy like a save that leaves the chart's name, caption,
  // lists and modified mark alone. A failure is shown, or only told through
  // reason when the caller reports it itself.
  bool WritePlayerWorkingCopy(QString* reason = nullptr);

  // A chart that came from no file (an import): Save must ask for a name and
  // nothing may be written beside the file it replaced.
  void ForgetFileNames() {
    session_.File().Forget();
    diskStamp_ = {};
    overwriteAsks_ = false;
  }

  // The chart's file may be changed by another program while it is open.
  // When it was, asks whether to read it again (the window became active
  // again); a file the author chose to keep the chart over is not asked
  // about twice. Save asks before writing over such a file.
  void CheckFileOnDisk();
  // The chart's file as last read or written here.
  const FileStamp& DiskStamp() const { return diskStamp_; }
  // Opens a recovery copy as the unsaved, modified chart of originalName
  // (empty: a chart that never had a file), whose file was as stamp says
  // when the copy's program last read or wrote it.
  bool RestoreRecovery(const QString& copyPath, const QString& originalName, const FileStamp& stamp);
  // The session's names of the chart's file, as the dialogs show them.
  QString SaveFileName() const;
  // Folder of the chart: where its sounds and images are looked up.
  QString ChartFolder() const;

 private:
  bool SaveTo(const QString& path);
  bool ConfirmOverwriteChanged();
  bool Load(const QString& path, ChartEdit::Mark mark);
  // False when path holds no chart and the author does not open it anyway.
  bool ConfirmNotChart(const QString& path, bool& notChart);
  void Reset(bool withTemplate);
  void ReadUserDefaults();
  void ApplyLog();
  void SetHeaderText(std::string HeaderFields::*field, const QString& text);
  // The chart's file is now path (a load or save that reached the disk):
  // the dialogs start in its folder, each given a folder, or just those the
  // save dialog does not keep.
  void TakeFileName(const QString& path, bool everyDialog);
  bool TidyAndWrite(const std::string& path, const SaveOptions& options, std::string& error);
  bool SaveSourceWorkFile(const std::string& path);
  void ApplySourceLines(const QStringList& lines, const std::vector<std::string>& original, const std::string& path);

  ChartSession& session_;
  Document& doc_;
  Log& log_;
  Prompts& prompts_;
  DocumentHost& host_;
  SourceEditor& sourceEditor_;
  std::string programFolder_;
  // The file was opened although it held no chart: Save asks before it
  // writes over it.
  bool overwriteAsks_ = false;
  FileStamp diskStamp_;      // the chart's file when last read or written
  FileStamp declinedStamp_;  // a changed file the author chose not to read again
  bool checkingDisk_ = false;
};

}  // namespace beatloom
