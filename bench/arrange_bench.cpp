// Arrange commands on a generated chart of 100 000 objects spread over the
// first 500 measures: spacing by 3/2 (every position moves, the tempo
// follows) and mirror of a half selection, both through the chart session.
#include <benchmark/benchmark.h>

#include "bench_charts.h"
#include "edit/arrange.h"

namespace beatloom {
namespace {

void BM_ObjectSpacing(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 500, 1234, true);
  session.Doc().header.e_bpm = "150";
  TimeOnFreshChart(state, session, [](ChartSession& s) { return ChangeObjectSpacing(s, {"3", "2", true}); });
}
BENCHMARK(BM_ObjectSpacing)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Mirror(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 500, 1234, true);
  for (auto _ : state) benchmark::DoNotOptimize(MirrorSelected(session));
}
BENCHMARK(BM_Mirror)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
