#include "view/ui/score_widget.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "model/document.h"
#include "view/ui/score_renderer.h"
#include "view/view_settings.h"

namespace beatloom {
namespace {

uint32_t At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

class ScoreWidgetTest : public ::testing::Test {
 protected:
  ScoreWidgetTest() : widget(doc, settings) {
    settings.ShowIndexNumver = false;
    widget.resize(800, 600);
    widget.show();
  }

  Document doc;
  ViewSettings settings;
  ScoreWidget widget;
};

TEST_F(ScoreWidgetTest, ShowsTheScoreOfItsSize) {
  EXPECT_EQ(widget.objectName(), "pb");
  EXPECT_EQ(widget.ScoreImage().size(), QSize(800, 600));
  EXPECT_EQ(widget.ScreenImage(), widget.ScoreImage());
  EXPECT_EQ(widget.HorizontalRange(), std::make_pair(-10, 158));
  EXPECT_EQ(widget.VerticalRange(), std::make_pair(-5000, 0));
  EXPECT_EQ(At(widget.ScoreImage(), 700, 599), 0xFFFFFFu);  // measure 000
  EXPECT_EQ(widget.grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(700, 599) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(ScoreWidgetTest, ScrollPositionsStayInTheirRanges) {
  struct Case {
    int v, s, wantV, wantS;
  };
  for (const Case& c : {Case{-96, 50, -96, 50}, Case{100, 500, 0, 158}, Case{-99999, -50, -5000, -10}}) {
    widget.SetScroll(c.v, c.s);
    EXPECT_EQ(widget.VerticalScroll(), c.wantV);
    EXPECT_EQ(widget.HorizontalScroll(), c.wantS);
  }
  widget.SetScroll(-96, 0);
  EXPECT_EQ(At(widget.ScoreImage(), 700, 503), 0xFFFFFFu);  // measure 001 moved down by 96
}

TEST_F(ScoreWidgetTest, LayoutChangesAreAnnounced) {
  QSignalSpy spy(&widget, &ScoreWidget::layoutChanged);
  widget.resize(1280, 600);
  QCoreApplication::processEvents();
  EXPECT_GE(spy.count(), 1);
  EXPECT_EQ(widget.HorizontalRange(), std::make_pair(-322, -10));
  EXPECT_EQ(widget.HorizontalScroll(), -10);

  spy.clear();
  doc.header.cbpmode = 1;  // "2Player": the score grows to 1092 pixels
  widget.Redraw();
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(widget.HorizontalRange(), std::make_pair(-178, -10));
  spy.clear();
  settings.GridHeight = 96;  // no width change: no new layout
  widget.Redraw();
  EXPECT_EQ(spy.count(), 0);
  doc.AddObject(60, 0, 1);  // the 38th background lane: ten more lanes, 240 pixels
  widget.Redraw();
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(widget.HorizontalRange(), std::make_pair(-10, 62));
}

TEST_F(ScoreWidgetTest, RedrawShowsEditsOfTheChart) {
  doc.AddObject(8, 192, 1);  // scratch: (157, 399)-(180, 409)
  widget.Redraw();
  EXPECT_EQ(At(widget.ScoreImage(), 168, 404), 0xFF0000u);
  // Moved in place: the list keeps its size, Redraw still finds it.
  doc.ObjList[0].Pos = 96;
  widget.Redraw();
  EXPECT_EQ(At(widget.ScoreImage(), 168, 404), 0x000000u);
  EXPECT_EQ(At(widget.ScoreImage(), 168, 500), 0xFF0000u);
  // Scrolling alone after an added object: the index notices the new size.
  doc.AddObject(8, 384, 1);
  widget.SetScroll(0, 0);
  EXPECT_EQ(At(widget.ScoreImage(), 168, 212), 0xFF0000u);
}

TEST_F(ScoreWidgetTest, OverlaysAreWipedFromTheScoreImage) {
  const QImage before = widget.ScoreImage().copy();
  TBmsObject preview;
  preview.Lane = 22;
  preview.Pos = 96;
  preview.Value = 1;
  const QRect covered = widget.DrawObject(preview);
  ASSERT_FALSE(covered.isNull());
  EXPECT_EQ(At(widget.ScreenImage(), 290, 500), 0x800000u);
  EXPECT_EQ(widget.ScoreImage(), before);
  widget.RememberOverlay(covered);
  widget.RestoreOverlay();
  EXPECT_EQ(widget.ScreenImage(), before);

  widget.DrawObject(preview);
  widget.Blit();
  EXPECT_EQ(widget.ScreenImage(), before);
}

}  // namespace
}  // namespace beatloom
