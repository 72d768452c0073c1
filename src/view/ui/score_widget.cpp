#include "view/ui/score_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace beatloom {

ScoreWidget::ScoreWidget(Document& doc, ViewSettings& settings, QWidget* parent)
    : QWidget(parent), doc_(doc), settings_(settings) {
  setObjectName(QStringLiteral("pb"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  geometry_ = ScoreGeometry::For(settings_, doc_.header.cbpmode, width(), height(), 0, 0, BgmLaneCountOf(doc_));
  Layout();
}

std::pair<int, int> ScoreWidget::VerticalRange() const {
  const ScrollRange r = beatloom::VerticalRange(doc_);
  return {r.Min, r.Max};
}

bool ScoreWidget::RefreshLanes() {
  const ScoreGeometry fresh = ScoreGeometry::For(settings_, doc_.header.cbpmode, width(), height(), geometry_.V,
                                                 geometry_.S, BgmLaneCountOf(doc_));
  const bool lanesChanged = fresh.lanes.LaneLeft() != geometry_.lanes.LaneLeft();
  geometry_ = fresh;
  return lanesChanged;
}

void ScoreWidget::Layout() {
  RefreshLanes();
  hrange_ = NextHorizontalRange(hrange_, geometry_.lanes.TotalWidth(), geometry_.pbWidth);
  geometry_.S = ClampToRange(geometry_.S, hrange_);
  geometry_.V = ClampToRange(geometry_.V, beatloom::VerticalRange(doc_));
}

void ScoreWidget::RecomputeLanes() {
  Layout();
  Render(geometry_.S, geometry_.V);
  emit layoutChanged();
}

void ScoreWidget::Redraw() {
  renderer_.InvalidateObjects();
  const bool lanesChanged = RefreshLanes();
  if (lanesChanged) {
    RecomputeLanes();
    return;
  }
  Render(geometry_.S, geometry_.V);
}

void ScoreWidget::SetScroll(int v, int s) { Render(s, v); }

void ScoreWidget::Render(int s, int v) {
  geometry_.S = ClampToRange(s, hrange_);
  geometry_.V = ClampToRange(v, beatloom::VerticalRange(doc_));
  // The screen copy shares ScoreImage's pixels; letting go of it first saves
  // a full copy of the image at every frame.
  screen_ = QImage();
  renderer_.Render(scoreImage_, doc_, settings_, geometry_);
  Blit();
}

void ScoreWidget::Blit() {
  screen_ = scoreImage_;
  update();
}

QRect ScoreWidget::DrawObject(const TBmsObject& object) {
  if (screen_.isNull()) return {};
  QPainter p(&screen_);
  const QRect covered = renderer_.DrawObject(p, object, doc_, settings_, geometry_);
  p.end();
  ShowRect(covered);
  return covered;
}

QRect ScoreWidget::DrawFrame(const ScreenRect& rect, const QColor& colour) {
  if (screen_.isNull() || rect.Right - rect.Left < 1 || rect.Bottom - rect.Top < 1) return {};
  // An aliased one-pixel pen outlines w + 1 by h + 1 pixels.
  const QRect outline(rect.Left, rect.Top, rect.Right - rect.Left - 1, rect.Bottom - rect.Top - 1);
  QPainter p(&screen_);
  p.setPen(colour);
  p.setBrush(Qt::NoBrush);
  p.drawRect(outline);
  p.end();
  const QRect covered(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
  ShowRect(covered);
  return covered;
}

void ScoreWidget::RememberOverlay(const QRect& rect) {
  overlayRemembered_ = true;
  overlay_ = rect;
}

void ScoreWidget::RestoreOverlay() {
  if (!overlayRemembered_ || screen_.isNull() || scoreImage_.isNull()) return;
  const QRect r = overlay_.normalized().intersected(scoreImage_.rect());
  if (r.isEmpty()) return;
  QPainter p(&screen_);
  p.drawImage(r.topLeft(), scoreImage_, r);
  p.end();
  ShowRect(r);
}

void ScoreWidget::ShowRect(const QRect& rect) {
  if (!rect.isNull()) update(rect);
}

void ScoreWidget::SetPlayLine(int pos) {
  if (pos == playLine_) return;
  // Only the rows of the old and the new line are painted again.
  for (const int shown : {playLine_, pos})
    if (shown >= 0) update(0, geometry_.YOfTick(shown) - 2, width(), 3);
  playLine_ = pos;
}

void ScoreWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  if (screen_.isNull()) {
    p.fillRect(event->rect(), Qt::black);
    return;
  }
  p.drawImage(event->rect().topLeft(), screen_, event->rect());
  if (playLine_ >= 0) {
    const int y = geometry_.YOfTick(playLine_) - 1;
    p.fillRect(0, y - 1, width(), 2, QColor(255, 64, 64));
  }
}

void ScoreWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
  renderer_.InvalidateObjects();
  Render(geometry_.S, geometry_.V);
  emit layoutChanged();
}

}  // namespace beatloom
