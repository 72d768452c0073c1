#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "model/document.h"

namespace beatloom {

// A note drawn as a bar up to its end: held, on a key lane, its end on a
// later tick.
inline bool HasBar(const TBmsObject& o) {
  // IsLongNote spelled out: a hit test asks this of every candidate.
  return (o.Long == LongByChannel || o.Long == LongByLnObj) && o.Lane >= FirstKeyLane && o.Lane <= LastKeyLane &&
         o.EndPos > o.Pos;
}

// Object list indices grouped by position, so that a render touches only the
// objects near the visible rows instead of the whole list. It describes the
// list as it was at Rebuild; whoever changes positions, adds or deletes
// objects rebuilds it before the next query.
class ObjectIndex {
 public:
  // Which objects the index holds: every one (what a pointer may hit), or at
  // each lane and position only the last in list order, which is drawn over
  // the others there and hides them (what a render draws: a line of a
  // million cells stacks them on a measure's 192 ticks).
  enum class Holds { All, Topmost };

  // minSpan: the ticks of the narrowest bucket. A measure suits the renderer;
  // a pointer's hit test wants finer buckets so that a crowded measure does
  // not slow it down.
  explicit ObjectIndex(int64_t minSpan = TicksPerMeasure, Holds holds = Holds::All)
      : minSpan_(minSpan > 0 ? minSpan : 1), holds_(holds) {}

  void Rebuild(const std::vector<TBmsObject>& objects);
  void Clear();

  // Appends to out, in list order, the indices of the objects whose position
  // lies in lo..hi (bounds included), and of the bars (see HasBar) on lanes
  // barLo..barHi that start before lo and reach it. A pointer's hit test
  // names the few lanes under it; the others want every lane.
  void Query(const std::vector<TBmsObject>& objects, int64_t lo, int64_t hi, std::vector<int>& out, int barLo = 0,
             int barHi = 255) const;

  // The list size the index was built for; a different size means stale.
  size_t IndexedSize() const { return indexedSize_; }
  bool Built() const { return built_; }

 private:
  int64_t BucketOf(int64_t pos) const;
  // Removes from order_ every object another one drawn later covers.
  void KeepTopmost(const std::vector<TBmsObject>& objects);
  void CollectBars(const std::vector<TBmsObject>& objects);
  void QueryBars(int64_t lo, size_t listSize, int barLo, int barHi, std::vector<int>& out) const;

  // Objects with position p sit in bucket (p div span) - first, floor
  // division; bucketStart_[b]..bucketStart_[b+1]-1 index order_.
  int64_t minSpan_ = TicksPerMeasure;
  Holds holds_ = Holds::All;
  int64_t span_ = TicksPerMeasure;
  int64_t first_ = 0;
  std::vector<int> bucketStart_;
  std::vector<int> order_;
  // The bars apart, ordered by lane and start; reach is the furthest end of
  // the lane's bars up to this one, so that a query walks back from lo only
  // over bars that may still reach it (a lane holds one note at a time, so
  // that is rarely more than one). barLanes_ marks where each lane begins.
  struct Bar {
    int32_t start;
    int32_t end;
    int32_t reach;
    int index;
    uint8_t lane;
  };
  std::vector<Bar> bars_;
  std::vector<std::pair<uint8_t, int>> barLanes_;
  size_t indexedSize_ = 0;
  bool built_ = false;
};

}  // namespace beatloom
