#include "view/ui/mouse_controller.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <tuple>

#include "support/scripted_prompts.h"
#include "view/ui/score_widget.h"

namespace beatloom {
namespace {

TEST(MouseControllerTest, TheRealScoreWritesErasesSelectsAndShowsWhereThePointerIs) {
  ChartSession session;
  ViewSettings settings;
  ScoreWidget score(session.Doc(), settings);
  score.resize(800, 600);
  score.show();
  session.AddListener([&](const ChartNotice&) { score.Redraw(); });
  QToolButton select, write, erase;
  for (QToolButton* b : {&select, &write, &erase}) {
    b->setCheckable(true);
    b->setAutoExclusive(true);
  }
  write.setChecked(true);
  QLabel kind, measure, beat, grid, zone;
  QListWidget wavs, bmps;
  wavs.addItems({"01", "02", "03"});
  wavs.setCurrentRow(1);
  QMenu popup;
  popup.addAction("ここに1小節挿入");
  QScrollBar vertical(Qt::Vertical), horizontal(Qt::Horizontal);
  test::ScriptedPrompts prompts;
  MouseController mouse(session,
                        {&score, &select, &write, &erase, &kind, &measure, &beat, &grid, &zone, &wavs, &bmps, &popup,
                         &vertical, &horizontal, nullptr},
                        prompts, nullptr);
  mouse.SetActivityProbe([] { return true; });

  const ScoreGeometry& g = score.Geometry();
  const auto at = [&](int lane, int pos) { return QPoint(g.lanes.LaneLeft()[lane] + 4 - g.S, g.YOfTick(pos) - 3); };

  QTest::mouseClick(&score, Qt::LeftButton, {}, at(3, 197));
  ASSERT_EQ(session.Doc().ObjList.size(), 1u);
  EXPECT_EQ(session.Doc().ObjList[0], (TBmsObject{3, 192, 2, 0, 0}));
  QTest::mouseClick(&score, Qt::LeftButton, Qt::ControlModifier, at(4, 48));
  ASSERT_EQ(session.Doc().ObjList.size(), 2u);
  EXPECT_EQ(session.Doc().ObjList[1].Hidden, 1);

  erase.click();
  QTest::mouseMove(&score, at(3, 192));
  EXPECT_EQ(kind.text(), "Object");
  EXPECT_EQ(measure.text(), "001");
  EXPECT_EQ(zone.text(), "1player key3");
  const ScreenRect r = g.ObjectRect(session.Doc().ObjList[0]);
  EXPECT_EQ(score.ScreenImage().pixel(r.Left - 2, r.Top - 2) & 0xFFFFFF, 0xFF0000u);  // red hover frame

  select.click();
  QTest::mousePress(&score, Qt::LeftButton, {}, at(2, 400));
  QTest::mouseMove(&score, at(5, 0));
  QTest::mouseRelease(&score, Qt::LeftButton, {}, at(5, 0));
  EXPECT_EQ(session.Doc().ObjList[0].Selected, 1);
  EXPECT_EQ(session.Doc().ObjList[1].Selected, 1);

  QTest::mouseClick(&score, Qt::RightButton, {}, at(5, 100));
  EXPECT_TRUE(popup.isVisible());
  EXPECT_EQ(mouse.Editor().AnchorLane(), 5);
  popup.close();

  // Pressed on a key lane and drawn along it, the write is a long note.
  write.click();
  QTest::mousePress(&score, Qt::LeftButton, {}, at(6, 0));
  QTest::mouseMove(&score, at(6, 96));
  EXPECT_EQ(zone.text(), "1player key6  長さ 96/192");
  QTest::mouseRelease(&score, Qt::LeftButton, {}, at(6, 96));
  const TBmsObject& held = session.Doc().ObjList.back();
  EXPECT_EQ(std::make_tuple(int{held.Lane}, IsLongNote(held), held.EndPos), std::make_tuple(6, true, 96));
}

}  // namespace
}  // namespace beatloom
