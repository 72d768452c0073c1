#include "edit/ui/delete_measures_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/ui/named_control.h"
#include "platform/ui/window_texts.h"

namespace beatloom {

DeleteMeasuresDialog::DeleteMeasuresDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form9"));
  setWindowTitle(QStringLiteral("小節の削除"));
  setModal(true);
  firstEdit_ = Named(new QLineEdit(QStringLiteral("0"), this), "Edit3");
  lastEdit_ = Named(new QLineEdit(QStringLiteral("0"), this), "Edit4");
  for (QLineEdit* edit : {firstEdit_, lastEdit_}) edit->setFixedWidth(60);
  auto* cancel = Named(new QPushButton(QStringLiteral("キャンセル"), this), "Button1");
  auto* run = Named(new QPushButton(QStringLiteral("実行"), this), "Button2");
  cancel->setDefault(true);
  run->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(run, &QPushButton::clicked, this, &QDialog::accept);

  auto* fields = new QHBoxLayout;
  fields->addWidget(firstEdit_);
  fields->addWidget(Named(new QLabel(QStringLiteral("小節目から"), this), "Label1"));
  fields->addWidget(lastEdit_);
  fields->addWidget(Named(new QLabel(QStringLiteral("小節目までを削除"), this), "Label2"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(run);
  auto* v = new QVBoxLayout(this);
  v->addLayout(fields);
  v->addLayout(buttons);
  // A fixed border: the dialog keeps the size its contents ask for.
  v->setSizeConstraint(QLayout::SetFixedSize);
  WindowCreated(*this);
}

std::optional<std::pair<QString, QString>> DeleteMeasuresDialog::Ask() {
  adjustSize();
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  firstEdit_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return std::pair{firstEdit_->text(), lastEdit_->text()};
}

}  // namespace beatloom
