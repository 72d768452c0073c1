#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/settings.h"
#include "app/ui/main_menu.h"
#include "app/ui/main_widgets.h"
#include "bms/ui/document_host.h"
#include "edit/recovery.h"
#include "session/chart_session.h"
#include "view/view_settings.h"

class QTimer;

namespace beatloom {

class AnalysisCommands;
class PlayerCommands;
class Playback;
class ArrangeCommands;
class ListCommands;
class Clipboard;
class DocumentCommands;
class EditCommands;
class FormatCommands;
class HeaderPanel;
class LogWindow;
class Prompts;
class ScoreWidget;
class Shell;
class ShellCommands;
class SoundPreview;
class SourceEditor;
class SplashWindow;
class StepCaptions;
class ViewController;
class KeyController;
class MeasureCommands;
class MouseController;
class TextFieldShortcuts;
class TForm5;
class TForm7;
class TimingCache;
class ColorDialog;

struct TMainOptions {
  QStringList arguments;            // after the program's own path
  std::string programFolder;        // empty: the real program folder
  std::string executableFolder;     // empty: the running program's folder
  std::string desktopLanguage;      // empty: the desktop's ("ja_JP", "en_US")
  Prompts* prompts = nullptr;       // empty: real dialogs
  Shell* shell = nullptr;           // empty: the desktop
  Clipboard* clipboard = nullptr;   // empty: the system clipboard
  ChartSession* session = nullptr;  // empty: a chart session of its own
  int splashMilliseconds = 500;
};

// The main window: builds the widgets and the controllers of every area and
// connects them. Creating it runs the start-up sequence; its first showing
// applies the stored view settings and opens the chart named on the command
// line; closing it writes the settings back. What the document commands
// need of the window beyond the chart (caption, file commands, name lists,
// the log window) it provides as their DocumentHost.
class TMain : public QMainWindow, private DocumentHost {
  Q_OBJECT

 public:
  explicit TMain(const TMainOptions& options = {});
  ~TMain() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // DocumentHost
  void SetCaption(const QString& caption) override;
  void SetFileCommandsEnabled(bool enabled) override;
  void LogChanged(bool show) override;
  SaveOptions CurrentSaveOptions() const override;
  std::vector<std::string> NameListItems(NameList list) const override;
  void SetNameListItems(NameList list, const std::vector<std::string>& items) override;
  void RecentFilesChanged() override;
  // Undo and Redo follow the history: enabled, and named after their step.
  void HistoryChanged();
  AuthorAddress AuthorDefaults() const override;

  void BuildControllers();
  void BuildPlayers();
  void FormCreate();
  void FormResize();
  bool FormClose();
  void ApplyStoredSettings();
  void ApplyWindowBounds(const Settings& s);
  void LoadNameLists();
  void ConnectCommands();
  void ConnectRepeatedCommands();
  void DirectInput();
  void UpdateRecoveryCopy();
  void OfferRecovery();

  TMainOptions options_;
  std::string programFolder_;
  std::unique_ptr<Prompts> ownPrompts_;
  std::unique_ptr<Shell> ownShell_;
  Prompts* prompts_ = nullptr;
  Shell* shell_ = nullptr;
  std::unique_ptr<ChartSession> ownSession_;
  ChartSession* session_ = nullptr;
  ViewSettings view_;
  IniFile settingsFile_{""};
  Settings startSettings_;
  MainMenu menu_;
  MainWidgets w_;
  ScoreWidget* score_ = nullptr;
  QTimer* timer_ = nullptr;
  SplashWindow* splash_ = nullptr;
  LogWindow* logWindow_ = nullptr;
  SourceEditor* sourceEditor_ = nullptr;
  HeaderPanel* headerPanel_ = nullptr;
  ViewController* viewController_ = nullptr;
  TextFieldShortcuts* textFieldShortcuts_ = nullptr;
  KeyController* keyController_ = nullptr;
  ColorDialog* colorDialog_ = nullptr;
  TForm7* searchDialog_ = nullptr;  // K11
  ShellCommands* shellCommands_ = nullptr;
  SoundPreview* soundPreview_ = nullptr;
  std::unique_ptr<DocumentCommands> commands_;
  std::unique_ptr<FormatCommands> formats_;
  std::unique_ptr<Clipboard> ownClipboard_;
  // Listens to the session, which may go with the window: a member, so it
  // goes before the session does.
  std::unique_ptr<EditCommands> editCommands_;
  ArrangeCommands* arrangeCommands_ = nullptr;
  ListCommands* listCommands_ = nullptr;
  MeasureCommands* measureCommands_ = nullptr;  // K14, K15, N28, N41
  // The chart's timing for the status line; listens to the session, and goes
  // after the mouse controller that asks it.
  std::unique_ptr<TimingCache> timing_;
  std::unique_ptr<MouseController> mouseController_;  // listens to the session too
  std::unique_ptr<AnalysisCommands> analysis_;        // statistics and check; listens too
  PlayerCommands* playerCommands_ = nullptr;          // CB_Viewer, k12, k18, N44, N43
  Playback* playback_ = nullptr;                      // the built-in player
  std::vector<std::string> artists_;
  std::vector<std::string> genres_;
  TForm5* imagePreview_ = nullptr;              // BMP VIEW
  std::unique_ptr<StepCaptions> stepCaptions_;  // the Edit menu's names of the steps
  // Unsaved work kept for a crash: copied when the timer finds the chart
  // changed since the last copy (the revision counts the session's changes).
  std::string stateFolder_;
  std::unique_ptr<RecoveryStore> recovery_;
  QTimer* recoveryTimer_ = nullptr;
  unsigned long revision_ = 0;
  ChartSession::ListenerId recoveryListener_ = 0;
  bool suppressResize_ = true;
  bool settingsApplied_ = false;
  bool closing_ = false;
};

}  // namespace beatloom
