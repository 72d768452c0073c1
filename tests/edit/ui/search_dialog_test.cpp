#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "app/ui/main_window_fixture.h"

namespace beatloom::test {
namespace {

QStringList Items(QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
  return items;
}

int CheckedCount(QListWidget& list) {
  int n = 0;
  for (int i = 0; i < list.count(); ++i) n += list.item(i)->checkState() == Qt::Checked;
  return n;
}

void Enter(QLineEdit& edit, const QString& text = {}) {
  QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
  QCoreApplication::sendEvent(&edit, &focus);
  if (!text.isNull()) edit.setText(text);
}

TEST_F(MainWindowTest, AuthorSearchesReplacesAndDeletesThroughTheKeptDialog) {
  Quiet();
  auto main = Start();
  Session().Apply({}, [](Document& d) {
    d.AddObject(8, 960, 0x1A);   // 1P scratch, measure 5
    d.AddObject(1, 960, 0x1A);   // 1P key 1
    d.AddObject(8, 1152, 0x1A);  // 1P scratch, measure 6
    d.AddObject(0, 960, 0x1A);   // a tempo, on no list
    return EditOutcome::Changed;
  });
  Doc().Modified = false;
  Control<QToolButton>(*main, "s_select").click();
  ActionNamed(*main, "K11").trigger();
  auto& dialog = Control<QDialog>(*main, "Form7");
  ASSERT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.isModal());

  EXPECT_TRUE(Control<QRadioButton>(dialog, "allobject").isChecked());
  EXPECT_TRUE(Control<QRadioButton>(dialog, "RadioButton3").isChecked());
  for (const char* box : {"selectnote", "SelectCol", "selectindex"})
    EXPECT_FALSE(Control<QCheckBox>(dialog, box).isChecked()) << box;
  const std::pair<const char*, const char*> texts[] = {
      {"Edit3", "0"}, {"Edit4", "999"}, {"Edit5", "1"}, {"Edit6", "01"}};
  for (const auto& [edit, text] : texts) EXPECT_EQ(Control<QLineEdit>(dialog, edit).text(), text) << edit;
  auto& cl1 = Control<QListWidget>(dialog, "CL1");
  auto& clg = Control<QListWidget>(dialog, "CLG");
  EXPECT_EQ(Items(cl1), QStringList({"1", "2", "3", "4", "5", "6", "7", "Sc", "Fr"}));
  EXPECT_EQ(clg.count(), 28);
  EXPECT_EQ(Items(Control<QListWidget>(dialog, "CLB")), QStringList({"BGA1", "BGA2", "POOR"}));

  // Group buttons flip their own list; all/none reach every list and turn
  // the lane filter on.
  Control<QToolButton>(dialog, "SpeedButton1").click();
  EXPECT_EQ(CheckedCount(cl1), 9);
  EXPECT_EQ(CheckedCount(clg), 0);
  Control<QToolButton>(dialog, "SpeedButton3").click();
  EXPECT_TRUE(Control<QCheckBox>(dialog, "SelectCol").isChecked());
  EXPECT_EQ(CheckedCount(clg), 28);
  Control<QToolButton>(dialog, "SpeedButton4").click();
  EXPECT_EQ(CheckedCount(cl1) + CheckedCount(clg), 0);
  cl1.item(7)->setCheckState(Qt::Checked);

  // Entering a field turns its filter or action on.
  Enter(Control<QLineEdit>(dialog, "Edit3"), "5");
  Enter(Control<QLineEdit>(dialog, "Edit4"), "5");
  Enter(Control<QLineEdit>(dialog, "Edit5"), "1A");
  Enter(Control<QLineEdit>(dialog, "Edit6"), "FF");
  EXPECT_TRUE(Control<QCheckBox>(dialog, "selectnote").isChecked());
  EXPECT_TRUE(Control<QCheckBox>(dialog, "selectindex").isChecked());
  EXPECT_TRUE(Control<QRadioButton>(dialog, "gochange").isChecked());
  Control<QPushButton>(dialog, "Button1").click();
  EXPECT_EQ(Doc().ObjList[0].Value, 255);
  for (size_t i = 1; i < 4; ++i) EXPECT_EQ(Doc().ObjList[i].Value, 0x1A) << i;
  EXPECT_TRUE(Doc().Modified);

  Control<QLineEdit>(dialog, "Edit5").setText("ZZ");
  Control<QPushButton>(dialog, "Button1").click();
  EXPECT_TRUE(prompts.WasShown("インデックスNo.が不正です"));

  // Closed and brought back, it is the same dialog with what was left in it.
  Control<QPushButton>(dialog, "Button2").click();
  EXPECT_FALSE(dialog.isVisible());
  ActionNamed(*main, "K11").trigger();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Control<QLineEdit>(dialog, "Edit5").text(), "ZZ");

  const std::vector<TBmsObject> before = Doc().ObjList;
  Control<QCheckBox>(dialog, "selectindex").setChecked(false);
  Control<QCheckBox>(dialog, "selectnote").setChecked(false);
  Control<QRadioButton>(dialog, "godelete").setChecked(true);
  Control<QPushButton>(dialog, "Button1").click();
  ASSERT_EQ(Doc().ObjList.size(), 2u) << "both scratch objects go";
  EXPECT_EQ(Doc().ObjList[0].Lane, 1);
  ActionNamed(*main, "K17").trigger();
  EXPECT_EQ(Doc().ObjList.size(), before.size());
}

}  // namespace
}  // namespace beatloom::test
