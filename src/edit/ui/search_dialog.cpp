#include "edit/ui/search_dialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/prompts.h"
#include "platform/ui/window_texts.h"

namespace beatloom {

namespace {

template <class T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLineEdit* MakeEdit(const char* name, const char* text, int width) {
  auto* edit = Named(new QLineEdit(QString::fromUtf8(text)), name);
  edit->setFixedWidth(width);
  return edit;
}

QToolButton* MakeSpeedButton(const char* name, const char* caption) {
  auto* button = Named(new QToolButton, name);
  button->setText(QString::fromUtf8(caption));
  return button;
}

QListWidget* MakeCheckList(const char* name, const QStringList& items) {
  auto* list = Named(new QListWidget, name);
  for (const QString& text : items) {
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    item->setCheckState(Qt::Unchecked);
  }
  list->setFixedSize(78, 150);
  return list;
}

QStringList PlayerLaneItems() {
  QStringList items;
  for (int key = 1; key <= 7; ++key) items << QString::number(key);
  return items << QStringLiteral("Sc") << QStringLiteral("Fr");
}

QStringList BgmLaneItems() {
  QStringList items;
  for (size_t lane = 1; lane <= kBgmLaneItems; ++lane) items << QString::number(lane);
  return items;
}

std::vector<bool> CheckStates(const QListWidget* list) {
  std::vector<bool> states;
  for (int i = 0; i < list->count(); ++i) states.push_back(list->item(i)->checkState() == Qt::Checked);
  return states;
}

void SetAll(QListWidget* list, bool checked) {
  for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

TForm7::TForm7(ChartSession& session, Prompts& prompts, QWidget* parent)
    : QDialog(parent), session_(session), prompts_(prompts) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(QStringLiteral("検索・置換・削除"));
  setModal(false);
  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);
  BuildTarget();
  BuildMeasureRange();
  BuildLanes();
  BuildIndex();
  BuildAction();
  BuildButtons();
  for (QLineEdit* edit : {fromMeasureEdit_, toMeasureEdit_, indexEdit_, replacementEdit_})
    edit->installEventFilter(this);
  WindowCreated(*this);
}

void TForm7::BuildTarget() {
  auto* box = Named(new QGroupBox(QStringLiteral(" 選択対象")), "GroupBox1");
  targetAllRadio_ = Named(new QRadioButton(QStringLiteral("全てのオブジェ")), "allobject");
  targetSelectionRadio_ = Named(new QRadioButton(QStringLiteral("現在選択されているオブジェ")), "RadioButton2");
  targetAllRadio_->setChecked(true);
  auto* row = new QHBoxLayout(box);
  row->addWidget(targetAllRadio_);
  row->addWidget(targetSelectionRadio_);
  layout()->addWidget(box);
}

void TForm7::BuildMeasureRange() {
  measureCheck_ = Named(new QCheckBox(QStringLiteral("小節範囲の指定")), "selectnote");
  fromMeasureEdit_ = MakeEdit("Edit3", "0", 50);
  toMeasureEdit_ = MakeEdit("Edit4", "999", 50);
  auto* box = new QGroupBox;
  auto* row = new QHBoxLayout(box);
  row->addWidget(measureCheck_);
  row->addWidget(fromMeasureEdit_);
  row->addWidget(Named(new QLabel(QStringLiteral("小節目から")), "Label1"));
  row->addWidget(toMeasureEdit_);
  row->addWidget(Named(new QLabel(QStringLiteral("小節目まで")), "Label2"));
  row->addStretch();
  layout()->addWidget(box);
}

void TForm7::BuildLanes() {
  laneCheck_ = Named(new QCheckBox(QStringLiteral("列の指定")), "SelectCol");
  player1List_ = MakeCheckList("CL1", PlayerLaneItems());
  player2List_ = MakeCheckList("CL2", PlayerLaneItems());
  bgmList_ = MakeCheckList("CLG", BgmLaneItems());
  bmpList_ = MakeCheckList("CLB", {QStringLiteral("BGA1"), QStringLiteral("BGA2"), QStringLiteral("POOR")});
  const std::pair<QListWidget*, QToolButton*> groups[] = {
      {player1List_, MakeSpeedButton("SpeedButton1", "1P")},
      {player2List_, MakeSpeedButton("SpeedButton2", "2P")},
      {bgmList_, MakeSpeedButton("SpeedButton5", "BGM")},
      {bmpList_, MakeSpeedButton("SpeedButton6", "BMP")},
  };
  auto* box = new QGroupBox;
  auto* grid = new QGridLayout(box);
  grid->addWidget(laneCheck_, 0, 0, 1, 4);
  int col = 0;
  for (const auto& group : groups) {
    QListWidget* list = group.first;
    connect(group.second, &QToolButton::clicked, this, [this, list] { ToggleList(list); });
    grid->addWidget(group.second, 1, col);
    grid->addWidget(list, 2, col++);
  }
  QToolButton* checkAll = MakeSpeedButton("SpeedButton3", "全選択");
  QToolButton* uncheckAll = MakeSpeedButton("SpeedButton4", "全解除");
  for (QToolButton* b : {checkAll, uncheckAll})
    connect(b, &QToolButton::pressed, laneCheck_, [this] { laneCheck_->setChecked(true); });
  connect(checkAll, &QToolButton::clicked, this, [this] { SetEveryLane(true); });
  connect(uncheckAll, &QToolButton::clicked, this, [this] { SetEveryLane(false); });
  auto* row = new QHBoxLayout;
  row->addWidget(checkAll);
  row->addWidget(uncheckAll);
  row->addStretch();
  grid->addLayout(row, 3, 0, 1, 4);
  layout()->addWidget(box);
}

void TForm7::BuildIndex() {
  indexCheck_ = Named(new QCheckBox(QStringLiteral("インデックスNo.の指定")), "selectindex");
  indexEdit_ = MakeEdit("Edit5", "1", 40);
  auto* box = new QGroupBox;
  auto* row = new QHBoxLayout(box);
  row->addWidget(indexCheck_);
  row->addWidget(indexEdit_);
  row->addWidget(Named(new QLabel(QStringLiteral("番に限る")), "Label3"));
  row->addStretch();
  layout()->addWidget(box);
}

void TForm7::BuildAction() {
  auto* box = Named(new QGroupBox(QStringLiteral("処理")), "GroupBox2");
  selectRadio_ = Named(new QRadioButton(QStringLiteral("選択する")), "RadioButton3");
  deleteRadio_ = Named(new QRadioButton(QStringLiteral("削除する")), "godelete");
  replaceRadio_ = Named(new QRadioButton, "gochange");
  replacementEdit_ = MakeEdit("Edit6", "01", 40);
  selectRadio_->setChecked(true);
  auto* row = new QHBoxLayout(box);
  row->addWidget(selectRadio_);
  row->addWidget(deleteRadio_);
  row->addWidget(replaceRadio_);
  row->addWidget(replacementEdit_);
  row->addWidget(Named(new QLabel(QStringLiteral("番に置換")), "Label4"));
  row->addStretch();
  layout()->addWidget(box);
}

void TForm7::BuildButtons() {
  runButton_ = Named(new QPushButton(QStringLiteral("実行")), "Button1");
  closeButton_ = Named(new QPushButton(QStringLiteral("閉じる")), "Button2");
  runButton_->setDefault(true);
  closeButton_->setAutoDefault(false);
  connect(runButton_, &QPushButton::clicked, this, &TForm7::Run);
  // Closing hides the dialog; its fields wait for the next use.
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(runButton_);
  row->addWidget(closeButton_);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void TForm7::GrowBgmList() {
  // A chart whose busiest measure has more background lines than 28 has
  // more lanes: the list grows to them, following an all-checked list.
  const int lanes = BgmLaneCountOf(session_.Doc());
  const std::vector<bool> states = CheckStates(bgmList_);
  const bool all = std::all_of(states.begin(), states.end(), [](bool checked) { return checked; });
  for (int lane = bgmList_->count() + 1; lane <= lanes; ++lane) {
    auto* item = new QListWidgetItem(QString::number(lane), bgmList_);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    item->setCheckState(all ? Qt::Checked : Qt::Unchecked);
  }
}

void TForm7::Open() {
  GrowBgmList();
  if (!placed_) {
    placed_ = true;
    adjustSize();
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  }
  show();
  raise();
  activateWindow();
}

bool TForm7::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (watched == fromMeasureEdit_ || watched == toMeasureEdit_) measureCheck_->setChecked(true);
    if (watched == indexEdit_) indexCheck_->setChecked(true);
    if (watched == replacementEdit_) replaceRadio_->setChecked(true);
  }
  return QDialog::eventFilter(watched, event);
}

void TForm7::SetEveryLane(bool checked) {
  for (QListWidget* list : {player1List_, player2List_, bgmList_, bmpList_}) SetAll(list, checked);
}

void TForm7::ToggleList(QListWidget* list) {
  if (list->count() == 0) return;
  SetAll(list, list->item(0)->checkState() != Qt::Checked);
}

SearchRequest TForm7::Request() const {
  SearchRequest r;
  r.target = targetAllRadio_->isChecked() ? SearchTarget::AllObjects : SearchTarget::CurrentSelection;
  r.byMeasure = measureCheck_->isChecked();
  r.fromMeasure = Text(fromMeasureEdit_);
  r.toMeasure = Text(toMeasureEdit_);
  r.byIndex = indexCheck_->isChecked();
  r.index = Text(indexEdit_);
  r.byLane = laneCheck_->isChecked();
  r.player1 = CheckStates(player1List_);
  r.player2 = CheckStates(player2List_);
  r.bgm = CheckStates(bgmList_);
  r.bmp = CheckStates(bmpList_);
  r.action = deleteRadio_->isChecked()    ? SearchAction::Delete
             : replaceRadio_->isChecked() ? SearchAction::Replace
                                          : SearchAction::Select;
  r.replacement = Text(replacementEdit_);
  return r;
}

void TForm7::Run() {
  // The session tells the score and the editing menu what changed.
  GrowBgmList();
  const SearchResult result = RunSearch(session_, Request());
  if (!result.message.empty()) prompts_.Message(QString::fromStdString(result.message), Prompts::Icon::Error);
}

}  // namespace beatloom
