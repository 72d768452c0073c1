// Memory and time of reading charts whose bytes are mostly line ends, and of
// a large chart of short lines: the peak of heap bytes the load holds on top
// of the file's bytes, per byte of input. Run: build/bench/reader_bench
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>
#include <string>

#include "bms/bms_reader.h"
#include "model/file_io.h"

namespace {

// Every heap block carries its size in front, so that the bytes in use and
// their peak can be counted.
constexpr size_t kHeader = alignof(std::max_align_t);
size_t inUse = 0;
size_t peak = 0;

void* Allocate(size_t n) {
  auto* block = static_cast<unsigned char*>(std::malloc(n + kHeader));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(block) = n;
  inUse += n;
  if (inUse > peak) peak = inUse;
  return block + kHeader;
}

void Release(void* p) {
  if (!p) return;
  unsigned char* block = static_cast<unsigned char*>(p) - kHeader;
  inUse -= *reinterpret_cast<size_t*>(block);
  std::free(block);
}

}  // namespace

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }

namespace beatloom {
namespace {

constexpr size_t kMegabyte = 1 << 20;

std::string Repeated(std::string_view piece, size_t bytes) {
  std::string text;
  text.reserve(bytes + piece.size());
  while (text.size() < bytes) text.append(piece);
  return text;
}

// Short data lines over every measure and key channel, with a header, a
// kept line and a blank line now and then: about 10 MB.
std::string ShortLineChart() {
  std::string text = "#PLAYER 1\r\n#TITLE big\r\n#WAV01 a.wav\r\n";
  char line[32];
  for (int i = 0; text.size() < 10 * kMegabyte; ++i) {
    std::snprintf(line, sizeof line, "#%03d1%d:01\r\n", i % 1000, 1 + i % 9);
    text += line;
    if (i % 50 == 0) text += "#EXTCHR 00\r\n\r\n";
  }
  return text;
}

void Load(benchmark::State& state, const std::string& text) {
  size_t peakAbove = 0;
  for (auto _ : state) {
    Document doc;
    Log log;
    const size_t base = inUse;
    peak = inUse;
    LoadBmsBytes(doc, text, "bench", log);
    benchmark::DoNotOptimize(doc.ObjList.data());
    peakAbove = peak - base;
  }
  state.counters["input_MB"] = static_cast<double>(text.size()) / kMegabyte;
  state.counters["peak_MB"] = static_cast<double>(peakAbove) / kMegabyte;
  state.counters["peak_per_byte"] = static_cast<double>(peakAbove) / static_cast<double>(text.size());
}

void BM_LoadBareCRs(benchmark::State& state) { Load(state, std::string(20 * kMegabyte, '\r')); }
void BM_LoadBlankCRLFLines(benchmark::State& state) { Load(state, Repeated("\r\n", 20 * kMegabyte)); }
void BM_LoadShortLineChart(benchmark::State& state) { Load(state, ShortLineChart()); }

// Walking the lines alone, on the short-line chart with mixed line ends.
// (Before the reader walked them with LineCursor it gathered them first:
// SplitLines, which is what the figure before is of.)
void BM_WalkLines(benchmark::State& state) {
  std::string text = ShortLineChart();
  for (size_t i = 0; i < text.size(); i += 97) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') text[i + 1] = '\r';
  }
  for (auto _ : state) {
    size_t lines = 0;
    size_t bytes = 0;
    LineCursor cursor(ChartText(text));
    std::string_view line;
    while (cursor.Next(line)) {
      ++lines;
      bytes += line.size();
    }
    benchmark::DoNotOptimize(lines);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

BENCHMARK(BM_LoadBareCRs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBlankCRLFLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadShortLineChart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

BENCHMARK_MAIN();
