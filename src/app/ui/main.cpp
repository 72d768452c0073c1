#include <QApplication>
#include <csignal>
#include <cstdio>

#include "app/ui/main_window.h"
#include "app/ui/splash_window.h"
#include "view/ui/export_image.h"

namespace {

const char* const kUsage =
    "Usage: beatloom [CHART.bms]\n"
    "       beatloom --export-image CHART OUT.png [--size WxH] [--scroll V] [--hscroll S]\n"
    "                [--mode 1|2|3] [--grid N] [--flat]\n"
    "       beatloom --help | --version\n"
    "\n"
    "Opens the chart editor; the first argument whose name contains .bms or .bme\n"
    "is opened as the chart. --export-image renders a chart's score to a PNG\n"
    "file without a display. Settings and lists live in $BEATLOOM_HOME when it is\n"
    "set, else beside the program. Press F1 in the window for the help page.\n";

// Answers --help and --version, which must work where no window system can
// be reached (a terminal over ssh, a build machine). Returns -1 when neither
// was asked for; options of --export-image are its own.
int AnswerWithoutWindow(const QStringList& arguments) {
  for (const QString& a : arguments) {
    if (a == QLatin1String("--export-image")) break;
    if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a == QLatin1String("--version")) {
      std::printf("Beatloom %s\n", beatloom::SplashWindow::kVersion);
      return 0;
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  // A save past the file-size limit (ulimit -f) then fails with EFBIG and is
  // reported like a full disk, instead of ending the program with the
  // author's unsaved work.
  std::signal(SIGXFSZ, SIG_IGN);
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (const int status = AnswerWithoutWindow(arguments); status >= 0) return status;
  const qsizetype exportAt = arguments.indexOf(QStringLiteral("--export-image"));
  if (exportAt >= 0) return beatloom::RunExportImage(arguments.mid(exportAt));

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Beatloom"));
  // Qt's own buttons and dialogs ("はい", "キャンセル", the file dialog) take
  // the language of the interface, whatever the desktop's: the window
  // installs the translation its language file names.
  beatloom::TMainOptions options;
  options.arguments = arguments;
  beatloom::TMain main(options);
  main.show();
  return QApplication::exec();
}
