#include "platform/ui/bpm_dialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/ui/window_texts.h"

namespace beatloom {

TBPMSet::TBPMSet(QWidget* owner, Kind kind)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  const bool stop = kind == Kind::Stop;
  setObjectName(stop ? QStringLiteral("STOPSet") : QStringLiteral("BPMSet"));
  setWindowTitle(stop ? QStringLiteral("STOP (1/192)") : QStringLiteral("BPM"));
  tempoEdit_ = new QLineEdit(this);
  tempoEdit_->setObjectName(QStringLiteral("Edit1"));
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("Button1"));
  okButton_->setDefault(true);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 3, 4, 3);
  row->addWidget(tempoEdit_, 1);
  row->addWidget(okButton_);
  // The stop's title names its unit; the window manager cuts a title wider
  // than the window.
  setFixedSize(stop ? 240 : 185, 29);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
  WindowCreated(*this);
}

QString TBPMSet::Text() const { return tempoEdit_->text(); }

}  // namespace beatloom
