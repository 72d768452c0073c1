// Arrange commands on a generated chart of 100 000 objects spread over the
// first 500 measures: spacing by 3/2 (every position moves, the tempo
// follows) and mirror of a half selection, both through the chart session.
#include <benchmark/benchmark.h>

#include <random>

#include "edit/arrange.h"

namespace beatloom {
namespace {

void Fill(Document& d, int objects) {
  std::mt19937 rng(1234);
  d.ObjList.reserve(static_cast<size_t>(objects));
  for (int i = 0; i < objects; ++i) {
    const int lane = static_cast<int>(rng() % LaneCount);
    const int pos = static_cast<int>(rng() % 500) * 192 + static_cast<int>(rng() % 16) * 12;
    d.AddObject(lane, pos, static_cast<int>(rng() % 255) + 1);
    d.ObjList.back().Selected = i % 2;
  }
}

void BM_ObjectSpacing(benchmark::State& state) {
  ChartSession session;
  Fill(session.Doc(), static_cast<int>(state.range(0)));
  const std::vector<TBmsObject> chart = session.Doc().ObjList;
  for (auto _ : state) {
    state.PauseTiming();
    session.Doc().ObjList = chart;
    session.Doc().header.e_bpm = "150";
    state.ResumeTiming();
    benchmark::DoNotOptimize(ChangeObjectSpacing(session, {"3", "2", true}));
  }
}
BENCHMARK(BM_ObjectSpacing)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Mirror(benchmark::State& state) {
  ChartSession session;
  Fill(session.Doc(), static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(MirrorSelected(session));
}
BENCHMARK(BM_Mirror)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
