// Measure commands on generated charts of 1 000 and 100 000 objects spread
// over the first 998 measures, with 2 000 kept data lines: insert a measure,
// delete one and delete a run of ten, each through the chart session with its
// undo step.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

#include "bench_charts.h"
#include "edit/measure_ops.h"

namespace beatloom {
namespace {

// Besides the objects, kept long-note lines that move with their measures.
void Fill(Document& d, int objects) {
  FillRandomChart(d, objects, 998, 1234);
  std::mt19937 rng(1234);
  for (int i = 0; i < 2000; ++i) {
    char line[32];
    std::snprintf(line, sizeof line, "#%03d51:0101", static_cast<int>(rng() % 998));
    d.mcom.emplace_back(line);
  }
}

template <class Command>
void Run(benchmark::State& state, Command command) {
  ChartSession session;
  Fill(session.Doc(), static_cast<int>(state.range(0)));
  TimeOnFreshChart(state, session, [&command](ChartSession& s) { return command(s).outcome; });
}

void BM_InsertMeasure(benchmark::State& state) {
  Run(state, [](ChartSession& s) { return InsertMeasure(s, 10); });
}
BENCHMARK(BM_InsertMeasure)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DeleteMeasure(benchmark::State& state) {
  Run(state, [](ChartSession& s) { return DeleteMeasures(s, {10, 10}); });
}
BENCHMARK(BM_DeleteMeasure)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DeleteTenMeasures(benchmark::State& state) {
  Run(state, [](ChartSession& s) { return DeleteMeasures(s, {10, 19}); });
}
BENCHMARK(BM_DeleteTenMeasures)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
