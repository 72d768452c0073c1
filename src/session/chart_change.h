#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/document.h"

namespace beatloom {

// What one change did to the object list, kept so that it can be taken back
// and done again: the objects it took out (with their indices in the list as
// it was), the objects it changed in place (indices once those were out) and
// the objects it appended. Selection flags are no part of it: taking a change
// back leaves every remaining object selected or not as it is now.
struct ObjectDelta {
  struct Removed {
    uint32_t index;
    TBmsObject object;
  };
  struct Modified {
    uint32_t index;
    TBmsObject before;
    TBmsObject after;
  };
  std::vector<Removed> removed;    // ascending indices of the list before
  std::vector<Modified> modified;  // ascending indices of the list without removed
  std::vector<TBmsObject> appended;

  bool Empty() const { return removed.empty() && modified.empty() && appended.empty(); }
  void Redo(std::vector<TBmsObject>& objects) const;
  void Undo(std::vector<TBmsObject>& objects) const;
  size_t Bytes() const;
};

// The shortest record of before -> after: objects changed in place plus an
// appended tail, or objects taken out plus an appended tail, whichever is
// smaller. Only for commands that need a whole copy of the list anyway.
ObjectDelta DiffObjects(const std::vector<TBmsObject>& before, const std::vector<TBmsObject>& after);

// A stretch of a list replaced by another of any length (kept lines, memo
// lines, definitions, measure lengths): what stood there and what stands now.
template <class T>
struct SpliceDelta {
  size_t at = 0;
  std::vector<T> before;
  std::vector<T> after;
};

// Definitions given new numbers (a swap, a compaction, a wider radix): on
// the lanes named, an object of value v now has forward[v]; values beyond the
// table keep theirs. Only objects outside the chart need it (the clipboard):
// the chart's own objects are recorded as they changed.
struct Renumbering {
  std::bitset<LaneCount> lanes;
  std::vector<uint16_t> forward;

  // back: from the new numbers to the old ones.
  void Apply(std::vector<TBmsObject>& objects, bool back) const;
};

// Everything one change did to the chart. Parts it left alone stay empty.
struct ChartChange {
  ObjectDelta objects;
  std::optional<std::pair<HeaderFields, HeaderFields>> header;
  std::optional<std::pair<int, int>> radix;
  std::optional<SpliceDelta<std::string>> wav, bmp, mmemo, mcom;
  // #BPMxx and #STOPxx values, which editing objects may allocate.
  std::optional<SpliceDelta<std::string>> bpmDefs, stopDefs;
  std::optional<SpliceDelta<double>> lengths;
  std::vector<Renumbering> renumbered;

  bool Empty() const;
  void Redo(Document& doc) const;
  void Undo(Document& doc) const;
  // Heap memory the record takes, for the benchmarks and the history's own
  // account; not exact, but it follows the size of the change.
  size_t Bytes() const;
};

// The parts of a chart besides its objects that a change may touch.
enum ChartPart : unsigned {
  kPartHeader = 1u << 0,
  kPartDefinitions = 1u << 1,  // the two name lists and the index radix
  kPartMemo = 1u << 2,
  kPartKeptLines = 1u << 3,
  kPartLengths = 1u << 4,
  // The tempo and stop definitions: recorded with every change of objects,
  // as giving an object a tempo or stop length may allocate one.
  kPartTimingDefinitions = 1u << 5,
  kAllParts = (1u << 6) - 1,
};

// Records one change: built before it runs with what it may touch, asked
// afterwards what it did. Parts not announced are not looked at, so a change
// that touches only objects costs nothing for the header and lists.
class ChangeRecorder {
 public:
  enum class Objects {
    // Not touched beyond selection flags.
    Untouched,
    // Only appended to (and flags set); the tail is the change.
    Appended,
    // Anything: compared with a copy taken before.
    Compared,
  };

  ChangeRecorder(const Document& doc, Objects objects, unsigned parts);
  // removed: ascending indices of objects the session takes out for the
  // change, before the change appends anything.
  ChartChange Finish(const Document& doc, std::vector<ObjectDelta::Removed> removed = {});

 private:
  Objects objects_;
  size_t sizeBefore_;
  std::vector<TBmsObject> objectsBefore_;
  unsigned parts_;
  HeaderFields header_;
  int radix_ = 16;
  std::vector<std::string> wav_, bmp_, mmemo_, mcom_, bpmDefs_, stopDefs_;
  std::array<double, MeasureCount> lengths_{};
};

}  // namespace beatloom
