#include "bms/ui/log_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/ui/window_texts.h"

namespace beatloom {

LogWindow::LogWindow(QWidget* parent)
    : QDialog(parent), lines_(new QListWidget(this)), closeButton_(new QPushButton(QStringLiteral("閉じる"), this)) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Result.."));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setModal(false);
  resize(520, 300);

  lines_->setObjectName(QStringLiteral("lb"));
  closeButton_->setObjectName(QStringLiteral("Button1"));
  // Default and cancel button at once: Enter and Esc both put the window away.
  closeButton_->setDefault(true);
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::hide);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lines_, 1);
  layout->addLayout(buttons);
  WindowCreated(*this);
}

void LogWindow::ShowLines(const Log& log) {
  lines_->clear();
  for (const std::string& line : log.Lines()) lines_->addItem(QString::fromStdString(line));
  if (lines_->count() > 0) lines_->scrollToBottom();
}

void LogWindow::Present() {
  if (!placed_) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
    placed_ = true;
  }
  show();
  raise();
}

}  // namespace beatloom
