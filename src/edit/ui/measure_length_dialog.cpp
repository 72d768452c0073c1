#include "edit/ui/measure_length_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "edit/measure_ops.h"
#include "platform/ui/named_control.h"
#include "platform/ui/prompts.h"
#include "platform/ui/window_texts.h"

namespace beatloom {

namespace {

// The value of a line starts after "#000:".
constexpr int kValueColumn = 5;

}  // namespace

MeasureLengthDialog::MeasureLengthDialog(const std::array<double, MeasureCount>& lengths, Prompts& prompts,
                                         QWidget* parent)
    : QDialog(parent), prompts_(prompts), lines_(MeasureLengthLines(lengths)) {
  setObjectName(QStringLiteral("nheight"));
  setWindowTitle(QStringLiteral("小節幅の設定"));
  setModal(true);
  list_ = Named(new QListWidget(this), "lb");
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const std::string& line : lines_) list_->addItem(QString::fromStdString(line));
  // The first line carries the focus mark, but nothing is selected yet.
  list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
  valueEdit_ = Named(new QLineEdit(this), "Edit1");
  // Wide enough for the shortest length as the list shows it, and a little more.
  valueEdit_->setMinimumWidth(valueEdit_->fontMetrics().horizontalAdvance(QStringLiteral("0.00520833333")));
  auto* change = Named(new QPushButton(QStringLiteral("変更"), this), "Button1");
  auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "Button2");
  auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "Button3");
  change->setDefault(true);
  ok->setAutoDefault(false);
  cancel->setAutoDefault(false);
  connect(list_, &QListWidget::itemClicked, this, &MeasureLengthDialog::LineClicked);
  connect(change, &QPushButton::clicked, this, &MeasureLengthDialog::ChangeClicked);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* controls = new QHBoxLayout;
  controls->addWidget(Named(new QLabel(QStringLiteral("小節長"), this), "Label1"));
  controls->addWidget(valueEdit_);
  controls->addWidget(Named(new QLabel(QStringLiteral(":1"), this), "Label2"));
  controls->addWidget(change);
  controls->addWidget(ok);
  controls->addWidget(cancel);
  auto* v = new QVBoxLayout(this);
  v->addWidget(list_, 1);
  v->addLayout(controls);
  resize(std::max(360, sizeHint().width()), 420);
  WindowCreated(*this);
}

std::optional<std::vector<std::string>> MeasureLengthDialog::Ask() {
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  if (exec() != QDialog::Accepted) return std::nullopt;
  return lines_;
}

void MeasureLengthDialog::LineClicked(QListWidgetItem* item) {
  if (!item) return;
  valueEdit_->setText(item->text().mid(kValueColumn));
  FocusValue();
}

void MeasureLengthDialog::ChangeClicked() {
  std::vector<int> rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedIndexes()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  const LengthChange change = ChangeLengthLines(valueEdit_->text().toStdString(), lines_, rows);
  if (!change.message.empty()) {
    prompts_.Message(QString::fromUtf8(change.message.data(), static_cast<qsizetype>(change.message.size())),
                     Prompts::Icon::Warning);
    return;
  }
  for (const int row : rows) list_->item(row)->setText(QString::fromStdString(lines_[row]));
  // Repeated Enter presses walk down the list, one more line each time.
  if (QListWidgetItem* next = list_->item(change.nextRow)) {
    next->setSelected(true);
    list_->scrollToItem(next);
  }
  FocusValue();
}

void MeasureLengthDialog::FocusValue() {
  valueEdit_->setFocus();
  valueEdit_->selectAll();
}

}  // namespace beatloom
