#include "session/history.h"

#include <algorithm>
#include <utility>

namespace beatloom {

namespace {

const std::string kNoLabel;

bool HeaderOnly(const ChartChange& c) {
  return c.header && c.objects.Empty() && !c.radix && !c.wav && !c.bmp && !c.mmemo && !c.mcom && !c.lengths;
}

}  // namespace

void History::SetLimit(size_t limit) {
  limit_ = limit;
  Trim();
}

void History::Clear(bool saved) {
  steps_.clear();
  cursor_ = 0;
  Seal();
  saved_ = saved ? std::optional<size_t>(0) : std::nullopt;
}

void History::DropUndone() {
  if (saved_ && *saved_ > cursor_) saved_.reset();
  steps_.resize(cursor_);
}

void History::Record(Step step, const void* mergeKey) {
  ++serial_;
  if (mergeKey && mergeKey == mergeKey_ && cursor_ == steps_.size() && cursor_ > 0 && saved_ != cursor_) {
    auto& changes = steps_.back().changes;
    for (ChartChange& change : step.changes) {
      // Keys typed into a header field: one pair of before and after, not
      // one for every key.
      if (!changes.empty() && HeaderOnly(changes.back()) && HeaderOnly(change)) {
        changes.back().header->second = std::move(change.header->second);
        continue;
      }
      changes.push_back(std::move(change));
    }
    return;
  }
  mergeKey_ = mergeKey;
  DropUndone();
  steps_.push_back(std::move(step));
  ++cursor_;
  Trim();
}

void History::Trim() {
  if (limit_ == 0 || steps_.size() <= limit_) return;
  // Only steps already done can go: the chart stands after them.
  const size_t drop = std::min(steps_.size() - limit_, cursor_);
  steps_.erase(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(drop));
  cursor_ -= drop;
  if (saved_) saved_ = *saved_ >= drop ? std::optional<size_t>(*saved_ - drop) : std::nullopt;
}

const History::Step* History::Undo(Document& doc) {
  if (!CanUndo()) return nullptr;
  Seal();
  const Step& step = steps_[--cursor_];
  for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) it->Undo(doc);
  return &step;
}

const History::Step* History::Redo(Document& doc) {
  if (!CanRedo()) return nullptr;
  Seal();
  const Step& step = steps_[cursor_++];
  for (const ChartChange& change : step.changes) change.Redo(doc);
  return &step;
}

const std::string& History::UndoLabel() const { return CanUndo() ? steps_[cursor_ - 1].label : kNoLabel; }
const std::string& History::RedoLabel() const { return CanRedo() ? steps_[cursor_].label : kNoLabel; }

size_t History::Bytes() const {
  size_t bytes = steps_.capacity() * sizeof(Step);
  for (const Step& step : steps_) {
    bytes += step.label.capacity();
    for (const ChartChange& change : step.changes) bytes += change.Bytes();
  }
  return bytes;
}

}  // namespace beatloom
