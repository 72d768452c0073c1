#include "view/ui/score_renderer.h"

#include <QString>
#include <algorithm>
#include <cmath>

#include "view/object_style.h"

namespace beatloom {

namespace {

QColor Rgb(uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | (rgb & 0xFFFFFF))); }

// Rows and columns far outside the image are cut to this so that QRect
// arithmetic cannot overflow; nothing beyond it is ever visible.
constexpr int64_t Far = 1 << 24;

int Cut(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -Far, Far)); }

// Fills the pixels of columns x0..x1-1 and rows y0..y1-1.
void FillSpan(QPainter& p, int64_t x0, int64_t y0, int64_t x1, int64_t y1, const QColor& c) {
  if (x1 <= x0 || y1 <= y0) return;
  p.fillRect(QRect(QPoint(Cut(x0), Cut(y0)), QPoint(Cut(x1) - 1, Cut(y1) - 1)), c);
}

// A one-pixel line from (x0, y0) towards (x1, y1), the end point left out as
// the score has always drawn its lines. Horizontal, vertical and diagonal
// lines are all the score needs.
void Line(QPainter& p, int64_t x0, int64_t y0, int64_t x1, int64_t y1, const QColor& c) {
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  if (dy == 0) {
    if (dx > 0) FillSpan(p, x0, y0, x1, y0 + 1, c);
    if (dx < 0) FillSpan(p, x1 + 1, y0, x0 + 1, y0 + 1, c);
    return;
  }
  if (dx == 0) {
    if (dy > 0) FillSpan(p, x0, y0, x0 + 1, y1, c);
    if (dy < 0) FillSpan(p, x0, y1 + 1, x0 + 1, y0 + 1, c);
    return;
  }
  const int64_t steps = std::max(std::abs(dx), std::abs(dy));
  for (int64_t k = 0; k < steps; ++k) {
    const int64_t x = x0 + static_cast<int64_t>(std::llround(static_cast<double>(dx) * k / steps));
    const int64_t y = y0 + static_cast<int64_t>(std::llround(static_cast<double>(dy) * k / steps));
    FillSpan(p, x, y, x + 1, y + 1, c);
  }
}

void DrawTextAt(QPainter& p, const QFontMetrics& fm, int left, int top, const QString& text, const QColor& c) {
  p.setPen(c);
  p.drawText(QPoint(left, top + fm.ascent()), text);
}

QFont MakeFont(const QStringList& families, int pixelSize, bool bold, bool italic, bool antialias) {
  QFont f;
  f.setFamilies(families);
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  f.setItalic(italic);
  f.setStyleStrategy(antialias ? QFont::PreferDefault : QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

// The look of the score was made with Arial for the measure numbers and the
// MS Gothic faces for labels and captions; these are the nearest faces a
// Linux desktop has, at the same pixel sizes. Liberation Sans has Arial's
// metrics, so the numbers keep their width. The labels want a crisp
// monospaced face with a cell about 10 pixels high: DejaVu Sans Mono, with
// the CJK face taking over for Japanese file names.
QFont MakeMeasureFont() {
  return MakeFont({"Liberation Sans", "Arial", "Nimbus Sans", "DejaVu Sans"}, 96, true, true, true);
}
QFont MakeLabelFont() { return MakeFont({"DejaVu Sans Mono", "Noto Sans Mono CJK JP"}, 10, true, false, false); }
QFont MakeCaptionFont() { return MakeFont({"Noto Sans CJK JP", "DejaVu Sans"}, 12, false, false, false); }

}  // namespace

ScoreRenderer::ScoreRenderer()
    : measureFont_(MakeMeasureFont()),
      labelFont_(MakeLabelFont()),
      captionFont_(MakeCaptionFont()),
      measureMetrics_(measureFont_),
      labelMetrics_(labelFont_),
      captionMetrics_(captionFont_) {}

void ScoreRenderer::EnsureIndex(const Document& doc) {
  if (index_.Built() && index_.IndexedSize() == doc.ObjList.size() && indexedData_ == doc.ObjList.data()) return;
  index_.Rebuild(doc.ObjList);
  indexedData_ = doc.ObjList.data();
}

void ScoreRenderer::Render(QImage& image, const Document& doc, const ViewSettings& rawSettings,
                           const ScoreGeometry& g) {
  const ViewSettings s = rawSettings.Clamped();
  const QSize size(std::max(g.pbWidth, 0), std::max(g.pbHeight, 0));
  if (image.size() != size || image.format() != QImage::Format_RGB32) image = QImage(size, QImage::Format_RGB32);
  if (image.isNull()) return;
  QPainter p(&image);
  p.fillRect(image.rect(), Rgb(s.Color(ScoreColor::Background)));
  DrawMeasureNumbers(p, g, s);
  DrawGridLines(p, g, GridLineDivision(s.GridPosition), Rgb(s.Color(ScoreColor::Grid)));
  DrawLaneEdges(p, g, LaneEdgeKind::Every, Rgb(s.Color(ScoreColor::ColLine1)));
  DrawGridLines(p, g, SubLineDivision(s.SubGridPosition), Rgb(s.Color(ScoreColor::SubLine)));
  DrawLaneEdges(p, g, LaneEdgeKind::GroupSeparators, Rgb(s.Color(ScoreColor::ColLine2)));
  DrawMeasureLines(p, doc, g, s);

  EnsureIndex(doc);
  int64_t lo = 0;
  int64_t hi = 0;
  g.CandidatePositions(lo, hi);
  visible_.clear();
  index_.Query(doc.ObjList, lo, hi, visible_);
  for (const int i : visible_)
    if (HasBar(doc.ObjList[i])) DrawBar(p, doc.ObjList[i], s, g);
  for (const int i : visible_) DrawCell(p, doc.ObjList[i], doc, s, g);

  DrawCaptions(p, g, s);
}

void ScoreRenderer::DrawMeasureNumbers(QPainter& p, const ScoreGeometry& g, const ViewSettings& s) const {
  const int64_t H = g.GridHeight;
  const int64_t n = g.pbHeight / H;
  const int64_t q = g.ScrollPixels();
  const QColor background = Rgb(s.Color(ScoreColor::Background));
  const QColor color = Rgb(s.Color(ScoreColor::NoteFont));
  p.setFont(measureFont_);
  const int height = measureMetrics_.height();
  for (int64_t i = 0; i <= n + 1; ++i) {
    const int64_t y = g.pbHeight - H * i - Mod(q, H);
    const int64_t m = Div(-q, H) + i;
    const QString text = QString::fromStdString(MeasureNumberText(m));
    const int width = measureMetrics_.horizontalAdvance(text);
    const int left = (g.pbWidth - width) / 2;
    const int64_t top = y - height;
    FillSpan(p, left, top, left + width, y, background);
    DrawTextAt(p, measureMetrics_, left, Cut(top), text, color);
  }
}

void ScoreRenderer::DrawGridLines(QPainter& p, const ScoreGeometry& g, int divisions, QColor color) const {
  if (divisions <= 0) return;
  const int64_t H = g.GridHeight;
  const int64_t n = g.pbHeight / H;
  const int64_t q = g.ScrollPixels();
  const int64_t shift = Mod(q * divisions, H);
  const int64_t x0 = -int64_t{g.S};
  const int64_t x1 = g.lanes.TotalWidth() - int64_t{g.S};
  for (int64_t j = 0; j <= (n + 1) * divisions; ++j) {
    const int64_t row = Nearest(int64_t{g.pbHeight} * divisions - j * H - shift, divisions);
    Line(p, x0, row, x1, row, color);
  }
}

void ScoreRenderer::DrawLaneEdges(QPainter& p, const ScoreGeometry& g, LaneEdgeKind kind, QColor color) const {
  const auto& left = g.lanes.LaneLeft();
  const auto edge = [&](int i) { FillSpan(p, left[i] - g.S, 0, left[i] - g.S + 1, g.pbHeight, color); };
  if (kind == LaneEdgeKind::GroupSeparators) {
    for (const int i : LaneGroupEdges) edge(i);
    return;
  }
  // A collapsed lane's edge is its neighbour's.
  for (int i = 0; i < LaneTableSize; ++i)
    if (i == LaneCount || g.lanes.LaneWidth()[i] > 0) edge(i);
}

void ScoreRenderer::DrawMeasureLines(QPainter& p, const Document& doc, const ScoreGeometry& g,
                                     const ViewSettings& s) const {
  const int64_t H = g.GridHeight;
  const int64_t n = g.pbHeight / H;
  const int64_t q = g.ScrollPixels();
  const int64_t x0 = -int64_t{g.S};
  const int64_t x1 = g.lanes.TotalWidth() - int64_t{g.S};
  const QColor color = Rgb(s.Color(ScoreColor::NoteLine));
  for (int64_t i = 0; i <= n + 1; ++i) {
    const int64_t y = g.pbHeight - H * i - Mod(q, H);
    // Two pixels wide, the extra row above; the round ends reach one pixel
    // past both ends.
    FillSpan(p, x0 - 1, y - 1, x1 + 1, y + 1, color);
    const double factor = MeasureLengthOf(doc, Div(-q, H) + i);
    if (factor == 1.0) continue;
    const double real = std::trunc(static_cast<double>(H) * factor);
    const int64_t L = static_cast<int64_t>(std::clamp(real, -static_cast<double>(Far), static_cast<double>(Far)));
    Line(p, x0, y, x0 - 5, y, color);
    Line(p, x0 - 5, y, x0 - 5, y - L, color);
    Line(p, x0 - 5, y - L, x0 - 9, y - L + 4, color);
    Line(p, x0 - 5, y - L, x0 - 1, y - L + 4, color);
  }
}

void ScoreRenderer::DrawCaptions(QPainter& p, const ScoreGeometry& g, const ViewSettings& s) const {
  const auto& width = g.lanes.LaneWidth();
  const auto& left = g.lanes.LaneLeft();
  const QColor shadow(Qt::black);
  const QColor color = Rgb(s.Color(ScoreColor::ZoneFont));
  p.setFont(captionFont_);
  for (int i = 0; i < LaneCount; ++i) {
    if (width[i] <= 0) continue;
    const QString text = QString::fromStdString(LaneCaption(i));
    const int x = (width[i] - captionMetrics_.horizontalAdvance(text)) / 2 + left[i] - g.S;
    DrawTextAt(p, captionMetrics_, x - 1, 0, text, shadow);
    DrawTextAt(p, captionMetrics_, x + 1, 2, text, shadow);
    DrawTextAt(p, captionMetrics_, x, 1, text, color);
  }
}

const ScoreRenderer::LaidOutLabel& ScoreRenderer::Label(const std::string& utf8) const {
  const auto found = labels_.find(utf8);
  if (found != labels_.end()) return found->second;
  if (labels_.size() > 4096) labels_.clear();
  const QString text = QString::fromStdString(utf8);
  LaidOutLabel label;
  label.text.setText(text);
  label.text.setTextFormat(Qt::PlainText);
  label.text.setPerformanceHint(QStaticText::AggressiveCaching);
  label.text.prepare(QTransform(), labelFont_);
  label.width = labelMetrics_.horizontalAdvance(text);
  return labels_.emplace(utf8, std::move(label)).first->second;
}

void ScoreRenderer::DrawLabel(QPainter& p, int left, int top, const LaidOutLabel& label, const QColor& color) const {
  p.setFont(labelFont_);
  p.setPen(color);
  p.drawStaticText(QPoint(left, top), label.text);
}

QRect ScoreRenderer::DrawObject(QPainter& p, const TBmsObject& o, const Document& doc, const ViewSettings& s,
                                const ScoreGeometry& g) const {
  const QRect bar = HasBar(o) ? DrawBar(p, o, s, g) : QRect();
  return bar | DrawCell(p, o, doc, s, g);
}

QRect ScoreRenderer::DrawBar(QPainter& p, const TBmsObject& o, const ViewSettings& s, const ScoreGeometry& g) const {
  if (g.lanes.LaneWidth()[o.Lane] == 0) return {};
  const ScreenRect span = g.ObjectSpan(o);
  if (!g.RowsVisible(span)) return {};
  const ScreenRect cell = g.ObjectRect(o);
  // The lane's colour halfway to the background: the bar reads as the
  // note's, and the cells at both ends stand out from it.
  const ObjectColors colors = ColorsOf(o);
  const QColor background = Rgb(s.Color(ScoreColor::Background));
  const auto half = [&background](uint32_t rgb) {
    const QColor c = Rgb(rgb);
    return QColor((c.red() + background.red()) / 2, (c.green() + background.green()) / 2,
                  (c.blue() + background.blue()) / 2);
  };
  const QColor body = half(colors.Fill);
  const int endBottom = span.Top + g.ObjectHeightOf(o.Lane);
  // The body, a pixel narrower on each side than the cells.
  FillSpan(p, span.Left + 1, endBottom, span.Right - 1, cell.Top, body);
  // The end cell: the body's colour in the bevel of a cell.
  FillSpan(p, span.Left, span.Top, span.Right, endBottom, body);
  Line(p, span.Left, endBottom - 1, span.Left, span.Top, Rgb(colors.Light));
  Line(p, span.Left, span.Top, span.Right - 1, span.Top, Rgb(colors.Light));
  Line(p, span.Right - 1, span.Top, span.Right - 1, endBottom - 1, half(colors.Dark));
  Line(p, span.Right - 1, endBottom - 1, span.Left - 1, endBottom - 1, half(colors.Dark));
  return QRect(QPoint(span.Left, Cut(span.Top)), QPoint(span.Right - 1, Cut(span.Bottom) - 1));
}

QRect ScoreRenderer::DrawCell(QPainter& p, const TBmsObject& o, const Document& doc, const ViewSettings& s,
                              const ScoreGeometry& g) const {
  if (g.lanes.LaneWidth()[o.Lane] == 0) return {};
  const ScreenRect r = g.ObjectRect(o);
  if (!g.RowsVisible(r)) return {};

  const ObjectColors colors = ColorsOf(o);
  const QColor light = Rgb(colors.Light);
  const QColor dark = Rgb(colors.Dark);
  FillSpan(p, r.Left, r.Top, r.Right, r.Bottom, Rgb(colors.Fill));
  // Light along the top and left edges, dark along the bottom and right
  // edges; the dark edges own the top-right and bottom-left corners.
  Line(p, r.Left, r.Bottom - 1, r.Left, r.Top, light);
  Line(p, r.Left, r.Top, r.Right - 1, r.Top, light);
  Line(p, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, dark);
  Line(p, r.Right - 1, r.Bottom - 1, r.Left - 1, r.Bottom - 1, dark);

  QRect covered(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
  const std::string label = ObjectLabel(o, doc, s);
  if (label.empty()) return covered;

  // The rectangle returned covers every pixel of the labels too, so that an
  // overlay drawn with this can be wiped without leaving letters behind.
  const LaidOutLabel& text = Label(label);
  const QColor textColor = o.Selected ? QColor(Qt::black) : QColor(Qt::white);
  const int textHeight = labelMetrics_.height();
  const int x = r.Left + 2;
  const int y = r.Bottom - textHeight;
  if (!o.Selected) DrawLabel(p, x + 1, y, text, Qt::black);
  DrawLabel(p, x, y, text, textColor);
  covered |= QRect(x, y, text.width + 1, textHeight);
  if (o.Lane == TempoLane) {
    const LaidOutLabel& bpm = Label("BPM");
    const int bpmLeft = r.Left + (r.Right - r.Left - bpm.width) / 2;
    DrawLabel(p, bpmLeft, r.Bottom, bpm, textColor);
    covered |= QRect(bpmLeft, r.Bottom, bpm.width, textHeight);
  }
  return covered;
}

}  // namespace beatloom
