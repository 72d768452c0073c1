// Mouse editing on big charts: hover (hit test, frame, status line) at 1 000
// and 100 000 objects, a rubber band over 10 000 objects, and dragging 10 000
// selected objects one lane and back; each again with a tenth of the notes
// held (long notes of up to two measures).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

#include "view/mouse_editor.h"

namespace beatloom {
namespace {

// Objects on the visible lanes of "1Player" over the given measures.
void Fill(Document& d, int objects, int measures) {
  std::mt19937 rng(99);
  const int lanes[] = {1, 2, 3, 4, 5, 6, 7, 8, 22, 23, 24, 25, 26, 27, 28, 29};
  while (static_cast<int>(d.ObjList.size()) < objects) {
    while (static_cast<int>(d.ObjList.size()) < objects) {
      const int pos = static_cast<int>(rng() % measures) * 192 +
                      (measures <= 4 ? static_cast<int>(rng() % 192) : static_cast<int>(rng() % 48) * 4);
      d.AddObject(lanes[rng() % std::size(lanes)], pos, static_cast<int>(rng() % 255) + 1);
    }
    d.RemoveDuplicates();
  }
}

// Every tenth object on a key lane becomes a long note of a quarter beat to
// two measures, as a modern chart holds them.
void MakeLongNotes(Document& d) {
  std::mt19937 rng(7);
  int n = 0;
  for (TBmsObject& o : d.ObjList) {
    if (o.Lane < FirstKeyLane || o.Lane > LastKeyLane || n++ % 10 != 0) continue;
    o.Long = LongByChannel;
    o.EndPos = std::min(o.Pos + 12 + static_cast<int>(rng() % 372), MeasureCount * TicksPerMeasure - 1);
    o.EndValue = o.Value;
  }
}

struct Bench {
  explicit Bench(int pbHeight) {
    g = ScoreGeometry::For(settings, 0, 1000, pbHeight, 0, 0);
    editor = std::make_unique<MouseEditor>(session, g, settings, MouseEditor::Hooks{});
  }
  ChartSession session;
  ViewSettings settings;
  ScoreGeometry g;
  std::unique_ptr<MouseEditor> editor;
};

void Hover(benchmark::State& state, bool held) {
  Bench b(600);
  Fill(b.session.Doc(), static_cast<int>(state.range(0)), 1000);
  if (held) MakeLongNotes(b.session.Doc());
  b.g.V = -500 * 192;
  b.editor->SetTool(EditTool::Erase);
  int i = 0;
  for (auto _ : state) {
    // Sweep the lanes and rows so the frame and status change every time.
    b.editor->Move({30 + (i * 7) % 300, (i * 13) % 600});
    benchmark::DoNotOptimize(b.editor->TakeOverlay());
    ++i;
  }
}
void BM_Hover(benchmark::State& state) { Hover(state, false); }
void BM_HoverLongNotes(benchmark::State& state) { Hover(state, true); }
BENCHMARK(BM_Hover)->Arg(1000)->Arg(100000);
BENCHMARK(BM_HoverLongNotes)->Arg(100000);

void RubberBand(benchmark::State& state, bool held) {
  Bench b(800);
  Fill(b.session.Doc(), 10000, 4);  // 4 measures: all on the screen
  if (held) MakeLongNotes(b.session.Doc());
  b.editor->SetTool(EditTool::Select);
  for (auto _ : state) {
    b.editor->Press({1, 1});
    b.editor->Move({400, 700});
    b.editor->Move({990, 799});
    b.editor->Release({990, 799});
    benchmark::DoNotOptimize(b.editor->TakeOverlay());
  }
  state.counters["selected"] =
      static_cast<double>(std::count_if(b.session.Doc().ObjList.begin(), b.session.Doc().ObjList.end(),
                                        [](const TBmsObject& o) { return o.Selected != 0; }));
}
void BM_RubberBand(benchmark::State& state) { RubberBand(state, false); }
void BM_RubberBandLongNotes(benchmark::State& state) { RubberBand(state, true); }
BENCHMARK(BM_RubberBand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RubberBandLongNotes)->Unit(benchmark::kMillisecond);

void DragAndDrop(benchmark::State& state, bool held) {
  Bench b(800);
  Document& d = b.session.Doc();
  Fill(d, static_cast<int>(state.range(0)), 1000);
  if (held) MakeLongNotes(d);
  for (TBmsObject& o : d.ObjList) o.Selected = 1;
  // A lone object at a known place to take hold of; it is selected too.
  d.AddObject(30, 0, 1);
  d.ObjList.back().Selected = 1;
  b.editor->SetTool(EditTool::Select);
  const int y = b.g.YOfTick(0) - 3;
  int step = 1;
  for (auto _ : state) {
    const int lane = 30 + step;
    b.editor->Press({b.g.lanes.LaneLeft()[30 + (step == 1 ? 0 : 1)] + 4, y});
    b.editor->Move({b.g.lanes.LaneLeft()[lane] + 4, y});
    b.editor->Release({b.g.lanes.LaneLeft()[lane] + 4, y});
    benchmark::DoNotOptimize(b.editor->TakeOverlay());
    step = step == 1 ? 0 : 1;
  }
  state.counters["objects"] = static_cast<double>(d.ObjList.size());
}
void BM_DragAndDrop(benchmark::State& state) { DragAndDrop(state, false); }
void BM_DragAndDropLongNotes(benchmark::State& state) { DragAndDrop(state, true); }
BENCHMARK(BM_DragAndDrop)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragAndDropLongNotes)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
