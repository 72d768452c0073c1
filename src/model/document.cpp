#include "model/document.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

namespace beatloom {

const std::vector<HeaderFieldRef>& HeaderTextFields() {
  static const std::vector<HeaderFieldRef> fields = {
      {"e_genre", &HeaderFields::e_genre},
      {"e_title", &HeaderFields::e_title},
      {"e_art", &HeaderFields::e_art},
      {"e_bpm", &HeaderFields::e_bpm},
      {"e_level", &HeaderFields::e_level},
      {"e_midif", &HeaderFields::e_midif},
      {"e_total", &HeaderFields::e_total},
      {"e_volwav", &HeaderFields::e_volwav},
      {"E_Stagefile", &HeaderFields::E_Stagefile},
      {"E_Email", &HeaderFields::E_Email},
      {"E_URL", &HeaderFields::E_URL},
      {"e_subtitle", &HeaderFields::e_subtitle},
      {"e_difficulty", &HeaderFields::e_difficulty},
      {"e_banner", &HeaderFields::e_banner},
      {"e_backbmp", &HeaderFields::e_backbmp},
      {"e_preview", &HeaderFields::e_preview},
      {"e_lntype", &HeaderFields::e_lntype},
  };
  return fields;
}

const std::vector<OptionalHeaderRef>& OptionalHeaders() {
  static const std::vector<OptionalHeaderRef> lines = {
      {OptionalHeader::Subtitle, "#SUBTITLE", &HeaderFields::e_subtitle},
      {OptionalHeader::Subartist, "#SUBARTIST", nullptr},
      {OptionalHeader::Difficulty, "#DIFFICULTY", &HeaderFields::e_difficulty},
      {OptionalHeader::Banner, "#BANNER", &HeaderFields::e_banner},
      {OptionalHeader::Backbmp, "#BACKBMP", &HeaderFields::e_backbmp},
      {OptionalHeader::Preview, "#PREVIEW", &HeaderFields::e_preview},
      {OptionalHeader::Lntype, "#LNTYPE", &HeaderFields::e_lntype},
  };
  return lines;
}

Document::Document() { ResetDocument(); }

int Document::NextBgmLaneAt(int pos) const {
  // Lands above the highest background lane met at that position; gaps
  // below it are not filled. The 28 numbered lanes come first,
  // then the lanes after the stop lane.
  int index = 0;
  for (const TBmsObject& o : ObjList) {
    if (o.Pos == pos && IsBgmLane(o.Lane)) index = std::max(index, BgmIndexOf(o.Lane) + 1);
  }
  return index >= BgmLaneLimit ? -1 : BgmLaneAt(index);
}

int BgmLaneCountOf(const Document& doc) {
  int count = FixedBgmLaneCount;
  for (const TBmsObject& o : doc.ObjList)
    if (o.Lane >= FirstExtraBgmLane) count = std::max(count, BgmIndexOf(o.Lane) + 1);
  return count;
}

int Document::AddObject(int lane, int pos, int value) {
  if (value == 0) return ObjLast();
  if (lane == AnyBgmLane) {
    lane = NextBgmLaneAt(pos);
    if (lane < 0) return ObjLast();
  }
  TBmsObject o;
  o.Lane = static_cast<uint8_t>(lane);
  o.Pos = pos;
  o.Value = static_cast<uint16_t>(value);
  o.Hidden = 0;
  o.Selected = SelectAddedObjects ? 1 : 0;
  ObjList.push_back(o);
  const long long reach = -(static_cast<long long>(pos) + 3072);
  if (reach < ScrollMin) ScrollMin = static_cast<int>(std::max<long long>(reach, INT32_MIN));
  return ObjLast();
}

void Document::DeleteObject(int index) {
  if (index < 0 || index > ObjLast()) return;
  ObjList.erase(ObjList.begin() + index);
}

uint64_t SlotKey(const TBmsObject& o, int32_t pos) {
  // On a key lane a hidden note lives on a channel of its own, so a visible
  // and a hidden note at one tick are two objects; elsewhere the hidden mark
  // is not written and the two would share a cell.
  const bool hidden = o.Hidden && o.Lane >= FirstKeyLane && o.Lane <= LastKeyLane;
  // So does a note on the long-note channels.
  const bool longChannel = OnLongChannel(o) && o.Lane >= FirstKeyLane && o.Lane <= LastKeyLane;
  // A tempo written as channel 03 and one written as channel 08 on one tick
  // are two cells of the file; players take the second.
  const bool defined = o.Defined && o.Lane == TempoLane;
  return (static_cast<uint64_t>(longChannel) << 42) | (static_cast<uint64_t>(defined) << 41) | (static_cast<uint64_t>(hidden) << 40) | (static_cast<uint64_t>(o.Lane) << 32) | static_cast<uint32_t>(pos);
}

ExactSlot ExactSlotOf(const TBmsObject& o) {
  return {SlotKey(o, o.Pos), static_cast<uint64_t>(o.OffNum) << 32 | o.OffDen};
}

double ExactTicks(int32_t pos, uint32_t offNum, uint32_t offDen) {
  return static_cast<double>(pos) + static_cast<double>(offNum) / static_cast<double>(offDen);
}

double ExactTicks(const TBmsObject& o) { return ExactTicks(o.Pos, o.OffNum, o.OffDen); }

bool OnGrid(const TBmsObject& o) { return o.OffNum == 0; }

void ClearOffset(TBmsObject& o) {
  o.OffNum = 0;
  o.OffDen = 1;
}

void SetOffset(TBmsObject& o, uint64_t num, uint64_t den) {
  const uint64_t g = num == 0 ? den : std::gcd(num, den);
  o.OffNum = static_cast<uint32_t>(num / g);
  o.OffDen = static_cast<uint32_t>(den / g);
}

bool ExactlyBefore(const TBmsObject& a, const TBmsObject& b) {
  if (a.Pos != b.Pos) return a.Pos < b.Pos;
  return uint64_t{a.OffNum} * b.OffDen < uint64_t{b.OffNum} * a.OffDen;
}

bool IsLongNote(const TBmsObject& o) { return o.Long == LongByChannel || o.Long == LongByLnObj; }

double EndTicks(const TBmsObject& o) { return ExactTicks(o.EndPos, o.EndOffNum, o.EndOffDen); }

bool EndsAfterStart(const TBmsObject& o) {
  if (o.Pos != o.EndPos) return o.Pos < o.EndPos;
  return uint64_t{o.OffNum} * o.EndOffDen < uint64_t{o.EndOffNum} * o.OffDen;
}

void SetEnd(TBmsObject& o, const TBmsObject& from) {
  o.EndPos = from.Pos;
  o.EndOffNum = from.OffNum;
  o.EndOffDen = from.OffDen;
}

void ClearLong(TBmsObject& o) {
  o.Long = PlainNote;
  o.EndPos = 0;
  o.EndOffNum = 0;
  o.EndOffDen = 1;
  o.EndValue = 0;
}

bool OnLongChannel(const TBmsObject& o) { return o.Long == LongByChannel || o.Long == UnpairedStart; }

namespace {

struct ExactSlotHash {
  size_t operator()(const ExactSlot& s) const { return std::hash<uint64_t>()(s.grid * 0x9E3779B97F4A7C15ull ^ s.offset); }
};

}  // namespace

void Document::RemoveDuplicates() {
  if (ObjList.size() < 2) return;
  // Walking from the back, the first object met for a slot is the one that
  // stands last: it survives, every earlier one goes. An object on a tick
  // and one off it never share a place, so the few off the grid keep a set
  // of their own and the many on it cost what they always did.
  std::unordered_set<uint64_t> seen;
  seen.reserve(ObjList.size() * 2);
  std::unordered_set<ExactSlot, ExactSlotHash> seenOff;
  std::vector<char> keep(ObjList.size(), 0);
  for (size_t i = ObjList.size(); i-- > 0;) {
    const TBmsObject& o = ObjList[i];
    // Stops on one place add up, and of tempo changes on one place players
    // take the last: none is a copy of another, and dropping one would
    // change what a player reads.
    if (o.Lane == StopLane || o.Lane == TempoLane) {
      keep[i] = 1;
      continue;
    }
    const bool first = OnGrid(o) ? seen.insert(SlotKey(o, o.Pos)).second : seenOff.insert(ExactSlotOf(o)).second;
    keep[i] = first ? 1 : 0;
  }
  size_t out = 0;
  for (size_t i = 0; i < ObjList.size(); ++i) {
    if (keep[i]) ObjList[out++] = ObjList[i];
  }
  ObjList.resize(out);
}

void Document::ResetDocument() {
  MeasureLen.fill(1.0);
  ObjList.clear();
  header = HeaderFields{};
  header.E_Email = DefaultEmail;
  header.E_URL = DefaultURL;
  mcom.clear();
  mmemo.clear();
  indices = DefinitionIndex();
  wav.assign(static_cast<size_t>(indices.WavSlots()), std::string());
  bmp.assign(static_cast<size_t>(indices.BmpSlots()), std::string());
  bpmDefs.assign(static_cast<size_t>(indices.WavSlots()), std::string());
  stopDefs.assign(static_cast<size_t>(indices.WavSlots()), std::string());
  ScrollMin = InitialScrollMin;
  IfDepth = 0;
  encoding = TextEncoding::Cp932;
  hasBom = false;
}

int MapChannel(int channel) {
  switch (channel) {
    case 16: case 26: case 36: case 46: return channel + 2;
    case 18: case 28: case 38: case 48: return channel - 2;
    case 17: case 27: case 37: case 47: return channel + 2;
    case 19: case 29: case 39: case 49: return channel - 2;
    default: return channel;
  }
}

}  // namespace beatloom
