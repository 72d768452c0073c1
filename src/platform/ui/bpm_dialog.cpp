#include "platform/ui/bpm_dialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace beatloom {

TBPMSet::TBPMSet(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("BPMSet"));
  setWindowTitle(QStringLiteral("BPM"));
  edit1_ = new QLineEdit(this);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  button1_ = new QPushButton(QStringLiteral("OK"), this);
  button1_->setObjectName(QStringLiteral("Button1"));
  button1_->setDefault(true);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 3, 4, 3);
  row->addWidget(edit1_, 1);
  row->addWidget(button1_);
  setFixedSize(185, 29);
  connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
}

QString TBPMSet::Text() const { return edit1_->text(); }

}  // namespace beatloom
