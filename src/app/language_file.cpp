#include "app/language_file.h"

#include <iterator>

#include "app/ini_file.h"
#include "app/settings.h"
#include "model/file_io.h"
#include "model/text_codec.h"

namespace beatloom {

namespace {

// Profile files match keys without regard to case; keys are control names,
// which are ASCII.
std::string FoldedKey(std::string_view key) {
  std::string out(key);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

constexpr const char* kInterfaceLanguageKey = "Language";
// The settings file's words for the choices, in the order of InterfaceLanguage.
constexpr const char* kInterfaceLanguageValues[] = {"auto", "ja", "en"};
// Where the program keeps its English texts, below its own or its shared folder.
constexpr const char* kEnglishFile = "lang/en/langage.ini";

// "ja", "ja_JP", "ja-JP", "ja_JP.UTF-8" and the like; not "jam" or "en_JA".
bool IsJapanese(std::string_view locale) {
  if (locale.size() < 2 || (locale[0] != 'j' && locale[0] != 'J') || (locale[1] != 'a' && locale[1] != 'A'))
    return false;
  return locale.size() == 2 || std::string_view("_-.@").find(locale[2]) != std::string_view::npos;
}

std::string EnglishFile(const LanguageFolders& folders) {
  for (const std::string& folder : {folders.executable, folders.shared}) {
    if (folder.empty()) continue;
    const std::string path = JoinPath(folder, kEnglishFile);
    if (FileExists(path)) return path;
  }
  return {};
}

}  // namespace

InterfaceLanguage ReadInterfaceLanguage(const IniFile& settings) {
  const std::string value = FoldedKey(settings.ReadString(kSectionMain, kInterfaceLanguageKey, ""));
  for (size_t k = 0; k < std::size(kInterfaceLanguageValues); ++k)
    if (value == FoldedKey(kInterfaceLanguageValues[k])) return static_cast<InterfaceLanguage>(k);
  return InterfaceLanguage::Automatic;
}

bool WriteInterfaceLanguage(IniFile& settings, InterfaceLanguage language) {
  return settings.WriteString(kSectionMain, kInterfaceLanguageKey,
                              kInterfaceLanguageValues[static_cast<int>(language)]);
}

std::string ChooseLanguageFile(const LanguageFolders& folders, InterfaceLanguage chosen,
                               std::string_view desktopLanguage) {
  const std::string own = FindLanguageFile(folders.program, folders.shared);
  if (!own.empty()) return own;
  if (chosen == InterfaceLanguage::Automatic)
    chosen = IsJapanese(desktopLanguage) ? InterfaceLanguage::Japanese : InterfaceLanguage::English;
  return chosen == InterfaceLanguage::English ? EnglishFile(folders) : std::string();
}

std::string FindLanguageFile(const std::string& programFolder, const std::string& sharedFolder) {
  for (const std::string& folder : {programFolder, sharedFolder}) {
    if (folder.empty()) continue;
    const std::string path = JoinPath(folder, kLanguageFile);
    if (FileExists(path)) return path;
  }
  return {};
}

std::string LanguageKey(std::string_view window, std::string_view control, TextKind kind) {
  std::string key;
  key.append(window).append(".").append(control);
  key.append(kind == TextKind::Caption ? ".caption" : ".hint");
  return key;
}

LanguageTexts::LanguageTexts(const std::string& path) {
  if (path.empty() || !FileExists(path)) return;
  found_ = true;
  const IniFile file(path);
  const TextEncoding encoding = file.MarkedUtf8() ? TextEncoding::Utf8 : TextEncoding::Cp932;
  for (const auto& [key, value] : file.ReadSection(kLanguageSection)) {
    // The first of two equal keys counts, as a profile lookup finds it.
    texts_.emplace(FoldedKey(key), ToUtf8(value, encoding));
  }
}

std::string LanguageTexts::QtTranslation() const {
  if (!found_) return kDefaultQtTranslation;
  const auto it = texts_.find(FoldedKey(kQtTranslationKey));
  return it == texts_.end() ? std::string() : it->second;
}

std::string LanguageTexts::Text(std::string_view window, std::string_view control, TextKind kind) const {
  const auto it = texts_.find(FoldedKey(LanguageKey(window, control, kind)));
  return it == texts_.end() ? std::string() : it->second;
}

void LanguageTemplate::Add(std::string_view window, std::string_view control, TextKind kind, std::string_view utf8) {
  entries_.emplace_back(LanguageKey(window, control, kind), utf8);
}

bool LanguageTemplate::Write(const std::string& path, std::string_view qtTranslation) const {
  IniFile file(path);
  const bool existed = FileExists(path);
  const TextEncoding encoding = file.MarkedUtf8() ? TextEncoding::Utf8 : TextEncoding::Cp932;
  std::vector<std::pair<std::string, std::string>> encoded;
  encoded.reserve(entries_.size() + 1);
  if (!existed) encoded.emplace_back(kQtTranslationKey, qtTranslation);
  for (const auto& [key, utf8] : entries_) encoded.emplace_back(key, FromUtf8(utf8, encoding));
  return file.WriteStrings(kLanguageSection, encoded);
}

}  // namespace beatloom
