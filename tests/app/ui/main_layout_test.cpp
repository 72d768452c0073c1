// The controls of the main window as the author and the language file meet
// them: found by their control names, with their captions, hints, items and
// ranges.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

#include "app/ui/main_window_fixture.h"

namespace beatloom::test {
namespace {

struct ControlRow {
  const char* name;
  const char* text;  // caption of a button, label or check box; null: none checked
  const char* hint;  // tool tip; null: none checked
};

const ControlRow kControls[] = {
    {"sp2", nullptr, "開く"},
    {"sp3", nullptr, "上書き保存"},
    {"s_select", nullptr, "編集"},
    {"s_draw", nullptr, "書込"},
    {"s_erase", nullptr, "消去"},
    {"CB_Viewer", nullptr, nullptr},
    {"s_fplay", nullptr, "最初から再生"},
    {"s_play", nullptr, "現在位置から再生"},
    {"S_SPlay", nullptr, "最初から再生"},
    {"s_stop", nullptr, "演奏停止"},
    {"Label2", "GRID", nullptr},
    {"cb_grid", nullptr, "グリッドスナップ間隔"},
    {"Label5", "補助", nullptr},
    {"cb_r", nullptr, "補助線間隔"},
    {"L_Devmode", "Developer's Mode", nullptr},
    {"pb", nullptr, nullptr},
    {"GSH", nullptr, nullptr},
    {"GSV", nullptr, nullptr},
    {"Panel6", nullptr, nullptr},
    {"Edit2", nullptr, "BMSコマンドを直接入力できます"},
    {"Button6", "Input", nullptr},
    {"Panel9", nullptr, nullptr},
    {"Panel8", nullptr, nullptr},
    {"Panel7", nullptr, nullptr},
    {"Panel3", "△", "基本・拡張・環境パネルの表示／非表示"},
    {"cbpmode", nullptr, nullptr},
    {"e_genre", nullptr, nullptr},
    {"e_title", nullptr, nullptr},
    {"e_art", nullptr, nullptr},
    {"e_bpm", nullptr, nullptr},
    {"e_level", nullptr, nullptr},
    {"cbrank", nullptr, nullptr},
    {"e_midif", nullptr, nullptr},
    {"Button1", "...", nullptr},
    {"e_total", nullptr, nullptr},
    {"e_volwav", nullptr, nullptr},
    {"E_Stagefile", nullptr, nullptr},
    {"Button16", "...", nullptr},
    {"E_Email", nullptr, nullptr},
    {"E_URL", nullptr, nullptr},
    {"LabelSubartist", "SUBARTIST", "1行に1人"},
    {"e_subartist", nullptr, nullptr},
    {"e_difficulty", nullptr, nullptr},
    {"mmemo", nullptr, nullptr},
    {"mcom", nullptr, nullptr},
    {"ScrollBar1", nullptr, nullptr},
    {"ScrollBar3", nullptr, nullptr},
    {"ScrollBar2", nullptr, nullptr},
    {"Button7", "初期値", nullptr},
    {"Button10", "初期値", nullptr},
    {"Button8", "初期値", nullptr},
    {"CheckBox1", "Wav,Bmpドロップ時に上書きしない", nullptr},
    {"CheckBox8", "保存の際に編集情報を記録する", nullptr},
    {"Edit3", nullptr, nullptr},
    {"Panel4", nullptr, nullptr},
    {"PC2", nullptr, nullptr},
    {"lbw", nullptr, nullptr},
    {"Button2", "停止", "鳴っている音を止める"},
    {"Button11", "指定", "WAVファイルの指定"},
    {"Button12", "消去", "音割り当ての解除"},
    {"Button4", "▲", nullptr},
    {"Button5", "▼", nullptr},
    {"lbb", nullptr, nullptr},
    {"Button14", "指定", nullptr},
    {"Button15", "消去", nullptr},
    {"Button3", "表示", nullptr},
    {"Button9", "▲", nullptr},
    {"Button13", "▼", nullptr},
};

QString TextOf(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  return QString();
}

QStringList Items(const QComboBox* c) {
  QStringList items;
  for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
  return items;
}

QStringList Tabs(const QTabWidget* t) {
  QStringList tabs;
  for (int i = 0; i < t->count(); ++i) tabs << t->tabText(i);
  return tabs;
}

TEST_F(MainWindowTest, EveryControlCarriesItsNameCaptionAndHint) {
  Quiet();
  auto main = Start();
  for (const ControlRow& r : kControls) {
    SCOPED_TRACE(r.name);
    // The dialogs the window owns name their own controls.
    const QList<QWidget*> found = main->centralWidget()->findChildren<QWidget*>(QString::fromUtf8(r.name));
    ASSERT_EQ(found.size(), 1);
    if (r.text) {
      EXPECT_EQ(TextOf(found[0]), QString::fromUtf8(r.text));
    }
    if (r.hint) {
      EXPECT_EQ(found[0]->toolTip(), QString::fromUtf8(r.hint));
    }
  }
}

TEST_F(MainWindowTest, ToolBarRunsLeftToRightAndListsHoldTheirItems) {
  Quiet();
  auto main = Start();
  const char* const order[] = {"sp2",    "sp3",     "s_select", "s_draw", "s_erase", "CB_Viewer", "s_fplay",
                               "s_play", "S_SPlay", "s_stop",   "Label2", "cb_grid", "Label5",    "cb_r"};
  for (size_t i = 1; i < std::size(order); ++i)
    EXPECT_LT(Control<QWidget>(*main, order[i - 1]).x(), Control<QWidget>(*main, order[i]).x()) << order[i];
  EXPECT_TRUE(Control<QToolButton>(*main, "s_draw").isChecked());

  const auto combo = [&main](const char* name) -> const QComboBox* { return &Control<QComboBox>(*main, name); };
  EXPECT_EQ(Items(combo("cb_grid")), QStringList({"1/4", "1/8", "1/16", "1/32", "1/3", "1/6", "1/12", "1/24", "Free"}));
  EXPECT_EQ(Items(combo("cb_r")),
            QStringList({"1/2", "1/4", "1/8", "1/16", "1/32", "1/3", "1/6", "1/12", "1/24", "none"}));
  EXPECT_EQ(Items(combo("cbpmode")), QStringList({"1Player", "2Player", "Double Play"}));
  EXPECT_EQ(Items(combo("cbrank")), QStringList({"- default -", "0.Very hard", "1.Hard", "2.Normal", "3.Easy"}));
  EXPECT_EQ(Items(combo("e_level")), QStringList({"1", "2", "3", "4", "5", "6", "7", "0"}));
  EXPECT_EQ(Items(combo("e_difficulty")),
            QStringList({"- none -", "1 BEGINNER", "2 NORMAL", "3 HYPER", "4 ANOTHER", "5 INSANE"}));
  for (const char* free : {"e_genre", "e_art", "e_level"}) EXPECT_TRUE(combo(free)->isEditable()) << free;
  for (const char* fixed : {"cbpmode", "cbrank", "cb_grid", "cb_r", "e_difficulty"})
    EXPECT_FALSE(combo(fixed)->isEditable()) << fixed;

  QTabWidget& headerPages = Control<QTabWidget>(*main, "Panel7");
  const QTabWidget& memoPages = Control<QTabWidget>(*main, "PageControl1");
  EXPECT_EQ(Tabs(&headerPages), QStringList({"基本", "拡張", "環境"}));
  EXPECT_EQ(Tabs(&memoPages), QStringList({"情報", "拡張命令"}));
  EXPECT_EQ(memoPages.widget(0)->findChild<QPlainTextEdit*>(), &Control<QPlainTextEdit>(*main, "mmemo"));
  EXPECT_EQ(memoPages.widget(1)->findChild<QPlainTextEdit*>(), &Control<QPlainTextEdit>(*main, "mcom"));
  EXPECT_EQ(Tabs(&Control<QTabWidget>(*main, "PC2")), QStringList({"WAV", "BMP"}));

  struct Bar {
    const char* name;
    int min, max, value;
  };
  for (const Bar& b : {Bar{"ScrollBar1", 96, 728, 192}, Bar{"ScrollBar3", 4, 20, 6}, Bar{"ScrollBar2", 4, 30, 10}}) {
    SCOPED_TRACE(b.name);
    const QScrollBar& bar = Control<QScrollBar>(*main, b.name);
    EXPECT_EQ(bar.minimum(), b.min);
    EXPECT_EQ(bar.maximum(), b.max);
    EXPECT_EQ(bar.value(), b.value);
  }
  EXPECT_EQ(Control<QScrollBar>(*main, "ScrollBar1").pageStep(), 48);
  EXPECT_EQ(Control<QPushButton>(*main, "Panel3").size(), QSize(18, 21));
  EXPECT_TRUE(Control<QPushButton>(*main, "Button6").isDefault());

  // The check box captions of "環境" are shown whole, whatever the font.
  headerPages.setCurrentIndex(2);
  QCoreApplication::processEvents();
  QWidget& settingsColumn = Control<QWidget>(*main, "Panel8");
  for (const char* name : {"CheckBox1", "CheckBox8"}) {
    const QCheckBox& box = Control<QCheckBox>(*main, name);
    EXPECT_GE(box.width(), box.sizeHint().width()) << name;
    EXPECT_LE(box.mapTo(&settingsColumn, QPoint(box.sizeHint().width(), 0)).x(), settingsColumn.width());
  }
}

}  // namespace
}  // namespace beatloom::test
