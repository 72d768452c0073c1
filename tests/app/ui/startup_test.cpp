#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMediaPlayer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <filesystem>

#include "app/settings.h"
#include "app/ui/main_window_fixture.h"
#include "app/ui/splash_window.h"
#include "bms/ui/log_window.h"
#include "view/ui/score_widget.h"

namespace beatloom::test {
namespace {

using Answer = Prompts::Answer;

// Every key the program writes at shutdown, with a value other than the
// first-start one, and the window where the offscreen screen has room.
const std::vector<std::tuple<const char*, const char*, const char*>> kStoredValues = {
    {"BTLM", "GridHeight", "300"},         {"BTLM", "GridWidth", "11"},
    {"BTLM", "ObjectHeight", "17"},        {"BTLM", "GridPosition", "8"},
    {"BTLM", "SubGridPosition", "9"},      {"BTLM", "ShowIndexNumver", "0"},
    {"BTLM", "ShowFileName", "1"},         {"BTLM", "ShowDirectInputBox", "0"},
    {"BTLM", "ShowSettingWindow", "0"},    {"BTLM", "FlatObjectWidth", "1"},
    {"BTLM", "Wav&BmpDropOverWrite", "0"}, {"BTLM", "DebugingSave", "0"},
    {"BTLM", "MinimamColWidth", "16"},     {"PLAYVIEW", "InActiveClickCancel", "0"},
    {"BTLM", "BMPViewXPos", "40"},         {"BTLM", "BMPViewYPos", "50"},
    {"BTLM", "BMPViewWidth", "512"},       {"BTLM", "BMPViewHeight", "530"},
    {"BTLM", "Color_Background", "255"},   {"BTLM", "Color_NoteFont", "16711680"},
    {"BTLM", "Color_NoteLine", "65280"},   {"BTLM", "Color_Grid", "1"},
    {"BTLM", "Color_SubLine", "2"},        {"BTLM", "Color_ColLine1", "3"},
    {"BTLM", "Color_ColLine2", "4"},       {"BTLM", "Color_ZoneFont", "5"},
    {"PLAYVIEW", "WindowLeft", "30"},      {"PLAYVIEW", "WindowTop", "20"},
    {"PLAYVIEW", "WindowWidth", "700"},    {"PLAYVIEW", "WindowHeight", "560"},
};

TEST_F(MainWindowTest, WithoutSettingsTheFirstStartValuesApply) {
  auto main = Start();
  EXPECT_EQ(Control<QComboBox>(*main, "cb_grid").currentText(), "1/16");
  EXPECT_EQ(Control<QComboBox>(*main, "cb_r").currentText(), "1/2");
  EXPECT_EQ(Control<QScrollBar>(*main, "ScrollBar1").value(), 192);
  EXPECT_EQ(Control<QScrollBar>(*main, "ScrollBar3").value(), 6);
  EXPECT_EQ(Control<QScrollBar>(*main, "ScrollBar2").value(), 10);
  EXPECT_TRUE(ActionNamed(*main, "c_dindex").isChecked());
  EXPECT_FALSE(ActionNamed(*main, "N33").isChecked());
  EXPECT_TRUE(ActionNamed(*main, "c_direct").isChecked());
  EXPECT_TRUE(Control<QWidget>(*main, "Panel6").isVisible());
  EXPECT_TRUE(ActionNamed(*main, "N7").isChecked());
  EXPECT_TRUE(Control<QWidget>(*main, "Panel8").isVisible());
  EXPECT_FALSE(ActionNamed(*main, "N26").isChecked());
  EXPECT_TRUE(Control<QCheckBox>(*main, "CheckBox1").isChecked());
  EXPECT_TRUE(Control<QCheckBox>(*main, "CheckBox8").isChecked());
  EXPECT_EQ(Control<QLineEdit>(*main, "Edit3").text(), "1");
  EXPECT_TRUE(ActionNamed(*main, "N34").isChecked());
  EXPECT_FALSE(Control<QLabel>(*main, "L_Devmode").isVisible());
  EXPECT_NE(main->findChild<QMediaPlayer*>("MediaPlayer1"), nullptr);
  const QRect screen = main->screen()->availableGeometry();
  EXPECT_EQ(main->size(), QSize(screen.width() * 4 / 5, screen.height() * 4 / 5));

  // The view follows the controls.
  const ViewSettings& v = Score(*main).View();
  EXPECT_EQ(v.GridHeight, 192);
  EXPECT_EQ(v.GridWidth, 6);
  EXPECT_EQ(v.ObjectHeight, 10);
  EXPECT_EQ(v.GridPosition, 2);
  EXPECT_EQ(v.Colors, DefaultScoreColors());

  // A new, unmodified chart.
  EXPECT_EQ(main->windowTitle(), "Beatloom [New Data]");
  EXPECT_FALSE(Doc().Modified);
  EXPECT_EQ(Doc().header.e_bpm, "120");
  EXPECT_EQ(Control<QLineEdit>(*main, "e_bpm").text(), "120");
  const QListWidget& wavList = Control<QListWidget>(*main, "lbw");
  const QListWidget& bmpList = Control<QListWidget>(*main, "lbb");
  EXPECT_EQ(wavList.count(), 255);
  EXPECT_EQ(wavList.item(0)->text(), "WAV01:");
  EXPECT_EQ(wavList.item(254)->text(), "WAVFF:");
  EXPECT_EQ(bmpList.count(), 256);
  EXPECT_EQ(bmpList.item(0)->text(), "BMP00:");
  EXPECT_EQ(wavList.currentRow(), 0);
  EXPECT_EQ(bmpList.currentRow(), 1);
  const QScrollBar& gsv = Control<QScrollBar>(*main, "GSV");
  EXPECT_EQ(gsv.minimum(), -5000);
  EXPECT_EQ(gsv.value(), 0);
  // The stored settings were applied at the first showing, the last step of
  // which turns the splash into the About window.
  const SplashWindow& splash = Control<SplashWindow>(*main, "Form2");
  EXPECT_FALSE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(AnswersResizes(*main));
  EXPECT_FALSE(splash.isVisible());

  // The first start leaves its stamp.
  const IniFile ini = Ini();
  EXPECT_TRUE(ini.HasKey("boot", "lastboot"));
  EXPECT_GT(std::stod(ini.ReadString("boot", "lastboot", "0")), 40000.0);
}

TEST_F(MainWindowTest, EverySettingWrittenAtCloseIsReadBackUnchanged) {
  IniFile ini = Ini();
  ini.WriteString("boot", "NoSound", "1");
  for (const auto& [section, key, value] : kStoredValues) ini.WriteString(section, key, value);
  ini.WriteString("BTLM", "UserSettingEMAIL", "me@example.org");
  ini.WriteString("Other", "Kept", "as it was");
  {
    auto main = Start();
    const ViewSettings& view = Score(*main).View();
    EXPECT_EQ(Control<QScrollBar>(*main, "ScrollBar1").value(), 300);
    EXPECT_EQ(Control<QScrollBar>(*main, "ScrollBar3").value(), 11);
    EXPECT_EQ(Control<QComboBox>(*main, "cb_grid").currentText(), "Free");
    EXPECT_EQ(Control<QComboBox>(*main, "cb_r").currentText(), "none");
    EXPECT_TRUE(ActionNamed(*main, "N26").isChecked());  // the stored 1 clicks it once
    EXPECT_TRUE(view.FlatObjectWidth);
    EXPECT_FALSE(Control<QWidget>(*main, "Panel8").isVisible());
    EXPECT_FALSE(Control<QWidget>(*main, "Panel6").isVisible());
    EXPECT_EQ(Control<QLineEdit>(*main, "Edit3").text(), "16");
    EXPECT_EQ(view.Color(ScoreColor::Background), 0xFF0000u);  // red in the low byte
    EXPECT_EQ(view.Color(ScoreColor::NoteFont), 0x0000FFu);
    EXPECT_EQ(main->geometry(), QRect(30, 20, 700, 560));
    EXPECT_EQ(Doc().header.E_Email, "me@example.org");
    EXPECT_EQ(main->findChild<QMediaPlayer*>("MediaPlayer1"), nullptr);
    EXPECT_EQ(main->findChild<QWidget*>("Form5")->geometry(), QRect(40, 50, 512, 530));
    EXPECT_TRUE(main->close());
  }
  // The image preview's place, read at start, is written back at close.
  const WindowBounds preview{ini.ReadInteger("BTLM", "BMPViewXPos", 0), ini.ReadInteger("BTLM", "BMPViewYPos", 0),
                             ini.ReadInteger("BTLM", "BMPViewWidth", 0), ini.ReadInteger("BTLM", "BMPViewHeight", 0)};
  EXPECT_EQ(preview, (WindowBounds{40, 50, 512, 530}));
  for (const auto& [section, key, value] : kStoredValues)
    EXPECT_EQ(ini.ReadString(section, key, "missing"), value) << section << "/" << key;
  EXPECT_EQ(ini.ReadString("Other", "Kept", ""), "as it was");
  EXPECT_EQ(ini.ReadString("BTLM", "UserSettingEMAIL", ""), "me@example.org");
  EXPECT_EQ(ini.ReadString("boot", "NoSound", ""), "1");
}

TEST_F(MainWindowTest, ClosingWritesTheControlsAsTheyStand) {
  Quiet();
  {
    auto main = Start();
    Control<QScrollBar>(*main, "ScrollBar1").setValue(500);
    Control<QPushButton>(*main, "Button10").click();  // 表示幅 back to its default
    Control<QComboBox>(*main, "cb_grid").setCurrentIndex(4);
    ActionNamed(*main, "N33").trigger();
    Control<QCheckBox>(*main, "CheckBox8").setChecked(false);
    Control<QLineEdit>(*main, "Edit3").setText("8");
    ActionNamed(*main, "N34").trigger();
    EXPECT_FALSE(ActionNamed(*main, "N34").isChecked());
    EXPECT_TRUE(main->close());
  }
  const IniFile ini = Ini();
  EXPECT_EQ(ini.ReadInteger("BTLM", "GridHeight", 0), 500);
  EXPECT_EQ(ini.ReadInteger("BTLM", "GridWidth", 0), 6);
  EXPECT_EQ(ini.ReadInteger("BTLM", "GridPosition", 0), 4);
  EXPECT_EQ(ini.ReadString("BTLM", "ShowFileName", ""), "1");
  EXPECT_EQ(ini.ReadString("BTLM", "DebugingSave", ""), "0");
  EXPECT_EQ(ini.ReadString("BTLM", "MinimamColWidth", ""), "8");
  EXPECT_EQ(ini.ReadString("PLAYVIEW", "InActiveClickCancel", ""), "0");
  EXPECT_EQ(ini.ReadInteger("BTLM", "Color_NoteFont", 0), 5789784);
  EXPECT_FALSE(ini.HasKey("BTLM", "UserSettingEMAIL"));
}

TEST_F(MainWindowTest, StoredValuesOutsideTheControlsAreClamped) {
  IniFile ini = Ini();
  ini.WriteBool("boot", "NoSound", true);
  ini.WriteString("BTLM", "GridHeight", "1000");
  ini.WriteString("BTLM", "GridWidth", "1");
  ini.WriteString("BTLM", "ObjectHeight", "99");
  ini.WriteString("BTLM", "GridPosition", "40");
  ini.WriteString("BTLM", "SubGridPosition", "-3");
  auto main = Start();
  EXPECT_EQ(Control<QScrollBar>(*main, "ScrollBar1").value(), 728);
  EXPECT_EQ(Control<QScrollBar>(*main, "ScrollBar3").value(), 4);
  EXPECT_EQ(Control<QScrollBar>(*main, "ScrollBar2").value(), 30);
  EXPECT_EQ(Control<QComboBox>(*main, "cb_grid").currentIndex(), 8);
  EXPECT_EQ(Control<QComboBox>(*main, "cb_r").currentIndex(), 0);
  EXPECT_EQ(Score(*main).View().GridHeight, 728);
}

TEST_F(MainWindowTest, AWindowStoredOffEveryScreenComesBack) {
  Quiet();
  IniFile ini = Ini();
  ini.WriteInteger("PLAYVIEW", "WindowLeft", 6000);
  ini.WriteInteger("PLAYVIEW", "WindowTop", -4000);
  ini.WriteInteger("PLAYVIEW", "WindowWidth", 600);
  ini.WriteInteger("PLAYVIEW", "WindowHeight", 500);
  auto main = Start();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  // The frame's corner, title bar included.
  EXPECT_TRUE(screen.contains(main->frameGeometry().topLeft())) << main->pos().x() << "," << main->pos().y();
  EXPECT_EQ(main->size(), QSize(600, 500));
}

TEST_F(MainWindowTest, StartsAndClosesWithoutMovingKeepTheStoredWindow) {
  Quiet();
  IniFile ini = Ini();
  ini.WriteInteger("PLAYVIEW", "WindowLeft", 100);
  ini.WriteInteger("PLAYVIEW", "WindowTop", 200);
  ini.WriteInteger("PLAYVIEW", "WindowWidth", 700);
  ini.WriteInteger("PLAYVIEW", "WindowHeight", 560);
  for (int start = 1; start <= 3; ++start) {
    auto main = Start();
    EXPECT_TRUE(main->close());
    const WindowBounds stored{ini.ReadInteger("PLAYVIEW", "WindowLeft", 0), ini.ReadInteger("PLAYVIEW", "WindowTop", 0),
                              ini.ReadInteger("PLAYVIEW", "WindowWidth", 0),
                              ini.ReadInteger("PLAYVIEW", "WindowHeight", 0)};
    EXPECT_EQ(stored, (WindowBounds{100, 200, 700, 560})) << "start " << start;
  }
  // A move is kept as made.
  auto main = Start();
  main->move(main->pos() + QPoint(30, -40));
  EXPECT_TRUE(main->close());
  EXPECT_EQ(ini.ReadInteger("PLAYVIEW", "WindowLeft", 0), 130);
  EXPECT_EQ(ini.ReadInteger("PLAYVIEW", "WindowTop", 0), 160);
}

// A stored value that equals what its control shows before start-up raises
// no change signal; the score must still use it.
TEST_F(MainWindowTest, StoredValuesEqualToTheControlsInitialStateReachTheView) {
  IniFile ini = Ini();
  ini.WriteBool("boot", "NoSound", true);
  const std::pair<const char*, const char*> initial[] = {
      {"GridPosition", "0"},      {"SubGridPosition", "0"},    {"GridHeight", "192"}, {"GridWidth", "6"},
      {"ObjectHeight", "10"},     {"ShowIndexNumver", "1"},    {"ShowFileName", "0"}, {"FlatObjectWidth", "0"},
      {"ShowSettingWindow", "1"}, {"ShowDirectInputBox", "1"},
  };
  for (const auto& [key, value] : initial) ini.WriteString("BTLM", key, value);
  auto main = Start();
  const ViewSettings& v = Score(*main).View();
  EXPECT_EQ(Control<QComboBox>(*main, "cb_grid").currentText(), "1/4");
  EXPECT_EQ(v.GridPosition, 0);
  EXPECT_EQ(v.SubGridPosition, Control<QComboBox>(*main, "cb_r").currentIndex());
  EXPECT_EQ(v.GridHeight, Control<QScrollBar>(*main, "ScrollBar1").value());
  EXPECT_EQ(v.GridWidth, Control<QScrollBar>(*main, "ScrollBar3").value());
  EXPECT_EQ(v.ObjectHeight, Control<QScrollBar>(*main, "ScrollBar2").value());
  EXPECT_EQ(v.ShowIndexNumver, ActionNamed(*main, "c_dindex").isChecked());
  EXPECT_EQ(v.ShowFileName, ActionNamed(*main, "N33").isChecked());
  EXPECT_EQ(v.FlatObjectWidth, ActionNamed(*main, "N26").isChecked());
}

TEST_F(MainWindowTest, BootSwitchesListsAndMemoTemplate) {
  IniFile ini = Ini();
  ini.WriteBool("boot", "DevMode", true);
  ini.WriteBool("boot", "NoSound", true);
  ini.WriteString("BTLM", "UserSettingURL", "http://example.org/");
  WriteFile(home.file("BTLM ArtistList.txt"), "Someone\r\n\x83\x65\x83\x58\x83\x67\r\n");  // テスト in CP932
  WriteFile(home.file("BTLM GenreList.txt"), "Techno\r\n");
  WriteFile(home.file("header.txt"), "made with care\r\nsecond line\r\n");
  auto main = Start();
  const QLabel& devModeLabel = Control<QLabel>(*main, "L_Devmode");
  const QComboBox& artistCombo = Control<QComboBox>(*main, "e_art");
  EXPECT_TRUE(devModeLabel.isVisible());
  EXPECT_EQ(devModeLabel.text(), "Developer's Mode");
  EXPECT_EQ(main->findChild<QMediaPlayer*>("MediaPlayer1"), nullptr);
  ASSERT_EQ(artistCombo.count(), 2);
  EXPECT_EQ(artistCombo.itemText(1), "テスト");
  EXPECT_EQ(artistCombo.currentText(), "");
  ASSERT_EQ(Control<QComboBox>(*main, "e_genre").count(), 1);
  EXPECT_EQ(artistCombo.itemText(0), "Someone");
  EXPECT_EQ(Control<QPlainTextEdit>(*main, "mmemo").toPlainText(), "made with care\nsecond line");
  EXPECT_EQ(Doc().mmemo, (std::vector<std::string>{"made with care", "second line"}));
  EXPECT_EQ(Control<QLineEdit>(*main, "E_URL").text(), "http://example.org/");
  EXPECT_FALSE(Doc().Modified);
}

TEST_F(MainWindowTest, TheFirstChartArgumentIsOpened) {
  Quiet();
  const std::string a = Chart("a.txt", "#TITLE A\r\n");
  const std::string b = Chart("B.BmS", "#TITLE B\r\n#00111:01\r\n");
  const std::string x = Chart("x.bme", "#TITLE X\r\n");
  const std::string y = Chart("y.bms", "#TITLE Y\r\n");
  const std::string z = Chart("song.bms.txt", "#TITLE Z\r\n");
  const std::string p = Chart("nine.PMS", "#TITLE P\r\n");
  struct Row {
    QStringList arguments;
    std::string title;  // empty: the new chart stays
    QString caption;
  };
  const auto q = [](const std::string& s) { return QString::fromStdString(s); };
  const Row rows[] = {
      {{q(a), q(b)}, "B", "Beatloom [" + q(b) + "]"},
      {{q(x), q(y)}, "X", "Beatloom [" + q(x) + "]"},
      {{q(z)}, "Z", "Beatloom [" + q(z) + "]"},
      {{q(a), q(p)}, "P", "Beatloom [" + q(p) + "]"},
      {{"--verbose", q(a)}, "", "Beatloom [New Data]"},
      {{}, "", "Beatloom [New Data]"},
  };
  for (const Row& r : rows) {
    auto main = Start(r.arguments);
    EXPECT_EQ(Doc().header.e_title, r.title) << r.arguments.join(' ').toStdString();
    EXPECT_EQ(Control<QLineEdit>(*main, "e_title").text(), q(r.title));
    EXPECT_EQ(main->windowTitle(), r.caption);
    EXPECT_EQ(ActionNamed(*main, "K2").isEnabled(), !r.title.empty());
    EXPECT_FALSE(Doc().Modified);
    EXPECT_EQ(Control<QListWidget>(*main, "lbb").currentRow(), r.title.empty() ? 1 : 0);
  }
}

TEST_F(MainWindowTest, AChartThatCannotBeReadLeavesTheNewChart) {
  Quiet();
  auto main = Start({QString::fromStdString(charts.file("missing.bms"))});
  EXPECT_EQ(main->windowTitle(), "Beatloom [New Data]");
  EXPECT_FALSE(ActionNamed(*main, "K2").isEnabled());
  // The report wants the author's attention: its window comes up.
  EXPECT_TRUE(Control<LogWindow>(*main, "Form4").isVisible());
  EXPECT_FALSE(ChartLog().Lines().empty());
}

TEST_F(MainWindowTest, LoadedChartFillsTheControlsAndScrollRange) {
  Quiet();
  const std::string longText(150, 'x');
  const std::string path =
      Chart("song.bms", "#PLAYER 2\r\n#GENRE Trance\r\n#TITLE Song " + longText + "\r\n#ARTIST Someone " + longText +
                            "\r\n#RANK 3\r\n#WAV0A kick.wav\r\n"
                            "#BMP01 back.bmp\r\n#EXTRA thing\r\nmemo text\r\n#05011:01\r\n");
  auto main = Start({QString::fromStdString(path)});
  const QComboBox& artistCombo = Control<QComboBox>(*main, "e_art");
  QScrollBar& verticalScrollBar = Control<QScrollBar>(*main, "GSV");
  EXPECT_EQ(Control<QComboBox>(*main, "cbpmode").currentIndex(), 1);
  EXPECT_EQ(Control<QComboBox>(*main, "e_genre").currentText(), "Trance");
  // Long values show their start.
  EXPECT_EQ(Control<QLineEdit>(*main, "e_title").cursorPosition(), 0);
  EXPECT_EQ(artistCombo.lineEdit()->cursorPosition(), 0);
  EXPECT_TRUE(artistCombo.currentText().startsWith("Someone"));
  EXPECT_EQ(Control<QComboBox>(*main, "cbrank").currentIndex(), 4);
  EXPECT_EQ(Control<QListWidget>(*main, "lbw").item(9)->text(), "WAV0A:kick.wav");
  EXPECT_EQ(Control<QListWidget>(*main, "lbb").item(1)->text(), "BMP01:back.bmp");
  EXPECT_EQ(Control<QPlainTextEdit>(*main, "mcom").toPlainText(), "#EXTRA thing");
  EXPECT_EQ(Control<QPlainTextEdit>(*main, "mmemo").toPlainText(), "memo text");
  EXPECT_EQ(verticalScrollBar.minimum(), -(50 * 192 + 3072));
  EXPECT_EQ(verticalScrollBar.maximum(), 0);
  EXPECT_FALSE(Doc().Modified);
  // The score scrolls with the bar.
  verticalScrollBar.setValue(-960);
  EXPECT_EQ(Score(*main).VerticalScroll(), -960);
}

TEST_F(MainWindowTest, CloseAsksAboutAModifiedChart) {
  Quiet();
  auto main = Start();
  Control<QLineEdit>(*main, "e_title").setText("changed");
  ASSERT_TRUE(Doc().Modified);

  prompts.answers = {Answer::Cancel};
  EXPECT_FALSE(main->close());
  EXPECT_TRUE(main->isVisible());
  EXPECT_TRUE(AnswersResizes(*main));
  EXPECT_FALSE(Ini().HasKey("BTLM", "GridHeight"));
  EXPECT_TRUE(prompts.WasShown("データは変更されています。保存しますか？"));

  // Yes without a save that could take the changes: still not lost.
  prompts.answers = {Answer::Yes};
  EXPECT_FALSE(main->close());
  EXPECT_FALSE(Ini().HasKey("BTLM", "GridHeight"));

  prompts.answers = {Answer::No};
  EXPECT_TRUE(main->close());
  EXPECT_TRUE(Ini().HasKey("BTLM", "GridHeight"));
  EXPECT_FALSE(AnswersResizes(*main));
}

TEST_F(MainWindowTest, CloseRemovesThePlayersWorkingCopy) {
  Quiet();
  const std::string path = Chart("song.bms", "#TITLE S\r\n");
  auto main = Start({QString::fromStdString(path)});
  const std::string copy = charts.file("Edit temp BMS (can delete).bms");
  WriteFile(copy, "working copy");
  EXPECT_TRUE(main->close());
  EXPECT_FALSE(std::filesystem::exists(copy));
}

TEST_F(MainWindowTest, TheSplashStaysUpHalfASecondUntilTheWindowIsShown) {
  Quiet();
  TMainOptions options;
  options.programFolder = home.path();
  options.prompts = &prompts;
  options.shell = &shell;
  QElapsedTimer created;
  created.start();
  TMain main(options);
  EXPECT_GE(created.elapsed(), 500);
  SplashWindow* splash = main.findChild<SplashWindow*>("Form2");
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(splash->isVisible());
  EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash->size(), QSize(538, 170));
  main.show();
  QCoreApplication::processEvents();
  EXPECT_FALSE(splash->isVisible());
  main.close();
}

TEST_F(MainWindowTest, SplashBecomesTheAboutWindowOfTheSameSize) {
  Quiet();
  auto main = Start();
  main->move(0, 0);  // away from the middle, where the About window belongs
  SplashWindow* about = main->findChild<SplashWindow*>("Form2");
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(about->isVisible());
  EXPECT_FALSE(about->windowFlags() & Qt::FramelessWindowHint);
  bool came = false;
  WhenModal([&](QDialog& d) {
    came = &d == about;
    const QPoint centre = main->screen()->availableGeometry().center();
    EXPECT_LE((d.geometry().center() - centre).manhattanLength(), 2);
    EXPECT_EQ(d.size(), QSize(538, 170));
    EXPECT_EQ(d.windowTitle(), "About..");
    EXPECT_EQ(d.findChild<QLabel*>("Label1")->text(), "2.0.a9");
    EXPECT_EQ(d.findChild<QLabel*>("Label6")->text(), "Version ");
    d.close();
  });
  ActionNamed(*main, "K4").trigger();
  EXPECT_TRUE(came);
}

}  // namespace
}  // namespace beatloom::test
