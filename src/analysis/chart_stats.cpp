#include "analysis/chart_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>

namespace beatloom {

namespace {

constexpr int kLastKeyLane = 18;

bool IsScratch(int lane) { return lane == 8 || lane == 9 || lane == 17 || lane == 18; }

bool IsNote(NoteGroup g) { return g == NoteGroup::Player1 || g == NoteGroup::Player2 || g == NoteGroup::Scratch; }

// Indices of the objects a save keeps: the last of each lane and exact place.
std::vector<uint32_t> Survivors(const std::vector<TBmsObject>& objects) {
  struct Keyed {
    uint64_t slot;    // tick and lane
    uint64_t offset;  // the fraction of a tick
    uint32_t index;
    bool operator<(const Keyed& o) const { return std::tie(slot, offset, index) < std::tie(o.slot, o.offset, o.index); }
  };
  std::vector<Keyed> keyed;
  keyed.reserve(objects.size());
  for (size_t i = 0; i < objects.size(); ++i) {
    const uint64_t pos = static_cast<uint32_t>(objects[i].Pos) ^ 0x80000000u;  // order negatives first
    // A cell on a long-note channel shares no place with a note of its key.
    const uint64_t longChannel = OnLongChannel(objects[i]) ? uint64_t{1} << 40 : 0;
    keyed.push_back({longChannel | pos << 8 | objects[i].Lane, ExactSlotOf(objects[i]).offset, static_cast<uint32_t>(i)});
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<uint32_t> kept;
  kept.reserve(keyed.size());
  for (size_t i = 0; i < keyed.size(); ++i) {
    const bool last = i + 1 == keyed.size() || keyed[i + 1].slot != keyed[i].slot || keyed[i + 1].offset != keyed[i].offset;
    if (last) kept.push_back(keyed[i].index);
  }
  return kept;
}

}  // namespace

bool GroupOf(const TBmsObject& o, NoteGroup& group) {
  if (o.Lane == TempoLane || o.Lane == StopLane) return false;
  if (o.Lane <= kLastKeyLane && o.Hidden) {
    group = NoteGroup::Invisible;
  } else if (IsScratch(o.Lane)) {
    group = NoteGroup::Scratch;
  } else if (o.Lane < 10) {
    group = NoteGroup::Player1;
  } else if (o.Lane <= kLastKeyLane) {
    group = NoteGroup::Player2;
  } else {
    group = o.Lane < FirstBgmLane ? NoteGroup::Image : NoteGroup::Background;
  }
  return true;
}

ChartStats StatsOf(const Document& doc, const ChartTiming& timing) {
  ChartStats stats;
  std::vector<double> noteTimes;
  bool any = false;
  for (const uint32_t i : Survivors(doc.ObjList)) {
    const TBmsObject& o = doc.ObjList[i];
    NoteGroup group;
    if (!GroupOf(o, group)) continue;
    ++stats.groups[static_cast<size_t>(group)];
    const double seconds = timing.SecondsAt(o);
    const bool note = IsNote(group);
    if (note) ++stats.totalNotes;
    if (!std::isfinite(seconds)) continue;
    // A held note lasts to its end.
    double last = seconds;
    if (note && IsLongNote(o)) {
      ++stats.longNotes;
      const double end = timing.SecondsAtTicks(EndTicks(o));
      if (std::isfinite(end)) {
        stats.longNoteSeconds += std::max(end - seconds, 0.0);
        last = std::max(last, end);
      }
    }
    stats.lengthSeconds = any ? std::max(stats.lengthSeconds, last) : last;
    any = true;
    if (note) noteTimes.push_back(seconds);
  }
  stats.lengthSeconds = std::max(stats.lengthSeconds, 0.0);
  if (!any) return stats;
  // The second a note falls in; notes before the start count in the first.
  const auto second = [](double t) { return t > 0 ? std::floor(t) : 0.0; };
  // The fewest whole seconds per bin that keep the bins within bounds.
  constexpr auto kLastBin = static_cast<double>(kMaxDensityBins - 1);
  stats.densitySeconds = std::max(1.0, std::ceil(stats.lengthSeconds / kLastBin));
  const double lastBin = std::min(std::floor(stats.lengthSeconds / stats.densitySeconds), kLastBin);
  stats.density.assign(static_cast<size_t>(lastBin) + 1, 0);
  for (const double t : noteTimes)
    ++stats.density[static_cast<size_t>(std::min(std::floor(second(t) / stats.densitySeconds), lastBin))];
  if (stats.densitySeconds == 1) {
    stats.peakNotesPerSecond = *std::max_element(stats.density.begin(), stats.density.end());
  } else {
    // Wider bins: the fullest second is found among the sorted times.
    std::sort(noteTimes.begin(), noteTimes.end());
    for (size_t i = 0; i < noteTimes.size();) {
      size_t j = i + 1;
      while (j < noteTimes.size() && second(noteTimes[j]) == second(noteTimes[i])) ++j;
      stats.peakNotesPerSecond = std::max(stats.peakNotesPerSecond, static_cast<int>(j - i));
      i = j;
    }
  }
  if (stats.lengthSeconds > 0) stats.averageNotesPerSecond = static_cast<double>(noteTimes.size()) / stats.lengthSeconds;
  return stats;
}

}  // namespace beatloom
