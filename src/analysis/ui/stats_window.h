#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "analysis/chart_stats.h"
#include "view/view_settings.h"

class QLabel;

namespace beatloom {

// Notes over the whole chart, one bar per bin of the statistics (a second,
// or more on a very long chart), in the score's colours; a click names the
// second under the pointer.
class DensityGraph : public QWidget {
  Q_OBJECT

 public:
  DensityGraph(const ViewSettings& view, QWidget* parent);
  void SetDensity(const std::vector<int>& density, double binSeconds);
  QSize sizeHint() const override { return {480, 140}; }

 signals:
  void secondClicked(double seconds);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  const ViewSettings& view_;
  std::vector<int> density_;
  double binSeconds_ = 1;
  int peak_ = 0;  // the fullest bin
};

// "譜面の統計": how long the chart plays, its notes by group and how dense
// they come. A tool window: it stays beside the score while the author edits.
class StatsWindow : public QWidget {
  Q_OBJECT

 public:
  StatsWindow(const ViewSettings& view, QWidget* parent);
  void ShowStats(const ChartStats& stats);

  DensityGraph* graph() const { return graph_; }
  QLabel* lengthLabel() const { return length_; }

 private:
  QLabel* length_;
  std::array<QLabel*, kNoteGroupCount> groups_{};
  QLabel* total_;
  QLabel* longNotes_;
  QLabel* peak_;
  QLabel* average_;
  DensityGraph* graph_;
  // The units written into the figures; never shown themselves, they are
  // captions so that the language file translates them with the rest.
  QLabel* secondsUnit_;
  QLabel* densityUnit_;
};

}  // namespace beatloom
