#include "app/language_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app/ini_file.h"
#include "model/file_io.h"

#include "support/test_support.h"

namespace beatloom::test {
namespace {

// A template written over a translator's file keeps what the program does
// not write, reads back in any case and holds Japanese as CP932 bytes.
TEST(LanguageFileTest, TemplateRoundTripsThroughCp932) {
  TempDir dir;
  const std::string path = dir.file("langage.ini");
  WriteFile(path,
            "; by hand\r\n[Language Data]\r\nform7.Button1.caption=Search\r\nMain.K1.caption=first\r\n"
            "MAIN.K1.CAPTION=second\r\n[Other]\r\nMain.K3.caption=elsewhere\r\n");
  LanguageTemplate keys;
  keys.Add("Main", "K3", TextKind::Caption, "編集(&E)");
  keys.Add("Main", "sp2", TextKind::Hint, "開く");
  ASSERT_TRUE(keys.Write(path, "qtbase_ja"));

  const std::string bytes = ReadFile(path);
  EXPECT_EQ(bytes.rfind("; by hand\r\n[Language Data]\r\n", 0), 0u);
  EXPECT_NE(bytes.find("Main.K3.caption=\x95\xd2\x8f\x57(&E)\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("Main.K3.caption=elsewhere\r\n"), std::string::npos);

  const LanguageTexts texts(path);
  const std::tuple<const char*, const char*, TextKind, const char*> cases[] = {
      {"MAIN", "k3", TextKind::Caption, "編集(&E)"},
      {"main", "SP2", TextKind::Hint, "開く"},
      {"Form7", "Button1", TextKind::Caption, "Search"},
      {"Main", "K1", TextKind::Caption, "first"},
      {"Main", "sp2", TextKind::Caption, ""},
      {"Form7", "Button1", TextKind::Hint, ""},
  };
  for (const auto& [window, control, kind, expected] : cases) EXPECT_EQ(texts.Text(window, control, kind), expected);
  EXPECT_TRUE(LanguageTexts(dir.file("missing.ini")).Empty());
}

// A file marked as UTF-8 holds any script; it names the Qt translation that
// goes with it, and a template keeps it UTF-8. No file means Japanese.
TEST(LanguageFileTest, Utf8FilesAndTheirQtTranslation) {
  TempDir dir;
  const std::string path = dir.file("langage.ini");
  const struct {
    const char* bytes;  // nullptr: no file
    const char* caption;
    const char* qt;
  } rows[] = {
      {nullptr, "", "qtbase_ja"},
      {"[Language Data]\r\nMain.K1.caption=File\r\n", "File", ""},
      {"\xEF\xBB\xBF[Language Data]\nQtTranslation=qtbase_fr\nMain.K1.caption=Fichier r\xC3\xA9" "cent\n",
       "Fichier récent", "qtbase_fr"},
  };
  for (const auto& row : rows) {
    std::remove(path.c_str());
    if (row.bytes) WriteFile(path, row.bytes);
    const LanguageTexts texts(path);
    EXPECT_EQ(texts.Text("Main", "K1", TextKind::Caption), row.caption);
    EXPECT_EQ(texts.QtTranslation(), row.qt);
  }
  LanguageTemplate keys;
  keys.Add("Main", "K3", TextKind::Caption, "Édition");
  ASSERT_TRUE(keys.Write(path, "qtbase_ja"));
  EXPECT_EQ(ReadFile(path).rfind("\xEF\xBB\xBF[Language Data]\nQtTranslation=qtbase_fr\n", 0), 0u);
  EXPECT_EQ(LanguageTexts(path).Text("Main", "K3", TextKind::Caption), "Édition");
  std::remove(path.c_str());
  ASSERT_TRUE(keys.Write(path, "qtbase_ja"));
  EXPECT_EQ(LanguageTexts(path).QtTranslation(), "qtbase_ja") << "a new template names the translation in use";
}

// The program's own language file, else the stored choice, else the desktop:
// {own file?, the English file shipped, stored choice, desktop, file expected}.
TEST(LanguageFileTest, TheTextsComeFromTheOwnFileTheChoiceOrTheDesktop) {
  TempDir root;
  const LanguageFolders at{root.file("home"), root.file("bin"), root.file("share")};
  const std::string own = at.program + "/langage.ini", beside = at.executable + "/lang/en/langage.ini",
                    installed = at.shared + "/lang/en/langage.ini", none;
  const std::tuple<bool, std::string, const char*, const char*, std::string> rows[] = {
      {true, beside, "en", "en_US", own},       {false, beside, "ja", "en_US", none},
      {false, beside, "en", "ja_JP", beside},   {false, installed, "EN", "ja-JP", installed},
      {false, beside, "auto", "ja-JP", none},   {false, installed, nullptr, "C", installed},
      {false, beside, "klingon", "ja", none},   {false, beside, nullptr, "jam", beside},
      {false, none, "en", "en_US", none}};
  for (const auto& [ownFile, english, stored, desktop, expected] : rows) {
    std::filesystem::remove_all(root.path());
    std::filesystem::create_directories(at.program);
    if (ownFile) WriteFile(own, "");
    if (!english.empty()) std::filesystem::create_directories(FolderOf(english)), WriteFile(english, "");
    IniFile settings(at.program + "/beatloom.ini");
    if (stored) settings.WriteString("BTLM", "Language", stored);
    EXPECT_EQ(ChooseLanguageFile(at, ReadInterfaceLanguage(settings), desktop), expected) << desktop;
  }
}

}  // namespace
}  // namespace beatloom::test
