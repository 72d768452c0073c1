// The import and export items reached through the real main window's menu.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include "app/ui/main_window_fixture.h"
#include "formats/ui/format_commands.h"
#include "formats/ui/winpsm_dialog.h"

namespace beatloom::test {
namespace {

class MainWindowFormats : public MainWindowTest {
 protected:
  void SetUp() override { Quiet(); }
  void TearDown() override {
    if (main) {
      main->SetDiscardGuard([] { return true; });
      main->close();
    }
  }
  QAction& Item(const char* name) {
    QAction* a = main->Action(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return *a;
  }

  std::unique_ptr<TMain> main;
};

TEST_F(MainWindowFormats, WinPsmItemFollowsTheTemplateInTheProgramFolder) {
  main = Start();
  EXPECT_FALSE(Item("WinPSMps1").isEnabled());
  main->SetDiscardGuard([] { return true; });
  main->close();

  WriteFile(home.file("master.psf"), std::string(9000, '\0'));
  main = Start();
  EXPECT_TRUE(Item("WinPSMps1").isEnabled());
  QWidget* seen = nullptr;
  WhenModal([&](QDialog& d) {
    seen = &d;
    d.close();
  });
  Item("WinPSMps1").trigger();
  EXPECT_EQ(seen, &main->Formats().WinPsmExportDialog());
  EXPECT_EQ(seen->parentWidget(), main.get());
}

TEST_F(MainWindowFormats, ImportShowsTheChartAndForgetsTheOldFile) {
  main = Start();
  const std::string old = Chart("old.bms", "#TITLE Old\r\n#00111:01\r\n");
  ASSERT_TRUE(main->LoadChart(QString::fromStdString(old)));
  main->Doc().Modified = true;
  prompts.answers = {Prompts::Answer::No};  // the discard question
  prompts.fileNames = {QString::fromStdString(Chart("in.ddr", "#TITLE Hop\r\n#TWOPLAY\r\n#090:1\r\n"))};
  Item("DDRVddr1").trigger();

  EXPECT_EQ(prompts.shown.size(), 1u);  // asked before dropping the modified chart
  const MainWidgets& w = main->Widgets();
  EXPECT_EQ(w.titleEdit->text(), "Hop");
  EXPECT_EQ(w.playModeCombo->currentIndex(), 1);
  EXPECT_EQ(main->windowTitle(), "Beatloom [New Data]");
  ASSERT_EQ(main->Doc().ObjList.size(), 1u);
  EXPECT_EQ(main->Doc().ObjList[0].Pos, 90 * 192);
  EXPECT_FALSE(main->ChartUndo().Available());
  EXPECT_TRUE(main->Doc().Modified);  // the title field changed

  // The BMM export needs a chart that has a file; the imported one has none.
  Item("MML1").trigger();
  EXPECT_TRUE(prompts.WasShown("BMS形式で保存してから実行して下さい"));
}

TEST_F(MainWindowFormats, ImportOfStepsAndPlayModeAloneLeavesTheChartUnmarked) {
  main = Start();
  prompts.fileNames = {QString::fromStdString(Chart("in.ddr", "#DOUBLE\r\n#000:F\r\n"))};
  Item("DDRVddr1").trigger();
  EXPECT_EQ(main->Widgets().playModeCombo->currentIndex(), 2);
  EXPECT_EQ(main->Doc().ObjList.size(), 4u);
  EXPECT_FALSE(main->Doc().Modified);
}

TEST_F(MainWindowFormats, ExportsFromTheMenu) {
  main = Start();
  const std::string chart = Chart("song.bms", "#TITLE Go\r\n#BPM 150\r\n#00011:01\r\n");
  ASSERT_TRUE(main->LoadChart(QString::fromStdString(chart)));
  prompts.fileNames = {QString::fromStdString(charts.file("out.ddr"))};
  Item("DDRVDDR2").trigger();
  EXPECT_EQ(ReadFile(charts.file("out.ddr")).substr(0, 12), "#TITLE Go\r\n#");

  Item("MML1").trigger();
  EXPECT_EQ(ReadFile(charts.file("song.BMM")).substr(0, 8), "T33.20\r\n");
  EXPECT_EQ(ReadFile(charts.file("song.BML")).size(), 255u * 3 + 3);
}

}  // namespace
}  // namespace beatloom::test
