#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "audio/play_events.h"
#include "audio/sound_bank.h"

namespace beatloom {

// What a play mixes: the chart's events and the sounds they name (by
// definition index; null sounds are silent), heard from startFrame on.
// Events at or after endFrame start nothing.
struct MixProgram {
  std::vector<PlayEvent> events;
  std::vector<std::shared_ptr<const DecodedSound>> sounds;
  int64_t startFrame = 0;
  int64_t endFrame = std::numeric_limits<int64_t>::max();
};

// Hands items from the thread that controls playback to the thread that
// renders, without a lock or an allocation on the rendering side. The control
// side keeps every item it published alive until the rendering side has
// moved past it, and frees it at its next Publish.
template <class T>
class Handoff {
 public:
  Handoff() = default;
  Handoff(const Handoff&) = delete;
  Handoff& operator=(const Handoff&) = delete;
  ~Handoff() {
    for (Slot* slot : kept_) delete slot;
  }

  // Control side.
  void Publish(std::shared_ptr<const T> item) {
    const uint64_t taken = taken_.load(std::memory_order_acquire);
    std::erase_if(kept_, [taken](Slot* slot) {
      if (slot->seq >= taken) return false;
      delete slot;
      return true;
    });
    kept_.push_back(new Slot{std::move(item), ++published_});
    latest_.store(kept_.back(), std::memory_order_release);
  }

  // Rendering side: the newest item when one came since the last call, else
  // null.
  const T* TakeNew() {
    const Slot* slot = latest_.load(std::memory_order_acquire);
    if (!slot || slot->seq == takenHere_) return nullptr;
    takenHere_ = slot->seq;
    taken_.store(slot->seq, std::memory_order_release);
    return slot->item.get();
  }

 private:
  struct Slot {
    std::shared_ptr<const T> item;
    uint64_t seq = 0;
  };
  std::vector<Slot*> kept_;
  uint64_t published_ = 0;
  std::atomic<Slot*> latest_{nullptr};
  std::atomic<uint64_t> taken_{0};
  uint64_t takenHere_ = 0;
};

// Mixes a chart's sounds into stereo float frames. One thread controls it
// (Start, Stop, Preview), one renders (Render); Render never allocates, locks
// or touches a file, so it may run in an audio callback.
//
// A sound started again cuts its earlier playing, as players do: each
// definition has one voice. A note heard alone (Preview) has a voice of its
// own beside the chart's.
//
// Against clipping a peak limiter with instant attack and a slow release acts
// on both channels alike: nothing below full scale is touched, and a peak
// above it lowers the whole mix for a moment, so the balance between sounds
// and channels stays that of the chart.
class Mixer {
 public:
  // voices: one more than the highest definition index a program may name.
  explicit Mixer(int rate, size_t voices = 62 * 62);

  int Rate() const { return rate_; }

  // Control side. Start cuts everything the chart was playing.
  void Start(std::shared_ptr<const MixProgram> program);
  void Stop();
  void Preview(std::shared_ptr<const DecodedSound> sound, float gain);

  // Rendering side: writes frames stereo frames (2 * frames floats) to out.
  void Render(float* out, size_t frames);

  // The chart frame rendered up to, and whether the program has played out
  // (nothing left to start, nothing sounding); both may be read anywhere.
  int64_t Position() const { return position_.load(std::memory_order_acquire); }
  bool Finished() const { return finished_.load(std::memory_order_acquire); }

 private:
  struct Voice {
    const DecodedSound* sound = nullptr;
    size_t at = 0;  // next frame of the sound
    float gain = 1.0f;
  };
  struct PreviewNote {
    std::shared_ptr<const DecodedSound> sound;
    float gain = 1.0f;
  };
  void TakeCommands();
  void StartEvent(const PlayEvent& event);
  static bool MixVoice(Voice& voice, float* out, size_t frames);
  void Limit(float* out, size_t frames);

  int rate_;
  Handoff<MixProgram> programs_;
  Handoff<PreviewNote> previews_;

  // Rendering side only.
  const MixProgram* program_ = nullptr;
  size_t nextEvent_ = 0;
  int64_t at_ = 0;
  std::vector<Voice> voices_;
  std::vector<int> sounding_;  // indices into voices_, capacity for all
  Voice preview_;
  float limiterGain_ = 1.0f;
  float release_ = 0;

  std::atomic<int64_t> position_{0};
  std::atomic<bool> finished_{true};
};

}  // namespace beatloom
