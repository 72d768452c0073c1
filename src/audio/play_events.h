#pragma once

#include <cstdint>
#include <vector>

#include "analysis/chart_timing.h"
#include "model/document.h"

namespace beatloom {

// One sound starting: at frame (counted from the start of measure 000 at the
// output rate), definition index sound, at gain.
struct PlayEvent {
  int64_t frame = 0;
  int sound = 0;
  float gain = 1.0f;
};

// Whether an object starts its sound when the chart plays: the visible notes
// of both players and the background sounds. Hidden notes stay silent, as in
// a player's autoplay; tempo and image lanes have no sound.
bool SoundsInPlay(const TBmsObject& o);

// The chart's #VOLWAV as a gain (100 is 1.0); 1.0 when the field holds no
// number, never below 0.
float VolWavGain(const Document& doc);

// The frame at which a time in seconds falls.
int64_t FrameAt(double seconds, int rate);

// Every sounding object as an event at its time, ordered by frame (objects on
// one frame in list order, so the later one of a definition cuts the
// earlier). Objects whose time does not fit (see ChartTiming::FiniteBefore)
// are left out.
std::vector<PlayEvent> BuildPlayEvents(const Document& doc, const ChartTiming& timing, int rate);

}  // namespace beatloom
