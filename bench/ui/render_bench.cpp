// Frame cost of the score view: one full render of a 1280x800 view of
// generated charts. Run: QT_QPA_PLATFORM=offscreen build/bench/render_bench
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <random>

#include "model/document.h"
#include "view/score_geometry.h"
#include "view/ui/score_renderer.h"
#include "view/view_settings.h"

namespace beatloom {
namespace {

constexpr int ViewWidth = 1280;
constexpr int ViewHeight = 800;
// Scrolled to measure 500, in the middle of the chart.
constexpr int ViewScroll = -500 * TicksPerMeasure;

void AddRandomObjects(Document& doc, int count, int firstMeasure, int measures, std::mt19937& rng) {
  std::uniform_int_distribution<int> lane(0, StopLane);  // the lanes every chart shows
  std::uniform_int_distribution<int> tick(0, measures * TicksPerMeasure - 1);
  std::uniform_int_distribution<int> value(1, 255);
  std::uniform_int_distribution<int> flag(0, 19);
  for (int i = 0; i < count; ++i) {
    const int index = doc.AddObject(lane(rng), firstMeasure * TicksPerMeasure + tick(rng), value(rng));
    doc.ObjList[index].Hidden = flag(rng) == 0;
    doc.ObjList[index].Selected = flag(rng) == 1;
  }
}

// count objects spread evenly over all 1000 measures: the view shows about
// count / 250 of them.
Document UniformChart(int count) {
  Document doc;
  std::mt19937 rng(1);
  AddRandomObjects(doc, count, 0, MeasureCount, rng);
  return doc;
}

// 1000 objects in the measures on screen, the rest of count far away: the
// picture is the same whatever count is.
Document SameViewChart(int count) {
  Document doc;
  std::mt19937 rng(2);
  AddRandomObjects(doc, (count - 1000) / 2, 0, 400, rng);
  AddRandomObjects(doc, 1000, 500, 4, rng);
  AddRandomObjects(doc, count - 1000 - (count - 1000) / 2, 600, 400, rng);
  return doc;
}

ScoreGeometry ViewGeometry(const ViewSettings& settings) {
  return ScoreGeometry::For(settings, 1, ViewWidth, ViewHeight, ViewScroll, -10);
}

// A frame after scrolling: the index is kept.
void RenderFrames(benchmark::State& state, const Document& doc, bool rebuildIndex) {
  ViewSettings settings;
  const ScoreGeometry g = ViewGeometry(settings);
  ScoreRenderer renderer;
  QImage image;
  renderer.Render(image, doc, settings, g);
  for (auto _ : state) {
    if (rebuildIndex) renderer.InvalidateObjects();
    renderer.Render(image, doc, settings, g);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["objects"] = static_cast<double>(doc.ObjList.size());
}

void BM_ScrollFrame_Uniform(benchmark::State& state) {
  RenderFrames(state, UniformChart(static_cast<int>(state.range(0))), false);
}
void BM_ScrollFrame_SameView(benchmark::State& state) {
  RenderFrames(state, SameViewChart(static_cast<int>(state.range(0))), false);
}
// A frame after an edit: the position index is rebuilt first.
void BM_EditFrame_Uniform(benchmark::State& state) {
  RenderFrames(state, UniformChart(static_cast<int>(state.range(0))), true);
}

// A measure on screen holding count objects stacked on the ticks of its key
// lanes, as one data line of a million cells reads: a repaint after
// scrolling, and a frame after an edit.
Document StackedMeasureChart(int count) {
  Document doc;
  for (int i = 0; i < count; ++i) doc.AddObject(1 + i % 7, 500 * TicksPerMeasure + (i / 7) % TicksPerMeasure, 1);
  return doc;
}
void BM_ScrollFrame_StackedMeasure(benchmark::State& state) {
  RenderFrames(state, StackedMeasureChart(static_cast<int>(state.range(0))), false);
}
void BM_EditFrame_StackedMeasure(benchmark::State& state) {
  RenderFrames(state, StackedMeasureChart(static_cast<int>(state.range(0))), true);
}

// The uniform chart with every tenth key note held for up to two measures:
// bars that start below the view reach into it.
Document LongNoteChart(int count) {
  Document doc = UniformChart(count);
  std::mt19937 rng(3);
  int n = 0;
  for (TBmsObject& o : doc.ObjList) {
    if (o.Lane < FirstKeyLane || o.Lane > LastKeyLane || n++ % 10 != 0) continue;
    o.Long = LongByChannel;
    o.EndPos = std::min(o.Pos + 12 + static_cast<int>(rng() % 372), MeasureCount * TicksPerMeasure - 1);
    o.EndValue = o.Value;
  }
  return doc;
}
void BM_ScrollFrame_LongNotes(benchmark::State& state) {
  RenderFrames(state, LongNoteChart(static_cast<int>(state.range(0))), false);
}
void BM_EditFrame_LongNotes(benchmark::State& state) {
  RenderFrames(state, LongNoteChart(static_cast<int>(state.range(0))), true);
}

BENCHMARK(BM_ScrollFrame_Uniform)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollFrame_SameView)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditFrame_Uniform)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollFrame_LongNotes)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditFrame_LongNotes)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollFrame_StackedMeasure)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditFrame_StackedMeasure)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
