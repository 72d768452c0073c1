#include "app/ui/main_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace beatloom {

namespace {

// Separators carry names too, so that a translation can address them.
class MenuBuilder {
 public:
  explicit MenuBuilder(QMainWindow* window) : window_(window) {}

  QMenu* TopMenu(const char* name, const char* caption) {
    menu_ = window_->menuBar()->addMenu(QString::fromUtf8(caption));
    Name(menu_, name);
    return menu_;
  }
  QMenu* SubMenu(const char* name, const char* caption) {
    QMenu* sub = menu_->addMenu(QString::fromUtf8(caption));
    Name(sub, name);
    return sub;
  }
  QAction* Item(const char* name, const char* caption, QKeySequence keys = {}, bool enabled = true,
                QMenu* into = nullptr) {
    QMenu* target = into ? into : menu_;
    QAction* a = target->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromUtf8(name));
    a->setShortcut(keys);
    a->setEnabled(enabled);
    return a;
  }
  QAction* Check(const char* name, const char* caption, bool checked) {
    QAction* a = Item(name, caption);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
  }
  void Separator(QMenu* into = nullptr) {
    static const char* const names[] = {"N2",  "N3",  "N4",  "N5",  "N6",  "N8",  "N20", "N21",
                                        "N25", "N27", "N29", "N37", "N40", "N42", "N47", "N48"};
    QAction* s = (into ? into : menu_)->addSeparator();
    s->setObjectName(QString::fromUtf8(names[separators_++ % std::size(names)]));
  }
  void Into(QMenu* menu) { menu_ = menu; }

 private:
  static void Name(QMenu* menu, const char* name) {
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
  }

  QMainWindow* window_;
  QMenu* menu_ = nullptr;
  int separators_ = 0;
};

constexpr auto Ctrl = Qt::CTRL;
constexpr auto Alt = Qt::ALT;

void BuildFileMenu(MenuBuilder& b, MainMenu& m) {
  m.fileMenu = b.TopMenu("K1", "ファイル(&F)");
  m.newAction = b.Item("New1", "新規作成(&N)");
  m.openAction = b.Item("Open1", "開く(&O)", Ctrl | Qt::Key_O);
  m.reopenMenu = b.SubMenu("N9", "開き直す(&R)");
  QAction** recent[] = {&m.reopen1Action, &m.reopen2Action, &m.reopen3Action, &m.reopen4Action, &m.reopen5Action, &m.reopen6Action, &m.reopen7Action, &m.reopen8Action, &m.reopen9Action, &m.reopen10Action};
  for (int k = 0; k < 10; ++k) {
    const QByteArray name = "N" + QByteArray::number(10 + k);
    *recent[k] = b.Item(name.constData(), QByteArray::number(k + 1).constData(), {}, true, m.reopenMenu);
    (*recent[k])->setVisible(false);
  }
  m.saveAsAction = b.Item("SaveAs1", "名前を付けて保存(&A)", Ctrl | Qt::Key_A);
  m.saveAction = b.Item("Save1", "上書き保存(&S)", Ctrl | Qt::Key_S);
  b.Separator();
  m.importMenu = b.SubMenu("N39", "インポート");
  m.importDdrvAction = b.Item("DDRVddr1", "DDRV形式(DDR)", {}, true, m.importMenu);
  m.exportMenu = b.SubMenu("N38", "エクスポート");
  m.exportBmmAction = b.Item("MML1", "ビート魔にやり形式（BMM）", {}, true, m.exportMenu);
  m.exportDdrvAction = b.Item("DDRVDDR2", "DDRV形式(DDR)", {}, true, m.exportMenu);
  m.exportWinPsmAction = b.Item("WinPSMps1", "WinPSM形式(PS) ※この機能はDDRデータ専用です", {}, true, m.exportMenu);
  m.exportTypeManiaAction = b.Item("TypeMania1", "TypeMania形式（未完成）", {}, false, m.exportMenu);
  b.Separator();
  m.releaseUnusedAction = b.Item("WAVBMPC1", "未使用WAV・BMPの登録解除(&C)");
  m.compactIndicesAction = b.Item("BMPWAV1", "WAV・BMP登録インデックスNo.を詰める");
  b.Separator();
  m.clearGenreListAction = b.Item("N31", "ジャンルリストのクリア");
  m.clearArtistListAction = b.Item("N32", "アーティストリストのクリア");
  b.Separator();
  m.exitAction = b.Item("Exit1", "Beatloomの終了(&X)");
}

void BuildEditMenu(MenuBuilder& b, MainMenu& m) {
  m.editMenu = b.TopMenu("K3", "編集(&E)");
  m.undoAction = b.Item("K17", "元に戻す", Ctrl | Qt::Key_Z, false);
  b.Separator();
  m.cutAction = b.Item("K8", "カット(&X)", Ctrl | Qt::Key_X, false);
  m.copyAction = b.Item("K7", "コピー(&C)", Ctrl | Qt::Key_C, false);
  m.pasteAction = b.Item("K6", "ペースト(&P)", Ctrl | Qt::Key_V, false);
  m.deleteAction = b.Item("Delete1", "削除(&D)", Ctrl | Qt::Key_Delete, false);
  b.Separator();
  m.copyToClipboardAction = b.Item("N45", "クリップボードにコピー", Ctrl | Alt | Qt::Key_C, false);
  m.pasteFromClipboardAction = b.Item("N46", "クリップボードからペースト", Ctrl | Alt | Qt::Key_V, false);
  b.Separator();
  m.selectAllAction = b.Item("subete1", "全て選択(&A)");
  m.selectPlayer1Action = b.Item("N1P1", "1Pのオブジェを全て選択(&1)");
  m.selectPlayer2Action = b.Item("N2P1", "2Pのオブジェを全て選択(&2)");
  m.selectBgmAction = b.Item("BGMB1", "BGMを全て選択(&B)");
  m.selectBmpAction = b.Item("BMPM1", "BMPを全て選択(&M)");
  b.Separator();
  m.searchReplaceAction = b.Item("K11", "検索・置換・削除(S)", Ctrl | Qt::Key_F);
  m.deleteMeasuresAction = b.Item("N28", "小節の削除", Qt::SHIFT | Qt::Key_Delete);
  m.editSourceAction = b.Item("K2", "ソースのダイレクト編集", Qt::Key_F10, false);
  b.Separator();
  m.measureLengthAction = b.Item("N41", "小節長の変更(&n)");
  b.Separator();
  m.selectModeAction = b.Item("N22", "編集モード", Qt::Key_F2);
  m.writeModeAction = b.Item("N23", "書込モード", Qt::Key_F3);
  m.eraseModeAction = b.Item("N24", "消去モード", Qt::Key_F4);
  b.Separator();
  m.colorsAction = b.Item("N30", "画面表示色の変更");
}

void BuildOtherMenus(MenuBuilder& b, MainMenu& m) {
  m.viewMenu = b.TopMenu("K9", "表示(&V)");
  m.showLogAction = b.Item("K5", "ログの表示(&L)");
  m.showImagePreviewAction = b.Item("BMPB1", "BMPプレビューの表示(&B)");
  b.Separator();
  m.showSettingsColumnAction = b.Check("N7", "基本・拡張設定枠の表示(W)", true);
  m.showIndexNumbersAction = b.Check("c_dindex", "INDEXナンバーの表示", true);
  m.showDirectInputAction = b.Check("c_direct", "ダイレクト入力枠の表示", true);
  m.flatObjectWidthAction = b.Check("N26", "オブジェを等幅で表示", false);
  m.showFileNamesAction = b.Check("N33", "ファイル名を表示", false);

  m.settingsMenu = b.TopMenu("Setting1", "設定(&S)");
  m.activationClickGuardAction = b.Check("N34", "アクティブになった瞬間は操作を無効にする", true);
  b.Separator();
  m.optionsAction = b.Item("N43", "オプション(&O)");

  m.arrangeMenu = b.TopMenu("Arrange1", "アレンジ(&A)");
  m.objectSpacingAction = b.Item("N35", "オブジェ間隔の変更(&S)");
  m.mirrorAction = b.Item("N36", "選択範囲のオブジェを反転（ミラーモード）");

  m.playerMenu = b.TopMenu("Viewer1", "外部ビューア(B)");
  m.playFromStartAction = b.Item("k12", "編集中のデータを最初から演奏", Ctrl | Qt::Key_P);
  m.playFromViewAction = b.Item("k18", "編集中のデータを表示位置から演奏", Ctrl | Qt::Key_T);
  m.playAction = b.Item("N44", "編集中のデータをプレイ", Ctrl | Alt | Qt::Key_P);

  m.helpMenu = b.TopMenu("K16", "ヘルプ(&H)");
  m.helpAction = b.Item("K13", "ヘルプ", Qt::Key_F1);
  m.homePageAction = b.Item("K10", "Beatloom ホームページ(&W)");
  b.Separator();
  m.aboutAction = b.Item("K4", "バージョン情報(&A)");
}

void BuildPopupMenu(QMainWindow* window, MenuBuilder& b, MainMenu& m) {
  m.scorePopup = new QMenu(window);
  m.scorePopup->setObjectName(QStringLiteral("PM"));
  b.Into(m.scorePopup);
  m.insertMeasureAction = b.Item("K14", "ここに1小節挿入");
  m.deleteMeasureAction = b.Item("K15", "この小節を削除");
  b.Separator();
  m.popupCutAction = b.Item("K19", "カット", {}, false);
  m.popupCopyAction = b.Item("K20", "コピー", {}, false);
  m.popupPasteAction = b.Item("K21", "ペースト", {}, false);
  m.popupDeleteAction = b.Item("Delete2", "削除", {}, false);
}

}  // namespace

MainMenu BuildMainMenu(QMainWindow* window) {
  MainMenu m;
  MenuBuilder b(window);
  BuildFileMenu(b, m);
  BuildEditMenu(b, m);
  BuildOtherMenus(b, m);
  BuildPopupMenu(window, b, m);
  return m;
}

}  // namespace beatloom
