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
#include "bms/bms_reader.h"

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

// A chart of n identical conditional blocks, each with a data line, and a
// bad extended tempo: every block (kept lines set apart by "#X 1") is a
// finding that names its own line.
std::string BlocksText(int blocks) {
  std::string text = "#BPM 150\r\n#WAV01 a.wav\r\n#BPM01 -1\r\n#00111:01\r\n#00108:01\r\n";
  for (int b = 0; b < blocks; ++b) text += "#RANDOM 2\r\n#IF 1\r\n#00111:01010101\r\n#ENDIF\r\n#ENDRANDOM\r\n#X 1\r\n";
  return text;
}

Document BlocksChart(const std::string& text) {
  Document d;
  Log log;
  LoadBmsBytes(d, text, "bench", log);
  return d;
}

void BM_CheckBlocks(benchmark::State& state) {
  const Document d = BlocksChart(BlocksText(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(CheckChart(d, nullptr));
}
BENCHMARK(BM_CheckBlocks)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// What "lint" adds to the check: every finding placed on its line of the file.
void BM_LintBlocks(benchmark::State& state) {
  const std::string text = BlocksText(static_cast<int>(state.range(0)));
  const Document d = BlocksChart(text);
  const std::vector<std::string_view> lines = SplitLines(text);
  for (auto _ : state) {
    const std::vector<Finding> findings = CheckChart(d, nullptr);
    benchmark::DoNotOptimize(LinesOf(lines, findings));
  }
}
BENCHMARK(BM_LintBlocks)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
