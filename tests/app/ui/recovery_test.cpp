#include <QLineEdit>
#include <filesystem>

#include "app/ui/main_window_fixture.h"

namespace beatloom::test {
namespace {

class SafetyTest : public MainWindowTest {
 protected:
  void SetUp() override { Quiet(); }
  void AddNote(int measure) {
    Session().Apply({}, [measure](Document& d) { return d.AddObject(1, measure * 192, 2), EditOutcome::Changed; });
    QCoreApplication::processEvents();
  }
  void Activate(QWidget& window) {
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&window, &activate);
    QCoreApplication::processEvents();
  }
};

TEST_F(SafetyTest, AChartChangedOnDiskIsNeitherOverwrittenNorKeptUnasked) {
  auto main = Start();
  const std::string path = Chart("song.bms", "#TITLE Mine\r\n#00111:01\r\n");
  ASSERT_TRUE(OpenChart(*main, path));
  QCoreApplication::processEvents();  // the window's own first activation
  const std::string theirs = "#TITLE Theirs, longer\r\n";  // another size, whatever the clock says
  WriteFile(path, theirs);
  AddNote(5);
  prompts.answers = {Prompts::Answer::Cancel};
  ActionNamed(*main, "Save1").trigger();
  EXPECT_EQ(ReadFile(path), theirs);
  // Coming back to the window offers their version; taking it drops mine.
  prompts.answers = {Prompts::Answer::Yes};
  Activate(*main);
  EXPECT_TRUE(prompts.answers.empty() && !Doc().Modified);
  EXPECT_EQ(Control<QLineEdit>(*main, "e_title").text(), "Theirs, longer");
  // The file is now the one read: neither activation nor save asks.
  const size_t asked = prompts.shown.size();
  Activate(*main);
  AddNote(7);
  ActionNamed(*main, "Save1").trigger();
  EXPECT_EQ(prompts.shown.size(), asked);
  EXPECT_NE(ReadFile(path).find("#00711:"), std::string::npos);
}

// Written by the timer into the per-user folder (never beside the chart),
// offered by the next start once its program is gone, opened as the
// modified chart of its file, removed by a save and by a clean exit.
TEST_F(SafetyTest, UnsavedWorkSurvivesACrash) {
  auto main = Start();
  const std::string path = Chart("song.bms", "#TITLE Mine\r\n#00111:01\r\n");
  ASSERT_TRUE(OpenChart(*main, path));
  const auto copyAtOnce = [](TMain& window) { window.findChild<QTimer*>("RecoveryTimer")->setInterval(0); };
  const auto copies = [this] {
    std::vector<std::string> found;
    for (const auto& e : std::filesystem::directory_iterator(home.path()))
      if (e.path().filename().string().rfind("recovery-", 0) == 0) found.push_back(e.path().filename());
    return found;
  };
  copyAtOnce(*main);
  QCoreApplication::processEvents();
  EXPECT_TRUE(copies().empty());  // nothing unsaved, nothing copied
  AddNote(5);
  ASSERT_EQ(copies().size(), 2u);  // the chart and its file's name
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(charts.path()), {}), 1);
  // A crash: the copy stays, under the number of a process that is gone;
  // so does an old chart a save in place kept aside, which the start names.
  for (const std::string& f : copies())
    std::filesystem::rename(home.file(f), home.file("recovery-999999999" + f.substr(f.find('.'))));
  const std::string aside = home.file("song.bms.0123456789abcdef.before-save");
  WriteFile(aside, "old");
  main.reset();
  prompts.answers = {Prompts::Answer::Yes};
  main = Start();
  QCoreApplication::processEvents();
  EXPECT_TRUE(prompts.answers.empty() && Doc().Modified);
  EXPECT_TRUE(prompts.shown.front().text.endsWith(QString::fromStdString(aside)));
  EXPECT_EQ(main->windowTitle(), "Beatloom [" + QString::fromStdString(path) + "]");
  ActionNamed(*main, "Save1").trigger();
  EXPECT_NE(ReadFile(path).find("#00511:"), std::string::npos);
  EXPECT_TRUE(copies().empty());
  copyAtOnce(*main);
  AddNote(6);
  EXPECT_FALSE(copies().empty());
  prompts.answers = {Prompts::Answer::No};
  main->close();
  EXPECT_TRUE(copies().empty());
}

}  // namespace
}  // namespace beatloom::test
