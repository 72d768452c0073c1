// Selection commands on generated charts of 1 000 and 100 000 objects spread
// over the first 1000 measures: Select All, Delete of a half selection, and
// Cut, Copy and Paste of the whole chart through the chart session.
#include <benchmark/benchmark.h>

#include "bench_charts.h"
#include "edit/selection.h"
#include "view/score_geometry.h"

namespace beatloom {
namespace {

PasteWindow View() {
  ScoreGeometry g;
  g.pbWidth = 600;
  g.pbHeight = 400;
  return {[g](int tick) { return g.ShowsTick(tick); }, g.TickAtY(g.pbHeight)};
}

void BM_SelectAll(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 1234, true);
  // Alternating groups, so that every run changes flags.
  bool all = false;
  for (auto _ : state) {
    all = !all;
    benchmark::DoNotOptimize(SelectLaneGroup(session, all ? LaneGroup::All : LaneGroup::Bgm));
  }
}
BENCHMARK(BM_SelectAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Delete of every other object, the worst case for deleting one by one.
void BM_DeleteSelected(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 1234, true);
  TimeOnFreshChart(state, session, [](ChartSession& s) { return DeleteSelected(s); });
}
BENCHMARK(BM_DeleteSelected)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CutHalf(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 1234, true);
  TimeOnFreshChart(state, session, [](ChartSession& s) { return CutSelected(s); });
}
BENCHMARK(BM_CutHalf)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Select All, Copy, Paste: the chart doubles, with its undo step.
void BM_CopyPasteAll(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 1234, true);
  TimeOnFreshChart(state, session, [](ChartSession& s) {
    SelectLaneGroup(s, LaneGroup::All);
    CopySelected(s);
    return PasteClip(s, View());
  });
}
BENCHMARK(BM_CopyPasteAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
