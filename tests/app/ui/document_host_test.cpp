#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "app/ui/main_window_fixture.h"
#include "edit/name_lists.h"
#include "model/file_io.h"

namespace beatloom::test {
namespace {

using Answer = Prompts::Answer;

// The document commands as the real main window hosts them, driven through
// its menu.
class DocumentHostTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Quiet();
    main = Start();
  }
  void TearDown() override {
    Doc().Modified = false;  // whatever the test left may go
    main->close();
  }

  std::unique_ptr<TMain> main;
};

TEST_F(DocumentHostTest, LoadAndNewShowInTheWindow) {
  const std::string path = Chart("song.bms", "#TITLE Song\r\n#ARTIST Me\r\n#PLAYER 3\r\n#09011:01\r\n");
  prompts.fileNames = {QString::fromStdString(path)};
  ActionNamed(*main, "Open1").trigger();
  QLineEdit& titleEdit = Control<QLineEdit>(*main, "e_title");
  const QListWidget& bmpList = Control<QListWidget>(*main, "lbb");
  const QScrollBar& verticalScrollBar = Control<QScrollBar>(*main, "GSV");
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + QString::fromStdString(path) + "]");
  EXPECT_EQ(titleEdit.text(), "Song");
  EXPECT_EQ(Control<QComboBox>(*main, "cbpmode").currentIndex(), 2);
  EXPECT_TRUE(ActionNamed(*main, "K2").isEnabled());
  EXPECT_EQ(bmpList.currentRow(), 0);
  EXPECT_EQ(verticalScrollBar.minimum(), -(90 * 192 + 3072));
  EXPECT_FALSE(Doc().Modified);

  titleEdit.setText("Changed");
  prompts.answers = {Answer::No};
  WriteFile(home.file("header.txt"), "template\r\n");
  ActionNamed(*main, "New1").trigger();
  EXPECT_EQ(main->windowTitle(), "Beatloom [New Data]");
  EXPECT_EQ(titleEdit.text(), "");
  EXPECT_EQ(Control<QPlainTextEdit>(*main, "mmemo").toPlainText(), "template");
  EXPECT_EQ(bmpList.currentRow(), 1);
  EXPECT_EQ(verticalScrollBar.minimum(), -5000);
  EXPECT_FALSE(ActionNamed(*main, "K2").isEnabled());
  EXPECT_FALSE(Doc().Modified);
}

TEST_F(DocumentHostTest, SavingFillsTheNameListsAndTheReopenMenu) {
  QComboBox& artistCombo = Control<QComboBox>(*main, "e_art");
  QComboBox& genreCombo = Control<QComboBox>(*main, "e_genre");
  artistCombo.setEditText("Someone");
  genreCombo.setEditText("Trance");
  Control<QLineEdit>(*main, "Edit3").setText("4");
  // An object to show the cell count the save used.
  Control<QLineEdit>(*main, "Edit2").setText("#00111:01");
  Control<QPushButton>(*main, "Button6").click();
  const std::string path = charts.file("out.bms");
  prompts.fileNames = {QString::fromStdString(path)};
  ActionNamed(*main, "SaveAs1").trigger();
  ASSERT_EQ(main->windowTitle(), "Beatloom [" + QString::fromStdString(path) + "]");
  EXPECT_NE(ReadFile(path).find("#00111:01000000\r\n"), std::string::npos);  // at least 4 cells
  std::vector<std::string> artists;
  ReadLinesFile(home.file(kArtistListFile), artists);
  EXPECT_EQ(artists, std::vector<std::string>{"Someone"});
  ASSERT_EQ(artistCombo.count(), 1);
  EXPECT_EQ(artistCombo.currentText(), "Someone");
  EXPECT_EQ(genreCombo.itemText(0), "Trance");
  EXPECT_TRUE(Control<QMenu>(*main, "N9").isEnabled());
  EXPECT_EQ(ActionNamed(*main, "N10").text(), "1:" + QString::fromStdString(path));
  EXPECT_TRUE(ActionNamed(*main, "K2").isEnabled());
}

}  // namespace
}  // namespace beatloom::test
