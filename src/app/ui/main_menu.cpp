#include "app/ui/main_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <string_view>

namespace beatloom {

namespace {

using H = MenuHandler;
using M = MainMenu;

constexpr auto Ctrl = Qt::CTRL;
constexpr auto Alt = Qt::ALT;

MenuItemRow Row(MenuRowKind kind, const char* parent, const char* name) {
  MenuItemRow row;
  row.kind = kind;
  row.parent = parent;
  row.name = name;
  return row;
}

MenuItemRow SubMenu(const char* parent, const char* name, const char* caption, QMenu* M::*member) {
  MenuItemRow row = Row(MenuRowKind::Menu, parent, name);
  row.caption = caption;
  row.menu = member;
  return row;
}

MenuItemRow TopMenu(const char* name, const char* caption, QMenu* M::*member) {
  return SubMenu(nullptr, name, caption, member);
}

MenuItemRow Popup(const char* name, QMenu* M::*member) {
  MenuItemRow row = Row(MenuRowKind::Popup, nullptr, name);
  row.menu = member;
  return row;
}

MenuItemRow Item(const char* parent, const char* name, const char* caption, H handler, QAction* M::*member,
                 QKeySequence keys = {}) {
  MenuItemRow row = Row(MenuRowKind::Item, parent, name);
  row.caption = caption;
  row.shortcut = keys;
  row.handler = handler;
  row.action = member;
  return row;
}

MenuItemRow Check(const char* parent, const char* name, const char* caption, H handler, QAction* M::*member,
                  bool checked) {
  MenuItemRow row = Item(parent, name, caption, handler, member);
  row.checkable = true;
  row.checked = checked;
  return row;
}

MenuItemRow Off(MenuItemRow row) {
  row.enabled = false;
  return row;
}

MenuItemRow Hidden(MenuItemRow row) {
  row.visible = false;
  return row;
}

MenuItemRow Separator(const char* parent, const char* name) { return Row(MenuRowKind::Separator, parent, name); }

std::vector<MenuItemRow> FileRows() {
  return {
      TopMenu("K1", "ファイル(&F)", &M::fileMenu),
      Item("K1", "New1", "新規作成(&N)", H::File, &M::newAction),
      Item("K1", "Open1", "開く(&O)", H::File, &M::openAction, Ctrl | Qt::Key_O),
      SubMenu("K1", "N9", "開き直す(&R)", &M::reopenMenu),
      Hidden(Item("N9", "N10", "1", H::Recent, &M::reopen1Action)),
      Hidden(Item("N9", "N11", "2", H::Recent, &M::reopen2Action)),
      Hidden(Item("N9", "N12", "3", H::Recent, &M::reopen3Action)),
      Hidden(Item("N9", "N13", "4", H::Recent, &M::reopen4Action)),
      Hidden(Item("N9", "N14", "5", H::Recent, &M::reopen5Action)),
      Hidden(Item("N9", "N15", "6", H::Recent, &M::reopen6Action)),
      Hidden(Item("N9", "N16", "7", H::Recent, &M::reopen7Action)),
      Hidden(Item("N9", "N17", "8", H::Recent, &M::reopen8Action)),
      Hidden(Item("N9", "N18", "9", H::Recent, &M::reopen9Action)),
      Hidden(Item("N9", "N19", "10", H::Recent, &M::reopen10Action)),
      Item("K1", "SaveAs1", "名前を付けて保存(&A)", H::File, &M::saveAsAction, Ctrl | Qt::Key_A),
      Item("K1", "Save1", "上書き保存(&S)", H::File, &M::saveAction, Ctrl | Qt::Key_S),
      Separator("K1", "N2"),
      SubMenu("K1", "N39", "インポート", &M::importMenu),
      Item("N39", "DDRVddr1", "DDRV形式(DDR)", H::File, &M::importDdrvAction),
      SubMenu("K1", "N38", "エクスポート", &M::exportMenu),
      Item("N38", "MML1", "ビート魔にやり形式（BMM）", H::File, &M::exportBmmAction),
      Item("N38", "DDRVDDR2", "DDRV形式(DDR)", H::File, &M::exportDdrvAction),
      Item("N38", "WinPSMps1", "WinPSM形式(PS) ※この機能はDDRデータ専用です", H::WinPsm, &M::exportWinPsmAction),
      Off(Item("N38", "TypeMania1", "TypeMania形式（未完成）", H::None, &M::exportTypeManiaAction)),
      Separator("K1", "N3"),
      Item("K1", "WAVBMPC1", "未使用WAV・BMPの登録解除(&C)", H::File, &M::releaseUnusedAction),
      Item("K1", "BMPWAV1", "WAV・BMP登録インデックスNo.を詰める", H::File, &M::compactIndicesAction),
      Item("K1", "IndexBase36", "インデックスを36進数に拡張", H::File, &M::expandIndicesAction),
      Separator("K1", "N4"),
      Item("K1", "N31", "ジャンルリストのクリア", H::File, &M::clearGenreListAction),
      Item("K1", "N32", "アーティストリストのクリア", H::File, &M::clearArtistListAction),
      Separator("K1", "N5"),
      Item("K1", "Exit1", "Beatloomの終了(&X)", H::File, &M::exitAction),
  };
}

std::vector<MenuItemRow> EditRows() {
  return {
      TopMenu("K3", "編集(&E)", &M::editMenu),
      Off(Item("K3", "K17", "元に戻す", H::Edit, &M::undoAction, Ctrl | Qt::Key_Z)),
      Off(Item("K3", "Redo1", "やり直し", H::Edit, &M::redoAction, Ctrl | Qt::Key_Y)),
      Separator("K3", "N6"),
      Off(Item("K3", "K8", "カット(&X)", H::Edit, &M::cutAction, Ctrl | Qt::Key_X)),
      Off(Item("K3", "K7", "コピー(&C)", H::Edit, &M::copyAction, Ctrl | Qt::Key_C)),
      Off(Item("K3", "K6", "ペースト(&P)", H::Edit, &M::pasteAction, Ctrl | Qt::Key_V)),
      Off(Item("K3", "Delete1", "削除(&D)", H::Edit, &M::deleteAction, Ctrl | Qt::Key_Delete)),
      Separator("K3", "N8"),
      Off(Item("K3", "N45", "クリップボードにコピー", H::Edit, &M::copyToClipboardAction, Ctrl | Alt | Qt::Key_C)),
      Off(Item("K3", "N46", "クリップボードからペースト", H::Edit, &M::pasteFromClipboardAction,
               Ctrl | Alt | Qt::Key_V)),
      Separator("K3", "N20"),
      Item("K3", "subete1", "全て選択(&A)", H::Edit, &M::selectAllAction),
      Item("K3", "N1P1", "1Pのオブジェを全て選択(&1)", H::Edit, &M::selectPlayer1Action),
      Item("K3", "N2P1", "2Pのオブジェを全て選択(&2)", H::Edit, &M::selectPlayer2Action),
      Item("K3", "BGMB1", "BGMを全て選択(&B)", H::Edit, &M::selectBgmAction),
      Item("K3", "BMPM1", "BMPを全て選択(&M)", H::Edit, &M::selectBmpAction),
      Separator("K3", "N21"),
      Item("K3", "K11", "検索・置換・削除(S)", H::Edit, &M::searchReplaceAction, Ctrl | Qt::Key_F),
      Item("K3", "N28", "小節の削除", H::Edit, &M::deleteMeasuresAction, Qt::SHIFT | Qt::Key_Delete),
      Off(Item("K3", "K2", "ソースのダイレクト編集", H::File, &M::editSourceAction, Qt::Key_F10)),
      Separator("K3", "N25"),
      Item("K3", "N41", "小節長の変更(&n)", H::Edit, &M::measureLengthAction),
      Separator("K3", "N27"),
      Item("K3", "N22", "編集モード", H::Repeat, &M::selectModeAction, Qt::Key_F2),
      Item("K3", "N23", "書込モード", H::Repeat, &M::writeModeAction, Qt::Key_F3),
      Item("K3", "N24", "消去モード", H::Repeat, &M::eraseModeAction, Qt::Key_F4),
      Separator("K3", "N29"),
      Item("K3", "N30", "画面表示色の変更", H::Edit, &M::colorsAction),
  };
}

std::vector<MenuItemRow> OtherRows() {
  return {
      TopMenu("K9", "表示(&V)", &M::viewMenu),
      Item("K9", "K5", "ログの表示(&L)", H::View, &M::showLogAction),
      Item("K9", "BMPB1", "BMPプレビューの表示(&B)", H::Repeat, &M::showImagePreviewAction),
      Item("K9", "ChartStats1", "譜面の統計", H::View, &M::chartStatsAction),
      Item("K9", "ChartCheck1", "譜面のチェック", H::View, &M::chartCheckAction),
      Separator("K9", "N37"),
      Check("K9", "N7", "基本・拡張設定枠の表示(W)", H::Shell, &M::showSettingsColumnAction, true),
      Check("K9", "c_dindex", "INDEXナンバーの表示", H::View, &M::showIndexNumbersAction, true),
      Check("K9", "c_direct", "ダイレクト入力枠の表示", H::View, &M::showDirectInputAction, true),
      Check("K9", "N26", "オブジェを等幅で表示", H::View, &M::flatObjectWidthAction, false),
      Check("K9", "N33", "ファイル名を表示", H::View, &M::showFileNamesAction, false),

      TopMenu("Setting1", "設定(&S)", &M::settingsMenu),
      Check("Setting1", "N34", "アクティブになった瞬間は操作を無効にする", H::Shell, &M::activationClickGuardAction,
            true),
      Separator("Setting1", "N40"),
      Item("Setting1", "N43", "オプション(&O)", H::Shell, &M::optionsAction),

      TopMenu("Arrange1", "アレンジ(&A)", &M::arrangeMenu),
      Item("Arrange1", "N35", "オブジェ間隔の変更(&S)", H::Edit, &M::objectSpacingAction),
      Item("Arrange1", "N36", "選択範囲のオブジェを反転（ミラーモード）", H::Edit, &M::mirrorAction),

      TopMenu("Viewer1", "外部ビューア(B)", &M::playerMenu),
      Item("Viewer1", "k12", "編集中のデータを最初から演奏", H::File, &M::playFromStartAction, Ctrl | Qt::Key_P),
      Item("Viewer1", "k18", "編集中のデータを表示位置から演奏", H::File, &M::playFromViewAction, Ctrl | Qt::Key_T),
      Item("Viewer1", "N44", "編集中のデータをプレイ", H::File, &M::playAction, Ctrl | Alt | Qt::Key_P),

      TopMenu("K16", "ヘルプ(&H)", &M::helpMenu),
      Item("K16", "K13", "ヘルプ", H::Shell, &M::helpAction, Qt::Key_F1),
      Item("K16", "K10", "Beatloom ホームページ(&W)", H::Shell, &M::homePageAction),
      Separator("K16", "N42"),
      Item("K16", "K4", "バージョン情報(&A)", H::Shell, &M::aboutAction),

      Popup("PM", &M::scorePopup),
      Item("PM", "K14", "ここに1小節挿入", H::Edit, &M::insertMeasureAction),
      Item("PM", "K15", "この小節を削除", H::Edit, &M::deleteMeasureAction),
      Separator("PM", "N47"),
      Off(Item("PM", "K19", "カット", H::Repeat, &M::popupCutAction)),
      Off(Item("PM", "K20", "コピー", H::Repeat, &M::popupCopyAction)),
      Off(Item("PM", "K21", "ペースト", H::Repeat, &M::popupPasteAction)),
      Off(Item("PM", "Delete2", "削除", H::Repeat, &M::popupDeleteAction)),
  };
}

std::vector<MenuItemRow> BuildTable() {
  std::vector<MenuItemRow> rows = FileRows();
  for (auto part : {EditRows(), OtherRows()}) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

QMenu* MakeMenu(QMainWindow* window, const MenuItemRow& row, QMenu* parent) {
  if (row.kind == MenuRowKind::Popup) {
    auto* popup = new QMenu(window);
    popup->setObjectName(Text(row.name));
    return popup;
  }
  QMenu* menu = parent ? parent->addMenu(Text(row.caption)) : window->menuBar()->addMenu(Text(row.caption));
  menu->setObjectName(Text(row.name));
  // Menus are reached as actions too, like every other item.
  menu->menuAction()->setObjectName(Text(row.name));
  return menu;
}

QAction* MakeItem(const MenuItemRow& row, QMenu* parent) {
  QAction* a = parent->addAction(Text(row.caption));
  a->setObjectName(Text(row.name));
  a->setShortcut(row.shortcut);
  a->setEnabled(row.enabled);
  a->setCheckable(row.checkable);
  if (row.checkable) a->setChecked(row.checked);
  if (!row.visible) a->setVisible(false);
  return a;
}

}  // namespace

const std::vector<MenuItemRow>& MainMenuTable() {
  static const std::vector<MenuItemRow> table = BuildTable();
  return table;
}

MainMenu BuildMainMenu(QMainWindow* window) {
  MainMenu m;
  std::map<std::string_view, QMenu*> menus;
  const auto holder = [&menus](const MenuItemRow& row) { return row.parent ? menus.at(row.parent) : nullptr; };
  for (const MenuItemRow& row : MainMenuTable()) {
    switch (row.kind) {
      case MenuRowKind::Menu:
      case MenuRowKind::Popup:
        menus[row.name] = m.*row.menu = MakeMenu(window, row, holder(row));
        break;
      case MenuRowKind::Item:
        m.*row.action = MakeItem(row, holder(row));
        break;
      case MenuRowKind::Separator:
        holder(row)->addSeparator()->setObjectName(Text(row.name));
        break;
    }
  }
  return m;
}

}  // namespace beatloom
