#pragma once

#include <cstdint>

#include "model/document.h"
#include "view/lane_layout.h"
#include "view/object_index.h"
#include "view/view_settings.h"

namespace beatloom {

// A rectangle of the paint area with exclusive right and bottom edges, as
// objects are filled: columns Left..Right-1, rows Top..Bottom-1. Right < Left
// marks the empty rectangle of an object that is not drawn.
struct ScreenRect {
  int Left = 0;
  int Top = 0;
  int Right = -1;
  int Bottom = -1;
  bool IsEmpty() const { return Right < Left; }
  bool operator==(const ScreenRect&) const = default;
};

// The nearest integer to num / den (den > 0), a half going to the even
// integer. Exact: the pixel and tick conversions must not depend on how a
// quotient happens to round in floating point.
int64_t Nearest(int64_t num, int64_t den);
// Division truncating toward zero, and its remainder (sign of the dividend).
inline int64_t Div(int64_t a, int64_t b) { return a / b; }
inline int64_t Mod(int64_t a, int64_t b) { return a % b; }

// cb_grid index -> divisions per measure for snapping; any other index counts
// as 0 ("1/4"). "Free" is 192: every tick.
int GridDivision(int index);
// The grid lines drawn for a cb_grid index: "Free" draws those of "1/4".
int GridLineDivision(int index);
// cb_r index -> sub-line divisions per measure; 0 for "none" (no sub-lines).
int SubLineDivision(int index);

struct ScrollRange {
  int Min = 0;
  int Max = 0;
  bool operator==(const ScrollRange&) const = default;
};

// The horizontal scroll range before the first layout: nothing to scroll,
// lanes 10 pixels from the left edge.
constexpr ScrollRange InitialHorizontalRange{-10, -10};

// The range of GSH after a layout with the given total score width and paint
// area width. A score wider than the view scrolls from 10 pixels left of lane
// 0 to 10 pixels right of the last lane; a narrower one from its right end 10
// pixels inside the view to lane 0 10 pixels inside. The bounds are set the
// way a scroll bar takes them, maximum then minimum twice with a change that
// would cross the other bound refused, so the result depends on the previous
// range when the score is narrower than the view by less than 20 pixels.
ScrollRange NextHorizontalRange(ScrollRange previous, int totalWidth, int pbWidth);
int ClampToRange(int value, ScrollRange range);
// GSV: from the document's scroll minimum up to 0 (measure 000 at the bottom).
ScrollRange VerticalRange(const Document& doc);

// Everything the pixel <-> chart conversions read: the lane tables, the view
// sizes in force, the paint area and the two scroll positions.
struct ScoreGeometry {
  LaneLayout lanes;
  int GridHeight = DefaultGridHeight;      // H
  int ObjectHeight = DefaultObjectHeight;  // ordinary object height
  int pbWidth = 0;
  int pbHeight = 0;
  int V = 0;  // GSV position: 0 or negative ticks
  int S = 0;  // GSH position: score x = screen x + S

  // The lanes for settings, play mode and the background lanes to show
  // (BgmLaneCountOf), the settings' sizes (clamped to their controls' ranges)
  // and the given paint area and scroll positions.
  static ScoreGeometry For(const ViewSettings& settings, int playMode, int pbWidth, int pbHeight, int V, int S,
                           int bgmLanes = FixedBgmLaneCount);

  bool Flat() const { return lanes.Flat(); }
  int LaneAtX(int x) const;
  // Whether column x lies on the lanes: neither in the margin left of lane 0
  // nor right of the last lane, where LaneAtX only gives the nearest lane.
  bool OnLanes(int x) const;
  int TickAtY(int y) const;
  int SnappedTickAtY(int y, int gridPosition) const;
  // The row just below the bottom pixel line of an object at pos.
  int YOfTick(int pos) const;
  // Whether the paint area shows pos strictly inside its top and bottom rows.
  bool ShowsTick(int pos) const {
    const int y = YOfTick(pos);
    return y > 0 && y < pbHeight;
  }
  ScreenRect ObjectRect(const TBmsObject& object) const;
  // The whole object as the pointer takes it: the cell, and for a bar (see
  // HasBar) everything up to the top of its end cell, a cell's height above
  // the end's row.
  ScreenRect ObjectSpan(const TBmsObject& object) const;
  // The part of a bar that takes hold of its end: the end cell, or the upper
  // half of a bar too short to show both cells apart. Empty without a bar.
  ScreenRect EndGrip(const TBmsObject& object) const;
  // Height of the object drawn for a lane: free scratch objects are a quarter
  // measure tall.
  int ObjectHeightOf(int lane) const;

  // q of the renderer: (V × H) div 192, the pixels the view is scrolled by.
  int64_t ScrollPixels() const;
  // Positions lo..hi outside which no object can touch the paint area. A
  // margin keeps this a superset; ObjectRect decides.
  void CandidatePositions(int64_t& lo, int64_t& hi) const;
  // Whether ObjectRect(object) reaches into the rows of the paint area.
  bool RowsVisible(const ScreenRect& r) const { return !r.IsEmpty() && r.Bottom >= 0 && r.Top <= pbHeight; }
};

}  // namespace beatloom
