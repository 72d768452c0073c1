#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <utility>

#include "model/document.h"
#include "view/score_geometry.h"
#include "view/ui/score_renderer.h"
#include "view/view_settings.h"

namespace beatloom {

// The paint box "pb": shows the rendered score image. Renders into ScoreImage
// and copies that to the screen; overlays of the mouse editing are drawn on
// the screen copy only and wiped by copying back from ScoreImage.
class ScoreWidget : public QWidget {
  Q_OBJECT

 public:
  ScoreWidget(Document& doc, ViewSettings& settings, QWidget* parent = nullptr);

  // After any change of the chart or of a view setting: lays the lanes out
  // again when the width unit, flat option or play mode changed, re-renders
  // and repaints.
  void Redraw();
  // After W, the flat option or the play mode changed (Redraw notices too).
  void RecomputeLanes();
  // GSV and GSH positions; both are clamped into their ranges, then the score
  // is rendered for them.
  void SetScroll(int v, int s);
  int VerticalScroll() const { return geometry_.V; }
  int HorizontalScroll() const { return geometry_.S; }
  // GSH range for the current width and lanes.
  std::pair<int, int> HorizontalRange() const { return {hrange_.Min, hrange_.Max}; }
  // GSV range: the document's scroll minimum to 0.
  std::pair<int, int> VerticalRange() const;

  // The view settings the score is drawn with.
  const ViewSettings& View() const { return settings_; }
  // The lane tables and conversions for the current paint area and scroll.
  const ScoreGeometry& Geometry() const { return geometry_; }
  const QImage& ScoreImage() const { return scoreImage_; }
  // What the widget shows: ScoreImage plus any overlay.
  const QImage& ScreenImage() const { return screen_; }

  // Builds ScoreImage for the given scroll positions and shows it.
  void Render(int s, int v);
  // Shows the whole ScoreImage, wiping every overlay.
  void Blit();
  // Draws an object as an overlay on the screen; returns what it covered.
  QRect DrawObject(const TBmsObject& object);
  // Draws an unfilled rectangle covering columns Left..Right-1 and rows
  // Top..Bottom-1 as an overlay; returns what it covered.
  QRect DrawFrame(const ScreenRect& rect, const QColor& colour);
  void RememberOverlay(const QRect& rect);
  // Wipes the remembered overlay rectangle by copying it from ScoreImage.
  void RestoreOverlay();
  // The line that crosses the score where playback is; -1 shows none. It is
  // painted over whatever the screen shows, so no overlay needs redrawing.
  void SetPlayLine(int pos);
  int PlayLine() const { return playLine_; }

 signals:
  // The paint area or the lanes changed size: the horizontal range is new.
  void layoutChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Lanes for the current settings; true when they changed.
  bool RefreshLanes();
  // The layout step: paint area size, lanes, horizontal range.
  void Layout();
  void ShowRect(const QRect& rect);

  Document& doc_;
  ViewSettings& settings_;
  ScoreRenderer renderer_;
  ScoreGeometry geometry_;
  ScrollRange hrange_ = InitialHorizontalRange;
  QImage scoreImage_;
  QImage screen_;
  bool overlayRemembered_ = false;
  QRect overlay_;
  int playLine_ = -1;
};

}  // namespace beatloom
