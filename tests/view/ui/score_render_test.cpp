#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <vector>

#include "model/document.h"
#include "view/score_geometry.h"
#include "view/ui/score_renderer.h"
#include "view/view_settings.h"

namespace beatloom {
namespace {

// Colours unlike each other and unlike every object colour, so that a pixel
// tells which step drew it.
constexpr uint32_t Background = 0x010203;
constexpr uint32_t NoteFont = 0x111111;
constexpr uint32_t NoteLine = 0xEEEEEE;
constexpr uint32_t Grid = 0x223344;
constexpr uint32_t SubLine = 0x556677;
constexpr uint32_t ColLine1 = 0x8899AA;
constexpr uint32_t ColLine2 = 0xBBCCDD;
constexpr uint32_t ZoneFont = 0x00FE00;

class ScoreRenderTest : public ::testing::Test {
 protected:
  ScoreRenderTest() {
    settings.Colors = {Background, NoteFont, NoteLine, Grid, SubLine, ColLine1, ColLine2, ZoneFont};
    settings.ShowIndexNumver = false;
  }

  ScoreGeometry Geometry(int V = 0, int S = 0, int playMode = 0) const {
    return ScoreGeometry::For(settings, playMode, width, height, V, S);
  }

  QImage Render(int V = 0, int S = 0, int playMode = 0) {
    QImage image;
    ScoreRenderer renderer;
    renderer.Render(image, doc, settings, Geometry(V, S, playMode));
    return image;
  }

  TBmsObject& Add(int lane, int pos, int value = 1) { return doc.ObjList[doc.AddObject(lane, pos, value)]; }

  Document doc;
  ViewSettings settings;
  int width = 1000;
  int height = 400;
};

uint32_t At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

struct PixelCase {
  int x, y;
  uint32_t color;
};

void ExpectPixels(const QImage& image, const std::vector<PixelCase>& cases) {
  for (const PixelCase& c : cases) {
    EXPECT_EQ(At(image, c.x, c.y), c.color) << "at (" << c.x << ", " << c.y << ") want " << std::hex << c.color;
  }
}

// 1Player, W 6, H 192, pbHeight 400: lanes end at 948, lane 45 starts at 828
// (the stop lane stands at 30..59, between the tempo lane and key 1);
// measure lines at rows 400, 208, 16; grid rows every 12; sub-lines every 96.
TEST_F(ScoreRenderTest, LinesAtTheirRowsAndColumns) {
  const QImage image = Render();
  ASSERT_EQ(image.size(), QSize(1000, 400));
  ExpectPixels(image, {
                          // measure lines: two pixels, the extra one above
                          {530, 207, NoteLine},
                          {530, 208, NoteLine},
                          {530, 206, Background},
                          {835, 209, Background},
                          {835, 399, NoteLine},
                          {835, 112, SubLine},
                          // ending with the score, round end included
                          {948, 207, NoteLine},
                          {949, 207, Background},
                          {980, 207, Background},
                          // grid lines of 1/16
                          {835, 388, Grid},
                          {835, 387, Background},
                          {835, 389, Background},
                          {835, 220, Grid},
                          {947, 388, Grid},
                          {949, 388, Background},
                          // sub-lines of 1/2 over the grid and the lane edges
                          {835, 304, SubLine},
                          {828, 304, SubLine},
                          // lane edges over the grid lines
                          {828, 300, ColLine1},
                          {828, 388, ColLine1},
                          {827, 300, Background},
                          {829, 300, Background},
                          {78, 300, ColLine1},
                          // group separators over everything but the measure lines
                          {0, 300, ColLine2},
                          {60, 300, ColLine2},
                          {204, 300, ColLine2},
                          {276, 300, ColLine2},
                          {276, 304, ColLine2},
                          {948, 300, ColLine2},
                          {156, 300, ColLine1},
                          {276, 207, NoteLine},
                      });
  EXPECT_NE(At(image, 530, 206), NoteLine);
}

TEST_F(ScoreRenderTest, ScrollingMovesEveryLineDown) {
  const QImage image = Render(-96);
  ExpectPixels(image, {
                          {805, 303, NoteLine},  // measure 001
                          {805, 304, NoteLine},
                          {805, 111, NoteLine},  // measure 002
                          {805, 208, SubLine},   // half of measure 001
                          {805, 292, Grid},
                          {805, 298, Background},
                      });
}

TEST_F(ScoreRenderTest, HorizontalScrollShiftsTheLanes) {
  const QImage image = Render(0, -10);
  ExpectPixels(image, {
                          {10, 300, ColLine2},
                          {70, 300, ColLine2},
                          {0, 388, Background},
                          {10, 388, ColLine2},
                          {11, 388, Grid},
                          {957, 388, Grid},
                          {959, 388, Background},
                      });
}

TEST_F(ScoreRenderTest, GridChoices) {
  struct Case {
    int grid, sub, H;
    std::vector<PixelCase> pixels;
  };
  const std::vector<Case> cases = {
      // "Free" draws the lines of 1/4; "none" draws no sub-lines
      {8, 9, 192, {{805, 352, Grid}, {805, 304, Grid}, {805, 388, Background}, {805, 256, Grid}}},
      // 1/3 at H 200 lands between pixels: 333.33 and 266.67 round to 333 and 267
      {4, 9, 200, {{805, 333, Grid}, {805, 267, Grid}, {805, 334, Background}, {805, 266, Background}}},
      // 1/6 sub-lines over 1/4 grid lines
      {0, 6, 192, {{805, 368, SubLine}, {805, 352, Grid}, {805, 304, SubLine}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "grid " << c.grid << " sub " << c.sub << " H " << c.H);
    settings.GridPosition = c.grid;
    settings.SubGridPosition = c.sub;
    settings.GridHeight = c.H;
    ExpectPixels(Render(), c.pixels);
  }
}

TEST_F(ScoreRenderTest, ObjectFillAndBevel) {
  Add(8, 192);            // scratch: (157, 199)-(180, 209), no widening
  Add(1, 96).Hidden = 1;  // invisible key 1: (61, 295)-(84, 305)
  Add(9, 288);            // free scratch, a quarter measure tall: (181, 65)-(204, 113)
  const QImage image = Render();
  ExpectPixels(image, {
                          {168, 204, 0xFF0000},   {168, 199, 0xFF4F4F},   {157, 204, 0xFF4F4F},  {157, 199, 0xFF4F4F},
                          {168, 208, 0x800000},   {179, 204, 0x800000},   {179, 199, 0x800000},  {157, 208, 0x800000},
                          {168, 198, Background}, {168, 209, Background}, {156, 204, ColLine1},  {70, 300, 0x000000},
                          {70, 295, 0x808080},    {61, 300, 0x808080},    {70, 304, 0x404040},   {83, 300, 0x404040},
                          {190, 90, 0xFF00FF},    {190, 65, 0xFF4FFF},    {190, 63, Background}, {181, 90, 0xFF4FFF},
                          {203, 90, 0x800080},    {190, 112, 0x800080},
                      });
  EXPECT_EQ(At(image, 180, 204), ColLine1);
}

struct LabelPixels {
  int black = 0;
  int white = 0;
};

LabelPixels CountText(const QImage& image, const QRect& r) {
  LabelPixels n;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) {
      if (At(image, x, y) == 0x000000) ++n.black;
      if (At(image, x, y) == 0xFFFFFF) ++n.white;
    }
  }
  return n;
}

TEST_F(ScoreRenderTest, SelectedObjectIsAquaWithBlackText) {
  settings.ShowIndexNumver = true;
  // Lane 22 at pos 96: (277, 295)-(300, 305); the label starts at x 279.
  Add(22, 96).Selected = 1;
  Add(24, 96);
  const QImage image = Render();
  ExpectPixels(image, {{298, 300, 0x00FFFF}, {288, 295, 0xFFFFFF}, {298, 304, 0x007F7F}, {346, 300, 0x800000}});
  const LabelPixels selected = CountText(image, QRect(QPoint(279, 296), QPoint(296, 303)));
  EXPECT_GT(selected.black, 5);
  EXPECT_EQ(selected.white, 0);
  const LabelPixels plain = CountText(image, QRect(QPoint(279 + 48, 296), QPoint(296 + 48, 303)));
  EXPECT_GT(plain.white, 5);
  EXPECT_GT(plain.black, 0);  // the shadow
}

TEST_F(ScoreRenderTest, LabelsFollowTheLabelOption) {
  Add(0, 96, 150);
  Add(22, 96, 0x2A);
  settings.ShowIndexNumver = true;
  const QImage labelled = Render();
  settings.ShowIndexNumver = false;
  const QImage bare = Render();
  // The value on the object and "BPM" under the tempo change come and go.
  EXPECT_GT(CountText(labelled, QRect(QPoint(3, 296), QPoint(28, 303))).white, 5);
  EXPECT_EQ(CountText(bare, QRect(QPoint(3, 296), QPoint(28, 303))).white, 0);
  EXPECT_GT(CountText(labelled, QRect(QPoint(1, 306), QPoint(29, 318))).white, 5);
  EXPECT_EQ(CountText(bare, QRect(QPoint(1, 306), QPoint(29, 318))).white, 0);
  EXPECT_GT(CountText(labelled, QRect(QPoint(279, 296), QPoint(296, 303))).white, 5);
  EXPECT_EQ(CountText(bare, QRect(QPoint(279, 296), QPoint(296, 303))).white, 0);
}

TEST_F(ScoreRenderTest, MeasureLengthArrow) {
  settings.SubGridPosition = 9;
  doc.MeasureLen[0] = 0.7;  // 192 × 0.7 truncates to 134
  doc.MeasureLen[2] = 1.5;
  const QImage image = Render(0, -10);
  // The arrow stands at column -S - 5 = 5 from row 400 up to 266, its head
  // reaching 4 pixels to either side.
  ExpectPixels(image, {
                          {5, 399, NoteLine},
                          {5, 300, NoteLine},
                          {5, 267, NoteLine},
                          {5, 266, NoteLine},
                          {4, 267, NoteLine},
                          {2, 269, NoteLine},
                          {6, 267, NoteLine},
                          {8, 269, NoteLine},
                          {5, 265, Background},
                          {4, 300, Background},
                          {1, 270, Background},
                          {9, 270, Background},
                          // measure 001 keeps its length: no arrow
                          {5, 150, Background},
                          // measure 002's arrow runs past the top
                          {5, 5, NoteLine},
                          // measure lines stay two pixels wide after an arrow
                          {805, 207, NoteLine},
                          {805, 208, NoteLine},
                      });
  EXPECT_NE(At(image, 805, 206), NoteLine);
}

TEST_F(ScoreRenderTest, CollapsedLanesShowNothing) {
  const QImage empty = Render();
  for (int lane = 10; lane <= 18; ++lane) Add(lane, 96 + (lane - 10) * 24);
  EXPECT_EQ(Render(), empty);
  // The same objects appear once player 2's lanes are shown.
  const QImage twoPlayer = Render(0, 0, 1);
  EXPECT_EQ(At(twoPlayer, 230, 276), 0x0000FF);  // lane 11 (2P key 2): (217, 271)-(240, 281)
}

QRect NoteFontColumns(const QImage& image, int top, int bottom) {
  int left = image.width();
  int right = -1;
  for (int y = top; y <= bottom; ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (At(image, x, y) != NoteFont) continue;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

TEST_F(ScoreRenderTest, MeasureNumbersFromOneThousandHaveFourDigits) {
  // Measure 999 and measure 1000 at the bottom of the view.
  const QRect three = NoteFontColumns(Render(-999 * 192), 300, 399);
  const QRect four = NoteFontColumns(Render(-1000 * 192), 300, 399);
  ASSERT_GE(three.width(), 100);
  ScoreRenderer renderer;
  const QFontMetrics fm(renderer.MeasureNumberFont());
  const int digit = fm.horizontalAdvance(QStringLiteral("0"));
  EXPECT_GT(four.width(), three.width() + digit / 2);
  // Centred in the image.
  EXPECT_NEAR((four.left() + four.right()) / 2.0, width / 2.0, digit);
}

TEST_F(ScoreRenderTest, DrawObjectReportsWhatItCovered) {
  settings.ShowIndexNumver = true;
  settings.ShowFileName = true;
  doc.wav[1] = "a_rather_long_sample_name.wav";
  const ScoreGeometry g = Geometry();
  ScoreRenderer renderer;
  QImage image(width, height, QImage::Format_RGB32);
  QPainter p(&image);
  TBmsObject o;
  o.Lane = 22;
  o.Pos = 96;
  o.Value = 1;
  const QRect covered = renderer.DrawObject(p, o, doc, settings, g);
  const QFontMetrics fm(renderer.LabelFont());
  EXPECT_EQ(covered.left(), 277);
  EXPECT_EQ(covered.bottom(), 304);
  EXPECT_GE(covered.right() + 1, 279 + fm.horizontalAdvance(QStringLiteral("a_rather_long_sample_name")));
  o.Lane = 0;
  o.Value = 120;
  EXPECT_GE(renderer.DrawObject(p, o, doc, settings, g).bottom(), 304 + fm.height());
  o.Pos = 192 * 10;  // far above the view
  EXPECT_TRUE(renderer.DrawObject(p, o, doc, settings, g).isNull());
  o.Lane = 12;  // collapsed
  o.Pos = 96;
  EXPECT_TRUE(renderer.DrawObject(p, o, doc, settings, g).isNull());
}

TEST_F(ScoreRenderTest, LaterObjectsCoverEarlierOnes) {
  Add(22, 96).Selected = 1;
  Add(22, 96);
  EXPECT_EQ(At(Render(), 290, 300), 0x800000);
  std::swap(doc.ObjList[0], doc.ObjList[1]);
  EXPECT_EQ(At(Render(), 290, 300), 0x00FFFF);
}

TEST_F(ScoreRenderTest, CaptionsOnVisibleLanes) {
  const QImage image = Render();
  int zone = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 948; ++x) zone += At(image, x, y) == ZoneFont;
  }
  EXPECT_GT(zone, 100);
  // Nothing of a caption right of the last lane.
  for (int y = 0; y < 20; ++y) {
    for (int x = 960; x < 1000; ++x) ASSERT_NE(At(image, x, y), ZoneFont);
  }
}

// A long note is a bar in its lane's colour halfway to the background, also
// one that starts below the view and reaches into it; the start cell keeps
// the note's own colour.
TEST_F(ScoreRenderTest, LongNotesAsBarsAlsoFromBelowTheView) {
  const struct { int lane, start, end, V, tick; } cases[] = {{3, 20, 160, 0, 90}, {5, 0, 900, -384, 600}};
  for (const auto& c : cases) {
    doc.ObjList.clear();
    Add(c.lane, c.start).Long = LongByChannel;
    doc.ObjList[0].EndPos = c.end;
    const TBmsObject note = doc.ObjList[0];
    const QImage image = Render(c.V);
    const ScoreGeometry g = Geometry(c.V);
    const ScreenRect r = g.ObjectRect(note);
    const int x = (r.Left + r.Right) / 2;
    EXPECT_EQ(At(image, x, g.YOfTick(c.tick)), 0x505151u) << "lane " << c.lane;
    if (c.V == 0) {
      EXPECT_EQ(At(image, x, r.Bottom - 3), 0xA0A0A0u);
    }
  }
}

}  // namespace
}  // namespace beatloom
