#include "view/lane_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/document.h"
#include "view/score_geometry.h"

namespace beatloom {
namespace {

struct EdgeCase {
  const char* name;
  int playMode;
  int w;
  bool flat;
  std::vector<std::pair<int, int>> edges;  // (lane, LaneLeft)
  int total;
};

TEST(RecomputeLanes, EdgeTables) {
  const std::vector<EdgeCase> cases = {
      {"1P normal",
       0,
       6,
       false,
       {{0, 0},
        {1, 30},
        {2, 48},
        {3, 60},
        {4, 72},
        {5, 84},
        {6, 96},
        {7, 108},
        {8, 126},
        {9, 150},
        {10, 174},
        {11, 174},
        {14, 174},
        {18, 174},
        {19, 174},
        {20, 198},
        {22, 246},
        {49, 894}},
       918},
      {"no mode selected collapses like 1P", -1, 6, false, {{10, 174}, {18, 174}, {19, 174}, {22, 246}}, 918},
      {"2P normal",
       1,
       6,
       false,
       {{10, 174},
        {11, 192},
        {12, 204},
        {13, 216},
        {14, 228},
        {15, 240},
        {16, 252},
        {17, 270},
        {18, 294},
        {19, 318},
        {22, 390}},
       1062},
      {"Double Play shows the same lanes as 2P", 2, 6, false, {{11, 192}, {19, 318}}, 1062},
      {"2P flat", 1, 6, true, {{1, 30}, {2, 54}, {9, 222}, {10, 246}, {18, 438}, {19, 462}}, 30 + 49 * 24},
      {"1P flat", 0, 6, true, {{9, 222}, {10, 246}, {18, 246}, {19, 246}}, 30 + 9 * 24 + 31 * 24},
      // Raising W from 6 to 7 moves every edge.
      {"1P normal W=7", 0, 7, false, {{1, 35}, {2, 56}, {10, 203}, {19, 203}, {22, 287}}, 918 / 6 * 7},
      {"2P normal W=4", 1, 4, false, {{1, 20}, {10, 116}, {19, 212}}, 1062 / 6 * 4},
      {"2P flat W=20", 1, 20, true, {{1, 100}, {19, 100 + 18 * 80}}, 100 + 49 * 80},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    LaneLayout l;
    l.RecomputeLanes(c.playMode, c.w, c.flat);
    // The stop lane, 5 W wide, stands between the tempo lane and key 1.
    const int stop = 5 * c.w;
    for (const auto& [lane, left] : c.edges)
      EXPECT_EQ(l.LaneLeft()[lane], left + (lane > 0 ? stop : 0)) << "lane " << lane;
    EXPECT_EQ(l.TotalWidth(), c.total + stop);
    EXPECT_EQ(l.LaneLeft()[StopLane], 5 * c.w);
    EXPECT_EQ(l.LaneWidth()[StopLane], stop);
    for (int column = 0; column < LaneCount; ++column) {
      const int lane = LaneAtColumn(column);
      const int next = column + 1 < LaneCount ? l.LaneLeft()[LaneAtColumn(column + 1)] : l.TotalWidth();
      EXPECT_EQ(next - l.LaneLeft()[lane], l.LaneWidth()[lane]) << "lane " << lane;
    }
  }
}

TEST(LaneCaption, NamesEveryLane) {
  EXPECT_EQ(LaneCaption(0), "BPM");
  EXPECT_EQ(LaneCaption(7), "7");
  EXPECT_EQ(LaneCaption(8), "Sc");
  EXPECT_EQ(LaneCaption(18), "Fr");
  EXPECT_EQ(LaneCaption(20), "U-L");
  EXPECT_EQ(LaneCaption(22), "B01");
  EXPECT_EQ(LaneCaption(49), "B28");
  EXPECT_EQ(LaneCaption(50), "STOP");
  EXPECT_EQ(LaneCaption(51), "B29");
  EXPECT_EQ(LaneCaption(255), "B233");
}

ScoreGeometry Geometry(int playMode, int pbHeight = 400, int H = 192, int V = 0, int S = 0, bool flat = false) {
  ViewSettings s;
  s.GridHeight = H;
  s.FlatObjectWidth = flat;
  return ScoreGeometry::For(s, playMode, 800, pbHeight, V, S);
}

TEST(LaneAtX, LargestLaneStartingAtOrLeftOfThePoint) {
  struct Case {
    int playMode, S, x, lane;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, 0},     {0, 0, 29, 0}, {0, 0, 30, 50},   {0, 0, 59, 50}, {0, 0, 60, 1},
      {0, 0, 203, 9},   {0, 0, 204, 19},  // left edge of BGA in 1P: never a collapsed lane
      {1, 0, 204, 10},  {0, 0, -5, 0}, {0, 0, 5000, 49}, {0, -10, 9, 0}, {0, -10, 70, 1}, {0, 100, 104, 19},
      {1, 100, 104, 10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Geometry(c.playMode, 400, 192, 0, c.S).LaneAtX(c.x), c.lane)
        << "mode " << c.playMode << " S " << c.S << " x " << c.x;
  }
}

TEST(TickAtY, RoundsHalvesToEven) {
  struct Case {
    int H, V, pbHeight, y, tick;
  };
  const std::vector<Case> cases = {
      {192, 0, 400, 399, 1},    {192, 0, 400, 400, 0},        {192, 0, 400, 401, -1},
      {192, 0, 400, 208, 192},  {384, 0, 400, 399, 0},  // 0.5 -> 0
      {384, 0, 400, 397, 2},                            // 1.5 -> 2
      {384, 0, 400, 395, 2},                            // 2.5 -> 2
      {384, 0, 400, 393, 4},                            // 3.5 -> 4
      {384, 0, 400, 401, 0},                            // -0.5 -> 0
      {384, 0, 400, 403, -2},                           // -1.5 -> -2
      {728, 0, 400, 399, 0},    {728, 0, 400, 398, 1},        {192, -96, 400, 400, 96},
      {192, -96, 400, 399, 97}, {384, -5000, 400, 399, 5000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Geometry(0, c.pbHeight, c.H, c.V).TickAtY(c.y), c.tick) << "H " << c.H << " V " << c.V << " y " << c.y;
  }
}

TEST(SnappedTickAtY, SnapsDownTheGridTowardZero) {
  struct Case {
    int grid, y, tick;
  };
  // H = 192, V = 0, pbHeight = 400: row r is tick 400 - r.
  const std::vector<Case> cases = {
      {2, 400 - 23, 12},  {2, 400 - 24, 24},   {2, 400 - 11, 0}, {8, 400 - 23, 23},
      {4, 400 - 32, 0},   {4, 400 - 63, 0},  // half way and beyond between 0 and 64 still snaps down
      {4, 400 - 64, 64},  {0, 400 - 47, 0},    {9, 400 - 47, 0},  // out of range counts as 1/4
      {-1, 400 - 50, 48}, {2, 400 + 5, 0},                        // -5 snaps up to 0
      {2, 400 + 13, -12}, {6, 400 - 200, 192},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Geometry(0).SnappedTickAtY(c.y, c.grid), c.tick) << "grid " << c.grid << " y " << c.y;
  }
}

TEST(YOfTick, RowBelowTheObject) {
  struct Case {
    int H, V, pbHeight, pos, row;
  };
  const std::vector<Case> cases = {
      {192, 0, 400, 0, 401},     {192, 0, 400, 192, 209}, {192, 0, 400, 1, 400}, {96, 0, 400, 1, 401},  // 0.5 -> 0
      {96, 0, 400, 3, 399},                                                                             // 1.5 -> 2
      {96, 0, 400, 5, 399},                                                                             // 2.5 -> 2
      {96, -1, 400, 0, 401},  // -96 div 192 truncates to 0
      {96, -3, 400, 0, 402},  // -288 div 192 truncates to -1
      {192, -96, 400, 192, 305},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Geometry(0, c.pbHeight, c.H, c.V).YOfTick(c.pos), c.row)
        << "H " << c.H << " V " << c.V << " pos " << c.pos;
  }
  // On whole pixels the object's row lies one below the row that maps to it.
  for (const int H : {96, 192, 384}) {
    const ScoreGeometry g = Geometry(0, 600, H, -192);
    for (int pos = 192; pos < 192 * 3; pos += 192 / (H / 96) / 2) {
      if ((int64_t{H} * pos) % 192 != 0) continue;
      EXPECT_EQ(g.TickAtY(g.YOfTick(pos) - 1), pos) << "H " << H << " pos " << pos;
    }
  }
}

TEST(YOfTick, ExtremePositionsDoNotOverflow) {
  const ScoreGeometry g = Geometry(0, 400, 728, INT32_MIN);
  TBmsObject o;
  o.Lane = 1;
  o.Pos = INT32_MAX;
  const ScreenRect r = g.ObjectRect(o);
  EXPECT_LT(r.Top, r.Bottom);
  EXPECT_EQ(g.TickAtY(0), INT32_MAX);  // saturates
}

TEST(GridDivision, ItemsAndFallback) {
  const std::vector<int> snap = {4, 8, 16, 32, 3, 6, 12, 24, 192};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(GridDivision(i), snap[i]);
  EXPECT_EQ(GridDivision(-1), 4);
  EXPECT_EQ(GridDivision(9), 4);
  EXPECT_EQ(GridLineDivision(8), 4);  // "Free" draws the lines of 1/4
  EXPECT_EQ(GridLineDivision(3), 32);
  const std::vector<int> sub = {2, 4, 8, 16, 32, 3, 6, 12, 24, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(SubLineDivision(i), sub[i]);
  EXPECT_EQ(SubLineDivision(10), 0);
}

TBmsObject At(int lane, int pos) {
  TBmsObject o;
  o.Lane = static_cast<uint8_t>(lane);
  o.Pos = pos;
  o.Value = 1;
  return o;
}

TEST(ObjectRect, KeysAreWidenedLikeAKeyboard) {
  struct Case {
    int playMode;
    bool flat;
    int S, lane;
    ScreenRect rect;
  };
  // pbHeight 400, H 192, V 0: an object at position 192 has Bottom 209.
  const std::vector<Case> cases = {
      {0, false, 0, 1, {31, 199, 54, 209}},    {0, false, 0, 2, {43, 199, 66, 209}},
      {0, false, 0, 3, {55, 199, 78, 209}},    {0, false, 0, 6, {91, 199, 114, 209}},
      {0, false, 0, 7, {103, 199, 126, 209}},  {0, false, 0, 8, {127, 199, 150, 209}},
      {0, false, 0, 9, {151, 161, 174, 209}},  // free scratch: a quarter measure tall
      {0, false, 0, 0, {1, 199, 30, 209}},     {0, false, 0, 19, {175, 199, 198, 209}},
      {0, false, -10, 1, {41, 199, 64, 209}},  {1, false, 0, 10, {175, 199, 198, 209}},
      {1, false, 0, 11, {187, 199, 210, 209}}, {1, false, 0, 16, {247, 199, 270, 209}},
      {1, false, 0, 18, {295, 161, 318, 209}}, {1, true, 0, 2, {55, 199, 78, 209}},
      {1, true, 0, 10, {247, 199, 270, 209}},
  };
  for (const Case& c : cases) {
    const ScoreGeometry g = Geometry(c.playMode, 400, 192, 0, c.S, c.flat);
    // Every lane after the tempo lane stands 30 pixels (the stop lane) further right.
    const int shift = c.lane > 0 ? 30 : 0;
    const ScreenRect want{c.rect.Left + shift, c.rect.Top, c.rect.Right + shift, c.rect.Bottom};
    EXPECT_EQ(g.ObjectRect(At(c.lane, 192)), want) << "mode " << c.playMode << " lane " << c.lane;
  }
}

TEST(ObjectRect, CollapsedAndUnknownLanesAreEmpty) {
  const ScoreGeometry g = Geometry(0);
  for (const int lane : {10, 13, 17, 18, 51, 200, 255}) EXPECT_TRUE(g.ObjectRect(At(lane, 0)).IsEmpty()) << lane;
  EXPECT_FALSE(Geometry(1).ObjectRect(At(13, 0)).IsEmpty());
}

TEST(HorizontalRange, FollowsScoreAndViewWidth) {
  struct Case {
    const char* name;
    ScrollRange previous;
    int total, pbWidth;
    ScrollRange expected;
  };
  const std::vector<Case> cases = {
      {"wider score", InitialHorizontalRange, 918, 800, {-10, 128}},
      {"wider score from a range it crosses", {500, 600}, 918, 800, {-10, 128}},
      {"narrower score", {-10, 128}, 918, 1280, {-352, -10}},
      {"narrower score from the start", InitialHorizontalRange, 918, 1280, {-352, -10}},
      {"exactly 20 narrower", {-10, 128}, 918, 938, {-10, -10}},
      {"less than 20 narrower keeps the minimum", {-352, -10}, 918, 930, {-352, -10}},
      {"less than 20 narrower after a wide score", {-10, 128}, 918, 930, {-10, -10}},
      {"as wide as the view", {-10, 128}, 918, 918, {-10, -10}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextHorizontalRange(c.previous, c.total, c.pbWidth), c.expected) << c.name;
  }
  EXPECT_EQ(ClampToRange(0, {-10, 128}), 0);
  EXPECT_EQ(ClampToRange(0, {-352, -10}), -10);
  EXPECT_EQ(ClampToRange(500, {-10, 128}), 128);
}

TEST(VerticalRange, LoweredByAddsNeverRaised) {
  Document doc;
  EXPECT_EQ(VerticalRange(doc), (ScrollRange{-5000, 0}));
  doc.AddObject(1, 5000, 1);
  EXPECT_EQ(VerticalRange(doc), (ScrollRange{-8072, 0}));
  doc.DeleteObject(0);
  EXPECT_EQ(VerticalRange(doc), (ScrollRange{-8072, 0}));
  doc.ResetDocument();
  EXPECT_EQ(VerticalRange(doc), (ScrollRange{-5000, 0}));
}

TEST(CandidatePositions, CoverEveryVisibleObject) {
  for (const int H : {96, 192, 728}) {
    for (const int V : {0, -1, -97, -5000}) {
      ViewSettings s;
      s.GridHeight = H;
      s.ObjectHeight = 30;
      const ScoreGeometry g = ScoreGeometry::For(s, 1, 800, 333, V, 0);
      int64_t lo = 0;
      int64_t hi = 0;
      g.CandidatePositions(lo, hi);
      for (int pos = -V - 2000; pos < -V + 4000; ++pos) {
        for (const int lane : {1, 9}) {
          if (g.RowsVisible(g.ObjectRect(At(lane, pos)))) {
            EXPECT_TRUE(pos >= lo && pos <= hi) << "H " << H << " V " << V << " pos " << pos;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace beatloom
