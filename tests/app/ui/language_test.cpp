#include "app/ui/language.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>

#include "analysis/ui/stats_window.h"
#include "app/language_file.h"
#include "platform/ui/window_texts.h"
#include "app/ui/main_window_fixture.h"
#include "model/text_codec.h"

namespace beatloom::test {
namespace {

std::string Cp932(const char* utf8) { return FromUtf8(utf8, TextEncoding::Cp932); }

TEST_F(MainWindowTest, LanguageFileReplacesOnlyTheTextsTheDesignHas) {
  Quiet();
  WriteFile(home.file("langage.ini"), Cp932("[Language Data]\r\n"
                                            "main.k1.caption=File(&F)\r\n"
                                            "MAIN.K3.CAPTION=へんしゅう(&E)\r\n"
                                            "Main.Edit2.hint=Type a BMS command\r\n"
                                            "Main.Edit2.caption=never shown\r\n"
                                            "Main.N2.caption=-\r\n"
                                            "Main.sp2.caption=never shown\r\n"
                                            "Main.sp2.hint=Open a chart\r\n"
                                            "Main.K13.hint=never shown\r\n"
                                            "Main.Label7.caption=\r\n"
                                            "Main.TabSheet1.caption=Basic\r\n"
                                            "Main.Main.caption=Chart editor\r\n"
                                            "Form7.allobject.caption=All objects\r\n"
                                            "Form10.Form10.caption=Colours\r\n"));
  auto main = Start();
  QAction& separator = ActionNamed(*main, "N2");
  ASSERT_TRUE(separator.isSeparator());
  const std::pair<QString, QString> shown[] = {
      {ActionNamed(*main, "K1").text(), "File(&F)"},
      {ActionNamed(*main, "K3").text(), "へんしゅう(&E)"},
      {Control<QLineEdit>(*main, "Edit2").toolTip(), "Type a BMS command"},
      {Control<QLineEdit>(*main, "Edit2").text(), ""},
      {separator.text(), ""},
      {Control<QToolButton>(*main, "sp2").text(), ""},
      {Control<QToolButton>(*main, "sp2").toolTip(), "Open a chart"},
      {ActionNamed(*main, "K13").toolTip(), "ヘルプ"},
      {Control<QLabel>(*main, "Label7").text(), "Direct"},
      {Control<QTabWidget>(*main, "Panel7").tabText(0), "Basic"},
      {main->findChild<QDialog*>("Form7")->findChild<QRadioButton*>("allobject")->text(), "All objects"},
      {main->findChild<QDialog*>("Form10")->windowTitle(), "Colours"},
  };
  for (const auto& [actual, expected] : shown) EXPECT_EQ(actual, expected) << "expected " << expected.toStdString();

  // The start-up names the new chart in the caption; the window's own key
  // is what a translation of the window itself would set.
  ApplyLanguage(*main, LanguageTexts(home.file("langage.ini")));
  EXPECT_EQ(main->windowTitle(), "Chart editor");
}

TEST_F(MainWindowTest, DevModeWritesTheTemplateOfDialogsAndMainWindow) {
  for (const bool devMode : {false, true}) {
    SCOPED_TRACE(devMode);
    std::remove(home.file("langage.ini").c_str());
    Quiet();
    Ini().WriteBool("boot", "DevMode", devMode);
    auto main = Start();
    EXPECT_TRUE(main->close());
    const LanguageTexts written(home.file("langage.ini"));
    EXPECT_EQ(written.Empty(), !devMode);
    if (!devMode) continue;
    const std::string bytes = ReadFile(home.file("langage.ini"));
    EXPECT_NE(bytes.find(Cp932("Main.K1.caption=ファイル(&F)\r\n")), std::string::npos);
    EXPECT_NE(bytes.find(Cp932("Form7.allobject.caption=全てのオブジェ\r\n")), std::string::npos);
    EXPECT_NE(bytes.find(Cp932("Main.Edit2.hint=BMSコマンドを直接入力できます\r\n")), std::string::npos);
    EXPECT_EQ(written.Text("Main", "Panel7", TextKind::Caption), "");  // a tab widget has no caption
    EXPECT_EQ(written.Text("Main", "TabSheet3", TextKind::Caption), "環境");
    EXPECT_EQ(written.Text("Form10", "Form10", TextKind::Caption), "色の設定");
    for (const char* absent : {"Main.N2.caption", "Main.Edit2.caption", "Main.sp2.caption", "Main.K13.hint"})
      EXPECT_EQ(bytes.find(absent), std::string::npos) << absent;
  }
}

// With the English file, Qt's own buttons leave Japanese, the statistics
// speak English units and no translated caption or title is cut off; without
// a file Qt speaks Japanese with the rest of the interface.
TEST_F(MainWindowTest, TheEnglishFileReachesQtUnitsAndWidths) {
  Quiet();
  const std::string path = Chart("song.bms", "#BPM 120\r\n#WAV01 a.wav\r\n#00111:01\r\n");
  for (const bool english : {false, true}) {
    SCOPED_TRACE(english);
    if (english) WriteFile(home.file("langage.ini"), ReadFile(BEATLOOM_TEST_DATA "/../../lang/en/langage.ini"));
    auto main = Start();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), english ? "Cancel" : "キャンセル");
    if (!english) continue;
    ASSERT_TRUE(OpenChart(*main, path));
    auto& pages = Control<QTabWidget>(*main, "Panel7");
    pages.setCurrentWidget(&Control<QWidget>(*main, "TabSheet3"));
    QCoreApplication::processEvents();
    for (const char* caption : {"CheckBox1", "CheckBox8", "Label11"}) {
      const auto& w = Control<QWidget>(*main, caption);
      EXPECT_GE(w.width(), w.sizeHint().width()) << caption;
    }
    ActionNamed(*main, "ChartStats1").trigger();
    auto& stats = Control<StatsWindow>(*main, "FormStats");
    EXPECT_EQ(Control<QLabel>(stats, "LabelLength").text(), "0:02.000 (2.000 s)");
    EXPECT_EQ(Control<QLabel>(stats, "LabelPeak").text(), "1 notes/s");
    bool titleFits = false;
    WhenModal([&](QDialog& d) {
      titleFits = d.windowTitle() == "Change Object Spacing" && d.width() >= TitleBarWidth(d);
      d.reject();
    });
    ActionNamed(*main, "N35").trigger();
    EXPECT_TRUE(titleFits);
  }
}

// Installed under a prefix, the program finds what it ships in
// <prefix>/share/beatloom; a language file of the user's own comes first.
TEST_F(MainWindowTest, AnInstalledProgramFindsItsSharedFiles) {
  Quiet();
  const std::string share = programFiles.file("share/beatloom");
  std::filesystem::create_directories(share + "/help");
  WriteFile(share + "/help/help.html", "<html></html>");
  WriteFile(share + "/langage.ini", "[Language Data]\r\nMain.K1.caption=File(&F)\r\n");
  const auto installed = [this] {
    TMainOptions options = Options();
    options.executableFolder = programFiles.file("bin");
    return options;
  };
  for (const QString expected : {"File(&F)", "Datei(&D)"}) {
    TMain main(installed());
    EXPECT_EQ(ActionNamed(main, "K1").text(), expected);
    WriteFile(home.file("langage.ini"), "[Language Data]\r\nMain.K1.caption=Datei(&D)\r\n");
  }
  TMain main(installed());
  ActionNamed(main, "K13").trigger();
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], QUrl::fromLocalFile(QString::fromStdString(share + "/help/help.html")));
}

// An English desktop gets the English texts the program ships; a language
// chosen in the options dialog applies from the next start, as it says.
TEST_F(MainWindowTest, TheDesktopLanguageUntilOneIsChosen) {
  Quiet();
  std::filesystem::create_directories(programFiles.file("lang/en"));
  WriteFile(programFiles.file("lang/en/langage.ini"), ReadFile(BEATLOOM_TEST_DATA "/../../lang/en/langage.ini"));
  auto main = Start({}, "en-US");
  EXPECT_EQ(main->findChild<QDialog*>("Form8")->windowTitle(), "Edit Source Directly");
  WhenModal([](QDialog& d) {
    Control<QComboBox>(d, "cb_Language").setCurrentIndex(1);  // 日本語
    EXPECT_FALSE(Control<QLabel>(d, "Label14").isHidden());
    Control<QPushButton>(d, "Button7").click();
  });
  ActionNamed(*main, "N43").trigger();
  EXPECT_EQ(ActionNamed(*Start({}, "en-US"), "K1").text(), "ファイル(&F)");
}

}  // namespace
}  // namespace beatloom::test
