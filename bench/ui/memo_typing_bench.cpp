// What one key typed into the extension memo ("拡張命令") costs in the main
// window of a chart holding 80 000 kept lines (10 000 conditional blocks of
// eight lines): the key reaches the memo, the chart takes the edited line and
// the window handles every event the edit left behind. With the check listed,
// the log window shows the check's findings, which follow the chart. Run:
// QT_QPA_PLATFORM=offscreen build/bench/memo_typing_bench
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <string>

#include "app/ui/main_window.h"
#include "bms/bms_reader.h"

namespace beatloom {
namespace {

std::string ChartText(int blocks) {
  std::string text = "#BPM 150\r\n#WAV01 a.wav\r\n#00111:01\r\n";
  for (int b = 0; b < blocks; ++b) {
    const std::string m = std::to_string(100 + b % 800);
    text += "#RANDOM 2\r\n#IF 1\r\n#" + m + "11:01010101\r\n#ENDIF\r\n#IF 2\r\n#" + m +
            "12:0101\r\n#ENDIF\r\n#ENDRANDOM\r\n";
  }
  return text;
}

void Key(QWidget* target, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QCoreApplication::sendEvent(target, &release);
}

void TypeInMemo(benchmark::State& state, bool checkListed) {
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
  const std::string text = ChartText(10000);
  session.Apply({.modified = ChartEdit::Mark::Clear,
                 .aspects = kChartObjects | kChartHeader | kChartLayout,
                 .replaced = ChartReplaced::Loaded},
                [&](Document& doc) {
                  LoadBmsBytes(doc, text, "bench", session.ChartLog());
                  return EditOutcome::Changed;
                });
  QCoreApplication::processEvents();
  if (checkListed) {
    window.findChild<QAction*>(QStringLiteral("ChartCheck1"))->trigger();
    QCoreApplication::processEvents();
  }
  auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("mcom"));
  memo->setFocus();
  // In the middle of the memo, at the end of a data line.
  QTextCursor cursor(memo->document()->findBlockByNumber(memo->document()->blockCount() / 2 + 2));
  cursor.movePosition(QTextCursor::EndOfBlock);
  memo->setTextCursor(cursor);
  bool add = true;
  for (auto _ : state) {
    // Typing and taking back keep the chart the same from run to run.
    if (add)
      Key(memo, Qt::Key_0, QStringLiteral("0"));
    else
      Key(memo, Qt::Key_Backspace, QString());
    add = !add;
    QCoreApplication::processEvents();
  }
  if (session.Doc().mcom.size() != 80000u) state.SkipWithError("the memo and the chart disagree");
}

void BM_MemoTyping(benchmark::State& state) { TypeInMemo(state, false); }
void BM_MemoTypingCheckListed(benchmark::State& state) { TypeInMemo(state, true); }

BENCHMARK(BM_MemoTyping)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoTypingCheckListed)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace beatloom

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
