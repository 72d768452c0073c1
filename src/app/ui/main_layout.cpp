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
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "view/view_settings.h"

namespace beatloom {

const char* const kPlayModeItems[3] = {"1Player", "2Player", "Double Play"};
const char* const kRankItems[5] = {"- default -", "0.Very hard", "1.Hard", "2.Normal", "3.Easy"};
const char* const kLevelItems[8] = {"1", "2", "3", "4", "5", "6", "7", "0"};
const char* const kDifficultyItems[6] = {"- none -", "1 BEGINNER", "2 NORMAL", "3 HYPER", "4 ANOTHER", "5 INSANE"};

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

// The grid selectors take their items from the view, which owns their meaning.
template <size_t N>
QComboBox* MakeChoiceCombo(QWidget* parent, const char* name, const std::array<GridChoice, N>& choices) {
  auto* c = Make<QComboBox>(parent, name);
  for (const GridChoice& choice : choices) c->addItem(QString::fromUtf8(choice.caption));
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

QScrollBar* MakeViewBar(QWidget* parent, const char* name, const IntViewSetting& setting, int large) {
  return MakeScrollBar(parent, name, Qt::Horizontal, setting.min, setting.max, setting.defaultValue, 1, large);
}

QWidget* VerticalPage(QTabWidget* tabs, const char* name, const char* caption) {
  auto* page = Make<QWidget>(tabs, name);
  tabs->addTab(page, QString::fromUtf8(caption));
  return page;
}

void BuildToolBar(QWidget* parent, MainWidgets& w) {
  w.toolBar = Make<QWidget>(parent, "ToolBar1");
  auto* row = new QHBoxLayout(w.toolBar);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(1);
  QWidget* t = w.toolBar;
  w.openButton = MakeToolButton(t, "sp2", "開く", QStyle::SP_DialogOpenButton);
  w.saveButton = MakeToolButton(t, "sp3", "上書き保存", QStyle::SP_DialogSaveButton);
  w.selectModeButton = MakeToolButton(t, "s_select", "編集", QStyle::SP_CustomBase, "編集");
  w.writeModeButton = MakeToolButton(t, "s_draw", "書込", QStyle::SP_CustomBase, "書込");
  w.eraseModeButton = MakeToolButton(t, "s_erase", "消去", QStyle::SP_CustomBase, "消去");
  for (QToolButton* b : {w.selectModeButton, w.writeModeButton, w.eraseModeButton}) {
    b->setCheckable(true);
    b->setAutoExclusive(true);
  }
  w.writeModeButton->setChecked(true);
  w.playerCombo = Make<QComboBox>(t, "CB_Viewer");
  w.playerCombo->setMinimumContentsLength(8);
  w.playFromStartButton = MakeToolButton(t, "s_fplay", "最初から再生", QStyle::SP_MediaSkipBackward);
  w.playFromViewButton = MakeToolButton(t, "s_play", "現在位置から再生", QStyle::SP_MediaPlay);
  w.playButton = MakeToolButton(t, "S_SPlay", "最初から再生", QStyle::SP_MediaSeekForward);
  w.stopPlayerButton = MakeToolButton(t, "s_stop", "演奏停止", QStyle::SP_MediaStop);
  w.gridLabel = MakeLabel(t, "Label2", "GRID");
  w.gridCombo = MakeChoiceCombo(t, "cb_grid", GridChoices);
  w.gridCombo->setToolTip(QString::fromUtf8("グリッドスナップ間隔"));
  w.subGridLabel = MakeLabel(t, "Label5", "補助");
  w.subGridCombo = MakeChoiceCombo(t, "cb_r", SubGridChoices);
  w.subGridCombo->setToolTip(QString::fromUtf8("補助線間隔"));
  w.devModeLabel = MakeLabel(t, "L_Devmode", "Developer's Mode");
  w.devModeLabel->setStyleSheet(QStringLiteral("color: red"));
  w.devModeLabel->hide();
  for (QWidget* c :
       std::initializer_list<QWidget*>{w.openButton, w.saveButton, w.selectModeButton, w.writeModeButton, w.eraseModeButton, w.playerCombo, w.playFromStartButton, w.playFromViewButton,
                                       w.playButton, w.stopPlayerButton, w.gridLabel, w.gridCombo, w.subGridLabel, w.subGridCombo, w.devModeLabel})
    row->addWidget(c);
  row->addStretch(1);
}

QWidget* BuildScoreArea(QWidget* parent, QWidget* scoreWidget, MainWidgets& w) {
  auto* area = Make<QWidget>(parent, "Panel2");
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  w.score = scoreWidget;
  w.score->setParent(area);
  w.score->setMinimumSize(64, 64);
  w.score->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  w.verticalScrollBar = MakeScrollBar(area, "GSV", Qt::Vertical, -5000, 0, 0, 48, 192);
  w.horizontalScrollBar = MakeScrollBar(area, "GSH", Qt::Horizontal, -10, 10, 0, 10, 100);
  grid->addWidget(w.score, 0, 0);
  grid->addWidget(w.verticalScrollBar, 0, 1);
  grid->addWidget(w.horizontalScrollBar, 1, 0);

  w.directInputBar = Make<QWidget>(area, "Panel6");
  auto* direct = new QHBoxLayout(w.directInputBar);
  direct->setContentsMargins(2, 2, 2, 2);
  w.directInputLabel = MakeLabel(w.directInputBar, "Label7", "Direct");
  w.directInputEdit = Make<QLineEdit>(w.directInputBar, "Edit2");
  w.directInputEdit->setToolTip(QString::fromUtf8("BMSコマンドを直接入力できます"));
  w.directInputButton = MakeButton(w.directInputBar, "Button6", "Input");
  w.directInputButton->setDefault(true);
  direct->addWidget(w.directInputLabel);
  direct->addWidget(w.directInputEdit, 1);
  direct->addWidget(w.directInputButton);
  grid->addWidget(w.directInputBar, 2, 0, 1, 2);
  return area;
}

void BuildStatusPanel(QWidget* parent, MainWidgets& w) {
  w.statusBar = Make<QWidget>(parent, "Panel9");
  auto* row = new QHBoxLayout(w.statusBar);
  row->setContentsMargins(4, 1, 4, 1);
  row->setSpacing(2);
  w.statusKindLabel = MakeLabel(w.statusBar, "Label12", "Position");
  w.statusMeasureLabel = MakeLabel(w.statusBar, "Label31", "000");
  w.statusMeasureCaption = MakeLabel(w.statusBar, "Label30", "小節 ");
  w.statusBeatLabel = MakeLabel(w.statusBar, "Label29", "000");
  w.statusGridLabel = MakeLabel(w.statusBar, "Label28", "/000");
  w.statusZoneCaption = MakeLabel(w.statusBar, "Label16", " Zone:");
  w.statusZoneLabel = MakeLabel(w.statusBar, "Label15", "---------");
  w.statusTimeLabel = MakeLabel(w.statusBar, "LabelTime", "0:00.000");
  w.statusKindLabel->setMinimumWidth(48);
  w.statusTimeLabel->setMinimumWidth(64);
  w.statusTimeLabel->setContentsMargins(6, 0, 0, 0);
  for (QLabel* l : {w.statusKindLabel, w.statusMeasureLabel, w.statusMeasureCaption, w.statusBeatLabel,
                    w.statusGridLabel, w.statusTimeLabel, w.statusZoneCaption, w.statusZoneLabel})
    row->addWidget(l);
  row->addStretch(1);
  w.statusMessageLabel = MakeLabel(w.statusBar, "LabelMessage", "");
  row->addWidget(w.statusMessageLabel);
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
  w.playModeCombo = MakeCombo(page, "cbpmode", kPlayModeItems, false);
  w.genreCombo = MakeEditableCombo(page, "e_genre");
  w.titleEdit = Make<QLineEdit>(page, "e_title");
  w.artistCombo = MakeEditableCombo(page, "e_art");
  w.bpmEdit = Make<QLineEdit>(page, "e_bpm");
  w.levelCombo = MakeCombo(page, "e_level", kLevelItems, true);
  w.rankCombo = MakeCombo(page, "cbrank", kRankItems, false);
  w.midiFileEdit = Make<QLineEdit>(page, "e_midif");
  w.midiFileButton = MakeButton(page, "Button1", "...");
  w.midiFileButton->setFixedWidth(24);
  AddRow(g, page, "Label17", "PLAYER", w.playModeCombo);
  AddRow(g, page, "Label18", "GENRE", w.genreCombo);
  AddRow(g, page, "Label19", "TITLE", w.titleEdit);
  AddRow(g, page, "Label20", "ARTIST", w.artistCombo);
  AddRow(g, page, "Label21", "BPM", w.bpmEdit);
  AddRow(g, page, "Label22", "PLAYLEVEL", w.levelCombo);
  AddRow(g, page, "Label23", "RANK", w.rankCombo);
  AddRow(g, page, "Label24", "MIDIFILE", w.midiFileEdit, w.midiFileButton);
  g->setRowStretch(g->rowCount(), 1);
}

// The header lines a chart may have or leave out.
void BuildOptionalHeaderRows(QGridLayout* g, QWidget* page, MainWidgets& w) {
  w.subtitleEdit = Make<QLineEdit>(page, "e_subtitle");
  w.subartistEdit = Make<QPlainTextEdit>(page, "e_subartist");
  w.subartistEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
  w.subartistEdit->setTabChangesFocus(true);
  // Two lines show; more scroll.
  w.subartistEdit->setFixedHeight(w.subartistEdit->fontMetrics().lineSpacing() * 2 + 10);
  w.difficultyCombo = MakeCombo(page, "e_difficulty", kDifficultyItems, false);
  w.bannerEdit = Make<QLineEdit>(page, "e_banner");
  w.backBmpEdit = Make<QLineEdit>(page, "e_backbmp");
  w.previewEdit = Make<QLineEdit>(page, "e_preview");
  w.lnTypeEdit = Make<QLineEdit>(page, "e_lntype");
  AddRow(g, page, "LabelSubtitle", "SUBTITLE", w.subtitleEdit);
  AddRow(g, page, "LabelSubartist", "SUBARTIST", w.subartistEdit);
  g->itemAtPosition(g->rowCount() - 1, 0)->widget()->setToolTip(QString::fromUtf8("1行に1人"));
  g->itemAtPosition(g->rowCount() - 1, 0)->setAlignment(Qt::AlignTop);
  AddRow(g, page, "LabelDifficulty", "DIFFICULTY", w.difficultyCombo);
  AddRow(g, page, "LabelBanner", "BANNER", w.bannerEdit);
  AddRow(g, page, "LabelBackbmp", "BACKBMP", w.backBmpEdit);
  AddRow(g, page, "LabelPreview", "PREVIEW", w.previewEdit);
  AddRow(g, page, "LabelLntype", "LNTYPE", w.lnTypeEdit);
}

void BuildExtendedPage(QWidget* page, MainWidgets& w) {
  auto* g = new QGridLayout(page);
  g->setContentsMargins(4, 4, 4, 4);
  g->setVerticalSpacing(2);
  w.totalEdit = Make<QLineEdit>(page, "e_total");
  w.volWavEdit = Make<QLineEdit>(page, "e_volwav");
  w.stageFileEdit = Make<QLineEdit>(page, "E_Stagefile");
  w.stageFileButton = MakeButton(page, "Button16", "...");
  w.stageFileButton->setFixedWidth(24);
  w.emailEdit = Make<QLineEdit>(page, "E_Email");
  w.urlEdit = Make<QLineEdit>(page, "E_URL");
  AddRow(g, page, "Label25", "TOTAL", w.totalEdit);
  AddRow(g, page, "Label26", "VOLWAV", w.volWavEdit);
  AddRow(g, page, "Label27", "STAGEFILE", w.stageFileEdit, w.stageFileButton);
  AddRow(g, page, "Label32", "%EMAIL", w.emailEdit);
  AddRow(g, page, "Label33", "%URL", w.urlEdit);
  BuildOptionalHeaderRows(g, page, w);
  w.memoPages = Make<QTabWidget>(page, "PageControl1");
  auto* info = VerticalPage(w.memoPages, "TabSheet6", "情報");
  auto* ext = VerticalPage(w.memoPages, "TabSheet7", "拡張命令");
  w.infoMemo = Make<QPlainTextEdit>(info, "mmemo");
  w.extensionMemo = Make<QPlainTextEdit>(ext, "mcom");
  for (auto [tab, memo] : {std::pair{info, w.infoMemo}, std::pair{ext, w.extensionMemo}}) {
    auto* v = new QVBoxLayout(tab);
    v->setContentsMargins(0, 0, 0, 0);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    v->addWidget(memo);
  }
  // Room for a few memo lines; the lists below want the rest of the column.
  w.memoPages->setFixedHeight(112);
  g->addWidget(w.memoPages, g->rowCount(), 0, 1, 3);
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
  w.gridHeightBar = MakeViewBar(page, "ScrollBar1", GridHeightSetting, 48);
  w.gridWidthBar = MakeViewBar(page, "ScrollBar3", GridWidthSetting, 1);
  w.objectHeightBar = MakeViewBar(page, "ScrollBar2", ObjectHeightSetting, 1);
  w.gridHeightResetButton = MakeButton(page, "Button7", "初期値");
  w.gridWidthResetButton = MakeButton(page, "Button10", "初期値");
  w.objectHeightResetButton = MakeButton(page, "Button8", "初期値");
  for (QPushButton* b : {w.gridHeightResetButton, w.gridWidthResetButton, w.objectHeightResetButton}) b->setMaximumWidth(56);
  AddBarRow(g, page, "Label8", "表示高さ", w.gridHeightBar, w.gridHeightResetButton);
  AddBarRow(g, page, "Label9", "表示幅", w.gridWidthBar, w.gridWidthResetButton);
  AddBarRow(g, page, "Label10", "オブジェ", w.objectHeightBar, w.objectHeightResetButton);
  w.dropOverwriteCheck = Make<QCheckBox>(page, "CheckBox1");
  w.dropOverwriteCheck->setText(QString::fromUtf8("Wav,Bmpドロップ時に上書きしない"));
  w.dropOverwriteCheck->setChecked(true);
  w.keepLayoutCheck = Make<QCheckBox>(page, "CheckBox8");
  w.keepLayoutCheck->setText(QString::fromUtf8("保存の際に編集情報を記録する"));
  w.keepLayoutCheck->setChecked(true);
  g->addWidget(w.dropOverwriteCheck, g->rowCount(), 0, 1, 3);
  g->addWidget(w.keepLayoutCheck, g->rowCount(), 0, 1, 3);
  w.minCellsEdit = Make<QLineEdit>(page, "Edit3");
  w.minCellsEdit->setText(QStringLiteral("1"));
  w.minCellsEdit->setMaximumWidth(48);
  g->addWidget(MakeLabel(page, "Label11", "ファイル保存時の一行最低桁数"), g->rowCount(), 0, 1, 3);
  g->addWidget(w.minCellsEdit, g->rowCount(), 0);
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
  w.listPanel = Make<QWidget>(parent, "Panel4");
  auto* v = new QVBoxLayout(w.listPanel);
  v->setContentsMargins(0, 0, 0, 0);
  w.listPages = Make<QTabWidget>(w.listPanel, "PC2");
  v->addWidget(w.listPages);
  auto* wavPage = VerticalPage(w.listPages, "TabSheet4", "WAV");
  auto* bmpPage = VerticalPage(w.listPages, "TabSheet5", "BMP");
  w.stopSoundButton = MakeButton(wavPage, "Button2", "停止", "鳴っている音を止める");
  w.assignWavButton = MakeButton(wavPage, "Button11", "指定", "WAVファイルの指定");
  w.clearWavButton = MakeButton(wavPage, "Button12", "消去", "音割り当ての解除");
  w.wavUpButton = ArrowButton(wavPage, "Button4", "▲");
  w.wavDownButton = ArrowButton(wavPage, "Button5", "▼");
  BuildListPage(wavPage, "lbw", "Panel5", w.wavList, {w.stopSoundButton, w.assignWavButton, w.clearWavButton, w.wavUpButton, w.wavDownButton});
  w.assignBmpButton = MakeButton(bmpPage, "Button14", "指定");
  w.clearBmpButton = MakeButton(bmpPage, "Button15", "消去");
  w.showImageButton = MakeButton(bmpPage, "Button3", "表示");
  w.bmpUpButton = ArrowButton(bmpPage, "Button9", "▲");
  w.bmpDownButton = ArrowButton(bmpPage, "Button13", "▼");
  BuildListPage(bmpPage, "lbb", "Panel10", w.bmpList, {w.assignBmpButton, w.clearBmpButton, w.showImageButton, w.bmpUpButton, w.bmpDownButton});
  for (QPushButton* b : {w.stopSoundButton, w.assignWavButton, w.clearWavButton, w.assignBmpButton, w.clearBmpButton, w.showImageButton}) b->setMaximumWidth(44);
}

// A page that asks for no height of its own: it takes the height of the
// other pages and scrolls what does not fit, so that its many rows do not
// push the lists below, or the window's smallest height, down.
QWidget* ScrollingContent(QWidget* page) {
  page->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
  auto* v = new QVBoxLayout(page);
  v->setContentsMargins(0, 0, 0, 0);
  auto* scroll = new QScrollArea(page);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* content = new QWidget(scroll);
  scroll->setWidget(content);
  v->addWidget(scroll);
  return content;
}

void BuildSidePanel(QWidget* parent, MainWidgets& w) {
  w.settingsColumn = Make<QWidget>(parent, "Panel8");
  auto* v = new QVBoxLayout(w.settingsColumn);
  v->setContentsMargins(2, 0, 0, 0);
  v->setSpacing(0);
  w.headerPages = Make<QTabWidget>(w.settingsColumn, "Panel7");
  BuildBasicPage(VerticalPage(w.headerPages, "TabSheet1", "基本"), w);
  BuildExtendedPage(ScrollingContent(VerticalPage(w.headerPages, "TabSheet2", "拡張")), w);
  BuildEnvironmentPage(VerticalPage(w.headerPages, "TabSheet3", "環境"), w);
  w.headerPages->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  v->addWidget(w.headerPages);
  BuildDefinitionLists(w.settingsColumn, w);
  v->addWidget(w.listPanel, 1);
  w.headerPagesToggle = MakeButton(w.settingsColumn, "Panel3", "△", "基本・拡張・環境パネルの表示／非表示");
  w.headerPagesToggle->setFixedSize(18, 21);
  w.headerPagesToggle->setFlat(true);
  v->addWidget(w.headerPagesToggle, 0, Qt::AlignRight);
  FitSettingsColumn(w);
}

}  // namespace

void FitSettingsColumn(const MainWidgets& w) {
  // The column keeps its design width unless the desktop's font or a
  // translation needs more room for the captions that span the "環境" page.
  int captions = std::max(w.dropOverwriteCheck->sizeHint().width(), w.keepLayoutCheck->sizeHint().width());
  if (const auto* label = w.settingsColumn->findChild<QLabel*>(QStringLiteral("Label11")))
    captions = std::max(captions, label->sizeHint().width());
  w.settingsColumn->setFixedWidth(std::max(232, captions + 16));
}

MainWidgets BuildMainLayout(QMainWindow* window, QWidget* scoreWidget) {
  MainWidgets w;
  auto* central = Make<QWidget>(window, "Panel1");
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);
  BuildToolBar(central, w);
  v->addWidget(w.toolBar);
  auto* middle = new QHBoxLayout;
  middle->setSpacing(0);
  middle->addWidget(BuildScoreArea(central, scoreWidget, w), 1);
  BuildSidePanel(central, w);
  middle->addWidget(w.settingsColumn);
  v->addLayout(middle, 1);
  BuildStatusPanel(central, w);
  v->addWidget(w.statusBar);
  window->setCentralWidget(central);
  return w;
}

}  // namespace beatloom
