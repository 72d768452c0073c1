#pragma once

#include <QKeySequence>
#include <QList>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

namespace beatloom {

// The main menu and the score's popup menu. Every item is a QAction whose
// objectName is its control name (noted beside each member); submenus and top-level menus are reached
// through their menuAction(), named likewise.
struct MainMenu {
  // "ファイル(&F)"
  QMenu* fileMenu = nullptr;                 // K1
  QAction* newAction = nullptr;              // New1
  QAction* openAction = nullptr;             // Open1
  QMenu* reopenMenu = nullptr;               // N9, 開き直す(&R)
  QAction* reopen1Action = nullptr;          // N10
  QAction* reopen2Action = nullptr;          // N11
  QAction* reopen3Action = nullptr;          // N12
  QAction* reopen4Action = nullptr;          // N13
  QAction* reopen5Action = nullptr;          // N14
  QAction* reopen6Action = nullptr;          // N15
  QAction* reopen7Action = nullptr;          // N16
  QAction* reopen8Action = nullptr;          // N17
  QAction* reopen9Action = nullptr;          // N18
  QAction* reopen10Action = nullptr;         // N19
  QAction* saveAsAction = nullptr;           // SaveAs1
  QAction* saveAction = nullptr;             // Save1
  QMenu* importMenu = nullptr;               // N39, インポート
  QAction* importDdrvAction = nullptr;       // DDRVddr1
  QMenu* exportMenu = nullptr;               // N38, エクスポート
  QAction* exportBmmAction = nullptr;        // MML1
  QAction* exportDdrvAction = nullptr;       // DDRVDDR2
  QAction* exportWinPsmAction = nullptr;     // WinPSMps1
  QAction* exportTypeManiaAction = nullptr;  // TypeMania1
  QAction* releaseUnusedAction = nullptr;    // WAVBMPC1
  QAction* compactIndicesAction = nullptr;   // BMPWAV1
  QAction* expandIndicesAction = nullptr;    // IndexBase36
  QAction* clearGenreListAction = nullptr;   // N31
  QAction* clearArtistListAction = nullptr;  // N32
  QAction* exitAction = nullptr;             // Exit1

  // "編集(&E)"
  QMenu* editMenu = nullptr;                    // K3
  QAction* undoAction = nullptr;                // K17
  QAction* redoAction = nullptr;                // Redo1
  QAction* cutAction = nullptr;                 // K8
  QAction* copyAction = nullptr;                // K7
  QAction* pasteAction = nullptr;               // K6
  QAction* deleteAction = nullptr;              // Delete1
  QAction* copyToClipboardAction = nullptr;     // N45
  QAction* pasteFromClipboardAction = nullptr;  // N46
  QAction* selectAllAction = nullptr;           // subete1
  QAction* selectPlayer1Action = nullptr;       // N1P1
  QAction* selectPlayer2Action = nullptr;       // N2P1
  QAction* selectBgmAction = nullptr;           // BGMB1
  QAction* selectBmpAction = nullptr;           // BMPM1
  QAction* searchReplaceAction = nullptr;       // K11
  QAction* deleteMeasuresAction = nullptr;      // N28
  QAction* editSourceAction = nullptr;          // K2
  QAction* measureLengthAction = nullptr;       // N41
  QAction* selectModeAction = nullptr;          // N22
  QAction* writeModeAction = nullptr;           // N23
  QAction* eraseModeAction = nullptr;           // N24
  QAction* colorsAction = nullptr;              // N30

  // "表示(&V)"
  QMenu* viewMenu = nullptr;                    // K9
  QAction* showLogAction = nullptr;             // K5
  QAction* showImagePreviewAction = nullptr;    // BMPB1
  QAction* chartStatsAction = nullptr;          // ChartStats1
  QAction* chartCheckAction = nullptr;          // ChartCheck1
  QAction* showSettingsColumnAction = nullptr;  // N7
  QAction* showIndexNumbersAction = nullptr;    // c_dindex
  QAction* showDirectInputAction = nullptr;     // c_direct
  QAction* flatObjectWidthAction = nullptr;     // N26
  QAction* showFileNamesAction = nullptr;       // N33

  // "設定(&S)"
  QMenu* settingsMenu = nullptr;                  // Setting1
  QAction* activationClickGuardAction = nullptr;  // N34
  QAction* optionsAction = nullptr;               // N43

  // "アレンジ(&A)"
  QMenu* arrangeMenu = nullptr;            // Arrange1
  QAction* objectSpacingAction = nullptr;  // N35
  QAction* mirrorAction = nullptr;         // N36

  // "外部ビューア(B)"
  QMenu* playerMenu = nullptr;             // Viewer1
  QAction* playFromStartAction = nullptr;  // k12
  QAction* playFromViewAction = nullptr;   // k18
  QAction* playAction = nullptr;           // N44

  // "ヘルプ(&H)"
  QMenu* helpMenu = nullptr;          // K16
  QAction* helpAction = nullptr;      // K13
  QAction* homePageAction = nullptr;  // K10
  QAction* aboutAction = nullptr;     // K4

  // The score's popup menu
  QMenu* scorePopup = nullptr;             // PM
  QAction* insertMeasureAction = nullptr;  // K14
  QAction* deleteMeasureAction = nullptr;  // K15
  QAction* popupCutAction = nullptr;       // K19
  QAction* popupCopyAction = nullptr;      // K20
  QAction* popupPasteAction = nullptr;     // K21
  QAction* popupDeleteAction = nullptr;    // Delete2

  QList<QAction*> RecentItems() const {
    return {reopen1Action, reopen2Action, reopen3Action, reopen4Action, reopen5Action,
            reopen6Action, reopen7Action, reopen8Action, reopen9Action, reopen10Action};
  }
};

// The command group an item belongs to: one handler of the window serves each
// group, so that wiring and translation can go by the table.
enum class MenuHandler {
  None,    // menus, separators and the unfinished export
  File,    // file, import and export, and external player commands
  Edit,    // editing commands
  Repeat,  // items that perform another item's command
  View,    // view options and modes
  Shell,   // the shell's own commands: panels, options, help, about
  Recent,  // the recent-file items
  WinPsm,  // the WinPSM export dialog
};

enum class MenuRowKind {
  Menu,       // a menu of the menu bar, or a submenu when it has a parent
  Popup,      // a menu of its own, opened elsewhere
  Item,       // a command
  Separator,  // named, so that a translation can address it
};

// One control of the menus. The rows are in menu order, every item after the
// menu that holds it, so that one walk builds the menus; a translation finds
// an item by its control name.
struct MenuItemRow {
  MenuRowKind kind = MenuRowKind::Item;
  const char* name = nullptr;    // control name: the objectName
  const char* parent = nullptr;  // control name of the holding menu; null: the menu bar
  const char* caption = "";
  QKeySequence shortcut;
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
  bool visible = true;
  MenuHandler handler = MenuHandler::None;
  QAction* MainMenu::*action = nullptr;  // the member that receives an item
  QMenu* MainMenu::*menu = nullptr;      // the member that receives a menu
};

// Every control of the main menu and the score's popup menu, in build order.
const std::vector<MenuItemRow>& MainMenuTable();

// Creates the menu bar of window and the popup menu from the table, with
// the design captions, shortcuts, check marks and enabled states.
MainMenu BuildMainMenu(QMainWindow* window);

// Where the home-page item leads.
inline constexpr const char* kHomePageUrl = "https://beatloom.github.io/";

}  // namespace beatloom
