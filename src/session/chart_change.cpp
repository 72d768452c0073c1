#include "session/chart_change.h"

#include <algorithm>

namespace beatloom {

namespace {

bool SameIgnoringSelection(const TBmsObject& a, const TBmsObject& b) {
  return a.Lane == b.Lane && a.Pos == b.Pos && a.Value == b.Value && a.Hidden == b.Hidden && a.Defined == b.Defined &&
         a.OffNum == b.OffNum && a.OffDen == b.OffDen && a.Long == b.Long && a.EndPos == b.EndPos &&
         a.EndOffNum == b.EndOffNum && a.EndOffDen == b.EndOffDen && a.EndValue == b.EndValue;
}

// Keeps the selection flag the object has now.
void PutBack(TBmsObject& slot, const TBmsObject& record) {
  const uint8_t selected = slot.Selected;
  slot = record;
  slot.Selected = selected;
}

template <class List>
std::optional<SpliceDelta<typename List::value_type>> Splice(const List& before, const List& after) {
  const size_t common = std::min(before.size(), after.size());
  size_t head = 0;
  while (head < common && before[head] == after[head]) ++head;
  if (head == before.size() && head == after.size()) return std::nullopt;
  size_t tail = 0;
  while (tail < common - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) ++tail;
  SpliceDelta<typename List::value_type> d;
  d.at = head;
  d.before.assign(before.begin() + static_cast<std::ptrdiff_t>(head), before.end() - static_cast<std::ptrdiff_t>(tail));
  d.after.assign(after.begin() + static_cast<std::ptrdiff_t>(head), after.end() - static_cast<std::ptrdiff_t>(tail));
  return d;
}

// Replaces what stands at d.at (from) by to.
template <class T>
void Replace(std::vector<T>& list, size_t at, const std::vector<T>& from, const std::vector<T>& to) {
  const auto first = list.begin() + static_cast<std::ptrdiff_t>(at);
  list.erase(first, first + static_cast<std::ptrdiff_t>(from.size()));
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), to.begin(), to.end());
}

template <class T, size_t N>
void Replace(std::array<T, N>& list, size_t at, const std::vector<T>&, const std::vector<T>& to) {
  std::copy(to.begin(), to.end(), list.begin() + static_cast<std::ptrdiff_t>(at));
}

template <class List, class T>
void RedoSplice(List& list, const std::optional<SpliceDelta<T>>& d) {
  if (d) Replace(list, d->at, d->before, d->after);
}

template <class List, class T>
void UndoSplice(List& list, const std::optional<SpliceDelta<T>>& d) {
  if (d) Replace(list, d->at, d->after, d->before);
}

size_t StringBytes(const std::vector<std::string>& list) {
  size_t bytes = list.size() * sizeof(std::string);
  for (const std::string& s : list) bytes += s.capacity() > 15 ? s.capacity() : 0;
  return bytes;
}

template <class T>
size_t SpliceBytes(const std::optional<SpliceDelta<T>>& d) {
  if (!d) return 0;
  if constexpr (std::is_same_v<T, std::string>) return StringBytes(d->before) + StringBytes(d->after);
  return (d->before.size() + d->after.size()) * sizeof(T);
}

}  // namespace

void ObjectDelta::Redo(std::vector<TBmsObject>& objects) const {
  if (!removed.empty()) {
    // One pass keeps a large removal linear.
    size_t out = removed.front().index;
    size_t next = 0;
    for (size_t i = out; i < objects.size(); ++i) {
      if (next < removed.size() && removed[next].index == i) {
        ++next;
        continue;
      }
      objects[out++] = objects[i];
    }
    objects.resize(out);
  }
  for (const Modified& m : modified) PutBack(objects[m.index], m.after);
  objects.insert(objects.end(), appended.begin(), appended.end());
}

void ObjectDelta::Undo(std::vector<TBmsObject>& objects) const {
  objects.resize(objects.size() - appended.size());
  for (const Modified& m : modified) PutBack(objects[m.index], m.before);
  if (removed.empty()) return;
  if (removed.size() == 1) {
    objects.insert(objects.begin() + removed.front().index, removed.front().object);
    return;
  }
  // Walks from the back, so every survivor moves once.
  const size_t kept = objects.size();
  objects.resize(kept + removed.size());
  size_t from = kept;
  size_t to = objects.size();
  for (size_t r = removed.size(); r-- > 0;) {
    const size_t slot = removed[r].index;
    while (to > slot + 1) objects[--to] = objects[--from];
    objects[--to] = removed[r].object;
  }
}

size_t ObjectDelta::Bytes() const {
  return removed.capacity() * sizeof(Removed) + modified.capacity() * sizeof(Modified) +
         appended.capacity() * sizeof(TBmsObject);
}

ObjectDelta DiffObjects(const std::vector<TBmsObject>& before, const std::vector<TBmsObject>& after) {
  ObjectDelta inPlace;
  if (after.size() >= before.size()) {
    for (size_t i = 0; i < before.size(); ++i) {
      if (!SameIgnoringSelection(before[i], after[i]))
        inPlace.modified.push_back({static_cast<uint32_t>(i), before[i], after[i]});
    }
    inPlace.appended.assign(after.begin() + static_cast<std::ptrdiff_t>(before.size()), after.end());
    // Changed in place or appended only: nothing can be smaller.
    if (inPlace.modified.empty()) return inPlace;
  }
  ObjectDelta taken;
  size_t j = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    if (j < after.size() && SameIgnoringSelection(before[i], after[j])) {
      ++j;
      continue;
    }
    taken.removed.push_back({static_cast<uint32_t>(i), before[i]});
  }
  taken.appended.assign(after.begin() + static_cast<std::ptrdiff_t>(j), after.end());
  if (after.size() < before.size()) return taken;
  const size_t inPlaceCost = 2 * inPlace.modified.size() + inPlace.appended.size();
  return inPlaceCost <= taken.removed.size() + taken.appended.size() ? inPlace : taken;
}

void Renumbering::Apply(std::vector<TBmsObject>& objects, bool back) const {
  std::vector<uint16_t> table = forward;
  if (back) {
    // Values no old value became keep theirs.
    size_t size = table.size();
    for (const uint16_t v : forward) size = std::max<size_t>(size, size_t{v} + 1);
    table.resize(size);
    for (size_t v = 0; v < size; ++v) table[v] = static_cast<uint16_t>(v);
    for (size_t v = 0; v < forward.size(); ++v) table[forward[v]] = static_cast<uint16_t>(v);
  }
  for (TBmsObject& o : objects) {
    if (!lanes[o.Lane]) continue;
    if (o.Value < table.size()) o.Value = table[o.Value];
    // The end cell of a long note names a sound too; an #LNOBJ end names
    // the index of the #LNOBJ line, which moves with it.
    if (IsLongNote(o) && o.EndValue < table.size()) o.EndValue = table[o.EndValue];
  }
}

bool ChartChange::Empty() const {
  return objects.Empty() && !header && !radix && !wav && !bmp && !mmemo && !mcom && !lengths && !bpmDefs && !stopDefs;
}

void ChartChange::Redo(Document& doc) const {
  if (radix) doc.indices = DefinitionIndex(radix->second);
  if (header) doc.header = header->second;
  RedoSplice(doc.wav, wav);
  RedoSplice(doc.bmp, bmp);
  RedoSplice(doc.bpmDefs, bpmDefs);
  RedoSplice(doc.stopDefs, stopDefs);
  RedoSplice(doc.mmemo, mmemo);
  RedoSplice(doc.mcom, mcom);
  RedoSplice(doc.MeasureLen, lengths);
  objects.Redo(doc.ObjList);
}

void ChartChange::Undo(Document& doc) const {
  objects.Undo(doc.ObjList);
  UndoSplice(doc.MeasureLen, lengths);
  UndoSplice(doc.mcom, mcom);
  UndoSplice(doc.mmemo, mmemo);
  UndoSplice(doc.stopDefs, stopDefs);
  UndoSplice(doc.bpmDefs, bpmDefs);
  UndoSplice(doc.bmp, bmp);
  UndoSplice(doc.wav, wav);
  if (header) doc.header = header->first;
  if (radix) doc.indices = DefinitionIndex(radix->first);
}

size_t ChartChange::Bytes() const {
  size_t bytes = sizeof(ChartChange) + objects.Bytes();
  if (header) bytes += sizeof(HeaderFields) * 2;
  for (const Renumbering& r : renumbered) bytes += sizeof(Renumbering) + r.forward.capacity() * sizeof(uint16_t);
  return bytes + SpliceBytes(wav) + SpliceBytes(bmp) + SpliceBytes(mmemo) + SpliceBytes(mcom) + SpliceBytes(lengths) +
         SpliceBytes(bpmDefs) + SpliceBytes(stopDefs);
}

ChangeRecorder::ChangeRecorder(const Document& doc, Objects objects, unsigned parts)
    : objects_(objects), sizeBefore_(doc.ObjList.size()), parts_(parts) {
  if (objects != Objects::Untouched || (parts & kPartDefinitions)) parts_ |= kPartTimingDefinitions;
  if (parts_ & kPartTimingDefinitions) {
    bpmDefs_ = doc.bpmDefs;
    stopDefs_ = doc.stopDefs;
  }
  if (objects == Objects::Compared) objectsBefore_ = doc.ObjList;
  if (parts & kPartHeader) header_ = doc.header;
  if (parts & kPartDefinitions) {
    radix_ = doc.indices.Radix();
    wav_ = doc.wav;
    bmp_ = doc.bmp;
  }
  if (parts & kPartMemo) mmemo_ = doc.mmemo;
  if (parts & kPartKeptLines) mcom_ = doc.mcom;
  if (parts & kPartLengths) lengths_ = doc.MeasureLen;
}

ChartChange ChangeRecorder::Finish(const Document& doc, std::vector<ObjectDelta::Removed> removed) {
  ChartChange change;
  switch (objects_) {
    case Objects::Untouched:
      break;
    case Objects::Appended: {
      const size_t kept = sizeBefore_ - removed.size();
      change.objects.removed = std::move(removed);
      change.objects.appended.assign(doc.ObjList.begin() + static_cast<std::ptrdiff_t>(kept), doc.ObjList.end());
      break;
    }
    case Objects::Compared:
      change.objects = DiffObjects(objectsBefore_, doc.ObjList);
      break;
  }
  if ((parts_ & kPartHeader) && !(header_ == doc.header)) change.header.emplace(std::move(header_), doc.header);
  if (parts_ & kPartDefinitions) {
    if (radix_ != doc.indices.Radix()) change.radix.emplace(radix_, doc.indices.Radix());
    change.wav = Splice(wav_, doc.wav);
    change.bmp = Splice(bmp_, doc.bmp);
  }
  if (parts_ & kPartTimingDefinitions) {
    change.bpmDefs = Splice(bpmDefs_, doc.bpmDefs);
    change.stopDefs = Splice(stopDefs_, doc.stopDefs);
  }
  if (parts_ & kPartMemo) change.mmemo = Splice(mmemo_, doc.mmemo);
  if (parts_ & kPartKeptLines) change.mcom = Splice(mcom_, doc.mcom);
  if (parts_ & kPartLengths) change.lengths = Splice(lengths_, doc.MeasureLen);
  return change;
}

}  // namespace beatloom
