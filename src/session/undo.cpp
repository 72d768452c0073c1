#include "session/undo.h"

#include <utility>

namespace beatloom {

bool Undo::TakeSnapshot() {
  if (doc_.ObjList.empty()) return false;
  doc_.UndoList = doc_.ObjList;
  asideRiders_ = std::move(riders_);
  riders_ = {};
  SetAvailable(true);
  return true;
}

bool Undo::Restore() {
  if (!available_) return false;
  SetAvailable(false);
  doc_.ObjList = doc_.UndoList;
  if (riders_.lines) doc_.mcom = std::move(*riders_.lines);
  if (riders_.lengths) doc_.MeasureLen = *riders_.lengths;
  riders_ = {};
  doc_.Modified = true;
  return true;
}

void Undo::Disable() {
  riders_ = {};
  SetAvailable(false);
}

void Undo::Reinstate(std::vector<TBmsObject> snapshot, bool available) {
  doc_.UndoList = std::move(snapshot);
  riders_ = std::move(asideRiders_);
  asideRiders_ = {};
  SetAvailable(available);
}

void Undo::SetAvailable(bool available) {
  if (available_ == available) return;
  available_ = available;
  if (onAvailableChanged) onAvailableChanged(available);
}

}  // namespace beatloom
