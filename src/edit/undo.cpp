#include "edit/undo.h"

#include <utility>

namespace beatloom {

bool Undo::TakeSnapshot() {
  if (doc_.ObjList.empty()) return false;
  doc_.UndoList = doc_.ObjList;
  asideKeptLines_ = std::move(keptLines_);
  keptLines_.reset();
  SetAvailable(true);
  return true;
}

bool Undo::Restore() {
  if (!available_) return false;
  SetAvailable(false);
  doc_.ObjList = doc_.UndoList;
  if (keptLines_) doc_.mcom = std::move(*keptLines_);
  keptLines_.reset();
  doc_.Modified = true;
  return true;
}

void Undo::Disable() {
  keptLines_.reset();
  SetAvailable(false);
}

void Undo::Reinstate(std::vector<TBmsObject> snapshot, bool available) {
  doc_.UndoList = std::move(snapshot);
  keptLines_ = std::move(asideKeptLines_);
  asideKeptLines_.reset();
  SetAvailable(available);
}

void Undo::SetAvailable(bool available) {
  if (available_ == available) return;
  available_ = available;
  if (onAvailableChanged) onAvailableChanged(available);
}

}  // namespace beatloom
