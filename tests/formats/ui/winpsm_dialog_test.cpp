#include "formats/ui/winpsm_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "formats/winpsm_export.h"
#include "model/document.h"
#include "support/scripted_prompts.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

std::string Template() {
  std::string bytes(9000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return bytes;
}

template <typename T>
T* Child(QWidget& w, const char* name) {
  T* child = w.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

struct Fixture {
  test::TempDir home;
  Document doc;
  test::ScriptedPrompts prompts;
  WinPsmDialog dialog{doc, prompts, home.path()};
};

TEST(WinPsmDialog, ControlsAndTexts) {
  Fixture f;
  EXPECT_EQ(f.dialog.objectName(), "Form12");
  EXPECT_EQ(f.dialog.windowTitle(), "DDRエディットデータ出力");
  const std::vector<std::pair<const char*, const char*>> labels = {{"Label1", "保存先"},
                                                                   {"Label2", "ブロックデータ名"},
                                                                   {"Label3", "全角8文字"},
                                                                   {"Label4", "エディットデータ名"},
                                                                   {"Label5", "半角8文字"},
                                                                   {"Label6", "業務機での演奏曲"},
                                                                   {"Label7", "※この機能により作成したデータで問題が"},
                                                                   {"Label8", "生じても責任は取れません。"}};
  for (const auto& [name, text] : labels) {
    if (QLabel* l = Child<QLabel>(f.dialog, name)) {
      EXPECT_EQ(l->text(), QString::fromUtf8(text)) << name;
    }
  }
  EXPECT_EQ(Child<QPushButton>(f.dialog, "Button1")->text(), "Brouse");
  EXPECT_EQ(Child<QPushButton>(f.dialog, "Button2")->text(), "作成！");
  for (const char* edit : {"Edit1", "Edit2", "Edit3"}) Child<QLineEdit>(f.dialog, edit);
  QComboBox* sm = Child<QComboBox>(f.dialog, "SM");
  ASSERT_NE(sm, nullptr);
  EXPECT_FALSE(sm->isEditable());
  EXPECT_EQ(sm->count(), 47);
  EXPECT_EQ(sm->currentIndex(), 0);
  EXPECT_EQ(sm->itemText(0), "01:HAVE YOU NEVER BEEN MELLOW");
  EXPECT_EQ(sm->itemText(0x1E - 1), "1E:");
  EXPECT_EQ(sm->itemText(46), "2F:");
}

TEST(WinPsmDialog, BrouseFillsTheDestination) {
  Fixture f;
  f.dialog.SetInitialFolder("/charts");
  f.prompts.fileNames.push_back("/charts/edit.ps");
  Child<QPushButton>(f.dialog, "Button1")->click();
  EXPECT_EQ(Child<QLineEdit>(f.dialog, "Edit1")->text(), "/charts/edit.ps");
  ASSERT_EQ(f.prompts.fileDialogs.size(), 1u);
  EXPECT_EQ(f.prompts.fileDialogs[0].folder, "/charts");
  EXPECT_EQ(f.prompts.fileDialogs[0].filters, QStringList{"WinPSM形式(*.ps)"});
  EXPECT_EQ(f.prompts.fileDialogs[0].defaultSuffix, "ps");

  Child<QPushButton>(f.dialog, "Button1")->click();  // cancelled: the path stays
  EXPECT_EQ(Child<QLineEdit>(f.dialog, "Edit1")->text(), "/charts/edit.ps");
}

TEST(WinPsmDialog, CreateWritesThePatchedTemplate) {
  Fixture f;
  test::WriteFile(f.home.file("master.psf"), Template());
  f.doc.AddObject(1, 0, 1);
  f.doc.AddObject(3, 24, 1);
  f.doc.AddObject(8, 24, 1);
  const std::string dest = f.home.file("edit.ps");
  Child<QLineEdit>(f.dialog, "Edit1")->setText(QString::fromStdString(dest));
  Child<QLineEdit>(f.dialog, "Edit2")->setText("あいう");
  Child<QLineEdit>(f.dialog, "Edit3")->setText("X");
  Child<QComboBox>(f.dialog, "SM")->setCurrentIndex(0x2A - 1);
  Child<QPushButton>(f.dialog, "Button2")->click();

  EXPECT_TRUE(f.prompts.WasShown(QString::fromUtf8(kWinPsmSavedMessage.data(), kWinPsmSavedMessage.size())));
  const std::string out = test::ReadFile(dest);
  ASSERT_GE(out.size(), 8763u);
  EXPECT_EQ(out.substr(8242, 16), "\x82\xA0\x82\xA2\x82\xA4\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40");
  EXPECT_EQ(out.substr(8708, 8), "X       ");
  EXPECT_EQ(static_cast<uint8_t>(out[8718]), 0x2A);
  EXPECT_EQ(static_cast<uint8_t>(out[8760]), 0x11);
  EXPECT_EQ(static_cast<uint8_t>(out[8762]), 0xAA);
}

TEST(WinPsmDialog, NothingHappensWithoutADestination) {
  Fixture f;
  test::WriteFile(f.home.file("master.psf"), Template());
  Child<QPushButton>(f.dialog, "Button2")->click();
  EXPECT_TRUE(f.prompts.shown.empty());
}

TEST(WinPsmDialog, MissingTemplateFailsAndKeepsTheOldFile) {
  Fixture f;
  const std::string dest = f.home.file("edit.ps");
  test::WriteFile(dest, "old");
  Child<QLineEdit>(f.dialog, "Edit1")->setText(QString::fromStdString(dest));
  Child<QPushButton>(f.dialog, "Button2")->click();
  EXPECT_TRUE(f.prompts.WasShown(QString::fromUtf8(kWinPsmFailedMessage.data(), kWinPsmFailedMessage.size())));
  EXPECT_FALSE(f.prompts.WasShown(QString::fromUtf8(kWinPsmSavedMessage.data(), kWinPsmSavedMessage.size())));
  EXPECT_EQ(test::ReadFile(dest), "old");
}

}  // namespace
}  // namespace beatloom
