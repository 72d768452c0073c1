#pragma once

#include "analysis/chart_timing.h"
#include "session/chart_session.h"

namespace beatloom {

// The timing of the session's chart, built again on the first question after
// the chart changed, so that questions asked on every pointer move cost a
// binary search and edits cost nothing until someone asks.
class TimingCache {
 public:
  explicit TimingCache(ChartSession& session);
  ~TimingCache();
  TimingCache(const TimingCache&) = delete;
  TimingCache& operator=(const TimingCache&) = delete;

  const ChartTiming& Timing();

 private:
  ChartSession& session_;
  ChartSession::ListenerId listener_ = 0;
  ChartTiming timing_;
  bool stale_ = true;
};

}  // namespace beatloom
