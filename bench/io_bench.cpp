// Load, save and duplicate removal on generated charts of 10 000 and 100 000
// objects, a chart whose first measure has 20 000 more background lines than
// it has lanes, and a chart of a million objects.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <random>
#include <string>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "bms/index_radix.h"

namespace beatloom {
namespace {

// A chart whose objects spread over every lane group and all 1000 measures,
// at the resolutions real charts use.
Document MakeChart(int objects, int radix = DefinitionIndex::Hex) {
  Document d;
  ResetIndices(d, radix);
  const int highest = d.indices.HighestWav();
  std::mt19937 rng(1234);
  const int lanes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
  const int grids[] = {4, 8, 16, 12, 24, 48};
  // Top up and remove duplicates until exactly the asked number remains.
  while (static_cast<int>(d.ObjList.size()) < objects) {
    while (static_cast<int>(d.ObjList.size()) < objects) {
      const int lane = lanes[rng() % std::size(lanes)];
      const int grid = grids[rng() % std::size(grids)];
      const int pos = static_cast<int>(rng() % 1000) * 192 + static_cast<int>(rng() % grid) * (192 / grid);
      const int value = lane == 0 ? static_cast<int>(rng() % 255) + 1 : static_cast<int>(rng() % highest) + 1;
      const int i = d.AddObject(lane, pos, value);
      if (lane >= 1 && lane <= 18 && rng() % 10 == 0) d.ObjList[i].Hidden = 1;
    }
    d.RemoveDuplicates();
  }
  return d;
}

std::string MakeChartText(int objects, int radix = DefinitionIndex::Hex) {
  return WriteBmsText(MakeChart(objects, radix), {});
}

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

// The same charts with base-36 indices, values 1..1295 on the sound and
// image lanes.
void BM_LoadBase36(benchmark::State& state) {
  const std::string text = MakeChartText(static_cast<int>(state.range(0)), DefinitionIndex::Base36);
  for (auto _ : state) {
    Document d;
    Log log;
    LoadBmsBytes(d, text, "bench", log);
    if (d.indices.Radix() != DefinitionIndex::Base36) state.SkipWithError("not read as base 36");
    benchmark::DoNotOptimize(d.ObjList.data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_SaveBase36(benchmark::State& state) {
  Document d = MakeChart(static_cast<int>(state.range(0)), DefinitionIndex::Base36);
  for (auto _ : state) {
    d.RemoveDuplicates();
    std::string text = WriteBmsText(d, {});
    benchmark::DoNotOptimize(text.data());
  }
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
    if (!SaveBmsFile(d, path, {}, log, nullptr)) state.SkipWithError("save failed");
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

// The 100 000-object chart with 20 000 extra background lines in measure 000:
// every one of them finds its measure's 28 lanes taken.
std::string CrowdedBackgroundText() {
  std::string text = MakeChartText(100000);
  for (int i = 0; i < 20000; ++i) text += "#00001:01\r\n";
  return text;
}

// A million objects, 1000 in each measure: 18 key channels of 48 cells, 28
// background lines of 4 cells and 6 more background lines whose cells fall
// between those, so that they are placed above the 28 numbered lanes.
std::string MillionObjectText() {
  std::string text = "#TITLE million\r\n";
  text.reserve(24 * 1024 * 1024);
  const char* keys[] = {"11", "12", "13", "14", "15", "16", "17", "18", "19",
                        "21", "22", "23", "24", "25", "26", "27", "28", "29"};
  char head[16];
  for (int m = 0; m < MeasureCount; ++m) {
    for (const char* ch : keys) {
      std::snprintf(head, sizeof head, "#%03d%s:", m, ch);
      text += head;
      for (int i = 0; i < 48; ++i) text += "0A";
      text += "\r\n";
    }
    std::snprintf(head, sizeof head, "#%03d01:", m);
    for (int i = 0; i < 28; ++i) text += std::string(head) + "01010101\r\n";
    for (int i = 0; i < 6; ++i) text += std::string(head) + "0002000200020002\r\n";
  }
  return text;
}

void LoadText(benchmark::State& state, const std::string& text) {
  size_t objects = 0;
  for (auto _ : state) {
    Document d;
    Log log;
    LoadBmsBytes(d, text, "bench", log);
    objects = d.ObjList.size();
    benchmark::DoNotOptimize(d.ObjList.data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["objects"] = static_cast<double>(objects);
}

void BM_LoadCrowdedBackground(benchmark::State& state) { LoadText(state, CrowdedBackgroundText()); }

void BM_LoadMillion(benchmark::State& state) { LoadText(state, MillionObjectText()); }

// The editor loads a large chart into memory it has not used before: every
// page of the object list is a new page. In a loop, the allocator would hand
// the previous round's list back while it is below its threshold for fresh
// memory (32 MiB), and the figure would depend on which side of it a list
// falls. Here every list is fresh memory, as in the editor.
void BM_LoadMillionFreshMemory(benchmark::State& state) {
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  LoadText(state, MillionObjectText());
}

// Duplicate removal, packing when asked, and the text, as a save does them.
void BM_SaveMillion(benchmark::State& state) {
  Document loaded;
  Log log;
  LoadBmsBytes(loaded, MillionObjectText(), "bench", log);
  SaveOptions options;
  options.keepLayout = state.range(0) == 0;
  for (auto _ : state) {
    state.PauseTiming();
    Document d = loaded;
    state.ResumeTiming();
    d.RemoveDuplicates();
    if (!options.keepLayout) PackBgmLanes(d);
    std::string text = WriteBmsText(d, options);
    benchmark::DoNotOptimize(text.data());
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
BENCHMARK(BM_LoadBase36)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBase36)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPlusSave)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveDuplicates)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCrowdedBackground)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMillion)->Unit(benchmark::kMillisecond);
// 0: keep the background layout, 1: pack the background lanes.
BENCHMARK(BM_SaveMillion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
// Last: it leaves the allocator's threshold set.
BENCHMARK(BM_LoadMillionFreshMemory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
