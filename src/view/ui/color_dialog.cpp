#include "view/ui/color_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/prompts.h"
#include "platform/ui/window_texts.h"

namespace beatloom {

namespace {

// The swatches' control names, in the order of the colour table.
constexpr std::array<const char*, ScoreColorCount> kSwatchNames = {"Panel1", "Panel3", "Panel4", "Panel5",
                                                                   "Panel6", "Panel7", "Panel8", "Panel9"};

QColor ColorOf(uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

// The label stays readable on a dark swatch as on a light one.
QString SwatchStyle(uint32_t rgb) {
  const QColor c = ColorOf(rgb);
  const QString text = c.lightness() < 128 ? QStringLiteral("#ffffff") : QStringLiteral("#000000");
  return QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid gray; padding: 6px; }")
      .arg(c.name(), text);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

ColorDialog::ColorDialog(ViewSettings& view, Prompts& prompts, QWidget* parent)
    : QDialog(parent), view_(view), prompts_(prompts) {
  setObjectName(QStringLiteral("Form10"));
  setWindowTitle(QStringLiteral("色の設定"));
  setModal(true);
  auto* grid = new QGridLayout;
  for (int i = 0; i < ScoreColorCount; ++i) {
    QPushButton* swatch = MakeButton(this, kSwatchNames[i], ScoreColorTable[i].label);
    swatch->setMinimumWidth(110);
    grid->addWidget(swatch, i / 2, i % 2);
    connect(swatch, &QPushButton::clicked, this, [this, i] { Choose(i); });
    swatches_[i] = swatch;
  }
  QPushButton* reset = MakeButton(this, "Button2", "元に戻す");
  QPushButton* close = MakeButton(this, "Button1", "閉じる");
  close->setDefault(true);
  connect(reset, &QPushButton::clicked, this, &ColorDialog::Reset);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(reset);
  buttons->addWidget(close);
  auto* v = new QVBoxLayout(this);
  v->addLayout(grid);
  v->addLayout(buttons);
  ShowColors();
  WindowCreated(*this);
}

void ColorDialog::Open() {
  ShowColors();
  exec();
  emit colorsChanged();
}

void ColorDialog::ShowColors() {
  for (int i = 0; i < ScoreColorCount; ++i) swatches_[i]->setStyleSheet(SwatchStyle(view_.Colors[i]));
}

void ColorDialog::Choose(int index) {
  QColor color = ColorOf(view_.Colors[index]);
  if (!prompts_.ChooseColor(color, QString::fromUtf8(ScoreColorTable[index].label))) return;
  view_.SetColor(static_cast<ScoreColor>(index), color.rgb() & 0xFFFFFF);
  ShowColors();
  emit colorsChanged();
}

void ColorDialog::Reset() {
  view_.ResetColors();
  ShowColors();
  emit colorsChanged();
}

}  // namespace beatloom
