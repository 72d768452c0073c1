#pragma once

#include <QList>

class QAction;
class QMainWindow;
class QMenu;

namespace beatloom {

// The main menu and the score's popup menu. Every item is a QAction whose
// objectName is its control name; submenus and top-level menus are reached
// through their menuAction(), named likewise.
struct MainMenu {
  // "ファイル(&F)"
  QMenu* K1 = nullptr;
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QMenu* N9 = nullptr;  // 開き直す(&R)
  QAction* N10 = nullptr;
  QAction* N11 = nullptr;
  QAction* N12 = nullptr;
  QAction* N13 = nullptr;
  QAction* N14 = nullptr;
  QAction* N15 = nullptr;
  QAction* N16 = nullptr;
  QAction* N17 = nullptr;
  QAction* N18 = nullptr;
  QAction* N19 = nullptr;
  QAction* SaveAs1 = nullptr;
  QAction* Save1 = nullptr;
  QMenu* N39 = nullptr;  // インポート
  QAction* DDRVddr1 = nullptr;
  QMenu* N38 = nullptr;  // エクスポート
  QAction* MML1 = nullptr;
  QAction* DDRVDDR2 = nullptr;
  QAction* WinPSMps1 = nullptr;
  QAction* TypeMania1 = nullptr;
  QAction* WAVBMPC1 = nullptr;
  QAction* BMPWAV1 = nullptr;
  QAction* N31 = nullptr;
  QAction* N32 = nullptr;
  QAction* Exit1 = nullptr;

  // "編集(&E)"
  QMenu* K3 = nullptr;
  QAction* K17 = nullptr;
  QAction* K8 = nullptr;
  QAction* K7 = nullptr;
  QAction* K6 = nullptr;
  QAction* Delete1 = nullptr;
  QAction* N45 = nullptr;
  QAction* N46 = nullptr;
  QAction* subete1 = nullptr;
  QAction* N1P1 = nullptr;
  QAction* N2P1 = nullptr;
  QAction* BGMB1 = nullptr;
  QAction* BMPM1 = nullptr;
  QAction* K11 = nullptr;
  QAction* N28 = nullptr;
  QAction* K2 = nullptr;
  QAction* N41 = nullptr;
  QAction* N22 = nullptr;
  QAction* N23 = nullptr;
  QAction* N24 = nullptr;
  QAction* N30 = nullptr;

  // "表示(&V)"
  QMenu* K9 = nullptr;
  QAction* K5 = nullptr;
  QAction* BMPB1 = nullptr;
  QAction* N7 = nullptr;
  QAction* c_dindex = nullptr;
  QAction* c_direct = nullptr;
  QAction* N26 = nullptr;
  QAction* N33 = nullptr;

  // "設定(&S)"
  QMenu* Setting1 = nullptr;
  QAction* N34 = nullptr;
  QAction* N43 = nullptr;

  // "アレンジ(&A)"
  QMenu* Arrange1 = nullptr;
  QAction* N35 = nullptr;
  QAction* N36 = nullptr;

  // "外部ビューア(B)"
  QMenu* Viewer1 = nullptr;
  QAction* k12 = nullptr;
  QAction* k18 = nullptr;
  QAction* N44 = nullptr;

  // "ヘルプ(&H)"
  QMenu* K16 = nullptr;
  QAction* K13 = nullptr;
  QAction* K10 = nullptr;
  QAction* K4 = nullptr;

  // The score's popup menu
  QMenu* PM = nullptr;
  QAction* K14 = nullptr;
  QAction* K15 = nullptr;
  QAction* K19 = nullptr;
  QAction* K20 = nullptr;
  QAction* K21 = nullptr;
  QAction* Delete2 = nullptr;

  QList<QAction*> RecentItems() const { return {N10, N11, N12, N13, N14, N15, N16, N17, N18, N19}; }
};

// Creates the menu bar of window and the popup menu, with the design
// captions, shortcuts, check marks and enabled states.
MainMenu BuildMainMenu(QMainWindow* window);

// Where the home-page item leads.
inline constexpr const char* kHomePageUrl = "https://beatloom.github.io/";

}  // namespace beatloom
