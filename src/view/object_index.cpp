#include "view/object_index.h"

#include <algorithm>
#include <unordered_set>

namespace beatloom {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

}  // namespace

void ObjectIndex::Clear() {
  bucketStart_.clear();
  order_.clear();
  bars_.clear();
  barLanes_.clear();
  indexedSize_ = 0;
  built_ = false;
}

int64_t ObjectIndex::BucketOf(int64_t pos) const { return FloorDiv(pos, span_) - first_; }

void ObjectIndex::Rebuild(const std::vector<TBmsObject>& objects) {
  Clear();
  built_ = true;
  indexedSize_ = objects.size();
  if (objects.empty()) return;
  int64_t lowest = objects.front().Pos;
  int64_t highest = lowest;
  for (const TBmsObject& o : objects) {
    lowest = std::min<int64_t>(lowest, o.Pos);
    highest = std::max<int64_t>(highest, o.Pos);
  }
  // One measure per bucket, unless stray positions far apart would make the
  // bucket table much larger than the list itself.
  const int64_t maxBuckets = static_cast<int64_t>(objects.size()) * 4 + 1024;
  span_ = minSpan_;
  while (FloorDiv(highest, span_) - FloorDiv(lowest, span_) + 1 > maxBuckets) span_ *= 2;
  first_ = FloorDiv(lowest, span_);
  const auto buckets = static_cast<size_t>(FloorDiv(highest, span_) - first_ + 1);

  // Counting sort: stable, so each bucket keeps list order.
  bucketStart_.assign(buckets + 1, 0);
  for (const TBmsObject& o : objects) ++bucketStart_[BucketOf(o.Pos) + 1];
  for (size_t b = 0; b < buckets; ++b) bucketStart_[b + 1] += bucketStart_[b];
  order_.resize(objects.size());
  std::vector<int> next(bucketStart_.begin(), bucketStart_.end() - 1);
  for (size_t i = 0; i < objects.size(); ++i) order_[next[BucketOf(objects[i].Pos)]++] = static_cast<int>(i);
  if (holds_ == Holds::Topmost) KeepTopmost(objects);
  CollectBars(objects);
}

void ObjectIndex::CollectBars(const std::vector<TBmsObject>& objects) {
  for (const int i : order_) {
    const TBmsObject& o = objects[static_cast<size_t>(i)];
    if (HasBar(o)) bars_.push_back({o.Pos, o.EndPos, o.EndPos, i, o.Lane});
  }
  if (bars_.empty()) return;
  // The index walks positions in order, so each lane's bars mostly come
  // sorted already (wholly with one-tick buckets).
  std::stable_sort(bars_.begin(), bars_.end(), [](const Bar& a, const Bar& b) { return a.lane < b.lane; });
  const auto before = [](const Bar& a, const Bar& b) {
    return a.start != b.start ? a.start < b.start : a.index < b.index;
  };
  for (size_t k = 0; k < bars_.size();) {
    size_t end = k;
    while (end < bars_.size() && bars_[end].lane == bars_[k].lane) ++end;
    const auto first = bars_.begin() + static_cast<std::ptrdiff_t>(k);
    const auto last = bars_.begin() + static_cast<std::ptrdiff_t>(end);
    if (!std::is_sorted(first, last, before)) std::sort(first, last, before);
    barLanes_.emplace_back(bars_[k].lane, static_cast<int>(k));
    for (size_t j = k + 1; j < end; ++j) bars_[j].reach = std::max(bars_[j].reach, bars_[j - 1].reach);
    k = end;
  }
}

void ObjectIndex::QueryBars(int64_t lo, size_t listSize, int barLo, int barHi, std::vector<int>& out) const {
  for (size_t l = 0; l < barLanes_.size(); ++l) {
    if (barLanes_[l].first < barLo || barLanes_[l].first > barHi) continue;
    const auto first = bars_.begin() + barLanes_[l].second;
    const auto last = l + 1 < barLanes_.size() ? bars_.begin() + barLanes_[l + 1].second : bars_.end();
    // The bars that start before lo, walked back while one may still reach it.
    auto k = std::lower_bound(first, last, lo, [](const Bar& b, int64_t p) { return b.start < p; });
    while (k != first) {
      --k;
      if (k->reach < lo) break;
      if (k->end >= lo && static_cast<size_t>(k->index) < listSize) out.push_back(k->index);
    }
  }
}

void ObjectIndex::KeepTopmost(const std::vector<TBmsObject>& objects) {
  // Walking a bucket from its end, the first object met at a lane and
  // position is the one on top. A key is (position in bucket, lane); for
  // buckets of ordinary spans a table stamped with the bucket number holds
  // the keys met, wider ones use a set.
  const size_t buckets = bucketStart_.size() - 1;
  const int64_t keys = span_ * 256;
  const bool table = keys <= (int64_t{1} << 20);
  std::vector<int> stamp(table ? static_cast<size_t>(keys) : 0, -1);
  std::unordered_set<int64_t> met;
  std::vector<char> covered(order_.size(), 0);
  for (size_t b = 0; b < buckets; ++b) {
    const int64_t start = (first_ + static_cast<int64_t>(b)) * span_;
    met.clear();
    for (int k = bucketStart_[b + 1]; k-- > bucketStart_[b];) {
      const TBmsObject& o = objects[static_cast<size_t>(order_[k])];
      const int64_t key = (o.Pos - start) * 256 + o.Lane;
      if (table) {
        int& seen = stamp[static_cast<size_t>(key)];
        covered[k] = seen == static_cast<int>(b);
        seen = static_cast<int>(b);
      } else {
        covered[k] = !met.insert(key).second;
      }
    }
  }
  int out = 0;
  for (size_t b = 0; b < buckets; ++b) {
    const int from = bucketStart_[b];
    const int to = bucketStart_[b + 1];
    bucketStart_[b] = out;
    for (int k = from; k < to; ++k) {
      if (!covered[k]) order_[out++] = order_[k];
    }
  }
  bucketStart_[buckets] = out;
  order_.resize(static_cast<size_t>(out));
}

void ObjectIndex::Query(const std::vector<TBmsObject>& objects, int64_t lo, int64_t hi, std::vector<int>& out,
                        int barLo, int barHi) const {
  if (order_.empty() || lo > hi) return;
  const size_t before = out.size();
  const int64_t buckets = static_cast<int64_t>(bucketStart_.size()) - 1;
  const int64_t b0 = std::max<int64_t>(BucketOf(lo), 0);
  const int64_t b1 = std::min<int64_t>(BucketOf(hi), buckets - 1);
  for (int k = b0 <= b1 ? bucketStart_[b0] : 0; b0 <= b1 && k < bucketStart_[b1 + 1]; ++k) {
    const int i = order_[k];
    if (static_cast<size_t>(i) >= objects.size()) continue;
    const int64_t p = objects[i].Pos;
    if (p >= lo && p <= hi) out.push_back(i);
  }
  const size_t inRange = out.size();
  if (!bars_.empty()) QueryBars(lo, objects.size(), barLo, barHi, out);
  // Several buckets, or bars from below, each in list order: merge them into one list order.
  if (b1 > b0 || out.size() > inRange) std::sort(out.begin() + static_cast<std::ptrdiff_t>(before), out.end());
}

}  // namespace beatloom
