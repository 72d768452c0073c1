#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "analysis/chart_check.h"
#include "analysis/chart_timing.h"
#include "analysis/ui/stats_window.h"
#include "session/chart_session.h"
#include "view/view_settings.h"

class QAction;
class QListWidget;
class QListWidgetItem;
class QTimer;
class QWidget;

namespace beatloom {

// What the statistics window and the check work with.
struct AnalysisControls {
  QAction* statsAction = nullptr;  // ChartStats1
  QAction* checkAction = nullptr;  // ChartCheck1
  QListWidget* logList = nullptr;  // lb of the log window, where the findings go
  std::function<void()> showLog;
  // Scrolls the score so that the position stands at its bottom edge.
  std::function<void(int pos)> scrollTo;
  // The chart's folder, empty while the chart has no file.
  std::function<QString()> chartFolder;
  const ViewSettings* view = nullptr;
  QWidget* window = nullptr;  // the statistics window stays above it
};

// "譜面の統計" and "譜面のチェック". Both follow the chart while the author
// edits: a change marks them stale, and what is on screen is computed again
// once the event that changed the chart is done (several changes in one
// event cost one pass); what is not on screen waits until it is shown.
class AnalysisCommands : public QObject {
  Q_OBJECT

 public:
  AnalysisCommands(ChartSession& session, const AnalysisControls& controls, QObject* parent = nullptr);
  ~AnalysisCommands() override;

  void ShowStats();
  void RunCheck();
  StatsWindow* Window() const { return window_; }

 private:
  void ChartChanged(const ChartNotice& notice);
  void Refresh();
  void RefreshStats();
  std::vector<Finding> Check() const;
  void ListFindings(std::vector<Finding> findings);
  bool FindingsListed() const;
  void FindingChosen(QListWidgetItem* item);
  void SecondChosen(double seconds);

  ChartSession& session_;
  ChartSession::ListenerId listener_ = 0;
  AnalysisControls c_;
  QPointer<StatsWindow> window_;
  QTimer* refresh_ = nullptr;
  ChartTiming timing_;  // of the chart the window shows
  bool checkFollows_ = false;
};

}  // namespace beatloom
