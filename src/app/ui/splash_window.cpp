#include "app/ui/splash_window.h"

#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace beatloom {

namespace {

QLabel* VersionLabel(QWidget* parent, const char* name, const char* text, const char* color) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(QString::fromUtf8(name));
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(12);
  l->setFont(f);
  l->setStyleSheet(QStringLiteral("color: %1; background: black").arg(QLatin1String(color)));
  return l;
}

}  // namespace

SplashWindow::SplashWindow(QWidget* owner) : QDialog(owner, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("About.."));
  setFixedSize(kClientWidth, kClientHeight);
  setStyleSheet(QStringLiteral("SplashWindow { background: black; }"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);

  image_ = new QLabel(this);
  image_->setObjectName(QStringLiteral("Image1"));
  image_->setGeometry(0, 0, kClientWidth, kClientHeight);
  image_->setAlignment(Qt::AlignCenter);
  image_->setPixmap(QPixmap::fromImage(Picture()));

  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("Panel4"));
  panel->setGeometry(412, 152, 123, 18);
  panel->setAutoFillBackground(true);
  panel->setPalette(pal);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 2, 0);
  row->setSpacing(0);
  QLabel* label6 = VersionLabel(panel, "Label6", "Version ", "white");
  label6->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  row->addWidget(label6, 1);
  row->addWidget(VersionLabel(panel, "Label1", kVersion, "yellow"));
}

QImage SplashWindow::Picture() {
  // Threads of a loom crossed by rows of notes: the program's name, drawn.
  QImage img(kClientWidth, kClientHeight, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int x = 14; x < kClientWidth; x += 22) {
    p.setPen(QPen(QColor(40, 48, 72), 1));
    p.drawLine(x, 0, x, kClientHeight);
  }
  const QColor notes[] = {QColor(255, 255, 255), QColor(80, 160, 255), QColor(255, 80, 80), QColor(255, 208, 64)};
  for (int row = 0; row < 7; ++row) {
    const int y = 18 + row * 20;
    for (int col = 0; col < 24; ++col) {
      if ((col * 7 + row * 3) % 5 > 1) continue;
      p.fillRect(10 + col * 22, y, 16, 5, notes[(col + row) % 4].darker(140 + row * 10));
    }
  }
  QLinearGradient shade(0, 0, kClientWidth, 0);
  shade.setColorAt(0, QColor(0, 0, 0, 230));
  shade.setColorAt(0.55, QColor(0, 0, 0, 140));
  shade.setColorAt(1, QColor(0, 0, 0, 230));
  p.fillRect(img.rect(), shade);
  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(54);
  title.setBold(true);
  p.setFont(title);
  QPainterPath text;
  text.addText(36, 98, title, QStringLiteral("Beatloom"));
  QLinearGradient fill(0, 50, 0, 100);
  fill.setColorAt(0, QColor(255, 255, 255));
  fill.setColorAt(1, QColor(120, 180, 255));
  p.setPen(QPen(QColor(20, 40, 90), 3));
  p.drawPath(text);
  p.fillPath(text, fill);
  QFont sub(QStringLiteral("DejaVu Sans"));
  sub.setPixelSize(13);
  p.setFont(sub);
  p.setPen(QColor(200, 200, 200));
  p.drawText(40, 124, QStringLiteral("BMS chart editor"));
  return img;
}

void SplashWindow::ShowSplash() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
  show();
  repaint();
}

void SplashWindow::BecomeAboutDialog() {
  hide();
  // The border is added around the picture: the client area stays the same.
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
}

void SplashWindow::ShowAbout() {
  // Centred on the screen, like the splash: the one the main window is on.
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen) move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  exec();
}

}  // namespace beatloom
