#include "analysis/timing_cache.h"

namespace beatloom {

TimingCache::TimingCache(ChartSession& session) : session_(session) {
  listener_ = session_.AddListener([this](const ChartNotice& notice) {
    if (ChartChanged(notice)) stale_ = true;
  });
}

TimingCache::~TimingCache() { session_.RemoveListener(listener_); }

const ChartTiming& TimingCache::Timing() {
  if (stale_) {
    timing_ = ChartTiming(session_.Doc());
    stale_ = false;
  }
  return timing_;
}

}  // namespace beatloom
