#include "audio/wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace beatloom {

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int b = 0; b < bytes; ++b) out.push_back(static_cast<char>((value >> (8 * b)) & 0xFF));
}

}  // namespace

std::string EncodeWav16(const std::vector<float>& stereo, int rate) {
  constexpr uint32_t kChannels = 2;
  constexpr uint32_t kBytesPerSample = 2;
  const uint32_t dataBytes = static_cast<uint32_t>(stereo.size() * kBytesPerSample);
  std::string out;
  out.reserve(44 + dataBytes);
  out += "RIFF";
  PutLe(out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, kChannels, 2);
  PutLe(out, static_cast<uint32_t>(rate), 4);
  PutLe(out, static_cast<uint32_t>(rate) * kChannels * kBytesPerSample, 4);
  PutLe(out, kChannels * kBytesPerSample, 2);
  PutLe(out, 8 * kBytesPerSample, 2);
  out += "data";
  PutLe(out, dataBytes, 4);
  for (const float sample : stereo) {
    const float clamped = std::isnan(sample) ? 0.0f : std::clamp(sample, -1.0f, 1.0f);
    const auto value = static_cast<int16_t>(std::lround(clamped * 32767.0f));
    PutLe(out, static_cast<uint16_t>(value), 2);
  }
  return out;
}

}  // namespace beatloom
