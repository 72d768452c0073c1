#include "edit/undo.h"

#include <utility>

namespace beatloom {

bool Undo::TakeSnapshot() {
  if (doc_.ObjList.empty()) return false;
  doc_.UndoList = doc_.ObjList;
  SetAvailable(true);
  return true;
}

bool Undo::Restore() {
  if (!available_) return false;
  SetAvailable(false);
  doc_.ObjList = doc_.UndoList;
  doc_.Modified = true;
  return true;
}

void Undo::Disable() { SetAvailable(false); }

void Undo::Reinstate(std::vector<TBmsObject> snapshot, bool available) {
  doc_.UndoList = std::move(snapshot);
  SetAvailable(available);
}

void Undo::SetAvailable(bool available) {
  if (available_ == available) return;
  available_ = available;
  if (onAvailableChanged) onAvailableChanged(available);
}

}  // namespace beatloom
