#include "app/ui/main_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace beatloom {

const char* const kGridItems[9] = {"1/4", "1/8", "1/16", "1/32", "1/3", "1/6", "1/12", "1/24", "Free"};
const char* const kSubGridItems[10] = {"1/2", "1/4", "1/8", "1/16", "1/32", "1/3", "1/6", "1/12", "1/24", "none"};
const char* const kPlayModeItems[3] = {"1Player", "2Player", "Double Play"};
const char* const kRankItems[5] = {"- default -", "0.Very hard", "1.Hard", "2.Normal", "3.Easy"};
const char* const kLevelItems[8] = {"1", "2", "3", "4", "5", "6", "7", "0"};

namespace {

template <typename W>
W* Make(QWidget* parent, const char* name) {
  auto* w = new W(parent);
  w->setObjectName(QString::fromUtf8(name));
  return w;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
  auto* l = Make<QLabel>(parent, name);
  l->setText(QString::fromUtf8(text));
  return l;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, const char* hint = nullptr) {
  auto* b = Make<QPushButton>(parent, name);
  b->setText(QString::fromUtf8(text));
  if (hint) b->setToolTip(QString::fromUtf8(hint));
  b->setAutoDefault(false);
  return b;
}

QToolButton* MakeToolButton(QWidget* parent, const char* name, const char* hint, QStyle::StandardPixmap icon,
                            const char* text = nullptr) {
  auto* b = Make<QToolButton>(parent, name);
  b->setToolTip(QString::fromUtf8(hint));
  if (text) {
    b->setText(QString::fromUtf8(text));
  } else {
    b->setIcon(parent->style()->standardIcon(icon));
  }
  b->setAutoRaise(true);
  return b;
}

template <size_t N>
QComboBox* MakeCombo(QWidget* parent, const char* name, const char* const (&items)[N], bool editable) {
  auto* c = Make<QComboBox>(parent, name);
  c->setEditable(editable);
  if (editable) c->setInsertPolicy(QComboBox::NoInsert);
  for (const char* item : items) c->addItem(QString::fromUtf8(item));
  return c;
}

QComboBox* MakeEditableCombo(QWidget* parent, const char* name) {
  auto* c = Make<QComboBox>(parent, name);
  c->setEditable(true);
  c->setInsertPolicy(QComboBox::NoInsert);
  return c;
}

QScrollBar* MakeScrollBar(QWidget* parent, const char* name, Qt::Orientation o, int min, int max, int value, int small,
                          int large) {
  auto* s = Make<QScrollBar>(parent, name);
  s->setOrientation(o);
  s->setRange(min, max);
  s->setValue(value);
  s->setSingleStep(small);
  s->setPageStep(large);
  return s;
}

QWidget* VerticalPage(QTabWidget* tabs, const char* name, const char* caption) {
  auto* page = Make<QWidget>(tabs, name);
  tabs->addTab(page, QString::fromUtf8(caption));
  return page;
}

void BuildToolBar(QWidget* parent, MainWidgets& w) {
  w.ToolBar1 = Make<QWidget>(parent, "ToolBar1");
  auto* row = new QHBoxLayout(w.ToolBar1);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(1);
  QWidget* t = w.ToolBar1;
  w.sp2 = MakeToolButton(t, "sp2", "開く", QStyle::SP_DialogOpenButton);
  w.sp3 = MakeToolButton(t, "sp3", "上書き保存", QStyle::SP_DialogSaveButton);
  w.s_select = MakeToolButton(t, "s_select", "編集", QStyle::SP_CustomBase, "編集");
  w.s_draw = MakeToolButton(t, "s_draw", "書込", QStyle::SP_CustomBase, "書込");
  w.s_erase = MakeToolButton(t, "s_erase", "消去", QStyle::SP_CustomBase, "消去");
  for (QToolButton* b : {w.s_select, w.s_draw, w.s_erase}) {
    b->setCheckable(true);
    b->setAutoExclusive(true);
  }
  w.s_draw->setChecked(true);
  w.CB_Viewer = Make<QComboBox>(t, "CB_Viewer");
  w.CB_Viewer->setMinimumContentsLength(8);
  w.s_fplay = MakeToolButton(t, "s_fplay", "最初から再生", QStyle::SP_MediaSkipBackward);
  w.s_play = MakeToolButton(t, "s_play", "現在位置から再生", QStyle::SP_MediaPlay);
  w.S_SPlay = MakeToolButton(t, "S_SPlay", "最初から再生", QStyle::SP_MediaSeekForward);
  w.s_stop = MakeToolButton(t, "s_stop", "演奏停止", QStyle::SP_MediaStop);
  w.Label2 = MakeLabel(t, "Label2", "GRID");
  w.cb_grid = MakeCombo(t, "cb_grid", kGridItems, false);
  w.cb_grid->setToolTip(QString::fromUtf8("グリッドスナップ間隔"));
  w.Label5 = MakeLabel(t, "Label5", "補助");
  w.cb_r = MakeCombo(t, "cb_r", kSubGridItems, false);
  w.cb_r->setToolTip(QString::fromUtf8("補助線間隔"));
  w.L_Devmode = MakeLabel(t, "L_Devmode", "Developer's Mode");
  w.L_Devmode->setStyleSheet(QStringLiteral("color: red"));
  w.L_Devmode->hide();
  for (QWidget* c :
       std::initializer_list<QWidget*>{w.sp2, w.sp3, w.s_select, w.s_draw, w.s_erase, w.CB_Viewer, w.s_fplay, w.s_play,
                                       w.S_SPlay, w.s_stop, w.Label2, w.cb_grid, w.Label5, w.cb_r, w.L_Devmode})
    row->addWidget(c);
  row->addStretch(1);
}

QWidget* BuildScoreArea(QWidget* parent, QWidget* scoreWidget, MainWidgets& w) {
  auto* area = Make<QWidget>(parent, "Panel2");
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  w.pb = scoreWidget;
  w.pb->setParent(area);
  w.pb->setMinimumSize(64, 64);
  w.pb->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  w.GSV = MakeScrollBar(area, "GSV", Qt::Vertical, -5000, 0, 0, 48, 192);
  w.GSH = MakeScrollBar(area, "GSH", Qt::Horizontal, -10, 10, 0, 10, 100);
  grid->addWidget(w.pb, 0, 0);
  grid->addWidget(w.GSV, 0, 1);
  grid->addWidget(w.GSH, 1, 0);

  w.Panel6 = Make<QWidget>(area, "Panel6");
  auto* direct = new QHBoxLayout(w.Panel6);
  direct->setContentsMargins(2, 2, 2, 2);
  w.Label7 = MakeLabel(w.Panel6, "Label7", "Direct");
  w.Edit2 = Make<QLineEdit>(w.Panel6, "Edit2");
  w.Edit2->setToolTip(QString::fromUtf8("BMSコマンドを直接入力できます"));
  w.Button6 = MakeButton(w.Panel6, "Button6", "Input");
  w.Button6->setDefault(true);
  direct->addWidget(w.Label7);
  direct->addWidget(w.Edit2, 1);
  direct->addWidget(w.Button6);
  grid->addWidget(w.Panel6, 2, 0, 1, 2);
  return area;
}

void BuildStatusPanel(QWidget* parent, MainWidgets& w) {
  w.Panel9 = Make<QWidget>(parent, "Panel9");
  auto* row = new QHBoxLayout(w.Panel9);
  row->setContentsMargins(4, 1, 4, 1);
  row->setSpacing(2);
  w.Label12 = MakeLabel(w.Panel9, "Label12", "Position");
  w.Label31 = MakeLabel(w.Panel9, "Label31", "000");
  w.Label30 = MakeLabel(w.Panel9, "Label30", "小節 ");
  w.Label29 = MakeLabel(w.Panel9, "Label29", "000");
  w.Label28 = MakeLabel(w.Panel9, "Label28", "/000");
  w.Label16 = MakeLabel(w.Panel9, "Label16", " Zone:");
  w.Label15 = MakeLabel(w.Panel9, "Label15", "---------");
  w.Label12->setMinimumWidth(48);
  for (QLabel* l : {w.Label12, w.Label31, w.Label30, w.Label29, w.Label28, w.Label16, w.Label15}) row->addWidget(l);
  row->addStretch(1);
}

// One "caption: control" row of a header page.
void AddRow(QGridLayout* g, QWidget* page, const char* labelName, const char* caption, QWidget* control,
            QWidget* button = nullptr) {
  const int r = g->rowCount();
  g->addWidget(MakeLabel(page, labelName, caption), r, 0);
  if (button) {
    g->addWidget(control, r, 1);
    g->addWidget(button, r, 2);
  } else {
    g->addWidget(control, r, 1, 1, 2);
  }
}

void BuildBasicPage(QWidget* page, MainWidgets& w) {
  auto* g = new QGridLayout(page);
  g->setContentsMargins(4, 4, 4, 4);
  g->setVerticalSpacing(2);
  w.cbpmode = MakeCombo(page, "cbpmode", kPlayModeItems, false);
  w.e_genre = MakeEditableCombo(page, "e_genre");
  w.e_title = Make<QLineEdit>(page, "e_title");
  w.e_art = MakeEditableCombo(page, "e_art");
  w.e_bpm = Make<QLineEdit>(page, "e_bpm");
  w.e_level = MakeCombo(page, "e_level", kLevelItems, true);
  w.cbrank = MakeCombo(page, "cbrank", kRankItems, false);
  w.e_midif = Make<QLineEdit>(page, "e_midif");
  w.Button1 = MakeButton(page, "Button1", "...");
  w.Button1->setFixedWidth(24);
  AddRow(g, page, "Label17", "PLAYER", w.cbpmode);
  AddRow(g, page, "Label18", "GENRE", w.e_genre);
  AddRow(g, page, "Label19", "TITLE", w.e_title);
  AddRow(g, page, "Label20", "ARTIST", w.e_art);
  AddRow(g, page, "Label21", "BPM", w.e_bpm);
  AddRow(g, page, "Label22", "PLAYLEVEL", w.e_level);
  AddRow(g, page, "Label23", "RANK", w.cbrank);
  AddRow(g, page, "Label24", "MIDIFILE", w.e_midif, w.Button1);
  g->setRowStretch(g->rowCount(), 1);
}

void BuildExtendedPage(QWidget* page, MainWidgets& w) {
  auto* g = new QGridLayout(page);
  g->setContentsMargins(4, 4, 4, 4);
  g->setVerticalSpacing(2);
  w.e_total = Make<QLineEdit>(page, "e_total");
  w.e_volwav = Make<QLineEdit>(page, "e_volwav");
  w.E_Stagefile = Make<QLineEdit>(page, "E_Stagefile");
  w.Button16 = MakeButton(page, "Button16", "...");
  w.Button16->setFixedWidth(24);
  w.E_Email = Make<QLineEdit>(page, "E_Email");
  w.E_URL = Make<QLineEdit>(page, "E_URL");
  AddRow(g, page, "Label25", "TOTAL", w.e_total);
  AddRow(g, page, "Label26", "VOLWAV", w.e_volwav);
  AddRow(g, page, "Label27", "STAGEFILE", w.E_Stagefile, w.Button16);
  AddRow(g, page, "Label32", "%EMAIL", w.E_Email);
  AddRow(g, page, "Label33", "%URL", w.E_URL);
  w.PageControl1 = Make<QTabWidget>(page, "PageControl1");
  auto* info = VerticalPage(w.PageControl1, "TabSheet6", "情報");
  auto* ext = VerticalPage(w.PageControl1, "TabSheet7", "拡張命令");
  w.mmemo = Make<QPlainTextEdit>(info, "mmemo");
  w.mcom = Make<QPlainTextEdit>(ext, "mcom");
  for (auto [tab, memo] : {std::pair{info, w.mmemo}, std::pair{ext, w.mcom}}) {
    auto* v = new QVBoxLayout(tab);
    v->setContentsMargins(0, 0, 0, 0);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    v->addWidget(memo);
  }
  // Room for a few memo lines; the lists below want the rest of the column.
  w.PageControl1->setFixedHeight(112);
  g->addWidget(w.PageControl1, g->rowCount(), 0, 1, 3);
  g->setRowStretch(g->rowCount(), 1);
}

void AddBarRow(QGridLayout* g, QWidget* page, const char* labelName, const char* caption, QScrollBar* bar,
               QPushButton* reset) {
  const int r = g->rowCount();
  g->addWidget(MakeLabel(page, labelName, caption), r, 0);
  g->addWidget(bar, r, 1);
  g->addWidget(reset, r, 2);
}

void BuildEnvironmentPage(QWidget* page, MainWidgets& w) {
  auto* g = new QGridLayout(page);
  g->setContentsMargins(4, 4, 4, 4);
  g->setVerticalSpacing(3);
  w.ScrollBar1 = MakeScrollBar(page, "ScrollBar1", Qt::Horizontal, 96, 728, 192, 1, 48);
  w.ScrollBar3 = MakeScrollBar(page, "ScrollBar3", Qt::Horizontal, 4, 20, 6, 1, 1);
  w.ScrollBar2 = MakeScrollBar(page, "ScrollBar2", Qt::Horizontal, 4, 30, 10, 1, 1);
  w.Button7 = MakeButton(page, "Button7", "初期値");
  w.Button10 = MakeButton(page, "Button10", "初期値");
  w.Button8 = MakeButton(page, "Button8", "初期値");
  for (QPushButton* b : {w.Button7, w.Button10, w.Button8}) b->setMaximumWidth(56);
  AddBarRow(g, page, "Label8", "表示高さ", w.ScrollBar1, w.Button7);
  AddBarRow(g, page, "Label9", "表示幅", w.ScrollBar3, w.Button10);
  AddBarRow(g, page, "Label10", "オブジェ", w.ScrollBar2, w.Button8);
  w.CheckBox1 = Make<QCheckBox>(page, "CheckBox1");
  w.CheckBox1->setText(QString::fromUtf8("Wav,Bmpドロップ時に上書きしない"));
  w.CheckBox1->setChecked(true);
  w.CheckBox8 = Make<QCheckBox>(page, "CheckBox8");
  w.CheckBox8->setText(QString::fromUtf8("保存の際に編集情報を記録する"));
  w.CheckBox8->setChecked(true);
  g->addWidget(w.CheckBox1, g->rowCount(), 0, 1, 3);
  g->addWidget(w.CheckBox8, g->rowCount(), 0, 1, 3);
  w.Edit3 = Make<QLineEdit>(page, "Edit3");
  w.Edit3->setText(QStringLiteral("1"));
  w.Edit3->setMaximumWidth(48);
  g->addWidget(MakeLabel(page, "Label11", "ファイル保存時の一行最低桁数"), g->rowCount(), 0, 1, 3);
  g->addWidget(w.Edit3, g->rowCount(), 0);
  g->setColumnStretch(1, 1);
  g->setRowStretch(g->rowCount(), 1);
}

QPushButton* ArrowButton(QWidget* parent, const char* name, const char* text) {
  auto* b = MakeButton(parent, name, text);
  b->setFixedWidth(24);
  return b;
}

void BuildListPage(QWidget* page, const char* listName, const char* panelName, QListWidget*& list,
                   const std::initializer_list<QPushButton*>& buttons) {
  auto* v = new QVBoxLayout(page);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(1);
  list = Make<QListWidget>(page, listName);
  list->setUniformItemSizes(true);
  v->addWidget(list, 1);
  auto* panel = Make<QWidget>(page, panelName);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  for (QPushButton* b : buttons) {
    b->setParent(panel);
    row->addWidget(b);
  }
  row->addStretch(1);
  v->addWidget(panel);
}

void BuildDefinitionLists(QWidget* parent, MainWidgets& w) {
  w.Panel4 = Make<QWidget>(parent, "Panel4");
  auto* v = new QVBoxLayout(w.Panel4);
  v->setContentsMargins(0, 0, 0, 0);
  w.PC2 = Make<QTabWidget>(w.Panel4, "PC2");
  v->addWidget(w.PC2);
  auto* wavPage = VerticalPage(w.PC2, "TabSheet4", "WAV");
  auto* bmpPage = VerticalPage(w.PC2, "TabSheet5", "BMP");
  w.Button2 = MakeButton(wavPage, "Button2", "停止", "鳴っている音を止める");
  w.Button11 = MakeButton(wavPage, "Button11", "指定", "WAVファイルの指定");
  w.Button12 = MakeButton(wavPage, "Button12", "消去", "音割り当ての解除");
  w.Button4 = ArrowButton(wavPage, "Button4", "▲");
  w.Button5 = ArrowButton(wavPage, "Button5", "▼");
  BuildListPage(wavPage, "lbw", "Panel5", w.lbw, {w.Button2, w.Button11, w.Button12, w.Button4, w.Button5});
  w.Button14 = MakeButton(bmpPage, "Button14", "指定");
  w.Button15 = MakeButton(bmpPage, "Button15", "消去");
  w.Button3 = MakeButton(bmpPage, "Button3", "表示");
  w.Button9 = ArrowButton(bmpPage, "Button9", "▲");
  w.Button13 = ArrowButton(bmpPage, "Button13", "▼");
  BuildListPage(bmpPage, "lbb", "Panel10", w.lbb, {w.Button14, w.Button15, w.Button3, w.Button9, w.Button13});
  for (QPushButton* b : {w.Button2, w.Button11, w.Button12, w.Button14, w.Button15, w.Button3}) b->setMaximumWidth(44);
}

void BuildSidePanel(QWidget* parent, MainWidgets& w) {
  w.Panel8 = Make<QWidget>(parent, "Panel8");
  auto* v = new QVBoxLayout(w.Panel8);
  v->setContentsMargins(2, 0, 0, 0);
  v->setSpacing(0);
  w.Panel7 = Make<QTabWidget>(w.Panel8, "Panel7");
  BuildBasicPage(VerticalPage(w.Panel7, "TabSheet1", "基本"), w);
  BuildExtendedPage(VerticalPage(w.Panel7, "TabSheet2", "拡張"), w);
  BuildEnvironmentPage(VerticalPage(w.Panel7, "TabSheet3", "環境"), w);
  w.Panel7->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  v->addWidget(w.Panel7);
  BuildDefinitionLists(w.Panel8, w);
  v->addWidget(w.Panel4, 1);
  w.Panel3 = MakeButton(w.Panel8, "Panel3", "△", "基本・拡張・環境パネルの表示／非表示");
  w.Panel3->setFixedSize(18, 21);
  w.Panel3->setFlat(true);
  v->addWidget(w.Panel3, 0, Qt::AlignRight);
  // The column keeps its design width unless the desktop's font needs more
  // room for the check box captions of the "環境" page.
  const int captions = std::max(w.CheckBox1->sizeHint().width(), w.CheckBox8->sizeHint().width());
  w.Panel8->setFixedWidth(std::max(232, captions + 16));
}

}  // namespace

MainWidgets BuildMainLayout(QMainWindow* window, QWidget* scoreWidget) {
  MainWidgets w;
  auto* central = Make<QWidget>(window, "Panel1");
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);
  BuildToolBar(central, w);
  v->addWidget(w.ToolBar1);
  auto* middle = new QHBoxLayout;
  middle->setSpacing(0);
  middle->addWidget(BuildScoreArea(central, scoreWidget, w), 1);
  BuildSidePanel(central, w);
  middle->addWidget(w.Panel8);
  v->addLayout(middle, 1);
  BuildStatusPanel(central, w);
  v->addWidget(w.Panel9);
  window->setCentralWidget(central);
  return w;
}

}  // namespace beatloom
