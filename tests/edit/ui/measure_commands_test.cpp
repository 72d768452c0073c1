#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/ui/main_window_fixture.h"

namespace beatloom::test {
namespace {

constexpr int M = TicksPerMeasure;

// Runs N28 with the two fields typed and the dialog closed by close; returns
// what the fields showed when the dialog came up.
QString DeleteMeasuresVia(QWidget& main, const QString& first, const QString& last,
                          const std::function<void(QDialog&)>& close) {
  QString shown;
  WhenModal([&](QDialog& d) {
    auto& edit3 = Control<QLineEdit>(d, "Edit3");
    auto& edit4 = Control<QLineEdit>(d, "Edit4");
    shown = d.objectName() + " " + edit3.text() + "-" + edit4.text();
    edit3.setText(first);
    edit4.setText(last);
    close(d);
  });
  ActionNamed(main, "N28").trigger();
  return shown;
}

// Runs N41: selects line 7, types value, presses Enter twice and closes with button.
void SetLengthsVia(QWidget& main, const QString& value, const char* button) {
  WhenModal([&](QDialog& d) {
    auto& lb = Control<QListWidget>(d, "lb");
    auto& edit1 = Control<QLineEdit>(d, "Edit1");
    EXPECT_EQ(lb.count(), 1000);
    QTest::mouseClick(lb.viewport(), Qt::LeftButton, {}, lb.visualItemRect(lb.item(7)).center());
    EXPECT_EQ(edit1.text(), "1");
    EXPECT_GE(edit1.width(), edit1.fontMetrics().horizontalAdvance("0.0052083")) << "the shortest length fits";
    for (int i = 0; i < 2; ++i) {
      edit1.setText(value);
      QTest::keyClick(&edit1, Qt::Key_Return);
    }
    EXPECT_TRUE(lb.item(9)->isSelected()) << "Enter walks down the list";
    Control<QPushButton>(d, button).click();
  });
  ActionNamed(main, "N41").trigger();
}

TEST_F(MainWindowTest, AuthorInsertsDeletesMeasuresAndSetsTheirLengths) {
  Quiet();
  auto main = Start();
  Session().Apply({}, [](Document& d) {
    for (const int pos : {0, M + 5, 4 * M + 96}) d.AddObject(1, pos, 1);
    return EditOutcome::Changed;
  });
  // The popup items work on the measure under the right click.
  ScoreWidget& score = Score(*main);
  const ScoreGeometry& g = score.Geometry();
  const QPoint inMeasure1(g.lanes.LaneLeft()[3] + 4 - g.S, g.YOfTick(M + 100));
  ASSERT_TRUE(score.rect().contains(inMeasure1));
  QTest::mouseClick(&score, Qt::RightButton, {}, inMeasure1);
  ActionNamed(*main, "PM").menu()->close();
  ActionNamed(*main, "K14").trigger();
  EXPECT_EQ(test::ObjectPositions(Doc()), (std::vector<int>{0, 2 * M + 5, 5 * M + 96}));
  ActionNamed(*main, "K15").trigger();
  EXPECT_EQ(test::ObjectPositions(Doc()), (std::vector<int>{0, M + 5, 4 * M + 96}));

  // Enter cancels; the dialog is kept and shows what was typed last.
  const auto enter = [](QDialog& d) { QTest::keyClick(&Control<QLineEdit>(d, "Edit3"), Qt::Key_Return); };
  const auto run = [](QDialog& d) { Control<QPushButton>(d, "Button2").click(); };
  EXPECT_EQ(DeleteMeasuresVia(*main, "1", "3", enter), "Form9 0-0");
  EXPECT_EQ(test::ObjectPositions(Doc()).size(), 3u);
  EXPECT_EQ(DeleteMeasuresVia(*main, "1", "3", run), "Form9 1-3");
  EXPECT_EQ(test::ObjectPositions(Doc()), (std::vector<int>{0, M + 96}));

  Doc().Modified = false;
  SetLengthsVia(*main, "3", "Button3");
  EXPECT_EQ(Doc().MeasureLen[7], 1.0);
  EXPECT_FALSE(Doc().Modified);
  SetLengthsVia(*main, "1.50", "Button2");
  EXPECT_EQ(Doc().MeasureLen[7], 1.5);
  EXPECT_EQ(Doc().MeasureLen[8], 1.5);
  EXPECT_EQ(Doc().MeasureLen[9], 1.0);
  EXPECT_TRUE(Doc().Modified);
}

}  // namespace
}  // namespace beatloom::test
