#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/document.h"

namespace beatloom {

// The single undo step: a copy of the whole object list taken before a
// command changes objects. Measure lengths, definitions and header fields are
// not part of it, except where a command that moves measures hands them over
// (KeepLinesToo, KeepLengthsToo).
class Undo {
 public:
  explicit Undo(Document& doc) : doc_(doc) {}

  // Copies every object into the snapshot. With no objects nothing happens
  // and an older snapshot stays available. Returns whether one was taken.
  bool TakeSnapshot();
  // Puts the snapshot back, marks the chart modified and uses the snapshot
  // up: the same state cannot be restored twice. false when none was there.
  bool Restore();
  // For commands after which the saved records no longer fit the chart
  // (index swaps, compaction, another chart).
  void Disable();
  // Brings back a snapshot taken aside, for a change that was refused after
  // its snapshot had been taken.
  void Reinstate(std::vector<TBmsObject> snapshot, bool available);
  bool Available() const { return available_; }
  // The kept lines as they stood before a command that renumbered them along
  // with its objects (a measure inserted or deleted): the snapshot just taken
  // puts them back too. Other snapshots leave the kept lines alone, which may
  // have been edited by hand since.
  void KeepLinesToo(std::vector<std::string> lines) { riders_.lines = std::move(lines); }
  bool RestoresKeptLines() const { return available_ && riders_.lines.has_value(); }
  // The same for the measure lengths, which such a command moves with their
  // measures.
  void KeepLengthsToo(const std::array<double, MeasureCount>& lengths) { riders_.lengths = lengths; }
  bool RestoresLengths() const { return available_ && riders_.lengths.has_value(); }

  // Told whenever availability changes, so the menu item can follow.
  std::function<void(bool)> onAvailableChanged;

 private:
  void SetAvailable(bool available);

  Document& doc_;
  bool available_ = false;
  // What rides on the snapshot besides the objects.
  struct Riders {
    std::optional<std::vector<std::string>> lines;
    std::optional<std::array<double, MeasureCount>> lengths;
  };
  Riders riders_;
  // Those of the older snapshot, while a new one may still be refused.
  Riders asideRiders_;
};

}  // namespace beatloom
