#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/ui/main_window_fixture.h"
#include "edit/arrange.h"

namespace beatloom::test {
namespace {

// Chooses N35, types into the spacing dialog and presses a button; returns
// what the fields held when it came up.
QString Spacing(QWidget& main, const QString& newWidth, const QString& originalWidth, const char* button) {
  QString shown;
  WhenModal([&](QDialog& d) {
    EXPECT_EQ(d.objectName(), "Form11");
    auto& edit1 = Control<QLineEdit>(d, "Edit1");
    auto& edit2 = Control<QLineEdit>(d, "Edit2");
    shown = edit1.text() + "/" + edit2.text() + (Control<QCheckBox>(d, "CheckBox1").isChecked() ? " tempo" : "");
    edit1.setText(newWidth);
    edit2.setText(originalWidth);
    Control<QPushButton>(d, button).click();
  });
  ActionNamed(main, "N35").trigger();
  return shown;
}

TEST_F(MainWindowTest, AuthorSpreadsAPassageAndMirrorsItThroughTheArrangeMenu) {
  Quiet();
  const std::string path = Chart("a.bms", "#BPM 150\r\n#00111:0100\r\n");
  auto main = Start();
  ASSERT_TRUE(OpenChart(*main, path));
  EXPECT_EQ(Spacing(*main, "abc", "100", "Button1"), "100/100 tempo");
  EXPECT_TRUE(prompts.WasShown(QString::fromUtf8(kSpacingInputMessage.data(), kSpacingInputMessage.size())));
  EXPECT_EQ(Spacing(*main, "200", "100", "Button2"), "abc/100 tempo") << "the fields keep what was typed";
  EXPECT_EQ(Doc().ObjList.at(0).Pos, 192) << "refused and cancelled";
  EXPECT_FALSE(Doc().Modified);

  EXPECT_EQ(Spacing(*main, "200", "100", "Button1"), "200/100 tempo");
  EXPECT_EQ(Doc().ObjList.at(0).Pos, 384);
  EXPECT_EQ(Control<QLineEdit>(*main, "e_bpm").text(), "300");

  // A squeeze that stacks two notes of one lane asks first, with the count.
  Doc().AddObject(1, 385, 1);
  prompts.answers = {Prompts::Answer::No};
  Spacing(*main, "1", "4", "Button1");
  EXPECT_TRUE(prompts.WasShown(QStringLiteral(
      "この幅では1個のオブジェが同じレーンの同じ位置に重なり、保存すると失われます。\n間隔を変更しますか？")));
  EXPECT_EQ(test::ObjectPositions(Doc()), (std::vector<int>{384, 385})) << "answered no";
  Doc().ObjList.pop_back();

  Doc().ObjList[0].Selected = 1;
  ActionNamed(*main, "N36").trigger();
  EXPECT_EQ(Doc().ObjList.at(0).Lane, 7);
  ActionNamed(*main, "Save1").trigger();
  const std::string saved = ReadFile(path);
  EXPECT_NE(saved.find("#BPM 300\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("#002"), std::string::npos) << saved;
}

}  // namespace
}  // namespace beatloom::test
