// Playback on a real-sized generated chart: 3 minutes at 150 BPM (113
// measures), 1 000 sounds of 0.1-1.0 s and 3 000 notes (a third of them
// background). Render mixes it once decoded, on one core; Decode reads every
// sound file on every core (and on one, to compare); StartToFirstSamples is
// what "play from the shown position" does once the sounds are held, up to
// the first buffer the sound device takes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "audio/chart_render.h"
#include "audio/wav_writer.h"
#include "model/file_io.h"

namespace beatloom {
namespace {

constexpr int kRate = 44100;
constexpr int kSounds = 1000;
constexpr int kNotes = 3000;
constexpr int kMeasures = 113;

// The folder of sounds is written once per run of the program.
const std::string& SoundFolder() {
  static const std::string folder = [] {
    std::string path = (std::filesystem::temp_directory_path() / "beatloom-audio-bench-XXXXXX").string();
    if (!mkdtemp(path.data())) std::abort();
    for (int k = 1; k <= kSounds; ++k) {
      std::vector<float> stereo(static_cast<size_t>(kRate * (0.1 + (k % 10) * 0.1)) * 2);
      for (size_t f = 0; f < stereo.size() / 2; ++f)
        stereo[2 * f] = stereo[2 * f + 1] = 0.2f * static_cast<float>(std::sin(0.01 * k * static_cast<double>(f)));
      std::string reason;
      if (!WriteFileAtomically(path + "/s" + std::to_string(k) + ".wav", EncodeWav16(stereo, kRate), &reason))
        std::abort();
    }
    return path;
  }();
  return folder;
}

Document Chart() {
  Document d;
  d.indices = DefinitionIndex(DefinitionIndex::Base36);
  d.wav.assign(static_cast<size_t>(d.indices.WavSlots()), std::string());
  d.header.e_bpm = "150";
  for (int k = 1; k <= kSounds; ++k) d.wav[static_cast<size_t>(k)] = "s" + std::to_string(k) + ".wav";
  std::mt19937 rng(1357);
  for (int n = 0; n < kNotes; ++n) {
    const int lane = n % 3 == 0 ? AnyBgmLane : 1 + static_cast<int>(rng() % 7);
    const int pos = static_cast<int>(rng() % kMeasures) * TicksPerMeasure + static_cast<int>(rng() % 16) * 12;
    d.AddObject(lane, pos, 1 + static_cast<int>(rng() % kSounds));
  }
  return d;
}

void BM_Render(benchmark::State& state) {
  const Document d = Chart();
  SoundBank bank(kRate);
  std::vector<std::string> problems;
  const auto program = MakeMixProgram(d, SoundFolder(), {}, bank, problems);
  size_t frames = 0;
  for (auto _ : state) {
    const std::vector<float> out = RenderProgram(program, kRate);
    frames = out.size() / 2;
    benchmark::DoNotOptimize(out.data());
  }
  // How many seconds of the chart one second of rendering mixes.
  state.counters["realtime_x"] = benchmark::Counter(static_cast<double>(frames) / kRate * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Render)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Decode(benchmark::State& state) {
  const Document d = Chart();
  const std::vector<SoundSource> sources = FindChartSounds(d, SoundFolder());
  for (auto _ : state) {
    SoundBank bank(48000);  // every sound converted to another rate, as a device may ask
    std::vector<std::string> problems;
    benchmark::DoNotOptimize(bank.Load(sources, problems, nullptr, static_cast<unsigned>(state.range(0))));
  }
  state.counters["threads"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_Decode)
    ->Arg(1)
    ->Arg(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())))
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()  // the CPU column counts every thread
    ->UseRealTime();

void BM_StartToFirstSamples(benchmark::State& state) {
  const Document d = Chart();
  SoundBank bank(kRate);
  std::vector<std::string> problems;
  MakeMixProgram(d, SoundFolder(), {}, bank, problems);
  Mixer mixer(kRate);
  std::vector<float> buffer(2 * kRate * 60 / 1000);  // the device's 60 ms buffer
  for (auto _ : state) {
    mixer.Start(MakeMixProgram(d, SoundFolder(), {50, -1}, bank, problems));
    mixer.Render(buffer.data(), buffer.size() / 2);
    benchmark::DoNotOptimize(buffer.data());
  }
}
BENCHMARK(BM_StartToFirstSamples)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
