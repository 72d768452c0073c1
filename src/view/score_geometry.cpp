#include "view/score_geometry.h"

#include <algorithm>
#include <climits>

namespace beatloom {

namespace {

// Rows far outside any paint area are kept within this bound so that the
// rectangle arithmetic below cannot overflow for positions near the int limits.
constexpr int64_t RowLimit = int64_t{1} << 30;

int Saturate(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

bool IsKeyLane(int lane, int first) { return lane >= first && lane <= first + 6; }

}  // namespace

int64_t Nearest(int64_t num, int64_t den) {
  int64_t q = num / den;
  int64_t r = num % den;
  if (r < 0) {  // floor division, remainder in 0..den-1
    q -= 1;
    r += den;
  }
  const int64_t twice = 2 * r;
  if (twice > den || (twice == den && (q & 1) != 0)) ++q;
  return q;
}

int GridDivision(int index) {
  if (index < 0 || index >= GridChoiceCount) index = 0;
  return GridChoices[index].division;
}

int GridLineDivision(int index) {
  const int d = GridDivision(index);
  return d == TicksPerMeasure ? 4 : d;
}

int SubLineDivision(int index) {
  if (index < 0 || index >= SubGridChoiceCount) return 0;
  return SubGridChoices[index].division;
}

ScrollRange NextHorizontalRange(ScrollRange previous, int totalWidth, int pbWidth) {
  int newMin = 0;
  int newMax = 0;
  if (pbWidth < totalWidth) {
    newMin = -10;
    newMax = totalWidth - pbWidth + 10;
  } else {
    newMin = totalWidth - pbWidth + 10;
    newMax = -10;
  }
  ScrollRange r = previous;
  for (int pass = 0; pass < 2; ++pass) {
    if (newMax >= r.Min) r.Max = newMax;
    if (newMin <= r.Max) r.Min = newMin;
  }
  return r;
}

int ClampToRange(int value, ScrollRange range) { return std::clamp(value, range.Min, std::max(range.Min, range.Max)); }

ScrollRange VerticalRange(const Document& doc) { return {std::min(doc.ScrollMin, 0), 0}; }

ScoreGeometry ScoreGeometry::For(const ViewSettings& settings, int playMode, int pbWidth, int pbHeight, int V, int S,
                                 int bgmLanes) {
  const ViewSettings s = settings.Clamped();
  ScoreGeometry g;
  g.lanes.RecomputeLanes(s.PlayModeFor(playMode), s.GridWidth, s.FlatObjectWidth, bgmLanes);
  g.GridHeight = s.GridHeight;
  g.ObjectHeight = s.ObjectHeight;
  g.pbWidth = pbWidth;
  g.pbHeight = pbHeight;
  g.V = V;
  g.S = S;
  return g;
}

int ScoreGeometry::LaneAtX(int x) const {
  const int64_t s = int64_t{x} + S;
  const auto& left = lanes.LaneLeft();
  // The rightmost shown column starting at or before s: a collapsed lane
  // gives way to the lane that starts where it does.
  const auto& width = lanes.LaneWidth();
  for (int column = lanes.ShownColumns() - 1; column >= 0; --column) {
    const int lane = LaneAtColumn(column);
    if (left[lane] <= s && width[lane] > 0) return lane;
  }
  return 0;
}

bool ScoreGeometry::OnLanes(int x) const {
  const int64_t s = int64_t{x} + S;
  return s >= 0 && s < lanes.TotalWidth();
}

int ScoreGeometry::TickAtY(int y) const {
  const int64_t ticks = Nearest((int64_t{pbHeight} - y) * TicksPerMeasure, GridHeight);
  return Saturate(ticks - V);
}

int ScoreGeometry::SnappedTickAtY(int y, int gridPosition) const {
  const int step = TicksPerMeasure / GridDivision(gridPosition);
  const int t = TickAtY(y);
  return (t / step) * step;
}

int64_t ScoreGeometry::ScrollPixels() const { return Div(int64_t{V} * GridHeight, TicksPerMeasure); }

int ScoreGeometry::YOfTick(int pos) const {
  const int64_t row = int64_t{pbHeight} - Nearest(int64_t{GridHeight} * pos, TicksPerMeasure) - ScrollPixels() + 1;
  return static_cast<int>(std::clamp(row, -RowLimit, RowLimit));
}

int ScoreGeometry::ObjectHeightOf(int lane) const {
  if (lane == P1FreeScratchLane || lane == P2FreeScratchLane) return GridHeight / 4;
  return ObjectHeight;
}

ScreenRect ScoreGeometry::ObjectRect(const TBmsObject& object) const {
  const int lane = object.Lane;
  if (lane >= LaneCount) return {};
  const int left = lanes.LaneLeft()[lane];
  const int width = lanes.LaneWidth()[lane];
  ScreenRect r;
  r.Left = left - S + 1;
  r.Right = left + width - S;
  r.Bottom = YOfTick(object.Pos);
  r.Top = r.Bottom - ObjectHeightOf(lane);
  if (width > 0 && !Flat()) {
    // Keys 1, 3, 5, 7 tile a row of 4W cells and keys 2, 4, 6 sit half a cell
    // between them, as on a keyboard.
    for (const int first : {1, 10}) {
      if (!IsKeyLane(lane, first)) continue;
      const int key = lane - first;  // 0..6
      if (key >= 1 && key <= 5) {
        r.Left -= width / 2;
        r.Right += width / 2;
      } else if (key == 0) {
        r.Right += width / 3;
      } else {
        r.Left -= width / 3;
      }
    }
  }
  return r;
}

ScreenRect ScoreGeometry::ObjectSpan(const TBmsObject& object) const {
  ScreenRect r = ObjectRect(object);
  if (!r.IsEmpty() && HasBar(object)) r.Top = std::min(r.Top, YOfTick(object.EndPos) - ObjectHeightOf(object.Lane));
  return r;
}

ScreenRect ScoreGeometry::EndGrip(const TBmsObject& object) const {
  if (!HasBar(object)) return {};
  ScreenRect r = ObjectSpan(object);
  if (r.IsEmpty()) return r;
  r.Bottom = std::min(r.Top + ObjectHeightOf(object.Lane), (r.Top + r.Bottom) / 2);
  return r;
}

void ScoreGeometry::CandidatePositions(int64_t& lo, int64_t& hi) const {
  // Bottom >= 0 and Top <= pbHeight, solved for the position with a margin of
  // a few ticks for the rounding.
  const int64_t q = ScrollPixels();
  const int64_t tallest = std::max(ObjectHeight, GridHeight / 4);
  lo = Div((-q - tallest - 2) * TicksPerMeasure, GridHeight) - 2;
  hi = Div((int64_t{pbHeight} - q + 3) * TicksPerMeasure, GridHeight) + 2;
}

}  // namespace beatloom
