#include "edit/ui/spacing_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/named_control.h"
#include "platform/ui/window_texts.h"

namespace beatloom {

namespace {

QLineEdit* WidthEdit(QWidget* parent, const char* name) {
  auto* edit = Named(new QLineEdit(QStringLiteral("100"), parent), name);
  edit->setFixedWidth(80);
  return edit;
}

}  // namespace

SpacingDialog::SpacingDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form11"));
  setWindowTitle(QStringLiteral("オブジェ間隔の変更"));
  setModal(true);
  newWidth_ = WidthEdit(this, "Edit1");
  originalWidth_ = WidthEdit(this, "Edit2");
  matchTempo_ = Named(new QCheckBox(QStringLiteral("テンポを合わせる"), this), "CheckBox1");
  matchTempo_->setChecked(true);
  auto* ok = Named(new QPushButton(QStringLiteral("実行"), this), "Button1");
  auto* cancel = Named(new QPushButton(QStringLiteral("キャンセル"), this), "Button2");
  ok->setDefault(true);
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* widths = new QGridLayout;
  widths->addWidget(Named(new QLabel(QStringLiteral("新しい幅"), this), "Label1"), 0, 0);
  widths->addWidget(Named(new QLabel(QStringLiteral("元の幅"), this), "Label2"), 0, 2);
  widths->addWidget(newWidth_, 1, 0);
  widths->addWidget(Named(new QLabel(QStringLiteral("/"), this), "Label3"), 1, 1);
  widths->addWidget(originalWidth_, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* v = new QVBoxLayout(this);
  v->addLayout(widths);
  v->addWidget(matchTempo_);
  v->addLayout(buttons);
  WindowCreated(*this);
}

std::optional<SpacingRequest> SpacingDialog::Ask() {
  // A fixed border: the dialog keeps the size its contents ask for, as wide
  // as its title needs, both as they read after translation.
  const QSize contents = sizeHint();
  setFixedSize(std::max(contents.width(), TitleBarWidth(*this)), contents.height());
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  newWidth_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return SpacingRequest{newWidth_->text().toStdString(), originalWidth_->text().toStdString(),
                        matchTempo_->isChecked()};
}

}  // namespace beatloom
