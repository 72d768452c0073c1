#pragma once

#include <string>
#include <vector>

namespace beatloom {

// A stereo 16-bit PCM WAV file of the given frames (left, right, ...; full
// scale at 1.0, beyond it clamped), rounded to the nearest step: the same
// samples always give the same bytes.
std::string EncodeWav16(const std::vector<float>& stereo, int rate);

}  // namespace beatloom
