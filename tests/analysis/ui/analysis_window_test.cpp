// The statistics window, the check and the pointer's time in the real main
// window, following the chart while it is edited.
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtTest/QTest>

#include "analysis/ui/stats_window.h"
#include "app/ui/main_window_fixture.h"

namespace beatloom::test {
namespace {

TEST_F(MainWindowTest, StatisticsAndCheckFollowTheChart) {
  Quiet();
  // At 120 a measure lasts 2 s: the last note, half way through measure 002, at 5 s;
  // a long note held for half of measure 001.
  const std::string path = Chart(
      "song.bms", "#BPM 120\r\n#WAV01 a.wav\r\n#WAV03 b.wav\r\n#00111:01\r\n#00211:0002\r\n#00152:0101\r\n");
  WriteFile(charts.file("a.wav"), "");
  auto main = Start();
  ASSERT_TRUE(OpenChart(*main, path));

  ActionNamed(*main, "ChartStats1").trigger();
  auto& stats = Control<StatsWindow>(*main, "FormStats");
  EXPECT_TRUE(stats.isVisible());
  EXPECT_EQ(stats.windowTitle(), "譜面の統計");
  EXPECT_EQ(Control<QLabel>(stats, "LabelLength").text(), "0:05.000 (5.000 秒)");
  EXPECT_EQ(Control<QLabel>(stats, "LabelTotalNotes").text(), "3") << "a long note is one note";
  EXPECT_EQ(Control<QLabel>(stats, "LabelLongNotes").text(), "1 (1.000 秒)");

  Session().Apply({}, [](Document& d) {
    d.AddObject(1, 3 * TicksPerMeasure, 1);
    return EditOutcome::Changed;
  });
  QCoreApplication::processEvents();
  EXPECT_EQ(Control<QLabel>(stats, "LabelLength").text(), "0:06.000 (6.000 秒)") << "follows the edit";

  // A click at the right end of the graph shows the measure of the last second.
  auto& gsv = Control<QScrollBar>(*main, "GSV");
  auto& graph = Control<DensityGraph>(stats, "DensityGraph");
  QTest::mouseClick(&graph, Qt::LeftButton, {}, QPoint(graph.width() - 1, graph.height() / 2));
  EXPECT_EQ(gsv.value(), -3 * TicksPerMeasure);

  // The pointer at the bottom edge of the score stands at the scroll position.
  gsv.setValue(-2 * TicksPerMeasure);
  ScoreWidget& score = Score(*main);
  const QPointF bottom(score.width() / 2.0, score.height() - 1);
  QMouseEvent move(QEvent::MouseMove, bottom, score.mapToGlobal(bottom), Qt::NoButton, {}, {});
  QCoreApplication::sendEvent(&score, &move);
  EXPECT_EQ(Control<QLabel>(*main, "LabelTime").text(), "0:04.000");

  ActionNamed(*main, "ChartCheck1").trigger();
  auto& log = Control<QListWidget>(*main, "lb");
  const QList<QListWidgetItem*> found = log.findItems("[undefined-sound]", Qt::MatchContains);
  ASSERT_EQ(found.size(), 1);
  EXPECT_EQ(log.item(1), found[0]) << "the error stands above the missing b.wav";
  EXPECT_EQ(found[0]->text(),
            "エラー: 小節002 から: 定義されていない音 02 を鳴らすオブジェが 1 個あります [undefined-sound]");
  gsv.setValue(0);
  emit log.itemDoubleClicked(found[0]);
  EXPECT_EQ(gsv.value(), -2 * TicksPerMeasure) << "a double-click shows the finding's measure";
}

}  // namespace
}  // namespace beatloom::test
