// Load, save and duplicate removal on generated charts of 10 000 and 100 000
// objects.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"

namespace beatloom {
namespace {

// A chart whose objects spread over every lane group and all 1000 measures,
// at the resolutions real charts use.
Document MakeChart(int objects) {
  Document d;
  std::mt19937 rng(1234);
  const int lanes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
  const int grids[] = {4, 8, 16, 12, 24, 48};
  // Top up and remove duplicates until exactly the asked number remains.
  while (static_cast<int>(d.ObjList.size()) < objects) {
    while (static_cast<int>(d.ObjList.size()) < objects) {
      const int lane = lanes[rng() % std::size(lanes)];
      const int grid = grids[rng() % std::size(grids)];
      const int pos = static_cast<int>(rng() % 1000) * 192 + static_cast<int>(rng() % grid) * (192 / grid);
      const int i = d.AddObject(lane, pos, static_cast<int>(rng() % 255) + 1);
      if (lane >= 1 && lane <= 18 && rng() % 10 == 0) d.ObjList[i].Hidden = 1;
    }
    d.RemoveDuplicates();
  }
  return d;
}

std::string MakeChartText(int objects) { return WriteBmsText(MakeChart(objects), {}); }

void BM_Load(benchmark::State& state) {
  const std::string text = MakeChartText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Document d;
    Log log;
    LoadBmsBytes(d, text, "bench", log);
    benchmark::DoNotOptimize(d.ObjList.data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_Save(benchmark::State& state) {
  Document d = MakeChart(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    d.RemoveDuplicates();
    std::string text = WriteBmsText(d, {});
    benchmark::DoNotOptimize(text.data());
  }
}

void BM_SaveFile(benchmark::State& state) {
  Document d = MakeChart(static_cast<int>(state.range(0)));
  const std::string path = "/tmp/beatloom-bench-save.bms";
  Log log;
  for (auto _ : state) {
    if (!SaveBmsFile(d, path, {}, log, nullptr, nullptr)) state.SkipWithError("save failed");
  }
  std::remove(path.c_str());
}

void BM_LoadPlusSave(benchmark::State& state) {
  const std::string text = MakeChartText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Document d;
    Log log;
    LoadBmsBytes(d, text, "bench", log);
    d.RemoveDuplicates();
    std::string out = WriteBmsText(d, {});
    benchmark::DoNotOptimize(out.data());
  }
}

void BM_RemoveDuplicates(benchmark::State& state) {
  // Half of the objects are duplicates of the other half.
  Document base = MakeChart(static_cast<int>(state.range(0)) / 2);
  const auto copy = base.ObjList;
  base.ObjList.insert(base.ObjList.end(), copy.begin(), copy.end());
  for (auto _ : state) {
    state.PauseTiming();
    Document d = base;
    state.ResumeTiming();
    d.RemoveDuplicates();
    benchmark::DoNotOptimize(d.ObjList.data());
  }
}

BENCHMARK(BM_Load)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPlusSave)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveDuplicates)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
