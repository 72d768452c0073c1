// Selection commands on generated charts of 1 000 and 100 000 objects spread
// over the first 1000 measures: Select All, Delete of a half selection, and
// Cut, Copy and Paste of the whole chart through the chart session.
#include <benchmark/benchmark.h>

#include <random>

#include "edit/selection.h"

namespace beatloom {
namespace {

void Fill(Document& d, int objects) {
  std::mt19937 rng(1234);
  d.ObjList.reserve(static_cast<size_t>(objects) * 2);
  for (int i = 0; i < objects; ++i) {
    const int lane = static_cast<int>(rng() % LaneCount);
    const int pos = static_cast<int>(rng() % 1000) * 192 + static_cast<int>(rng() % 16) * 12;
    d.AddObject(lane, pos, static_cast<int>(rng() % 255) + 1);
    d.ObjList.back().Selected = i % 2;
  }
}

ScoreGeometry View() {
  ScoreGeometry g;
  g.pbWidth = 600;
  g.pbHeight = 400;
  return g;
}

void BM_SelectAll(benchmark::State& state) {
  ChartSession session;
  Fill(session.Doc(), static_cast<int>(state.range(0)));
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
  Fill(session.Doc(), static_cast<int>(state.range(0)));
  const std::vector<TBmsObject> chart = session.Doc().ObjList;
  for (auto _ : state) {
    state.PauseTiming();
    session.Doc().ObjList = chart;
    state.ResumeTiming();
    benchmark::DoNotOptimize(DeleteSelected(session));
  }
}
BENCHMARK(BM_DeleteSelected)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CutHalf(benchmark::State& state) {
  ChartSession session;
  Fill(session.Doc(), static_cast<int>(state.range(0)));
  const std::vector<TBmsObject> chart = session.Doc().ObjList;
  for (auto _ : state) {
    state.PauseTiming();
    session.Doc().ObjList = chart;
    state.ResumeTiming();
    benchmark::DoNotOptimize(CutSelected(session));
  }
}
BENCHMARK(BM_CutHalf)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Select All, Copy, Paste: the chart doubles, with its undo step.
void BM_CopyPasteAll(benchmark::State& state) {
  ChartSession session;
  Fill(session.Doc(), static_cast<int>(state.range(0)));
  const std::vector<TBmsObject> chart = session.Doc().ObjList;
  for (auto _ : state) {
    state.PauseTiming();
    session.Doc().ObjList = chart;
    state.ResumeTiming();
    SelectLaneGroup(session, LaneGroup::All);
    CopySelected(session);
    benchmark::DoNotOptimize(PasteClip(session, View()));
  }
}
BENCHMARK(BM_CopyPasteAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
