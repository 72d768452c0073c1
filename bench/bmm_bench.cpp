// BMM export of generated charts of 1 000, 10 000 and 100 000 exported
// objects: spread over the first 1000 measures with measure lengths, and
// crowded onto few positions so that most entries tie.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "formats/bmm_export.h"

namespace beatloom {
namespace {

constexpr int kLanes[] = {1, 2, 3, 4, 5, 8, 22, 23, 24, 25, 30, 40};

Document MakeChart(int objects, bool crowded) {
  Document d;
  d.header.e_bpm = "150";
  std::mt19937 rng(1234);
  for (int i = 0; i < objects; ++i) {
    const int lane = kLanes[rng() % std::size(kLanes)];
    const int measure = crowded ? static_cast<int>(rng() % 4) : static_cast<int>(rng() % 1000);
    const int tick = crowded ? static_cast<int>(rng() % 4) * 48 : static_cast<int>(rng() % 16) * 12;
    d.AddObject(lane, measure * 192 + tick, static_cast<int>(rng() % 8) + 1);
  }
  char line[16];
  for (int m = 0; m < 1000; m += 7) {
    std::snprintf(line, sizeof line, "#%03d02:0.75", m);
    d.mcom.push_back(line);
  }
  return d;
}

void RunExport(benchmark::State& state, bool crowded) {
  const Document d = MakeChart(static_cast<int>(state.range(0)), crowded);
  for (auto _ : state) {
    BmmExport files;
    std::string error;
    BuildBmmExport(d, files, &error);
    benchmark::DoNotOptimize(files.bmm.data());
  }
}

void BM_BmmExportSpread(benchmark::State& state) { RunExport(state, false); }
void BM_BmmExportCrowded(benchmark::State& state) { RunExport(state, true); }

BENCHMARK(BM_BmmExportSpread)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmmExportCrowded)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
