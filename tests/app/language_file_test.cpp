#include "app/language_file.h"

#include <gtest/gtest.h>

#include <cstdio>

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

}  // namespace
}  // namespace beatloom::test
