// Compaction of the definition lists ("インデックスの詰め") on a base-62 chart
// whose 3843 sound rows hold a definition on every other row (1 921 gaps),
// named by 1 000 000 objects, clip records and kept data lines.
#include <benchmark/benchmark.h>

#include <string>

#include "edit/definition_lists.h"

namespace beatloom {
namespace {

Document GappedChart(int objects) {
  Document d;
  d.indices = DefinitionIndex(DefinitionIndex::Base62);
  d.wav.assign(static_cast<size_t>(d.indices.WavSlots()), std::string());
  d.bmp.assign(static_cast<size_t>(d.indices.BmpSlots()), std::string());
  for (int v = 2; v <= d.indices.HighestWav(); v += 2) d.wav[static_cast<size_t>(v)] = "s.wav";
  for (int v = 2; v <= 200; v += 2) d.bmp[static_cast<size_t>(v)] = "i.bmp";
  d.ObjList.reserve(static_cast<size_t>(objects));
  for (int i = 0; i < objects; ++i) {
    const bool image = i % 10 == 0;
    const int lane = image ? 19 : 1 + i % 7;
    const int value = image ? 2 + 2 * (i % 100) : 2 + 2 * (i % 1921);
    d.ObjList.emplace_back(lane, i % 192000, value);
  }
  for (int m = 0; m < 1000; ++m) {
    std::string line = "#" + std::to_string(100 + m % 900) + "01:";
    for (int c = 0; c < 16; ++c) line += d.indices.Format(2 + 2 * ((m * 16 + c) % 1921));
    d.mcom.push_back(line);
  }
  return d;
}

void BM_Compact(benchmark::State& state) {
  const Document chart = GappedChart(static_cast<int>(state.range(0)));
  const std::vector<TBmsObject> clipboard(chart.ObjList.begin(), chart.ObjList.begin() + state.range(0) / 10);
  Document d;
  std::vector<TBmsObject> clip;
  for (auto _ : state) {
    state.PauseTiming();
    d = chart;
    clip = clipboard;
    state.ResumeTiming();
    std::vector<Renumbering> renumbered;
    benchmark::DoNotOptimize(CompactInDocument(d, &renumbered));
    for (const Renumbering& r : renumbered) r.Apply(clip, false);
  }
}
BENCHMARK(BM_Compact)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
