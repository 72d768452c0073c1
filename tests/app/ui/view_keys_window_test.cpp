#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include "app/ui/main_window_fixture.h"
#include "view/ui/score_widget.h"

namespace beatloom::test {
namespace {

// Key events go through the shortcut map only for the active window.
std::unique_ptr<TMain> Active(std::unique_ptr<TMain> main) {
  main->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(main.get()));
  return main;
}

void Wheel(QWidget& target, int angle) {
  const QPointF at(target.width() / 2.0, target.height() / 2.0);
  QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&target, &event);
}

// The share of the score image in one colour: the background covers most of it.
double Share(const QImage& image, QRgb rgb) {
  qint64 n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
  return static_cast<double>(n) / (static_cast<qint64>(image.width()) * image.height());
}

TEST_F(MainWindowTest, ScoreKeysAndWheelActOutsideTextFields) {
  Quiet();
  auto main = Active(Start());
  ScoreWidget& score = Score(*main);
  QScrollBar& gsv = Control<QScrollBar>(*main, "GSV");
  score.setFocus();
  const auto key = [&score](Qt::Key k) { QTest::keyClick(&score, k); };
  key(Qt::Key_PageUp);
  key(Qt::Key_PageUp);
  key(Qt::Key_PageDown);
  EXPECT_EQ(gsv.value(), -192);
  Wheel(score, 120);
  EXPECT_EQ(gsv.value(), -240);
  Wheel(score, -240);
  EXPECT_EQ(score.VerticalScroll(), -144);
  key(Qt::Key_End);
  EXPECT_EQ(gsv.value(), -5000);  // the top of a new chart
  key(Qt::Key_Home);
  EXPECT_EQ(score.VerticalScroll(), 0);

  // The list and delete keys work wherever the focus is but in a text field.
  auto& pages = Control<QTabWidget>(*main, "PC2");
  auto& wavList = Control<QListWidget>(*main, "lbw");
  auto& bmpList = Control<QListWidget>(*main, "lbb");
  QAction& deleteItem = ActionNamed(*main, "Delete1");
  deleteItem.setEnabled(true);
  QSignalSpy deletes(&deleteItem, &QAction::triggered);
  wavList.setFocus();
  wavList.setCurrentRow(0);
  QTest::keyClick(&wavList, Qt::Key_Plus, Qt::KeypadModifier);
  QTest::keyClick(&wavList, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(wavList.currentRow(), 2);
  QTest::keyClick(&wavList, Qt::Key_Delete);
  EXPECT_EQ(deletes.count(), 1);
  QTest::keyClick(&wavList, Qt::Key_F5);
  EXPECT_EQ(pages.currentIndex(), 1);
  bmpList.setCurrentRow(1);
  QTest::keyClick(&wavList, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(bmpList.currentRow(), 1);  // never image 00

  QLineEdit& title = Control<QLineEdit>(*main, "e_title");
  title.setFocus();
  QTest::keyClick(&title, Qt::Key_PageUp);
  EXPECT_EQ(gsv.value(), 0);
  title.setText("ab");
  title.setCursorPosition(0);
  QTest::keyClick(&title, Qt::Key_Delete);
  QTest::keyClick(&title, Qt::Key_F5);
  EXPECT_EQ(title.text(), "b");
  EXPECT_EQ(deletes.count(), 1);
  EXPECT_EQ(pages.currentIndex(), 1);
}

TEST_F(MainWindowTest, TextFieldsKeepTheirEditingKeysAndTheFocus) {
  Quiet();
  auto main = Active(Start());
  QAction& copy = ActionNamed(*main, "K7");
  copy.setEnabled(true);
  QSignalSpy copies(&copy, &QAction::triggered);
  QSignalSpy savesAs(&ActionNamed(*main, "SaveAs1"), &QAction::triggered);
  QLineEdit& title = Control<QLineEdit>(*main, "e_title");
  title.setFocus();
  QTest::keyClicks(&title, "song");
  title.selectAll();
  QTest::keyClick(&title, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "song");
  EXPECT_EQ(copies.count(), 0);
  EXPECT_TRUE(copy.shortcut().isEmpty());
  title.deselect();
  QTest::keyClick(&title, Qt::Key_A, Qt::ControlModifier);  // select all, not save as
  EXPECT_EQ(title.selectedText(), "song");
  EXPECT_EQ(savesAs.count(), 0);

  // The pointer passing over the score leaves the focus in the field; a click takes it.
  QTest::mouseMove(&Score(*main), QPoint(200, 200));
  EXPECT_TRUE(title.hasFocus());
  QTest::mouseClick(&Score(*main), Qt::LeftButton, {}, QPoint(200, 200));
  EXPECT_TRUE(Score(*main).hasFocus());
  copy.setEnabled(true);  // the click wrote a note and left nothing selected
  EXPECT_EQ(copy.shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_EQ(ActionNamed(*main, "K17").shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(ActionNamed(*main, "Redo1").shortcuts().size(), 2) << "both keys come back";
  QTest::keyClick(&Score(*main), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(copies.count(), 1);
}

TEST_F(MainWindowTest, ColourDialogRecoloursAtOnceAndIsStoredAsColourNumbers) {
  Quiet();
  auto main = Start();
  const auto share = [&main](QRgb rgb) { return Share(Score(*main).ScoreImage(), rgb); };
  ASSERT_GT(share(0x000000), 0.5);
  prompts.colors = {QColor(255, 0, 0), QColor(255, 0, 0), QColor(0, 0, 255)};
  std::vector<double> redShares;
  WhenModal([&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "色の設定");
    Control<QPushButton>(dialog, "Panel1").click();  // 背景
    redShares.push_back(share(0xFF0000));
    Control<QPushButton>(dialog, "Button2").click();  // 元に戻す
    redShares.push_back(share(0xFF0000));
    Control<QPushButton>(dialog, "Panel1").click();
    Control<QPushButton>(dialog, "Panel4").click();  // 小節区切り
    Control<QPushButton>(dialog, "Button1").click();
  });
  ActionNamed(*main, "N30").trigger();
  ASSERT_EQ(redShares.size(), 2u);
  EXPECT_GT(redShares[0], 0.5);
  EXPECT_EQ(redShares[1], 0);
  EXPECT_GT(share(0xFF0000), 0.5);
  main->close();
  EXPECT_EQ(Ini().ReadInteger("BTLM", "Color_Background", -1), 255);
  EXPECT_EQ(Ini().ReadInteger("BTLM", "Color_NoteLine", -1), 16711680);
}

}  // namespace
}  // namespace beatloom::test
