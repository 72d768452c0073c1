#pragma once

#include "analysis/ui/analysis_commands.h"
#include "app/ui/main_menu.h"
#include "app/ui/main_widgets.h"
#include "app/ui/player_commands.h"
#include "app/ui/shell_commands.h"
#include "edit/ui/arrange_commands.h"
#include "edit/ui/edit_commands.h"
#include "edit/ui/image_preview.h"
#include "edit/ui/list_commands.h"
#include "edit/ui/measure_commands.h"
#include "view/ui/key_controller.h"
#include "view/ui/mouse_controller.h"
#include "view/ui/view_controller.h"

class QMainWindow;
class QTimer;

namespace beatloom {

class DocumentCommands;
class LogWindow;
class ScoreWidget;
class TimingCache;

// Which of the main window's controls each area's controller works with: the
// one place that hands a window's widgets and menu items to the areas, which
// know nothing of the window.
ViewControls ViewControlsOf(const MainWidgets& w, const MainMenu& m, ScoreWidget* score);
ShellControls ShellControlsOf(const MainWidgets& w, const MainMenu& m);
EditControls EditControlsOf(const MainWidgets& w, const MainMenu& m);
ArrangeControls ArrangeControlsOf(const MainMenu& m, QWidget* window);
ListControls ListControlsOf(const MainWidgets& w, const MainMenu& m);
MeasureControls MeasureControlsOf(const MainMenu& m);
KeyControls KeyControlsOf(const MainWidgets& w, const MainMenu& m, QMainWindow* window, ScoreWidget* score);
// The status line's time comes from the window's timing of the chart.
MouseControls MouseControlsOf(const MainWidgets& w, const MainMenu& m, ScoreWidget* score, TimingCache& timing);
ImagePreviewControls ImagePreviewControlsOf(const MainWidgets& w, const MainMenu& m, KeyController& keys,
                                            const ChartSession& session);

// Tool buttons and popup items that only repeat a menu command, and the menu
// items that press a mode button.
void ConnectMenuTwins(const MainMenu& m, const MainWidgets& w);

// Where F1 looks for the help page, in order: the program folder, beside the
// program, and the shared data of an installed program.
QStringList HelpFoldersOf(const std::string& programFolder, const QString& executableFolder);

// The statistics and the check: findings go to the log window, and both
// scroll the score through its vertical scroll bar.
AnalysisControls AnalysisControlsOf(const MainWidgets& w, const MainMenu& m, const ViewSettings& view, LogWindow& log,
                                    const ChartSession& session, QWidget* window);

// The chart's folder, as the session knows it, for the controllers that look
// files up there (the previews, the check, the lists).
QString ChartFolderOf(const ChartSession& session);
// The lists find the chart's folder in the session and open a dropped chart
// through the document commands.
ListCommands::ChartFiles ChartFilesOf(const ChartSession& session, DocumentCommands& commands);

// The players write their copy through the document commands, read the
// displayed measure off the score and report into the status line and the
// chart's log.
PlayerControls PlayerControlsOf(const MainWidgets& w, const MainMenu& m, QWidget* window);
PlayerHooks PlayerHooksOf(const MainWidgets& w, DocumentCommands& commands, ChartSession& session,
                          const ScoreWidget& score, IniFile& settings, const std::string& programFolder);

}  // namespace beatloom
