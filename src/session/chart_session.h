#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bms/log.h"
#include "model/document.h"
#include "session/history.h"

namespace beatloom {

// What a change touched, so that each view redraws what shows it.
enum ChartAspect : unsigned {
  kChartObjects = 1u << 0,
  // Header fields, definitions, memos and kept lines.
  kChartHeader = 1u << 1,
  // What decides the score's shape: the play mode's lanes, measure lengths.
  kChartLayout = 1u << 2,
  // Only which objects are selected: the score repaints, nothing that follows
  // positions or values (an index, the statistics, the timing) is rebuilt.
  kChartSelection = 1u << 3,
};

// A whole new chart stands in the session: the views start over. A new chart
// selects image 01 in its list, a loaded one image 00.
enum class ChartReplaced { No, New, Loaded };

struct ChartNotice {
  unsigned aspects = 0;
  ChartReplaced replaced = ChartReplaced::No;
};

// Whether a notice says more than that the selection changed.
inline bool ChartChanged(const ChartNotice& notice) {
  return notice.replaced != ChartReplaced::No || notice.aspects != kChartSelection;
}

// How one change reaches the history and the modified mark.
struct ChartEdit {
  // Clear: chart and file are the same now (a load or save), the saved
  // point moves here. Otherwise the mark follows the history: a step moves
  // it, a change that makes none leaves it, and a new chart keeps what its
  // reader left (Set and Leave say which the caller means).
  enum class Mark { Set, Leave, Clear };
  // How the change touches the objects, when its aspects name them:
  // anything (compared with a copy taken before), or only appending.
  enum class Objects { Any, Appended };
  // The step's name in the Edit menu. A change without one is not recorded:
  // it may change the selection, the clipboard and the dragged objects only.
  const char* label = nullptr;
  Mark modified = Mark::Set;
  unsigned aspects = kChartObjects;
  ChartReplaced replaced = ChartReplaced::No;
  Objects objects = Objects::Any;
  // What besides objects the change may touch (ChartPart), when it knows
  // better than its aspects: a key typed into one memo need not copy the
  // other lists for the comparison.
  unsigned parts = 0;
  // Ascending indices of objects the session takes out after the change ran
  // (which may then only append): the cheap way to remove a few objects from
  // a large chart.
  std::vector<int> remove{};
  // Edits with one key in a row (the keys typed into one header field) make
  // one step, until SealStep.
  const void* mergeKey = nullptr;
  // Made by the mouse gesture now running: it joins the gesture's step.
  bool inGesture = false;
};

// What the change function reports back to Apply.
enum class EditOutcome {
  // Refused or failed before changing anything: as if it had never run.
  Refused,
  // Ran but found nothing to change.
  Unchanged,
  Changed,
};

// The file the open chart belongs to, named as the file system names it
// (bytes, as the dialogs' names encode). Every controller asks here.
struct ChartFile {
  // The chart last opened or saved: its folder holds the chart's sounds and
  // images and the players' working copy. A new chart keeps the last one.
  std::string opened;
  // Where Save writes; empty: Save asks for a name (a new chart, a failed
  // load, an import).
  std::string saveTo;
  // Where each file dialog starts.
  struct Folders {
    std::string chart, save, midi, sound, image;
  } folders;

  // The folder of opened (made absolute), empty while no chart was opened.
  std::string Folder() const;
  // Both names gone: a chart that came from no file.
  void Forget() {
    opened.clear();
    saveTo.clear();
  }
};

// The open chart with its log and its history. Every change of the chart runs
// through Apply, so that recording, the modified mark and the redraws happen
// the same way for every command.
class ChartSession {
 public:
  using Listener = std::function<void(const ChartNotice&)>;

  ChartSession() = default;
  ChartSession(const ChartSession&) = delete;
  ChartSession& operator=(const ChartSession&) = delete;

  Document& Doc() { return doc_; }
  const Document& Doc() const { return doc_; }
  Log& ChartLog() { return log_; }
  ChartFile& File() { return file_; }
  const ChartFile& File() const { return file_; }
  // What the author holds beside the chart: the clipboard (last copied object
  // first) and the objects a drag carries. Neither is part of the history;
  // both outlive a load.
  std::vector<TBmsObject>& Clipboard() { return clipboard_; }
  const std::vector<TBmsObject>& Clipboard() const { return clipboard_; }
  // The tempo or stop length of each clipboard object on those lanes (0 on
  // the others): a paste carries values, as another chart's definitions differ.
  std::vector<double>& ClipboardNumbers() { return clipboardNumbers_; }
  const std::vector<double>& ClipboardNumbers() const { return clipboardNumbers_; }
  std::vector<TBmsObject>& Dragged() { return dragged_; }
  const std::vector<TBmsObject>& Dragged() const { return dragged_; }
  // For a change that gives definitions new numbers: the clipboard and the
  // dragged objects follow it now, and again whenever its step is undone or
  // redone, so that they keep naming the same sounds and images.
  void Renumber(Renumbering renumbering);
  const History& ChartHistory() const { return history_; }
  // 0: no bound.
  void SetUndoLimit(size_t steps);

  // A view that goes before the session takes its listener away again.
  using ListenerId = size_t;
  ListenerId AddListener(Listener listener);
  void RemoveListener(ListenerId id);
  // Told whenever what Undo and Redo would do changes.
  std::function<void()> onHistoryChanged;

  // Runs change and records what it did as one step under edit.label; a
  // change that changed nothing makes no step and leaves the mark alone. A
  // refused change must not have changed the chart. Listeners hear of every
  // change that was not refused.
  EditOutcome Apply(const ChartEdit& edit, const std::function<EditOutcome(Document&)>& change);
  // For changes that already happened elsewhere (a reader filling the
  // document): the listeners learn of them, nothing else changes.
  void Notify(const ChartNotice& notice);

  // The chart differs from its file in a way no undo reaches (a recovered
  // copy): modified until saved.
  void ForgetSavedState();
  // The next change starts a step of its own (a header field was left).
  void SealStep() { history_.Seal(); }

  // Walk the history. False when there was nothing to undo or redo.
  bool UndoLastChange();
  bool RedoNextChange();
  // Takes back the last step for good: a save that failed after tidying the
  // chart for the file.
  void Retract();

  // A mouse gesture (a drag) may change the chart several times; its changes
  // become one step when it ends, and go back when it is cut short. Anything
  // else that reaches the session meanwhile (a command, undo, a save) first
  // calls interrupted, whose owner ends its gesture with CancelGesture.
  void BeginGesture(std::function<void()> interrupted);
  // label: the step's name; none for a gesture that only selects.
  void EndGesture(const char* label);
  void CancelGesture();
  // Ends a running gesture as an interruption would; for the window, before
  // a menu, the popup or a mode change.
  void SettleGesture();
  bool InGesture() const { return gestureOpen_; }

 private:
  void HistoryChanged(unsigned aspects);
  // Undo or redo: applies the step the history hands back and announces it.
  bool Walk(bool back);
  void FollowRenumbering(const History::Step& step, bool back);

  Document doc_;
  Log log_;
  ChartFile file_;
  std::vector<TBmsObject> clipboard_;
  std::vector<double> clipboardNumbers_;
  std::vector<TBmsObject> dragged_;
  // What the change now running renumbered, for its step.
  std::vector<Renumbering> renumbered_;
  History history_;
  std::vector<std::pair<ListenerId, Listener>> listeners_;
  ListenerId nextListener_ = 0;
  bool gestureOpen_ = false;
  std::vector<ChartChange> gesture_;
  std::function<void()> interrupted_;
};

// The aspects a recorded change touched, for the listeners of an undo.
unsigned AspectsOf(const ChartChange& change);

}  // namespace beatloom
