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

// 1Player, W 6, H 192, pbHeight 400: lanes end at 918, lane 45 starts at 798;
// measure lines at rows 400, 208, 16; grid rows every 12; sub-lines every 96.
TEST_F(ScoreRenderTest, LinesAtTheirRowsAndColumns) {
  const QImage image = Render();
  ASSERT_EQ(image.size(), QSize(1000, 400));
  ExpectPixels(image, {
                          // measure lines: two pixels, the extra one above
                          {500, 207, NoteLine},
                          {500, 208, NoteLine},
                          {500, 206, Background},
                          {805, 209, Background},
                          {805, 399, NoteLine},
                          {805, 112, SubLine},
                          // ending with the score, round end included
                          {918, 207, NoteLine},
                          {919, 207, Background},
                          {950, 207, Background},
                          // grid lines of 1/16
                          {805, 388, Grid},
                          {805, 387, Background},
                          {805, 389, Background},
                          {805, 220, Grid},
                          {917, 388, Grid},
                          {919, 388, Background},
                          // sub-lines of 1/2 over the grid and the lane edges
                          {805, 304, SubLine},
                          {798, 304, SubLine},
                          // lane edges over the grid lines
                          {798, 300, ColLine1},
                          {798, 388, ColLine1},
                          {797, 300, Background},
                          {799, 300, Background},
                          {48, 300, ColLine1},
                          // group separators over everything but the measure lines
                          {0, 300, ColLine2},
                          {30, 300, ColLine2},
                          {174, 300, ColLine2},
                          {246, 300, ColLine2},
                          {246, 304, ColLine2},
                          {918, 300, ColLine2},
                          {126, 300, ColLine1},
                          {246, 207, NoteLine},
                      });
  EXPECT_NE(At(image, 500, 206), NoteLine);
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
                          {40, 300, ColLine2},
                          {0, 388, Background},
                          {10, 388, ColLine2},
                          {11, 388, Grid},
                          {927, 388, Grid},
                          {929, 388, Background},
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
  Add(8, 192);            // scratch: (127, 199)-(150, 209), no widening
  Add(1, 96).Hidden = 1;  // invisible key 1: (31, 295)-(54, 305)
  Add(9, 288);            // free scratch, a quarter measure tall: (151, 65)-(174, 113)
  const QImage image = Render();
  ExpectPixels(image, {
                          {138, 204, 0xFF0000},   {138, 199, 0xFF4F4F},   {127, 204, 0xFF4F4F},  {127, 199, 0xFF4F4F},
                          {138, 208, 0x800000},   {149, 204, 0x800000},   {149, 199, 0x800000},  {127, 208, 0x800000},
                          {138, 198, Background}, {138, 209, Background}, {126, 204, ColLine1},  {40, 300, 0x000000},
                          {40, 295, 0x808080},    {31, 300, 0x808080},    {40, 304, 0x404040},   {53, 300, 0x404040},
                          {160, 90, 0xFF00FF},    {160, 65, 0xFF4FFF},    {160, 63, Background}, {151, 90, 0xFF4FFF},
                          {173, 90, 0x800080},    {160, 112, 0x800080},
                      });
  EXPECT_EQ(At(image, 150, 204), ColLine1);
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
  // Lane 22 at pos 96: (247, 295)-(270, 305); the label starts at x 249.
  Add(22, 96).Selected = 1;
  Add(24, 96);
  const QImage image = Render();
  ExpectPixels(image, {{268, 300, 0x00FFFF}, {258, 295, 0xFFFFFF}, {268, 304, 0x007F7F}, {316, 300, 0x800000}});
  const LabelPixels selected = CountText(image, QRect(QPoint(249, 296), QPoint(266, 303)));
  EXPECT_GT(selected.black, 5);
  EXPECT_EQ(selected.white, 0);
  const LabelPixels plain = CountText(image, QRect(QPoint(249 + 48, 296), QPoint(266 + 48, 303)));
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
  EXPECT_GT(CountText(labelled, QRect(QPoint(249, 296), QPoint(266, 303))).white, 5);
  EXPECT_EQ(CountText(bare, QRect(QPoint(249, 296), QPoint(266, 303))).white, 0);
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
  EXPECT_EQ(At(twoPlayer, 200, 276), 0x0000FF);  // lane 11 (2P key 2): (187, 271)-(210, 281)
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
  EXPECT_EQ(covered.left(), 247);
  EXPECT_EQ(covered.bottom(), 304);
  EXPECT_GE(covered.right() + 1, 249 + fm.horizontalAdvance(QStringLiteral("a_rather_long_sample_name")));
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
  EXPECT_EQ(At(Render(), 260, 300), 0x800000);
  std::swap(doc.ObjList[0], doc.ObjList[1]);
  EXPECT_EQ(At(Render(), 260, 300), 0x00FFFF);
}

TEST_F(ScoreRenderTest, CaptionsOnVisibleLanes) {
  const QImage image = Render();
  int zone = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 918; ++x) zone += At(image, x, y) == ZoneFont;
  }
  EXPECT_GT(zone, 100);
  // Nothing of a caption right of the last lane.
  for (int y = 0; y < 20; ++y) {
    for (int x = 930; x < 1000; ++x) ASSERT_NE(At(image, x, y), ZoneFont);
  }
}

}  // namespace
}  // namespace beatloom
