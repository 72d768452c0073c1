#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace beatloom {

class ChartSession;
class Document;
class Prompts;
class WinPsmDialog;

// The steps of the import and export commands that belong to the document
// commands and the window; the chart itself changes through the chart
// session, which tells the views. Every hook may be left empty.
struct FormatHooks {
  // The question before the chart is dropped; false ends the import.
  std::function<bool()> confirmDiscard;
  // The whole reset of a new chart, the document's half and the window's
  // (caption, scroll, list selections). Empty: the document's half alone.
  // The imported chart has no file of its own, so the window should forget
  // the save dialog's file name here, as New does, lest Save write the
  // imported chart over the file it replaced.
  std::function<void()> resetChart;
  // Initial folder of the import and export file dialogs.
  std::function<QString()> dialogFolder;
};

// The File menu's import and export items. The main window makes one at
// start-up (which also makes the WinPSM dialog, WinPsmDialog) and hands every
// item's object name to Run.
class FormatCommands {
 public:
  FormatCommands(ChartSession& session, Prompts& prompts, std::string programFolder, FormatHooks hooks,
                 QWidget* window = nullptr);
  ~FormatCommands();
  FormatCommands(const FormatCommands&) = delete;
  FormatCommands& operator=(const FormatCommands&) = delete;

  // Runs the command of "DDRVddr1", "DDRVDDR2", "MML1" or "WinPSMps1"; false
  // for any other name.
  bool Run(const QString& controlName);

  void ImportDdrv();  // DDRVddr1, dialog IOD1
  void ExportDdrv();  // DDRVDDR2, dialog ESD1
  void ExportBmm();   // MML1
  void ShowWinPsm();  // WinPSMps1

  // Whether "master.psf" was in the program folder when this object was
  // made; WinPSMps1 is enabled exactly then.
  bool WinPsmAvailable() const { return winPsmAvailable_; }
  WinPsmDialog& WinPsmExportDialog() { return *winPsmDialog_; }

 private:
  QString DialogFolder() const;
  void FileError(const std::string& reason);

  ChartSession& session_;
  Document& doc_;
  Prompts& prompts_;
  std::string programFolder_;
  FormatHooks hooks_;
  bool winPsmAvailable_ = false;
  std::unique_ptr<WinPsmDialog> ownedWinPsmDialog_;  // only when there is no window to parent it
  WinPsmDialog* winPsmDialog_ = nullptr;
  QString importFolder_;  // IOD1 and ESD1 each start where they were left
  QString exportFolder_;
};

}  // namespace beatloom
