#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "bms/log.h"
#include "session/undo.h"
#include "model/document.h"

namespace beatloom {

// What a change touched, so that each view redraws what shows it.
enum ChartAspect : unsigned {
  kChartObjects = 1u << 0,
  // Header fields, definitions, memos and kept lines.
  kChartHeader = 1u << 1,
  // What decides the score's shape: the play mode's lanes, measure lengths.
  kChartLayout = 1u << 2,
};

// A whole new chart stands in the session: the views start over. A new chart
// selects image 01 in its list, a loaded one image 00.
enum class ChartReplaced { No, New, Loaded };

struct ChartNotice {
  unsigned aspects = 0;
  ChartReplaced replaced = ChartReplaced::No;
};

// How one change treats the undo step and the modified mark. Set marks the
// chart when the change reports a change; Clear unmarks it (a load or save
// that made chart and file the same); Leave keeps whatever the change itself
// left, for the reader and writer, which decide that themselves.
struct ChartEdit {
  enum class Mark { Set, Leave, Clear };
  bool snapshot = false;
  Mark modified = Mark::Set;
  unsigned aspects = kChartObjects;
  ChartReplaced replaced = ChartReplaced::No;
};

// What the change function reports back to Apply.
enum class EditOutcome {
  // Refused or failed before changing anything: as if it had never run.
  Refused,
  // Ran but found nothing to change: Set leaves Modified as it was.
  Unchanged,
  Changed,
};

// The open chart with its log and its single undo step. Every change of the
// chart runs through Apply, so the snapshot, the modified mark and the
// redraws happen the same way for every command.
class ChartSession {
 public:
  using Listener = std::function<void(const ChartNotice&)>;

  ChartSession() = default;
  ChartSession(const ChartSession&) = delete;
  ChartSession& operator=(const ChartSession&) = delete;

  Document& Doc() { return doc_; }
  const Document& Doc() const { return doc_; }
  Log& ChartLog() { return log_; }
  Undo& ChartUndo() { return undo_; }

  // A view that goes before the session takes its listener away again.
  using ListenerId = size_t;
  ListenerId AddListener(Listener listener);
  void RemoveListener(ListenerId id);

  // Takes the snapshot when asked, runs change, marks the chart and tells the
  // listeners. A refused change leaves the snapshot that was there before and
  // Modified untouched, and nobody is told; it must not have changed the
  // chart either.
  EditOutcome Apply(const ChartEdit& edit, const std::function<EditOutcome(Document&)>& change);
  // For changes that already happened elsewhere (a reader filling the
  // document): the listeners learn of them, nothing else changes.
  void Notify(const ChartNotice& notice);
  // Puts the undo step back. False when there was none.
  bool UndoLastChange();

 private:
  Document doc_;
  Log log_;
  Undo undo_{doc_};
  std::vector<std::pair<ListenerId, Listener>> listeners_;
  ListenerId nextListener_ = 0;
};

}  // namespace beatloom
