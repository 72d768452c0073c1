#include "audio/play_events.h"

#include <algorithm>
#include <cmath>

#include "model/text_scan.h"

namespace beatloom {

namespace {

constexpr int kFirstKeyLane = 1;
constexpr int kLastKeyLane = 18;  // the free scratch of player 2

}  // namespace

bool SoundsInPlay(const TBmsObject& o) {
  if (IsBgmLane(o.Lane)) return true;
  return o.Lane >= kFirstKeyLane && o.Lane <= kLastKeyLane && !o.Hidden;
}

float VolWavGain(const Document& doc) {
  double percent = 0;
  if (!ParseDecimalNumber(doc.header.e_volwav, percent) || !std::isfinite(percent)) return 1.0f;
  return static_cast<float>(std::max(percent, 0.0) / 100.0);
}

int64_t FrameAt(double seconds, int rate) { return std::llround(seconds * rate); }

std::vector<PlayEvent> BuildPlayEvents(const Document& doc, const ChartTiming& timing, int rate) {
  const float gain = VolWavGain(doc);
  std::vector<PlayEvent> events;
  events.reserve(doc.ObjList.size());
  for (const TBmsObject& o : doc.ObjList) {
    // A note sounds where it starts, at its exact place; a long note's end
    // (kept in its start) starts nothing, as in a player's autoplay.
    if (!SoundsInPlay(o) || o.Pos < 0 || o.Pos >= timing.FiniteBefore()) continue;
    const double seconds = timing.SecondsAt(o);
    if (!std::isfinite(seconds) || seconds * rate > 9e18) continue;
    events.push_back({FrameAt(seconds, rate), o.Value, gain});
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const PlayEvent& a, const PlayEvent& b) { return a.frame < b.frame; });
  return events;
}

}  // namespace beatloom
