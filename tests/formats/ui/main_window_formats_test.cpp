// The import and export items reached through the real main window's menu.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include "app/ui/main_window_fixture.h"
#include "formats/ui/winpsm_dialog.h"

namespace beatloom::test {
namespace {

class MainWindowFormats : public MainWindowTest {
 protected:
  void SetUp() override { Quiet(); }
  void TearDown() override {
    if (main) CloseWithoutAsking();
  }
  // Whatever the test left in the chart may go.
  void CloseWithoutAsking() {
    Doc().Modified = false;
    main->close();
  }
  QAction& Item(const char* name) { return ActionNamed(*main, name); }

  std::unique_ptr<TMain> main;
};

TEST_F(MainWindowFormats, WinPsmItemFollowsTheTemplateInTheProgramFolder) {
  main = Start();
  EXPECT_FALSE(Item("WinPSMps1").isEnabled());
  CloseWithoutAsking();

  WriteFile(home.file("master.psf"), std::string(9000, '\0'));
  main = Start();
  EXPECT_TRUE(Item("WinPSMps1").isEnabled());
  QWidget* seen = nullptr;
  WhenModal([&](QDialog& d) {
    seen = &d;
    d.close();
  });
  Item("WinPSMps1").trigger();
  EXPECT_EQ(seen, main->findChild<WinPsmDialog*>("Form12"));
  EXPECT_EQ(seen->parentWidget(), main.get());
}

TEST_F(MainWindowFormats, ImportShowsTheChartAndForgetsTheOldFile) {
  main = Start();
  const std::string old = Chart("old.bms", "#TITLE Old\r\n#00111:01\r\n");
  ASSERT_TRUE(OpenChart(*main, old));
  Doc().Modified = true;
  prompts.answers = {Prompts::Answer::No};  // the discard question
  prompts.fileNames = {QString::fromStdString(Chart("in.ddr", "#TITLE Hop\r\n#TWOPLAY\r\n#090:1\r\n"))};
  Item("DDRVddr1").trigger();

  EXPECT_EQ(prompts.shown.size(), 1u);  // asked before dropping the modified chart
  EXPECT_EQ(Control<QLineEdit>(*main, "e_title").text(), "Hop");
  EXPECT_EQ(Control<QComboBox>(*main, "cbpmode").currentIndex(), 1);
  EXPECT_EQ(main->windowTitle(), "Beatloom [New Data]");
  ASSERT_EQ(Doc().ObjList.size(), 1u);
  EXPECT_EQ(Doc().ObjList[0].Pos, 90 * 192);
  EXPECT_EQ(ChartHistory().Size(), 1u) << "the import alone";
  EXPECT_TRUE(Doc().Modified);  // the title field changed

  // The BMM export needs a chart that has a file; the imported one has none.
  Item("MML1").trigger();
  EXPECT_TRUE(prompts.WasShown("BMS形式で保存してから実行して下さい"));
}

TEST_F(MainWindowFormats, ImportOfStepsAndPlayModeIsOneStep) {
  main = Start();
  prompts.fileNames = {QString::fromStdString(Chart("in.ddr", "#DOUBLE\r\n#000:F\r\n"))};
  Item("DDRVddr1").trigger();
  EXPECT_EQ(Control<QComboBox>(*main, "cbpmode").currentIndex(), 2);
  EXPECT_EQ(Doc().ObjList.size(), 4u);
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(ActionNamed(*main, "K17").text(), "元に戻す: インポート");
}

TEST_F(MainWindowFormats, ExportsFromTheMenu) {
  main = Start();
  const std::string chart = Chart("song.bms", "#TITLE Go\r\n#BPM 150\r\n#00011:01\r\n");
  ASSERT_TRUE(OpenChart(*main, chart));
  prompts.fileNames = {QString::fromStdString(charts.file("out.ddr"))};
  Item("DDRVDDR2").trigger();
  EXPECT_EQ(ReadFile(charts.file("out.ddr")).substr(0, 12), "#TITLE Go\r\n#");

  Item("MML1").trigger();
  EXPECT_EQ(ReadFile(charts.file("song.BMM")).substr(0, 8), "T33.20\r\n");
  EXPECT_EQ(ReadFile(charts.file("song.BML")).size(), 255u * 3 + 3);
}

}  // namespace
}  // namespace beatloom::test
