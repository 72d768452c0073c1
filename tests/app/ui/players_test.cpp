#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "app/ui/main_window_fixture.h"
#include "bms/ui/log_window.h"
#include "model/file_io.h"

namespace beatloom::test {
namespace {

class PlayersTest : public MainWindowTest {
 protected:
  void SetUp() override { Quiet(); }
  void TearDown() override {
    Doc().Modified = false;
    if (main) main->close();
  }
  QComboBox& Selector() { return Control<QComboBox>(*main, "CB_Viewer"); }
  // The selector's names, its selected name and which of s_fplay, s_play,
  // s_stop and S_SPlay are enabled: "a,b|b|1010".
  std::string Players() {
    QStringList names;
    for (int k = 0; k < Selector().count(); ++k) names << Selector().itemText(k);
    std::string s = (names.join(',') + '|' + Selector().currentText() + '|').toStdString();
    for (const char* name : {"s_fplay", "s_play", "s_stop", "S_SPlay"})
      s += Control<QToolButton>(*main, name).isEnabled() ? '1' : '0';
    return s;
  }
  std::unique_ptr<TMain> main;
};

TEST_F(PlayersTest, LaunchesWriteTheWorkingCopyAndStartTheSelectedPlayer) {
  WriteFile(home.file("ExApps.cfg"),
            "rec\r\nplayer.sh\r\n-F [purefilename]\r\n-N[note#] [filename]\r\n\r\n-play\r\n"
            "quiet\r\n/opt/q\r\n\r\n\r\n-S\r\n\r\nsurplus\r\n");
  main = Start();
  EXPECT_EQ(Players(), "Beatloom,rec,quiet|Beatloom|1111");  // the built-in player comes first
  Selector().setCurrentIndex(1);
  EXPECT_EQ(Players(), "Beatloom,rec,quiet|rec|1101");
  ActionNamed(*main, "N44").trigger();  // a chart that never had a file: nothing
  EXPECT_TRUE(shell.started.empty());

  std::filesystem::create_directory(charts.file("my charts; $(x)"));
  const std::string chart = Chart("my charts; $(x)/song.bms", "#TITLE Song\r\n#00111:01\r\n");
  ASSERT_TRUE(OpenChart(*main, chart));
  Doc().AddObject(1, 5 * 192, 2);
  Doc().Modified = true;
  Control<QScrollBar>(*main, "GSV").setValue(-600);
  const QString copy = QString::fromStdString(charts.file("my charts; $(x)/Edit temp BMS (can delete).bms"));
  ActionNamed(*main, "k18").trigger();
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0], std::make_pair(QString::fromStdString(home.file("player.sh")), QStringList{"-N3", copy}));
  EXPECT_NE(ReadFile(copy.toStdString()).find("#00511:02"), std::string::npos);
  // The copy is no save: the chart keeps its name, caption and mark.
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + QString::fromStdString(chart) + "]");

  // A player that cannot start is reported in the log, not in a box.
  shell.failure = "No such file or directory";
  ActionNamed(*main, "N44").trigger();
  const LogWindow* log = main->findChild<LogWindow*>();
  ASSERT_TRUE(log && log->isVisible() && log->lines()->count() > 0);
  EXPECT_TRUE(log->lines()->item(log->lines()->count() - 1)->text().endsWith("(No such file or directory)"));
  EXPECT_TRUE(Control<QLabel>(*main, "LabelMessage").text().endsWith("(No such file or directory)"));
  EXPECT_TRUE(prompts.shown.empty());

  // Stop with its own template; the copy is written for it too, and the
  // failure is no longer shown once a player started.
  shell.started.clear();
  shell.failure.clear();
  Selector().setCurrentIndex(2);
  EXPECT_EQ(Players(), "Beatloom,rec,quiet|quiet|0010");
  std::filesystem::remove(copy.toStdString());
  Control<QToolButton>(*main, "s_stop").click();
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0], std::make_pair(QString("/opt/q"), QStringList{"-S"}));
  EXPECT_TRUE(FileExists(copy.toStdString()));
  EXPECT_TRUE(Control<QLabel>(*main, "LabelMessage").text().isEmpty());

  // A list file without a whole entry offers no player.
  Doc().Modified = false;
  main->close();
  WriteFile(home.file("ExApps.cfg"), "one\r\ntwo\r\n");
  main = Start();
  EXPECT_EQ(Players(), "Beatloom|Beatloom|1111");
  ASSERT_TRUE(OpenChart(*main, Chart("song.bms", "#TITLE Song\r\n")));
  shell.started.clear();
  for (const char* name : {"k12", "k18", "N44"}) ActionNamed(*main, name).trigger();
  EXPECT_TRUE(shell.started.empty());
  EXPECT_FALSE(FileExists(charts.file("Edit temp BMS (can delete).bms")));
}

TEST_F(PlayersTest, NoPlayerStartsWithoutItsOwnFreshWorkingCopy) {
  WriteFile(home.file("ExApps.cfg"), "rec\r\nplayer.sh\r\n-F [purefilename]\r\n\r\n\r\n\r\n");
  main = Start();
  Selector().setCurrentIndex(1);
  ASSERT_TRUE(OpenChart(*main, Chart("song.bms", "#TITLE Song\r\n")));
  // Another user's file at the copy's name (a folder when this user cannot
  // give a file away) is neither replaced nor written into.
  const std::string copy = charts.file("Edit temp BMS (can delete).bms");
  WriteFile(copy, "theirs");
  if (chown(copy.c_str(), 65534, 65534) != 0) std::filesystem::remove(copy), std::filesystem::create_directory(copy);
  ActionNamed(*main, "k12").trigger();
  EXPECT_TRUE(shell.started.empty());
  EXPECT_TRUE(Control<QLabel>(*main, "LabelMessage").text().startsWith("外部ビューアを起動しませんでした"));
  ActionNamed(*main, "New1").trigger();  // which removes the program's own copy only
  EXPECT_EQ(std::filesystem::is_directory(copy) ? "theirs" : ReadFile(copy), "theirs");
  std::filesystem::remove_all(copy);
}

TEST_F(PlayersTest, CtrlTRunsThePlayLineFromTheShownMeasureUntilStop) {
  main = Start();
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  // At 240 a measure lasts 1 s; the sound is missing, so it plays silently.
  ASSERT_TRUE(OpenChart(*main, Chart("song.bms", "#BPM 240\r\n#WAV01 gone.wav\r\n#00111:01\r\n#00911:01\r\n")));
  Control<QScrollBar>(*main, "GSV").setValue(-3 * 192 - 20);  // measure 3 at the bottom
  Score(*main).setFocus();
  QElapsedTimer clock;
  clock.start();
  QTest::keyClick(main.get(), Qt::Key_T, Qt::ControlModifier);
  const int first = Score(*main).PlayLine();
  EXPECT_GE(first, 3 * 192);
  EXPECT_LT(first, 3 * 192 + 20);
  QTest::qWait(300);
  // 192 ticks a second at 240 BPM; the line is drawn every 20 ms, later on a
  // busy machine.
  const double spent = clock.nsecsElapsed() / 1e9;
  EXPECT_GE(Score(*main).PlayLine(), 3 * 192 + static_cast<int>(192 * 0.2));
  EXPECT_LE(Score(*main).PlayLine(), 3 * 192 + static_cast<int>(192 * spent) + 1);
  EXPECT_TRUE(Control<QLabel>(*main, "LabelMessage").text().startsWith("再生中 0:03."));
  EXPECT_NE(ChartLog().Lines().back().find("gone.wav"), std::string::npos);
  Control<QToolButton>(*main, "s_stop").click();
  EXPECT_EQ(Score(*main).PlayLine(), -1);
  QTest::keyClick(main.get(), Qt::Key_Space);  // Space plays from the shown measure too
  EXPECT_GE(Score(*main).PlayLine(), 3 * 192);
  QTest::keyClick(main.get(), Qt::Key_Space);
  EXPECT_EQ(Score(*main).PlayLine(), -1);
}

// Runs the options dialog through steps: "row:N" picks row N as a double
// click does, "set:a|b|..." types the entry fields in order, "mail:x" types
// e_EMAIL, anything else presses the button of that name. A dialog still
// open at the end is cancelled.
void RunOptions(TMain& main, const QStringList& steps) {
  WhenModal([steps](QDialog& d) {
    const char* const fields[] = {"VS_Name", "VS_Exe", "VS_atPlay1", "VS_atPlay2", "VS_atStop", "VS_atPlayable"};
    QListWidget& list = Control<QListWidget>(d, "LB");
    for (const QString& step : steps) {
      const QString arg = step.section(':', 1);
      if (step.startsWith("row:")) {
        list.setCurrentRow(arg.toInt());
        emit list.itemDoubleClicked(list.currentItem());  // what a double click reports
      } else if (step.startsWith("set:")) {
        const QStringList texts = arg.split('|');
        for (int k = 0; k < texts.size(); ++k) Control<QLineEdit>(d, fields[k]).setText(texts[k]);
      } else if (step.startsWith("mail:")) {
        Control<QLineEdit>(d, "e_EMAIL").setText(arg);
      } else {
        Control<QPushButton>(d, step.toUtf8().constData()).click();
      }
    }
    if (d.isVisible()) Control<QPushButton>(d, "Button6").click();
  });
  ActionNamed(main, "N43").trigger();
}

TEST_F(PlayersTest, OptionsDialogEditsTheListAndKeepsTheSelectedName) {
  main = Start();
  const std::string file = home.file("ExApps.cfg");
  prompts.fileNames.push_back("/opt/mine/player");
  // Playview, the last entry, cannot go; it is replaced later.
  RunOptions(*main, {"row:0", "Button4", "set:a|pa||||", "Button2", "set:mine||||-S|", "Button3", "Button2", "row:0",
                     "set:a2|pa2|x [filename]|||", "Button1", "mail:me@example.com", "Button7"});
  EXPECT_TRUE(prompts.WasShown("全て削除する事はできません"));
  EXPECT_EQ(prompts.fileDialogs.back().title, "ビューアの選択");
  EXPECT_EQ(ReadFile(file),
            "a2\r\npa2\r\nx [filename]\r\n\r\n\r\n\r\na\r\npa\r\n\r\n\r\n\r\n\r\n"
            "mine\r\n/opt/mine/player\r\n\r\n\r\n-S\r\n\r\n");
  EXPECT_EQ(Ini().ReadString("BTLM", "UserSettingEMAIL", "-"), "me@example.com");
  EXPECT_EQ(Players(), "Beatloom,a2,a,mine|Beatloom|1111");

  Selector().setCurrentIndex(3);
  RunOptions(*main, {"set:zzz", "Button2", "Button6"});  // Cancel writes nothing
  EXPECT_EQ(Players(), "Beatloom,a2,a,mine|mine|0010");
  EXPECT_EQ(ReadFile(file).find("zzz"), std::string::npos);
  RunOptions(*main, {"mail:ü é@example.com", "Button7"});  // never stored as "? ?"
  EXPECT_TRUE(prompts.shown.back().text.contains("ü é@example.com"));
  EXPECT_EQ(Ini().ReadString("BTLM", "UserSettingEMAIL", "-"), "me@example.com");

  RunOptions(*main, {"row:1", "Button4", "Button7"});
  EXPECT_EQ(Players(), "Beatloom,a2,mine|mine|0010");  // kept by name where it has moved

  // A list file that cannot be written: the error, the dialog stays; the
  // selector shows the list the launches now use.
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  prompts.shown.clear();
  RunOptions(*main, {"row:0", "Button4", "Button7"});
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Error);
  EXPECT_EQ(Players(), "Beatloom,mine|mine|0010");
}

}  // namespace
}  // namespace beatloom::test
