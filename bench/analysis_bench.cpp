// What the statistics window, the check and the status line's time recompute
// after each change, on generated charts of 1 000 and 100 000 objects over
// 1000 measures (a fiftieth of them tempo changes), with extended tempo
// changes and stops in every tenth measure.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "analysis/chart_check.h"
#include "analysis/chart_stats.h"
#include "analysis/chart_timing.h"
#include "bench_charts.h"

namespace beatloom {
namespace {

void FillChart(Document& d, int objects) {
  FillRandomChart(d, objects, 1000, 2468);
  d.mcom.push_back("#BPM01 155.5");
  d.mcom.push_back("#STOP01 48");
  for (int m = 0; m < MeasureCount; m += 10) {
    char line[32];
    std::snprintf(line, sizeof line, "#%03d08:0001", m);
    d.mcom.push_back(line);
    std::snprintf(line, sizeof line, "#%03d09:01", m);
    d.mcom.push_back(line);
  }
}

void BM_Timing(benchmark::State& state) {
  Document d;
  FillChart(d, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const ChartTiming timing(d);
    double sum = 0;
    for (const TBmsObject& o : d.ObjList) sum += timing.SecondsAt(o.Pos);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_Timing)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Stats(benchmark::State& state) {
  Document d;
  FillChart(d, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(StatsOf(d, ChartTiming(d)));
}
BENCHMARK(BM_Stats)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every object names an undefined sound or image: the check's worst case.
void BM_Check(benchmark::State& state) {
  Document d;
  FillChart(d, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(CheckChart(d, nullptr));
}
BENCHMARK(BM_Check)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
