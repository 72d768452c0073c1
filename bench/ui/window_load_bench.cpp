// What a load costs in the main window: the chart is read into the session
// and every view refills (the definition lists hold 255 lines in a
// hexadecimal chart, 3843 in a base-62 one). Run:
// QT_QPA_PLATFORM=offscreen build/bench/window_load_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <string>

#include "app/ui/main_window.h"
#include "bms/bms_reader.h"
#include "model/definition_index.h"

namespace beatloom {
namespace {

// Every sound of the radix defined, and 2000 notes naming them.
std::string ChartText(int radix) {
  const DefinitionIndex indices(radix);
  std::string text = radix == DefinitionIndex::Base62 ? "#BASE 62\r\n" : "";
  for (int v = 1; v <= indices.HighestWav(); ++v) text += "#WAV" + indices.Format(v) + " sound.wav\r\n";
  for (int m = 0; m < 250; ++m) {
    for (const char* channel : {"11", "13", "15", "16"}) {
      text += "#" + std::string(3 - std::to_string(m).size(), '0') + std::to_string(m) + channel + ":";
      for (int cell = 0; cell < 2; ++cell) text += indices.Format((m * 8 + cell) % indices.HighestWav() + 1);
      text += "\r\n";
    }
  }
  return text;
}

void LoadInWindow(benchmark::State& state, const std::vector<int>& radices) {
  QTemporaryDir folder;
  ChartSession session;
  TMainOptions options;
  options.programFolder = folder.path().toStdString();
  options.executableFolder = options.programFolder;
  options.session = &session;
  options.splashMilliseconds = 0;
  TMain window(options);
  window.show();
  QCoreApplication::processEvents();
  std::vector<std::string> texts;
  for (int radix : radices) texts.push_back(ChartText(radix));
  size_t next = 0;
  const ChartEdit load{.modified = ChartEdit::Mark::Clear,
                       .aspects = kChartObjects | kChartHeader | kChartLayout,
                       .replaced = ChartReplaced::Loaded};
  for (auto _ : state) {
    const std::string& text = texts[next++ % texts.size()];
    session.Apply(load, [&](Document& doc) {
      LoadBmsBytes(doc, text, "bench", session.ChartLog());
      return EditOutcome::Changed;
    });
    QCoreApplication::processEvents();
  }
}

void BM_WindowLoadHex(benchmark::State& state) { LoadInWindow(state, {DefinitionIndex::Hex}); }
void BM_WindowLoadBase62(benchmark::State& state) { LoadInWindow(state, {DefinitionIndex::Base62}); }
// Each load changes the length of the lists.
void BM_WindowLoadAlternating(benchmark::State& state) {
  LoadInWindow(state, {DefinitionIndex::Hex, DefinitionIndex::Base62});
}

BENCHMARK(BM_WindowLoadHex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowLoadBase62)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowLoadAlternating)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
