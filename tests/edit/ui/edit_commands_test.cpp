#include <QAction>
#include <QToolButton>
#include <optional>
#include <set>

#include "app/ui/main_window_fixture.h"
#include "platform/ui/clipboard.h"

namespace beatloom::test {
namespace {

struct RecordingClipboard : Clipboard {
  std::optional<QString> text;
  std::optional<QString> Text() const override { return text; }
  void SetText(const QString& t) override { text = t; }
};

using Names = std::set<std::string>;

Names Enabled(QWidget& window) {
  Names names;
  for (const char* name : {"K19", "K20", "N45", "N46", "K8", "K7", "Delete1", "Delete2", "K6", "K21", "subete1", "N1P1",
                           "N2P1", "BGMB1", "BMPM1", "K11"})
    if (ActionNamed(window, name).isEnabled()) names.insert(name);
  return names;
}

TEST_F(MainWindowTest, AuthorSelectsCopiesPastesAndExchangesThroughTheMenus) {
  Quiet();
  RecordingClipboard clipboard;
  TMainOptions options = Options();
  options.clipboard = &clipboard;
  auto main = std::make_unique<TMain>(options);
  main->show();
  Document& doc = Doc();
  Session().Apply({}, [](Document& d) {
    d.AddObject(1, 0, 1);
    d.AddObject(22, 48, 2);
    return EditOutcome::Changed;
  });
  EXPECT_EQ(Enabled(*main), Names{}) << "write mode";
  Control<QToolButton>(*main, "s_select").click();
  const Names select{"subete1", "N1P1", "N2P1", "BGMB1", "BMPM1", "K11", "N45", "N46"};
  EXPECT_EQ(Enabled(*main), select);

  ActionNamed(*main, "N1P1").trigger();
  Names selected = select;
  selected.insert({"K19", "K20", "K8", "K7", "Delete1", "Delete2"});
  EXPECT_EQ(Enabled(*main), selected);
  ActionNamed(*main, "K20").trigger();  // the popup's Copy
  Names pasteable = select;
  pasteable.insert({"K6", "K21"});
  EXPECT_EQ(Enabled(*main), pasteable) << "Copy leaves nothing selected";

  // Measure 000's first tick lies on the view's bottom edge, which counts as
  // off screen: the block goes to the measure after the edge.
  ActionNamed(*main, "K21").trigger();
  ASSERT_EQ(doc.ObjList.size(), 3u);
  EXPECT_TRUE(doc.ObjList[2].Pos == 192 && doc.ObjList[2].Selected);
  ActionNamed(*main, "Delete2").trigger();
  EXPECT_EQ(doc.ObjList.size(), 2u);

  ActionNamed(*main, "subete1").trigger();
  ActionNamed(*main, "N45").trigger();
  const QString text = "BTLM ClipBoard Object Data Format\r\n022000048002\r\n001000000001\r\n";
  EXPECT_EQ(clipboard.text, text);
  clipboard.text = "BTLM ClipBoard Object Data Format\r\n001000000001\r\n256000000001\r\n";
  ActionNamed(*main, "N46").trigger();
  EXPECT_EQ(doc.ObjList.size(), 2u);
  ASSERT_FALSE(prompts.shown.empty());
  EXPECT_TRUE(prompts.shown.back().text.contains("3行目")) << "refused with its reason";
  clipboard.text = text;
  ActionNamed(*main, "N46").trigger();
  EXPECT_EQ(doc.ObjList.size(), 4u);

  // Another chart keeps the clipboard and has nothing selected.
  prompts.answers.push_back(Prompts::Answer::No);
  ActionNamed(*main, "New1").trigger();
  EXPECT_EQ(Enabled(*main), pasteable);
  Control<QToolButton>(*main, "s_draw").click();
  EXPECT_EQ(Enabled(*main), Names{});
}

}  // namespace
}  // namespace beatloom::test
