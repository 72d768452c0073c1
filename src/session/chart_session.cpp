#include "session/chart_session.h"

#include <utility>

namespace beatloom {

EditOutcome ChartSession::Apply(const ChartEdit& edit, const std::function<EditOutcome(Document&)>& change) {
  // The older snapshot is kept aside: a refused change must leave it usable.
  std::vector<TBmsObject> previousSnapshot;
  const bool previousAvailable = undo_.Available();
  bool snapshotTaken = false;
  if (edit.snapshot) {
    previousSnapshot.swap(doc_.UndoList);
    snapshotTaken = undo_.TakeSnapshot();
    if (!snapshotTaken) previousSnapshot.swap(doc_.UndoList);
  }
  const bool wasModified = doc_.Modified;
  const EditOutcome outcome = change(doc_);
  if (outcome == EditOutcome::Refused) {
    if (snapshotTaken) undo_.Reinstate(std::move(previousSnapshot), previousAvailable);
    doc_.Modified = wasModified;
    return outcome;
  }
  switch (edit.modified) {
    case ChartEdit::Mark::Set:
      doc_.Modified = wasModified || outcome == EditOutcome::Changed;
      break;
    case ChartEdit::Mark::Leave:
      break;
    case ChartEdit::Mark::Clear:
      doc_.Modified = false;
      break;
  }
  Notify({edit.aspects, edit.replaced});
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

bool ChartSession::UndoLastChange() {
  // Kept lines put back show in the header's memo as well, lengths in the
  // score's shape.
  unsigned aspects = kChartObjects;
  if (undo_.RestoresKeptLines()) aspects |= kChartHeader;
  if (undo_.RestoresLengths()) aspects |= kChartLayout;
  if (!undo_.Restore()) return false;
  Notify({aspects, ChartReplaced::No});
  return true;
}

}  // namespace beatloom
