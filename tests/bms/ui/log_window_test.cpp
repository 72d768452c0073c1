#include "bms/ui/log_window.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/ui/main_window_fixture.h"
#include "platform/ui/prompts.h"

namespace beatloom::test {
namespace {

QStringList Items(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
  return items;
}

TEST(LogWindowTest, ShowsTheLastReportAndClosesWithItsButtonOrKeys) {
  LogWindow window;
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Result.."));
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  Log log;
  log.Add("ファイルのオープン:a.bms");
  log.Add("Line0002：解析失敗。スキップします：#RANK x");
  window.ShowLines(log);
  log.Clear();
  log.Add("filename:b.bms");
  window.ShowLines(log);
  EXPECT_EQ(Items(*window.lines()), QStringList{QStringLiteral("filename:b.bms")});

  auto* close = window.findChild<QPushButton*>(QStringLiteral("Button1"));
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text(), QStringLiteral("閉じる"));
  for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
    window.Present();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    QTest::keyClick(&window, key);
    EXPECT_FALSE(window.isVisible()) << key;
  }
  window.Present();
  close->click();
  EXPECT_FALSE(window.isVisible());
}

// The log floats above the main window; every question asked while it is up
// must come above it, or the program waits for an answer nobody can see.
TEST(LogWindowTest, QuestionsComeAboveTheLog) {
  QWidget main;
  main.show();
  LogWindow log(&main);
  log.Present();
  QtPrompts qtPrompts(&main);
  Prompts& prompts = qtPrompts;
  QColor color;
  QFont font;
  QString text;
  const std::function<void()> asks[] = {
      [&] { prompts.Ask(QStringLiteral("?"), Prompts::Icon::Question, Prompts::Buttons::YesNo); },
      [&] { prompts.OpenFileName({}); },
      [&] { prompts.SaveFileName({}); },
      [&] { prompts.ChooseColor(color); },
      [&] { prompts.ChooseFont(font); },
      [&] { prompts.AskBpm(text); },
  };
  for (size_t i = 0; i < std::size(asks); ++i) {
    bool above = false;
    WhenModal([&](QDialog& d) {
      above = d.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      d.reject();
    });
    asks[i]();
    EXPECT_TRUE(above) << "question " << i;
  }
}

}  // namespace
}  // namespace beatloom::test
