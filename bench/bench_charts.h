#pragma once

#include <benchmark/benchmark.h>

#include <random>

#include "session/chart_session.h"

namespace beatloom {

// A chart of random objects on every lane over the first `measures`
// measures, on sixteenth-note ticks; every other object selected when asked.
// The seed keeps each benchmark's chart the same from run to run.
inline void FillRandomChart(Document& d, int objects, int measures, unsigned seed, bool selectEveryOther = false) {
  std::mt19937 rng(seed);
  d.ObjList.reserve(static_cast<size_t>(objects) * 2);
  for (int i = 0; i < objects; ++i) {
    // The 51 lanes every chart shows (tempo, keys, images, 28 background, stop).
    const int lane = static_cast<int>(rng() % (StopLane + 1));
    const int pos = static_cast<int>(rng() % measures) * TicksPerMeasure + static_cast<int>(rng() % 16) * 12;
    d.AddObject(lane, pos, static_cast<int>(rng() % 255) + 1);
    if (selectEveryOther) d.ObjList.back().Selected = i % 2;
  }
}

// Times command on the same chart every run: the chart is put back outside
// the timing, since the command changes it.
template <class Command>
void TimeOnFreshChart(benchmark::State& state, ChartSession& session, Command command) {
  const Document chart = session.Doc();
  for (auto _ : state) {
    state.PauseTiming();
    session.Doc() = chart;
    state.ResumeTiming();
    benchmark::DoNotOptimize(command(session));
  }
}

}  // namespace beatloom
