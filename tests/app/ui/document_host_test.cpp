#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "app/ui/main_window_fixture.h"
#include "bms/ui/document_commands.h"
#include "bms/ui/source_editor.h"

namespace beatloom::test {
namespace {

using Answer = Prompts::Answer;

// The document commands drive the real main window through its host side.
class DocumentHostTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Quiet();
    main = Start();
    commands = std::make_unique<DocumentCommands>(main->Doc(), main->ChartLog(), prompts, *main, editor);
  }
  void TearDown() override {
    main->SetDiscardGuard([] { return true; });
    main->close();
  }

  std::unique_ptr<TMain> main;
  SourceEditor editor{prompts};
  std::unique_ptr<DocumentCommands> commands;
};

TEST_F(DocumentHostTest, LoadAndNewShowInTheWindow) {
  const std::string path = Chart("song.bms", "#TITLE Song\r\n#ARTIST Me\r\n#PLAYER 3\r\n#09011:01\r\n");
  ASSERT_TRUE(commands->LoadChart(QString::fromStdString(path)));
  const MainWidgets& w = main->Widgets();
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + QString::fromStdString(path) + "]");
  EXPECT_EQ(w.titleEdit->text(), "Song");
  EXPECT_EQ(w.playModeCombo->currentIndex(), 2);
  EXPECT_TRUE(main->FileCommandsEnabled());
  EXPECT_EQ(w.bmpList->currentRow(), 0);
  EXPECT_EQ(w.verticalScrollBar->minimum(), -(90 * 192 + 3072));
  EXPECT_FALSE(main->Doc().Modified);

  w.titleEdit->setText("Changed");
  prompts.answers = {Answer::No};
  WriteFile(home.file("header.txt"), "template\r\n");
  commands->New();
  EXPECT_EQ(main->windowTitle(), "Beatloom [New Data]");
  EXPECT_EQ(w.titleEdit->text(), "");
  EXPECT_EQ(w.infoMemo->toPlainText(), "template");
  EXPECT_EQ(w.bmpList->currentRow(), 1);
  EXPECT_EQ(w.verticalScrollBar->minimum(), -5000);
  EXPECT_FALSE(main->FileCommandsEnabled());
  EXPECT_FALSE(main->Doc().Modified);
}

TEST_F(DocumentHostTest, SavingFillsTheNameListsAndTheReopenMenu) {
  const MainWidgets& w = main->Widgets();
  w.artistCombo->setEditText("Someone");
  w.genreCombo->setEditText("Trance");
  main->Widgets().minCellsEdit->setText("4");
  EXPECT_EQ(main->CurrentSaveOptions().minCells, 4);
  const std::string path = charts.file("out.bms");
  prompts.fileNames = {QString::fromStdString(path)};
  ASSERT_TRUE(commands->SaveAs());
  EXPECT_EQ(main->ArtistItems(), std::vector<std::string>{"Someone"});
  ASSERT_EQ(w.artistCombo->count(), 1);
  EXPECT_EQ(w.artistCombo->currentText(), "Someone");
  EXPECT_EQ(w.genreCombo->itemText(0), "Trance");
  EXPECT_TRUE(main->Menu().reopenMenu->isEnabled());
  EXPECT_EQ(main->Menu().reopen1Action->text(), "1:" + QString::fromStdString(path));
  EXPECT_TRUE(main->FileCommandsEnabled());
}

}  // namespace
}  // namespace beatloom::test
