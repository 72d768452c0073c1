#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "app/external_players.h"

class QAbstractButton;
class QAction;
class QComboBox;
class QWidget;

namespace beatloom {

class IniFile;
class Prompts;
class Shell;

struct PlayerControls {
  QComboBox* selector = nullptr;                   // CB_Viewer
  QAbstractButton* playFromStartButton = nullptr;  // s_fplay
  QAbstractButton* playFromViewButton = nullptr;   // s_play
  QAbstractButton* playButton = nullptr;           // S_SPlay
  QAbstractButton* stopButton = nullptr;           // s_stop
  QAction* playFromStartAction = nullptr;          // k12
  QAction* playFromViewAction = nullptr;           // k18
  QAction* playAction = nullptr;                   // N44
  QAction* optionsAction = nullptr;                // N43
  // Enabled exactly while the chart has been loaded from or saved to a file
  // since the last reset: the players get nothing before.
  QAction* chartFileCommand = nullptr;  // K2
  QWidget* window = nullptr;            // parent of the options dialog
};

// What the players need of the rest of the window.
struct PlayerHooks {
  std::string programFolder;
  IniFile* settings = nullptr;
  std::function<int()> verticalScroll;        // the score's, for the displayed measure
  std::function<QString()> workingCopyPath;   // where the player's copy goes
  std::function<QString()> writeWorkingCopy;  // writes it; why it could not, empty after success
  // A player that did not start, for the status line and the log; an empty
  // text after a start that worked clears the status line.
  std::function<void(const QString&)> report;
  // The built-in player: play from a measure, stop, and whether it plays.
  std::function<void(int measure)> playInside;
  std::function<void()> stopInside;
  std::function<bool()> playingInside;
};

// The name of the built-in player, the selector's first entry.
inline constexpr const char* kBuiltInPlayerName = "Beatloom";

// The players: the selector and its buttons, the launch commands and the
// options dialog that edits the list. The selector's first entry is the
// built-in player, which needs no file; the external players of the list
// follow and play the working copy of the chart.
class PlayerCommands : public QObject {
  Q_OBJECT

 public:
  PlayerCommands(const PlayerControls& controls, PlayerHooks hooks, Prompts& prompts, Shell& shell, QObject* parent);

  void Launch(ExAppField action);
  void RunOptions();
  // Space: the built-in player starts from the shown measure or stops; an
  // external one is started from the shown measure.
  void PlayOrStop();
  // The chart's file commands were enabled or disabled: the play items
  // follow unless the built-in player, which needs no file, is chosen.
  void RefreshPlayItems();

 private:
  // Fills the selector with the list's names and selects the first one named
  // keep, else the first.
  void FillSelector(const QString& keep);
  void RefreshButtons();
  // The external entry chosen; -1 for the built-in player or none.
  int SelectedEntry() const;
  bool BuiltInSelected() const;
  void LaunchBuiltIn(ExAppField action);

  PlayerControls c_;
  PlayerHooks hooks_;
  Prompts& prompts_;
  Shell& shell_;
  std::vector<std::string> exApps_;
};

}  // namespace beatloom
