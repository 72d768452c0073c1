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
  m.K1 = b.TopMenu("K1", "ファイル(&F)");
  m.New1 = b.Item("New1", "新規作成(&N)");
  m.Open1 = b.Item("Open1", "開く(&O)", Ctrl | Qt::Key_O);
  m.N9 = b.SubMenu("N9", "開き直す(&R)");
  QAction** recent[] = {&m.N10, &m.N11, &m.N12, &m.N13, &m.N14, &m.N15, &m.N16, &m.N17, &m.N18, &m.N19};
  for (int k = 0; k < 10; ++k) {
    const QByteArray name = "N" + QByteArray::number(10 + k);
    *recent[k] = b.Item(name.constData(), QByteArray::number(k + 1).constData(), {}, true, m.N9);
    (*recent[k])->setVisible(false);
  }
  m.SaveAs1 = b.Item("SaveAs1", "名前を付けて保存(&A)", Ctrl | Qt::Key_A);
  m.Save1 = b.Item("Save1", "上書き保存(&S)", Ctrl | Qt::Key_S);
  b.Separator();
  m.N39 = b.SubMenu("N39", "インポート");
  m.DDRVddr1 = b.Item("DDRVddr1", "DDRV形式(DDR)", {}, true, m.N39);
  m.N38 = b.SubMenu("N38", "エクスポート");
  m.MML1 = b.Item("MML1", "ビート魔にやり形式（BMM）", {}, true, m.N38);
  m.DDRVDDR2 = b.Item("DDRVDDR2", "DDRV形式(DDR)", {}, true, m.N38);
  m.WinPSMps1 = b.Item("WinPSMps1", "WinPSM形式(PS) ※この機能はDDRデータ専用です", {}, true, m.N38);
  m.TypeMania1 = b.Item("TypeMania1", "TypeMania形式（未完成）", {}, false, m.N38);
  b.Separator();
  m.WAVBMPC1 = b.Item("WAVBMPC1", "未使用WAV・BMPの登録解除(&C)");
  m.BMPWAV1 = b.Item("BMPWAV1", "WAV・BMP登録インデックスNo.を詰める");
  b.Separator();
  m.N31 = b.Item("N31", "ジャンルリストのクリア");
  m.N32 = b.Item("N32", "アーティストリストのクリア");
  b.Separator();
  m.Exit1 = b.Item("Exit1", "Beatloomの終了(&X)");
}

void BuildEditMenu(MenuBuilder& b, MainMenu& m) {
  m.K3 = b.TopMenu("K3", "編集(&E)");
  m.K17 = b.Item("K17", "元に戻す", Ctrl | Qt::Key_Z, false);
  b.Separator();
  m.K8 = b.Item("K8", "カット(&X)", Ctrl | Qt::Key_X, false);
  m.K7 = b.Item("K7", "コピー(&C)", Ctrl | Qt::Key_C, false);
  m.K6 = b.Item("K6", "ペースト(&P)", Ctrl | Qt::Key_V, false);
  m.Delete1 = b.Item("Delete1", "削除(&D)", Ctrl | Qt::Key_Delete, false);
  b.Separator();
  m.N45 = b.Item("N45", "クリップボードにコピー", Ctrl | Alt | Qt::Key_C, false);
  m.N46 = b.Item("N46", "クリップボードからペースト", Ctrl | Alt | Qt::Key_V, false);
  b.Separator();
  m.subete1 = b.Item("subete1", "全て選択(&A)");
  m.N1P1 = b.Item("N1P1", "1Pのオブジェを全て選択(&1)");
  m.N2P1 = b.Item("N2P1", "2Pのオブジェを全て選択(&2)");
  m.BGMB1 = b.Item("BGMB1", "BGMを全て選択(&B)");
  m.BMPM1 = b.Item("BMPM1", "BMPを全て選択(&M)");
  b.Separator();
  m.K11 = b.Item("K11", "検索・置換・削除(S)", Ctrl | Qt::Key_F);
  m.N28 = b.Item("N28", "小節の削除", Qt::SHIFT | Qt::Key_Delete);
  m.K2 = b.Item("K2", "ソースのダイレクト編集", Qt::Key_F10, false);
  b.Separator();
  m.N41 = b.Item("N41", "小節長の変更(&n)");
  b.Separator();
  m.N22 = b.Item("N22", "編集モード", Qt::Key_F2);
  m.N23 = b.Item("N23", "書込モード", Qt::Key_F3);
  m.N24 = b.Item("N24", "消去モード", Qt::Key_F4);
  b.Separator();
  m.N30 = b.Item("N30", "画面表示色の変更");
}

void BuildOtherMenus(MenuBuilder& b, MainMenu& m) {
  m.K9 = b.TopMenu("K9", "表示(&V)");
  m.K5 = b.Item("K5", "ログの表示(&L)");
  m.BMPB1 = b.Item("BMPB1", "BMPプレビューの表示(&B)");
  b.Separator();
  m.N7 = b.Check("N7", "基本・拡張設定枠の表示(W)", true);
  m.c_dindex = b.Check("c_dindex", "INDEXナンバーの表示", true);
  m.c_direct = b.Check("c_direct", "ダイレクト入力枠の表示", true);
  m.N26 = b.Check("N26", "オブジェを等幅で表示", false);
  m.N33 = b.Check("N33", "ファイル名を表示", false);

  m.Setting1 = b.TopMenu("Setting1", "設定(&S)");
  m.N34 = b.Check("N34", "アクティブになった瞬間は操作を無効にする", true);
  b.Separator();
  m.N43 = b.Item("N43", "オプション(&O)");

  m.Arrange1 = b.TopMenu("Arrange1", "アレンジ(&A)");
  m.N35 = b.Item("N35", "オブジェ間隔の変更(&S)");
  m.N36 = b.Item("N36", "選択範囲のオブジェを反転（ミラーモード）");

  m.Viewer1 = b.TopMenu("Viewer1", "外部ビューア(B)");
  m.k12 = b.Item("k12", "編集中のデータを最初から演奏", Ctrl | Qt::Key_P);
  m.k18 = b.Item("k18", "編集中のデータを表示位置から演奏", Ctrl | Qt::Key_T);
  m.N44 = b.Item("N44", "編集中のデータをプレイ", Ctrl | Alt | Qt::Key_P);

  m.K16 = b.TopMenu("K16", "ヘルプ(&H)");
  m.K13 = b.Item("K13", "ヘルプ", Qt::Key_F1);
  m.K10 = b.Item("K10", "Beatloom ホームページ(&W)");
  b.Separator();
  m.K4 = b.Item("K4", "バージョン情報(&A)");
}

void BuildPopupMenu(QMainWindow* window, MenuBuilder& b, MainMenu& m) {
  m.PM = new QMenu(window);
  m.PM->setObjectName(QStringLiteral("PM"));
  b.Into(m.PM);
  m.K14 = b.Item("K14", "ここに1小節挿入");
  m.K15 = b.Item("K15", "この小節を削除");
  b.Separator();
  m.K19 = b.Item("K19", "カット", {}, false);
  m.K20 = b.Item("K20", "コピー", {}, false);
  m.K21 = b.Item("K21", "ペースト", {}, false);
  m.Delete2 = b.Item("Delete2", "削除", {}, false);
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
