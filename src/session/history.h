#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "session/chart_change.h"

namespace beatloom {

// The changes made to the chart since it was loaded, in order, each under the
// label the Edit menu shows for it. Undo walks back, redo forward again; a
// new change after an undo drops what could have been redone. The saved
// point is where the history stood at the last load or save: the chart is
// modified exactly when the history stands elsewhere.
class History {
 public:
  struct Step {
    std::string label;
    // A mouse gesture may make several changes; they go back together.
    std::vector<ChartChange> changes;
  };

  // Keeps at most limit steps (0: no bound), dropping the oldest.
  void SetLimit(size_t limit);
  void Clear(bool saved);
  // A step with the same merge key as the newest one (typing into one
  // header field) joins it, until Seal, an undo, a save or another step.
  void Record(Step step, const void* mergeKey = nullptr);
  void Seal() { mergeKey_ = nullptr; }
  // Counts recorded steps, merged ones too: whether a command made one.
  size_t Serial() const { return serial_; }
  // The step now undone or redone, or nullptr when there is none.
  const Step* Undo(Document& doc);
  const Step* Redo(Document& doc);
  // Forgets what could be redone.
  void DropUndone();
  // The chart holds work no file has: no step leads back to a saved state.
  void ForgetSaved() { saved_.reset(); }
  void MarkSaved() {
    saved_ = cursor_;
    Seal();
  }
  bool Modified() const { return saved_ != cursor_; }

  bool CanUndo() const { return cursor_ > 0; }
  bool CanRedo() const { return cursor_ < steps_.size(); }
  const std::string& UndoLabel() const;
  const std::string& RedoLabel() const;
  size_t Size() const { return steps_.size(); }
  size_t Bytes() const;

 private:
  void Trim();

  std::vector<Step> steps_;
  size_t cursor_ = 0;
  // None when the saved state can no longer be reached.
  std::optional<size_t> saved_ = 0;
  size_t limit_ = 0;
  const void* mergeKey_ = nullptr;
  size_t serial_ = 0;
};

}  // namespace beatloom
