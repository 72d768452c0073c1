#pragma once

#include <cstdint>
#include <vector>

#include "model/document.h"

namespace beatloom {

// Object list indices grouped by position, so that a render touches only the
// objects near the visible rows instead of the whole list. It describes the
// list as it was at Rebuild; whoever changes positions, adds or deletes
// objects rebuilds it before the next query.
class ObjectIndex {
 public:
  // minSpan: the ticks of the narrowest bucket. A measure suits the renderer;
  // a pointer's hit test wants finer buckets so that a crowded measure does
  // not slow it down.
  explicit ObjectIndex(int64_t minSpan = TicksPerMeasure) : minSpan_(minSpan > 0 ? minSpan : 1) {}

  void Rebuild(const std::vector<TBmsObject>& objects);
  void Clear();

  // Appends to out, in list order, the indices of the objects whose position
  // lies in lo..hi (bounds included).
  void Query(const std::vector<TBmsObject>& objects, int64_t lo, int64_t hi, std::vector<int>& out) const;

  // The list size the index was built for; a different size means stale.
  size_t IndexedSize() const { return indexedSize_; }
  bool Built() const { return built_; }

 private:
  int64_t BucketOf(int64_t pos) const;

  // Objects with position p sit in bucket (p div span) - first, floor
  // division; bucketStart_[b]..bucketStart_[b+1]-1 index order_.
  int64_t minSpan_ = TicksPerMeasure;
  int64_t span_ = TicksPerMeasure;
  int64_t first_ = 0;
  std::vector<int> bucketStart_;
  std::vector<int> order_;
  size_t indexedSize_ = 0;
  bool built_ = false;
};

}  // namespace beatloom
