#include "analysis/ui/stats_window.h"

#include <QFormLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/ui/window_texts.h"
#include "view/status_line.h"

namespace beatloom {

namespace {

QColor ColorOf(const ViewSettings& view, ScoreColor which) { return QColor::fromRgb(view.Color(which)); }

// Seconds between two grid lines: about one line every 60 pixels at most.
double GridStep(double seconds, int width) {
  const double wanted = seconds * 60 / std::max(width, 1);
  for (double step : {1, 5, 10, 15, 30, 60, 120, 300, 600, 1200})
    if (wanted <= step) return step;
  return std::ceil(wanted / 1200) * 1200;
}

QLabel* Figure(QWidget* parent, const char* name) {
  auto* label = new QLabel(QStringLiteral("-"), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

// Captions are numbered in the order they are made, so the language file can
// name each of them.
QLabel* Caption(QWidget* parent, int& count, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QStringLiteral("Label%1").arg(++count));
  return label;
}

}  // namespace

DensityGraph::DensityGraph(const ViewSettings& view, QWidget* parent) : QWidget(parent), view_(view) {
  setObjectName(QStringLiteral("DensityGraph"));
  setMinimumSize(240, 100);
  setCursor(Qt::PointingHandCursor);
  setToolTip(QStringLiteral("クリックした位置へ譜面を移動します"));
}

void DensityGraph::SetDensity(const std::vector<int>& density, double binSeconds) {
  density_ = density;
  binSeconds_ = binSeconds;
  peak_ = density.empty() ? 0 : *std::max_element(density.begin(), density.end());
  update();
}

void DensityGraph::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ColorOf(view_, ScoreColor::Background));
  const int bins = static_cast<int>(density_.size());
  if (bins == 0 || peak_ <= 0) return;
  const int w = width();
  const int h = height() - 14;  // the bottom row holds the time captions
  const double seconds = bins * binSeconds_;
  const double step = GridStep(seconds, w);
  p.setFont(QFont(font().family(), 7));
  for (double s = 0; s <= seconds; s += step) {
    const int x = static_cast<int>(s / seconds * w);
    p.setPen(ColorOf(view_, ScoreColor::Grid));
    p.drawLine(x, 0, x, h);
    p.setPen(ColorOf(view_, ScoreColor::SubLine));
    p.drawText(x + 2, height() - 2, QString::fromStdString(TimeText(s)).section(QLatin1Char('.'), 0, 0));
  }
  p.setPen(ColorOf(view_, ScoreColor::NoteLine));
  p.drawLine(0, h, w, h);
  const QColor bar = ColorOf(view_, ScoreColor::ZoneFont);
  for (int s = 0; s < bins; ++s) {
    const int left = static_cast<int>(static_cast<long long>(s) * w / bins);
    const int right = std::max(left + 1, static_cast<int>(static_cast<long long>(s + 1) * w / bins));
    const int top = h - static_cast<int>(static_cast<long long>(density_[s]) * (h - 4) / peak_);
    p.fillRect(QRect(QPoint(left, top), QPoint(right - 1, h - 1)), bar);
  }
}

void DensityGraph::mousePressEvent(QMouseEvent* event) {
  if (density_.empty() || event->button() != Qt::LeftButton || width() <= 0) return;
  const double x = std::clamp(event->position().x(), 0.0, static_cast<double>(width()));
  emit secondClicked(x * static_cast<double>(density_.size()) * binSeconds_ / width());
}

StatsWindow::StatsWindow(const ViewSettings& view, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      length_(Figure(this, "LabelLength")),
      total_(Figure(this, "LabelTotalNotes")),
      longNotes_(Figure(this, "LabelLongNotes")),
      peak_(Figure(this, "LabelPeak")),
      average_(Figure(this, "LabelAverage")),
      graph_(new DensityGraph(view, this)),
      secondsUnit_(new QLabel(QStringLiteral("秒"), this)),
      densityUnit_(new QLabel(QStringLiteral("ノーツ/秒"), this)) {
  setObjectName(QStringLiteral("FormStats"));
  setWindowTitle(QStringLiteral("譜面の統計"));
  secondsUnit_->setObjectName(QStringLiteral("UnitSeconds"));
  densityUnit_->setObjectName(QStringLiteral("UnitNotesPerSecond"));
  secondsUnit_->hide();
  densityUnit_->hide();
  static const char* const kGroupNames[kNoteGroupCount] = {"LabelPlayer1",   "LabelPlayer2",    "LabelScratch",
                                                           "LabelInvisible", "LabelBackground", "LabelImage"};
  static const char* const kGroupCaptions[kNoteGroupCount] = {"1P ノーツ",    "2P ノーツ", "スクラッチ",
                                                              "不可視ノーツ", "BGM",       "BGA"};
  int captions = 0;
  auto* form = new QFormLayout;
  form->addRow(Caption(this, captions, QStringLiteral("演奏時間")), length_);
  for (int g = 0; g < kNoteGroupCount; ++g) {
    groups_[static_cast<size_t>(g)] = Figure(this, kGroupNames[g]);
    form->addRow(Caption(this, captions, QString::fromUtf8(kGroupCaptions[g])), groups_[static_cast<size_t>(g)]);
  }
  form->addRow(Caption(this, captions, QStringLiteral("総ノーツ数")), total_);
  form->addRow(Caption(this, captions, QStringLiteral("ロングノート")), longNotes_);
  form->addRow(Caption(this, captions, QStringLiteral("最大密度")), peak_);
  form->addRow(Caption(this, captions, QStringLiteral("平均密度")), average_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(Caption(this, captions, QStringLiteral("ノーツ密度 (1秒ごと)")));
  layout->addWidget(graph_, 1);
  resize(520, 420);
  WindowCreated(*this);
}

void StatsWindow::ShowStats(const ChartStats& s) {
  length_->setText(QStringLiteral("%1 (%2 %3)")
                       .arg(QString::fromStdString(TimeText(s.lengthSeconds)))
                       .arg(s.lengthSeconds, 0, 'f', 3)
                       .arg(secondsUnit_->text()));
  for (int g = 0; g < kNoteGroupCount; ++g)
    groups_[static_cast<size_t>(g)]->setText(QString::number(s.groups[static_cast<size_t>(g)]));
  total_->setText(QString::number(s.totalNotes));
  // A long note counts once among the notes above; here is how long they are held.
  longNotes_->setText(QStringLiteral("%1 (%2 %3)")
                          .arg(s.longNotes)
                          .arg(s.longNoteSeconds, 0, 'f', 3)
                          .arg(secondsUnit_->text()));
  peak_->setText(QStringLiteral("%1 %2").arg(s.peakNotesPerSecond).arg(densityUnit_->text()));
  average_->setText(QStringLiteral("%1 %2").arg(s.averageNotesPerSecond, 0, 'f', 2).arg(densityUnit_->text()));
  graph_->SetDensity(s.density, s.densitySeconds);
}

}  // namespace beatloom
