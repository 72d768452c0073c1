#include "view/ui/export_image.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <memory>
#include <optional>

#include "bms/bms_reader.h"
#include "bms/log.h"
#include "model/document.h"
#include "view/score_geometry.h"
#include "view/ui/score_renderer.h"
#include "view/view_settings.h"

namespace beatloom {

namespace {

constexpr int kOk = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;
// Far more than any screen, small enough that the image always fits in memory.
constexpr int MaxImageSide = 16384;

struct ExportOptions {
  QString chart;
  QString output;
  int width = 800;
  int height = 600;
  int v = 0;
  std::optional<int> s;
  std::optional<int> playMode;  // cbpmode index
  int gridPosition = GridPositionSetting.defaultValue;
  bool flat = false;
};

int Fail(int status, const QString& message) {
  std::fprintf(stderr, "beatloom --export-image: %s\n", message.toLocal8Bit().constData());
  if (status == kUsage) {
    std::fprintf(stderr,
                 "Usage: beatloom --export-image CHART OUT.png [--size WxH] [--scroll V] [--hscroll S]"
                 " [--mode 1|2|3] [--grid N] [--flat]\n");
  }
  return status;
}

std::optional<int> ToInt(const QString& text) {
  bool ok = false;
  const int v = text.toInt(&ok);
  return ok ? std::optional<int>(v) : std::nullopt;
}

// "16", "1/16" or "free" -> cb_grid index.
std::optional<int> GridIndexOf(QString text) {
  if (text.compare(QStringLiteral("free"), Qt::CaseInsensitive) == 0) return GridChoiceCount - 1;
  if (text.startsWith(QStringLiteral("1/"))) text = text.mid(2);
  const std::optional<int> d = ToInt(text);
  if (!d) return std::nullopt;
  for (int i = 0; i < GridChoiceCount; ++i) {
    if (GridDivision(i) == *d) return i;
  }
  return std::nullopt;
}

// Fills options from the arguments; an error message when they are unusable.
QString ParseOptions(const QStringList& args, ExportOptions& o) {
  QStringList positional;
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool takesValue = a == "--size" || a == "--scroll" || a == "--hscroll" || a == "--mode" || a == "--grid";
    if (takesValue && i + 1 >= args.size()) return QStringLiteral("%1 needs a value").arg(a);
    const QString value = takesValue ? args[++i] : QString();
    if (a == "--size") {
      const QStringList parts = value.split(QLatin1Char('x'), Qt::KeepEmptyParts, Qt::CaseInsensitive);
      const std::optional<int> w = parts.size() == 2 ? ToInt(parts[0]) : std::nullopt;
      const std::optional<int> h = parts.size() == 2 ? ToInt(parts[1]) : std::nullopt;
      if (!w || !h || *w < 1 || *h < 1 || *w > MaxImageSide || *h > MaxImageSide) {
        return QStringLiteral("--size wants WIDTHxHEIGHT, each 1 to %1, not '%2'").arg(MaxImageSide).arg(value);
      }
      o.width = *w;
      o.height = *h;
    } else if (a == "--scroll") {
      const std::optional<int> v = ToInt(value);
      if (!v) return QStringLiteral("--scroll wants an integer (ticks, 0 or negative), not '%1'").arg(value);
      o.v = *v;
    } else if (a == "--hscroll") {
      const std::optional<int> s = ToInt(value);
      if (!s) return QStringLiteral("--hscroll wants an integer (pixels), not '%1'").arg(value);
      o.s = *s;
    } else if (a == "--mode") {
      const std::optional<int> m = ToInt(value);
      if (!m || *m < 1 || *m > 3) return QStringLiteral("--mode wants 1, 2 or 3, not '%1'").arg(value);
      o.playMode = *m - 1;
    } else if (a == "--grid") {
      const std::optional<int> g = GridIndexOf(value);
      if (!g) return QStringLiteral("--grid wants 4, 8, 16, 32, 3, 6, 12, 24 or free, not '%1'").arg(value);
      o.gridPosition = *g;
    } else if (a == "--flat") {
      o.flat = true;
    } else if (a.startsWith(QStringLiteral("--"))) {
      return QStringLiteral("unknown option '%1'").arg(a);
    } else {
      positional << a;
    }
  }
  if (positional.size() != 2) return QStringLiteral("wants a chart and an output file");
  o.chart = positional[0];
  o.output = positional[1];
  return {};
}

int Export(const ExportOptions& o) {
  Document doc;
  Log log;
  if (!LoadBmsFile(doc, QFile::encodeName(o.chart).toStdString(), log)) {
    return Fail(kFailure, QStringLiteral("cannot read the chart '%1'").arg(o.chart));
  }

  ViewSettings settings;
  settings.GridPosition = o.gridPosition;
  settings.FlatObjectWidth = o.flat;
  settings.PlayMode = o.playMode;

  // The view's first layout at this size, then the scroll bars' clamping.
  ScoreGeometry g = ScoreGeometry::For(settings, doc.header.cbpmode, o.width, o.height, 0, 0, BgmLaneCountOf(doc));
  const ScrollRange hrange = NextHorizontalRange(InitialHorizontalRange, g.lanes.TotalWidth(), o.width);
  g.S = ClampToRange(o.s.value_or(0), hrange);
  g.V = ClampToRange(o.v, VerticalRange(doc));
  if (o.s && *o.s != g.S) {
    std::fprintf(stderr, "beatloom --export-image: --hscroll %d is outside %d..%d, using %d\n", *o.s, hrange.Min,
                 hrange.Max, g.S);
  }
  if (o.v != g.V) {
    std::fprintf(stderr, "beatloom --export-image: --scroll %d is outside %d..0, using %d\n", o.v,
                 VerticalRange(doc).Min, g.V);
  }

  QImage image;
  ScoreRenderer renderer;
  renderer.Render(image, doc, settings, g);
  if (image.isNull()) return Fail(kFailure, QStringLiteral("cannot make an image of %1x%2").arg(o.width).arg(o.height));

  QImageWriter writer(o.output, QByteArrayLiteral("png"));
  if (!writer.write(image)) {
    return Fail(kFailure, QStringLiteral("cannot write '%1': %2").arg(o.output, writer.errorString()));
  }
  return kOk;
}

}  // namespace

int RunExportImage(const QStringList& arguments) {
  if (arguments.isEmpty() || arguments.front() != QStringLiteral("--export-image")) {
    return Fail(kUsage, QStringLiteral("the arguments must start with --export-image"));
  }
  ExportOptions options;
  const QString error = ParseOptions(arguments, options);
  if (!error.isEmpty()) return Fail(kUsage, error);

  // Painting text needs an application object; no window is ever shown, so
  // the offscreen platform serves when nothing else was chosen.
  std::unique_ptr<QGuiApplication> app;
  if (QCoreApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "beatloom";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  return Export(options);
}

}  // namespace beatloom
