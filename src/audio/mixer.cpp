#include "audio/mixer.h"

#include <algorithm>
#include <cmath>

namespace beatloom {

namespace {

// How long the limiter takes to give back most of a gain reduction.
constexpr double kReleaseSeconds = 0.2;
// The loudest sample the output may hold.
constexpr float kCeiling = 1.0f;

}  // namespace

Mixer::Mixer(int rate, size_t voices)
    : rate_(rate),
      voices_(voices),
      release_(static_cast<float>(1.0 - std::exp(-1.0 / (kReleaseSeconds * std::max(rate, 1))))) {
  sounding_.reserve(voices);
}

void Mixer::Start(std::shared_ptr<const MixProgram> program) { programs_.Publish(std::move(program)); }

void Mixer::Stop() { programs_.Publish(std::make_shared<const MixProgram>()); }

void Mixer::Preview(std::shared_ptr<const DecodedSound> sound, float gain) {
  previews_.Publish(std::make_shared<const PreviewNote>(PreviewNote{std::move(sound), gain}));
}

void Mixer::TakeCommands() {
  if (const MixProgram* program = programs_.TakeNew()) {
    for (const int v : sounding_) voices_[static_cast<size_t>(v)].sound = nullptr;
    sounding_.clear();
    program_ = program;
    at_ = program->startFrame;
    nextEvent_ =
        static_cast<size_t>(std::lower_bound(program->events.begin(), program->events.end(), at_,
                                             [](const PlayEvent& e, int64_t frame) { return e.frame < frame; }) -
                            program->events.begin());
  }
  if (const PreviewNote* note = previews_.TakeNew()) preview_ = {note->sound.get(), 0, note->gain};
}

void Mixer::StartEvent(const PlayEvent& event) {
  const size_t index = static_cast<size_t>(event.sound);
  if (event.sound < 0 || index >= voices_.size() || index >= program_->sounds.size()) return;
  const DecodedSound* sound = program_->sounds[index].get();
  if (!sound || sound->FrameCount() == 0) return;
  Voice& voice = voices_[index];
  // Cutting the earlier playing is just starting over on the same voice.
  if (!voice.sound) sounding_.push_back(event.sound);
  voice = {sound, 0, event.gain};
}

bool Mixer::MixVoice(Voice& voice, float* out, size_t frames) {
  const size_t n = std::min(frames, voice.sound->FrameCount() - voice.at);
  const float* in = voice.sound->samples.data() + voice.at * 2;
  const float gain = voice.gain;
  for (size_t k = 0; k < n * 2; ++k) out[k] += in[k] * gain;
  voice.at += n;
  if (voice.at < voice.sound->FrameCount()) return true;
  voice.sound = nullptr;
  return false;
}

void Mixer::Render(float* out, size_t frames) {
  TakeCommands();
  std::fill(out, out + frames * 2, 0.0f);
  size_t done = 0;
  while (done < frames) {
    size_t span = frames - done;
    if (program_) {
      const std::vector<PlayEvent>& events = program_->events;
      while (nextEvent_ < events.size() && events[nextEvent_].frame <= at_ &&
             events[nextEvent_].frame < program_->endFrame)
        StartEvent(events[nextEvent_++]);
      if (nextEvent_ < events.size() && events[nextEvent_].frame < program_->endFrame)
        span = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(span), events[nextEvent_].frame - at_));
    }
    float* block = out + done * 2;
    for (size_t k = 0; k < sounding_.size();) {
      if (MixVoice(voices_[static_cast<size_t>(sounding_[k])], block, span)) {
        ++k;
      } else {
        sounding_[k] = sounding_.back();
        sounding_.pop_back();
      }
    }
    if (preview_.sound) MixVoice(preview_, block, span);
    done += span;
    at_ += static_cast<int64_t>(span);
  }
  Limit(out, frames);
  const bool eventsLeft =
      program_ && nextEvent_ < program_->events.size() && program_->events[nextEvent_].frame < program_->endFrame;
  position_.store(at_, std::memory_order_release);
  finished_.store(!eventsLeft && sounding_.empty(), std::memory_order_release);
}

void Mixer::Limit(float* out, size_t frames) {
  float gain = limiterGain_;
  for (size_t f = 0; f < frames; ++f) {
    float& left = out[f * 2];
    float& right = out[f * 2 + 1];
    const float peak = std::max(std::fabs(left), std::fabs(right));
    if (peak * gain > kCeiling) gain = kCeiling / peak;
    left *= gain;
    right *= gain;
    gain += (1.0f - gain) * release_;
  }
  limiterGain_ = gain;
}

}  // namespace beatloom
