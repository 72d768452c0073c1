// The search dialog's run on generated charts of 1 000 and 100 000 objects
// over the first 1000 measures: every filter on with the select action, a
// replace of one index, and a delete of a measure range, each through the
// chart session with its undo snapshot.
#include <benchmark/benchmark.h>

#include "bench_charts.h"
#include "edit/search.h"

namespace beatloom {
namespace {

SearchRequest EveryFilter() {
  SearchRequest r;
  r.byMeasure = true;
  r.fromMeasure = "100";
  r.toMeasure = "899";
  r.byIndex = true;
  r.index = "1A";
  r.byLane = true;
  r.player1.assign(kPlayerLaneItems, true);
  r.bgm.assign(kBgmLaneItems, true);
  return r;
}

void BM_SearchSelect(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 4321);
  const SearchRequest request = EveryFilter();
  for (auto _ : state) benchmark::DoNotOptimize(RunSearch(session, request));
}
BENCHMARK(BM_SearchSelect)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SearchReplace(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 4321);
  SearchRequest request = EveryFilter();
  request.action = SearchAction::Replace;
  // Back and forth, so that every run finds objects to change.
  bool forth = false;
  for (auto _ : state) {
    forth = !forth;
    request.index = forth ? "1A" : "1B";
    request.replacement = forth ? "1B" : "1A";
    benchmark::DoNotOptimize(RunSearch(session, request));
  }
}
BENCHMARK(BM_SearchReplace)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Half of the chart goes: the worst case for deleting one by one.
void BM_SearchDelete(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 4321);
  SearchRequest request;
  request.byMeasure = true;
  request.toMeasure = "499";
  request.action = SearchAction::Delete;
  TimeOnFreshChart(state, session, [&request](ChartSession& s) { return RunSearch(s, request); });
}
BENCHMARK(BM_SearchDelete)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
