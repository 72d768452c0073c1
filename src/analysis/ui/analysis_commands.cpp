#include "analysis/ui/analysis_commands.h"

#include <QAction>
#include <QListWidget>
#include <QTimer>
#include <algorithm>

#include "analysis/chart_stats.h"
#include "analysis/ui/stats_window.h"

namespace beatloom {

namespace {

// Item data of a finding in the log list: its measure (-1 none). Lines of a
// load or save carry none, which is how the list tells whose lines it shows.
constexpr int kMeasureRole = Qt::UserRole + 1;
// More lines than an author reads; the rest is summed up in one line.
constexpr int kMaxListed = 1000;
// Milliseconds without a header edit before the figures follow one.
constexpr int kTypingPause = 300;

const char* SeverityText(Severity s) {
  switch (s) {
    case Severity::Error:
      return "エラー";
    case Severity::Warning:
      return "警告";
    case Severity::Note:
      break;
  }
  return "情報";
}

}  // namespace

AnalysisCommands::AnalysisCommands(ChartSession& session, const AnalysisControls& controls, QObject* parent)
    : QObject(parent), session_(session), c_(controls), refresh_(new QTimer(this)) {
  refresh_->setSingleShot(true);
  connect(refresh_, &QTimer::timeout, this, &AnalysisCommands::Refresh);
  listener_ = session_.AddListener([this](const ChartNotice& notice) { ChartChanged(notice); });
  if (c_.statsAction != nullptr) connect(c_.statsAction, &QAction::triggered, this, &AnalysisCommands::ShowStats);
  if (c_.checkAction != nullptr) connect(c_.checkAction, &QAction::triggered, this, &AnalysisCommands::RunCheck);
  if (c_.logList != nullptr)
    connect(c_.logList, &QListWidget::itemDoubleClicked, this, &AnalysisCommands::FindingChosen);
}

AnalysisCommands::~AnalysisCommands() {
  session_.RemoveListener(listener_);
  delete window_;
}

void AnalysisCommands::ShowStats() {
  if (window_ == nullptr) {
    static const ViewSettings defaults;
    window_ = new StatsWindow(c_.view != nullptr ? *c_.view : defaults, c_.window);
    connect(window_->graph(), &DensityGraph::secondClicked, this, &AnalysisCommands::SecondChosen);
  }
  RefreshStats();
  window_->show();
  window_->raise();
}

void AnalysisCommands::RunCheck() {
  checkFollows_ = true;
  ListFindings(Check());
  if (c_.showLog) c_.showLog();
}

std::vector<Finding> AnalysisCommands::Check() const {
  const QString folder = c_.chartFolder ? c_.chartFolder() : QString();
  const Document& doc = session_.Doc();
  return CheckChart(doc, folder.isEmpty() ? FileProbe() : FolderProbe(folder.toStdString(), doc.encoding));
}

void AnalysisCommands::ChartChanged(const ChartNotice& notice) {
  if (!beatloom::ChartChanged(notice)) return;
  // A new chart ends the check's list: the log now reports its load.
  if (notice.replaced != ChartReplaced::No) checkFollows_ = false;
  // Header texts and memos change a key at a time: the figures follow once
  // the typing pauses, not on every key of a long memo.
  const bool typing = notice.replaced == ChartReplaced::No && notice.aspects == kChartHeader;
  refresh_->start(typing ? kTypingPause : 0);
}

void AnalysisCommands::Refresh() {
  if (window_ != nullptr && window_->isVisible()) RefreshStats();
  if (checkFollows_ && FindingsListed() && c_.logList->isVisible()) ListFindings(Check());
}

void AnalysisCommands::RefreshStats() {
  timing_ = ChartTiming(session_.Doc());
  window_->ShowStats(StatsOf(session_.Doc(), timing_));
}

void AnalysisCommands::ListFindings(std::vector<Finding> findings) {
  if (c_.logList == nullptr) return;
  // What keeps the chart from playing comes first, however far down it is.
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.severity < b.severity; });
  QListWidget& list = *c_.logList;
  list.clear();
  auto add = [&list](const QString& text, int measure) {
    auto* item = new QListWidgetItem(text, &list);
    item->setData(kMeasureRole, measure);
  };
  add(findings.empty() ? QStringLiteral("譜面のチェック: 問題は見つかりませんでした")
                       : QStringLiteral("譜面のチェック: %1 件").arg(findings.size()),
      -1);
  const size_t shown = std::min(findings.size(), static_cast<size_t>(kMaxListed));
  for (size_t i = 0; i < shown; ++i) {
    const Finding& f = findings[i];
    add(QStringLiteral("%1: %2 [%3]")
            .arg(QString::fromUtf8(SeverityText(f.severity)), QString::fromStdString(f.message),
                 QString::fromStdString(f.rule)),
        f.measure);
  }
  if (shown < findings.size()) add(QStringLiteral("ほか %1 件").arg(findings.size() - shown), -1);
  list.scrollToTop();
}

bool AnalysisCommands::FindingsListed() const {
  return c_.logList != nullptr && c_.logList->count() > 0 && c_.logList->item(0)->data(kMeasureRole).isValid();
}

void AnalysisCommands::FindingChosen(QListWidgetItem* item) {
  if (item == nullptr || !c_.scrollTo) return;
  const QVariant measure = item->data(kMeasureRole);
  if (!measure.isValid() || measure.toInt() < 0) return;
  c_.scrollTo(measure.toInt() * TicksPerMeasure);
}

void AnalysisCommands::SecondChosen(double seconds) {
  if (!c_.scrollTo) return;
  c_.scrollTo(timing_.PosAt(seconds) / TicksPerMeasure * TicksPerMeasure);
}

}  // namespace beatloom
