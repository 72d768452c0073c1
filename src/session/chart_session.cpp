#include "session/chart_session.h"

#include <filesystem>
#include <optional>
#include <utility>

namespace beatloom {

namespace {

// Takes the objects at the given ascending indices out in one pass.
std::vector<ObjectDelta::Removed> TakeOut(std::vector<TBmsObject>& objects, const std::vector<int>& indices) {
  std::vector<ObjectDelta::Removed> removed;
  if (indices.empty()) return removed;
  removed.reserve(indices.size());
  size_t out = static_cast<size_t>(indices.front());
  size_t next = 0;
  for (size_t i = out; i < objects.size(); ++i) {
    if (next < indices.size() && static_cast<size_t>(indices[next]) == i) {
      removed.push_back({static_cast<uint32_t>(i), objects[i]});
      ++next;
      continue;
    }
    objects[out++] = objects[i];
  }
  objects.resize(out);
  return removed;
}

}  // namespace

std::string ChartFile::Folder() const {
  if (opened.empty()) return {};
  std::filesystem::path path(opened);
  if (path.is_relative()) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (!error) path = absolute.lexically_normal();
  }
  return path.parent_path().string();
}

void ChartSession::Renumber(Renumbering renumbering) {
  renumbering.Apply(clipboard_, false);
  renumbering.Apply(dragged_, false);
  renumbered_.push_back(std::move(renumbering));
}

unsigned AspectsOf(const ChartChange& change) {
  unsigned aspects = change.objects.Empty() ? 0u : unsigned{kChartObjects};
  if (change.header || change.wav || change.bmp || change.mmemo || change.mcom) aspects |= kChartHeader;
  // The score shows the tempos and stop lengths the definitions hold.
  if (change.bpmDefs || change.stopDefs) aspects |= kChartObjects | kChartHeader;
  if (change.lengths || (change.header && change.header->first.cbpmode != change.header->second.cbpmode))
    aspects |= kChartLayout;
  // Every index on the score and in the lists is written anew.
  if (change.radix) aspects |= kChartObjects | kChartHeader | kChartLayout;
  return aspects;
}

void ChartSession::ForgetSavedState() {
  history_.ForgetSaved();
  doc_.Modified = true;
  Notify({0, ChartReplaced::No});
  HistoryChanged(0);
}

void ChartSession::SetUndoLimit(size_t steps) {
  history_.SetLimit(steps);
  HistoryChanged(0);
}

EditOutcome ChartSession::Apply(const ChartEdit& edit, const std::function<EditOutcome(Document&)>& change) {
  if (!edit.inGesture) SettleGesture();
  std::optional<ChangeRecorder> recorder;
  if (edit.label && edit.replaced == ChartReplaced::No) {
    using Objects = ChangeRecorder::Objects;
    Objects objects = Objects::Untouched;
    if (edit.aspects & kChartObjects)
      objects =
          edit.objects == ChartEdit::Objects::Appended || !edit.remove.empty() ? Objects::Appended : Objects::Compared;
    unsigned parts = edit.parts;
    if (parts == 0 && (edit.aspects & (kChartHeader | kChartLayout))) parts = kAllParts;
    recorder.emplace(doc_, objects, parts);
  }
  const size_t sizeBefore = doc_.ObjList.size();
  const bool wasModified = doc_.Modified;
  renumbered_.clear();
  const EditOutcome outcome = change(doc_);
  if (outcome == EditOutcome::Refused) {
    // A refused change has changed nothing, the clipboard neither.
    for (auto it = renumbered_.rbegin(); it != renumbered_.rend(); ++it) {
      it->Apply(clipboard_, true);
      it->Apply(dragged_, true);
    }
    renumbered_.clear();
    doc_.Modified = wasModified;
    return outcome;
  }
  std::vector<ObjectDelta::Removed> removed = TakeOut(doc_.ObjList, edit.remove);
  bool historyChanged = false;
  if (edit.replaced != ChartReplaced::No) {
    if (gestureOpen_) {
      gestureOpen_ = false;
      gesture_.clear();
      interrupted_ = nullptr;
    }
    history_.Clear(edit.modified == ChartEdit::Mark::Clear || !doc_.Modified);
    historyChanged = true;
  } else if (recorder) {
    ChartChange recorded = recorder->Finish(doc_, std::move(removed));
    recorded.renumbered = std::move(renumbered_);
    if (!recorded.Empty()) {
      if (edit.inGesture && gestureOpen_) {
        gesture_.push_back(std::move(recorded));
      } else {
        // Moved, not listed in braces: a large change is never copied.
        std::vector<ChartChange> changes;
        changes.push_back(std::move(recorded));
        history_.Record({edit.label, std::move(changes)}, edit.mergeKey);
        historyChanged = true;
      }
    }
  } else if (doc_.ObjList.size() != sizeBefore) {
    // Objects came or went unrecorded: no step can be put back over them.
    history_.Clear(false);
    historyChanged = true;
  }
  if (edit.modified == ChartEdit::Mark::Clear) {
    history_.MarkSaved();
    doc_.Modified = false;
    historyChanged = true;
  } else if (historyChanged) {
    doc_.Modified = history_.Modified();
  }
  Notify({edit.aspects, edit.replaced});
  if (historyChanged) HistoryChanged(0);
  return outcome;
}

ChartSession::ListenerId ChartSession::AddListener(Listener listener) {
  listeners_.emplace_back(nextListener_, std::move(listener));
  return nextListener_++;
}

void ChartSession::RemoveListener(ListenerId id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void ChartSession::Notify(const ChartNotice& notice) {
  // A listener may add another (a window opened by a redraw): walk by index.
  for (size_t i = 0; i < listeners_.size(); ++i) listeners_[i].second(notice);
}

void ChartSession::HistoryChanged(unsigned aspects) {
  if (aspects) Notify({aspects, ChartReplaced::No});
  if (onHistoryChanged) onHistoryChanged();
}

bool ChartSession::UndoLastChange() { return Walk(true); }

bool ChartSession::RedoNextChange() { return Walk(false); }

bool ChartSession::Walk(bool back) {
  SettleGesture();
  const History::Step* step = back ? history_.Undo(doc_) : history_.Redo(doc_);
  if (!step) return false;
  FollowRenumbering(*step, back);
  unsigned aspects = 0;
  for (const ChartChange& change : step->changes) aspects |= AspectsOf(change);
  doc_.Modified = history_.Modified();
  HistoryChanged(aspects);
  return true;
}

void ChartSession::FollowRenumbering(const History::Step& step, bool back) {
  auto follow = [this, back](const ChartChange& change) {
    auto apply = [&](const Renumbering& r) {
      r.Apply(clipboard_, back);
      r.Apply(dragged_, back);
    };
    if (back) {
      for (auto it = change.renumbered.rbegin(); it != change.renumbered.rend(); ++it) apply(*it);
    } else {
      for (const Renumbering& r : change.renumbered) apply(r);
    }
  };
  if (back) {
    for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) follow(*it);
  } else {
    for (const ChartChange& change : step.changes) follow(change);
  }
}

void ChartSession::Retract() {
  if (!UndoLastChange()) return;
  history_.DropUndone();
  HistoryChanged(0);
}

void ChartSession::BeginGesture(std::function<void()> interrupted) {
  SettleGesture();
  gestureOpen_ = true;
  gesture_.clear();
  interrupted_ = std::move(interrupted);
}

void ChartSession::EndGesture(const char* label) {
  if (!gestureOpen_) return;
  gestureOpen_ = false;
  interrupted_ = nullptr;
  if (gesture_.empty() || !label) return;
  history_.Record({label, std::move(gesture_)});
  gesture_.clear();
  doc_.Modified = history_.Modified();
  HistoryChanged(0);
}

void ChartSession::CancelGesture() {
  if (!gestureOpen_) return;
  gestureOpen_ = false;
  interrupted_ = nullptr;
  unsigned aspects = 0;
  for (auto it = gesture_.rbegin(); it != gesture_.rend(); ++it) {
    it->Undo(doc_);
    aspects |= AspectsOf(*it);
  }
  gesture_.clear();
  if (aspects) Notify({aspects, ChartReplaced::No});
}

void ChartSession::SettleGesture() {
  if (!gestureOpen_) return;
  const std::function<void()> interrupted = interrupted_;
  if (interrupted) interrupted();
  CancelGesture();
}

}  // namespace beatloom
