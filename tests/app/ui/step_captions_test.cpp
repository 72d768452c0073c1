#include <QAction>

#include "app/language_file.h"
#include "app/ui/main_window_fixture.h"

namespace beatloom::test {
namespace {

// With the English file the Edit menu names the step in English too, and
// the file translates every step name the window knows.
TEST_F(MainWindowTest, TheEditMenuNamesStepsInTheWindowsLanguage) {
  Quiet();
  const std::string english = ReadFile(BEATLOOM_TEST_DATA "/../../lang/en/langage.ini");
  WriteFile(home.file("langage.ini"), english);
  auto main = Start();
  WriteStep(1, 0);
  EXPECT_EQ(ActionNamed(*main, "K17").text(), "Undo: Write");
  ActionNamed(*main, "K17").trigger();
  EXPECT_EQ(ActionNamed(*main, "Redo1").text(), "Redo: Write");

  const LanguageTexts texts(home.file("langage.ini"));
  int steps = 0;
  for (const QAction* a : main->findChildren<QAction*>()) {
    const std::string name = a->objectName().toStdString();
    if (name.rfind("Step", 0) != 0) continue;
    ++steps;
    EXPECT_NE(texts.Text("Main", name, TextKind::Caption), "") << name;
  }
  EXPECT_GE(steps, 20);
}

}  // namespace
}  // namespace beatloom::test
