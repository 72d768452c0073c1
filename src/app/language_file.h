#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace beatloom {

class IniFile;

inline constexpr const char* kLanguageFile = "langage.ini";
inline constexpr const char* kLanguageSection = "Language Data";
// The key of the language file that names Qt's own translation (its buttons
// and dialogs), "qtbase_de" for German; empty for Qt's built-in English.
inline constexpr const char* kQtTranslationKey = "QtTranslation";
// Qt's texts without a language file: the interface's own language.
inline constexpr const char* kDefaultQtTranslation = "qtbase_ja";

// The language file the windows take their texts from: the program folder's
// own, else one installed with the program; empty when there is none.
std::string FindLanguageFile(const std::string& programFolder, const std::string& sharedFolder);

// The interface language the author chose in the options dialog.
enum class InterfaceLanguage { Automatic, Japanese, English };

// Kept in the settings file; a missing or unknown value is automatic.
InterfaceLanguage ReadInterfaceLanguage(const IniFile& settings);
// False when the settings file refused the write.
bool WriteInterfaceLanguage(IniFile& settings, InterfaceLanguage language);

// Where the files the texts may come from lie.
struct LanguageFolders {
  std::string program;     // the settings' folder: a translator's own file
  std::string executable;  // the running program's folder (a build tree)
  std::string shared;      // what an installed program ships (share/beatloom)
};

// The language file the windows take their texts from; empty for the
// built-in Japanese texts. A language file of the program's own comes first,
// whatever was chosen; then the language chosen in the options dialog; when
// that is automatic, the desktop's language (a locale name such as "ja_JP"
// or "en-US"): Japanese keeps the built-in texts, any other takes the English
// file the program ships.
std::string ChooseLanguageFile(const LanguageFolders& folders, InterfaceLanguage chosen,
                               std::string_view desktopLanguage);

enum class TextKind { Caption, Hint };

// "Window.Control.caption" or "Window.Control.hint".
std::string LanguageKey(std::string_view window, std::string_view control, TextKind kind);

// The translations of a language file, read once: a window looks up each of
// its controls without reading the file again. Keys match without regard to
// case; the file is CP932, or UTF-8 when it starts with the UTF-8 byte order
// mark, and the texts come out as UTF-8.
class LanguageTexts {
 public:
  LanguageTexts() = default;
  // A missing file or section gives no texts.
  explicit LanguageTexts(const std::string& path);

  bool Empty() const { return texts_.empty(); }
  // Empty when the file holds no text for the key.
  std::string Text(std::string_view window, std::string_view control, TextKind kind) const;
  // The Qt translation that goes with these texts: the one the file names;
  // without a file the interface's own Japanese one; a file that names none
  // is a translation away from Japanese, so Qt keeps its built-in English.
  std::string QtTranslation() const;

 private:
  bool found_ = false;
  std::map<std::string, std::string> texts_;  // upper-case key -> UTF-8
};

// The current texts of a window, gathered control by control and written to
// the language file in one go, so that a translator starts from them.
class LanguageTemplate {
 public:
  void Add(std::string_view window, std::string_view control, TextKind kind, std::string_view utf8);
  // Keys already in the file keep their place and take the new text, in the
  // file's own encoding; a new file also names qtTranslation, the Qt
  // translation in use. False when the file could not be written.
  bool Write(const std::string& path, std::string_view qtTranslation) const;

 private:
  std::vector<std::pair<std::string, std::string>> entries_;  // key -> UTF-8
};

}  // namespace beatloom
