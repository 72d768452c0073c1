#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStaticText>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/document.h"
#include "view/object_index.h"
#include "view/score_geometry.h"
#include "view/view_settings.h"

namespace beatloom {

// Paints the score: background, measure numbers, grid, lane edges and
// separators, measure lines with length arrows, objects and lane captions.
// Keeps an index of the objects by position so that a frame costs what is
// visible, not what the chart holds; objects stacked on one lane and tick
// are drawn once, as the one on top.
class ScoreRenderer {
 public:
  ScoreRenderer();

  // Objects were added, removed or moved: the position index is rebuilt at
  // the next render. A change of the list's size or storage is noticed
  // without this call; a change of positions in place is not.
  void InvalidateObjects() { index_.Clear(); }

  // Builds the whole score image for the geometry's paint area and scroll
  // positions; image is recreated when its size differs.
  void Render(QImage& image, const Document& doc, const ViewSettings& settings, const ScoreGeometry& geometry);

  // Draws one object (also one that is not in the list, such as the write
  // preview), a long note's bar included, and returns the pixels it covered,
  // label included; a null rectangle when it was not drawn.
  QRect DrawObject(QPainter& painter, const TBmsObject& object, const Document& doc, const ViewSettings& settings,
                   const ScoreGeometry& geometry) const;

  const QFont& MeasureNumberFont() const { return measureFont_; }
  const QFont& LabelFont() const { return labelFont_; }
  const QFont& CaptionFont() const { return captionFont_; }

 private:
  void EnsureIndex(const Document& doc);
  // A long note's bar up to its end cell, drawn under every cell so that no
  // bar hides a note it passes; the pixels covered.
  QRect DrawBar(QPainter& p, const TBmsObject& object, const ViewSettings& s, const ScoreGeometry& g) const;
  QRect DrawCell(QPainter& p, const TBmsObject& object, const Document& doc, const ViewSettings& s,
                 const ScoreGeometry& g) const;
  void DrawMeasureNumbers(QPainter& p, const ScoreGeometry& g, const ViewSettings& s) const;
  void DrawGridLines(QPainter& p, const ScoreGeometry& g, int divisions, QColor color) const;
  enum class LaneEdgeKind { Every, GroupSeparators };
  void DrawLaneEdges(QPainter& p, const ScoreGeometry& g, LaneEdgeKind kind, QColor color) const;
  void DrawMeasureLines(QPainter& p, const Document& doc, const ScoreGeometry& g, const ViewSettings& s) const;
  void DrawCaptions(QPainter& p, const ScoreGeometry& g, const ViewSettings& s) const;

  // A label laid out once: a view shows the same few hundred values over and
  // over, and laying out text is most of the cost of an object.
  struct LaidOutLabel {
    QStaticText text;
    int width = 0;
  };
  const LaidOutLabel& Label(const std::string& utf8) const;
  void DrawLabel(QPainter& p, int left, int top, const LaidOutLabel& label, const QColor& color) const;

  QFont measureFont_;
  QFont labelFont_;
  QFont captionFont_;
  QFontMetrics measureMetrics_;
  QFontMetrics labelMetrics_;
  QFontMetrics captionMetrics_;
  ObjectIndex index_{TicksPerMeasure, ObjectIndex::Holds::Topmost};
  const TBmsObject* indexedData_ = nullptr;
  std::vector<int> visible_;
  mutable std::unordered_map<std::string, LaidOutLabel> labels_;
};

}  // namespace beatloom
