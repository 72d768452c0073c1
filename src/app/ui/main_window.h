#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/settings.h"
#include "app/ui/main_menu.h"
#include "app/ui/main_widgets.h"
#include "bms/bms_writer.h"
#include "bms/log.h"
#include "bms/ui/document_host.h"
#include "edit/chart_session.h"
#include "edit/undo.h"
#include "model/document.h"
#include "view/view_settings.h"

class QMediaPlayer;
class QTimer;

namespace beatloom {

class DocumentCommands;
class FormatCommands;
struct FormatHooks;
class HeaderPanel;
class Prompts;
class ScoreWidget;
class Shell;
class SplashWindow;
class LogWindow;
class SourceEditor;

struct TMainOptions {
  QStringList arguments;      // after the program's own path
  std::string programFolder;  // empty: the real program folder
  // Where the program file lies, for the files shipped with it (the help
  // page); empty: the running program's folder.
  std::string executableFolder;
  Prompts* prompts = nullptr;  // empty: real dialogs
  Shell* shell = nullptr;      // empty: the desktop
  ChartSession* session = nullptr;  // empty: a chart session of its own
  int splashMilliseconds = 500;
};

// The main window: where the chart, the score, the header panel, the menus
// and the settings file meet. Creating it runs the start-up sequence; its
// first showing applies the stored view settings and opens the chart named
// on the command line; closing it writes the settings back.
class TMain : public QMainWindow, public DocumentHost {
  Q_OBJECT

 public:
  explicit TMain(const TMainOptions& options = {});
  ~TMain() override;

  Document& Doc() { return doc_; }
  Log& ChartLog() { return log_; }
  Prompts& GetPrompts() { return *prompts_; }
  Shell& GetShell() { return *shell_; }
  std::string ProgramFolder() const override { return programFolder_; }
  IniFile& SettingsFile() { return settingsFile_; }
  // The boot switches and the values read at start-up.
  const Settings& StartSettings() const { return startSettings_; }
  ViewSettings& View() { return view_; }
  const MainWidgets& Widgets() const { return w_; }
  const MainMenu& Menu() const { return menu_; }
  // Any menu item by its control name, or null.
  QAction* Action(const QString& name) const;
  ScoreWidget* Score() const;
  // Null when the boot switch NoSound is on.
  QMediaPlayer* MediaPlayer() const { return mediaPlayer_; }
  const QString& StartFolder() const { return startFolder_; }
  // Where the image preview window stands, as stored between runs.
  const WindowBounds& PreviewBounds() const { return previewBounds_; }
  void SetPreviewBounds(const WindowBounds& bounds) { previewBounds_ = bounds; }

  // Re-renders the score after any change of the chart or the view.
  void Redraw() override;
  // The header controls, memos and definition lists show the document again
  // (after a load) and the lanes follow its play mode; no change handler runs
  // and Modified stays.
  void RefreshFromDocument() override;
  // The whole reset of a new chart, both halves: the document's, then the
  // window's (caption, scroll, list selections, file commands, e-mail and
  // URL from the settings). Leaves Modified alone.
  void ResetDocument();
  // %EMAIL and %URL of the next new chart, from the settings file. Every
  // reset reads them, here and in the document commands.
  void ReadUserDefaults();
  // The window half of a reset or load: the controls show the document, the
  // score goes back to measure 000, the lists select their first entries (a
  // new chart BMP01, a loaded one BMP00). Caption and file commands are the
  // caller's.
  void ShowReplacedDocument(Replaced how) override;
  // Loads a chart with the reader and does the window's part of a load.
  // Used for the command line; Open can use it too.
  bool LoadChart(const QString& path);
  void SetCaption(const QString& caption) override;

  // "ソースのダイレクト編集", "編集中のデータを最初から演奏" and
  // "編集中のデータを表示位置から演奏": available once the chart went through a file.
  void SetFileCommandsEnabled(bool enabled) override;
  bool FileCommandsEnabled() const;

  Undo& ChartUndo() { return undo_; }
  void TakeUndoSnapshot() override { undo_.TakeSnapshot(); }
  void DisableUndo() override { undo_.Disable(); }

  // From Edit3 and CheckBox8.
  SaveOptions CurrentSaveOptions() const override;
  // Drop-down items of e_art and e_genre, bytes as in their list files.
  const std::vector<std::string>& ArtistItems() const { return artists_; }
  const std::vector<std::string>& GenreItems() const { return genres_; }
  void SetArtistItems(const std::vector<std::string>& items);
  void SetGenreItems(const std::vector<std::string>& items);
  std::vector<std::string> NameListItems(NameList list) const override;
  void SetNameListItems(NameList list, const std::vector<std::string>& items) override;
  // The reopen submenu follows "Beatloom WorkFiles.txt".
  void RefreshRecentFiles();
  void RecentFilesChanged() override { RefreshRecentFiles(); }
  // Emits logChanged.
  void LogChanged(bool show) override { emit logChanged(show); }

  // Asked before the chart may be dropped (closing the window). The default
  // asks the author and offers Save1; it refuses while the chart is still
  // modified afterwards, so no change is lost behind the author's back.
  void SetDiscardGuard(std::function<bool()> guard) { discardGuard_ = std::move(guard); }
  bool ConfirmDiscard();

  // Shell state.
  bool SuppressResize() const { return suppressResize_; }
  bool SettingsApplied() const { return settingsApplied_; }
  // Whether the application was active at the last timer tick.
  bool ApplicationWasActive() const { return appActive_; }
  // The chart file the open dialog holds; the player's working copy lives
  // beside it.
  const QString& ChartFileName() const;
  QString WorkingCopyPath() const;

  // New, Open, Save, the header pickers, the direct input line and the
  // source editor; the log window ("Result..") and the source editor.
  DocumentCommands& Commands() { return *commands_; }

  // The import and export items of the File menu and the WinPSM dialog.
  FormatCommands& Formats() { return *formats_; }

  // The shared handler of the shell's commands, panel buttons and the timer.
  void menuselect(QObject* sender);

 signals:
  // The log holds a new report; show: it wants the author's attention.
  void logChanged(bool show);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FormCreate();
  void FormResize();
  bool FormClose();
  void ApplyStoredSettings();
  void ApplyWindowBounds(const Settings& s);
  Settings CollectSettings() const;
  // The view takes every value the view controls hold.
  void ViewFromControls();
  void LoadNameLists();
  void LoadMemoTemplate();
  void ConnectControls();
  void ConnectDocumentCommands();
  FormatHooks FormatHooksOfWindow();
  void ConnectView();
  void SetVerticalScroll(int v);
  void SyncScrollBars();
  void ToggleHeaderPages();
  void ToggleSettingsColumn();
  void TimerDuties();
  void OpenHelp();
  void DirectInput();
  void PlaySelectedSound();
  void StopSound();

  TMainOptions options_;
  std::string programFolder_;
  std::unique_ptr<Prompts> ownPrompts_;
  std::unique_ptr<Shell> ownShell_;
  Prompts* prompts_ = nullptr;
  Shell* shell_ = nullptr;
  std::unique_ptr<ChartSession> ownSession_;
  ChartSession* session_ = nullptr;
  Document& doc_;
  Log& log_;
  Undo& undo_;
  ViewSettings view_;
  IniFile settingsFile_{""};
  Settings startSettings_;
  MainMenu menu_;
  MainWidgets w_;
  HeaderPanel* header_ = nullptr;
  std::unique_ptr<FormatCommands> formats_;
  LogWindow* logWindow_ = nullptr;
  SourceEditor* sourceEditor_ = nullptr;
  std::unique_ptr<DocumentCommands> commands_;
  SplashWindow* splash_ = nullptr;
  QMediaPlayer* mediaPlayer_ = nullptr;
  QTimer* timer1_ = nullptr;
  std::vector<std::string> artists_;
  std::vector<std::string> genres_;
  std::function<bool()> discardGuard_;
  QString startFolder_;
  WindowBounds previewBounds_ = Settings{}.BMPView;
  bool suppressResize_ = true;
  bool settingsApplied_ = false;
  bool appActive_ = true;
  bool closing_ = false;
};

}  // namespace beatloom
