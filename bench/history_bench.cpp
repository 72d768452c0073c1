// The history's cost: writing one note (the step the mouse makes) and undoing
// it at 10 000, 100 000 and 1 000 000 objects must not grow with the chart;
// Select all + Delete + Undo at 1 000 000 objects costs what the list does.
// The counter "step_bytes" is the memory the recorded step takes.
#include <benchmark/benchmark.h>

#include "bench_charts.h"
#include "edit/selection.h"
#include "session/chart_session.h"

namespace beatloom {
namespace {

void BM_WriteOneNoteAndUndo(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 1234);
  const ChartEdit edit{.label = "書き込み", .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended};
  size_t stepBytes = 0;
  for (auto _ : state) {
    session.Apply(edit, [](Document& doc) {
      doc.AddObject(3, 96, 7);
      return EditOutcome::Changed;
    });
    stepBytes = session.ChartHistory().Bytes();
    session.UndoLastChange();
  }
  state.counters["step_bytes"] = static_cast<double>(stepBytes);
}
BENCHMARK(BM_WriteOneNoteAndUndo)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_EraseOneNoteAndUndo(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 1234);
  ChartEdit edit{.label = "消去", .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended};
  edit.remove = {static_cast<int>(state.range(0) / 2)};
  size_t stepBytes = 0;
  for (auto _ : state) {
    session.Apply(edit, [](Document&) { return EditOutcome::Changed; });
    stepBytes = session.ChartHistory().Bytes();
    session.UndoLastChange();
  }
  state.counters["step_bytes"] = static_cast<double>(stepBytes);
}
BENCHMARK(BM_EraseOneNoteAndUndo)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_SelectAllDeleteUndo(benchmark::State& state) {
  ChartSession session;
  FillRandomChart(session.Doc(), static_cast<int>(state.range(0)), 1000, 1234);
  size_t stepBytes = 0;
  for (auto _ : state) {
    SelectLaneGroup(session, LaneGroup::All);
    DeleteSelected(session);
    stepBytes = session.ChartHistory().Bytes();
    session.UndoLastChange();
  }
  if (session.Doc().ObjList.size() != static_cast<size_t>(state.range(0))) state.SkipWithError("undo lost objects");
  state.counters["step_bytes"] = static_cast<double>(stepBytes);
}
BENCHMARK(BM_SelectAllDeleteUndo)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
