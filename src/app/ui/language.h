#pragma once

#include <string>
#include <vector>

class QWidget;

namespace beatloom {

class LanguageTexts;

// The captions and hints of a window and of the controls it holds (menu
// items included, other windows not), looked up by control name. Only texts
// the design has are replaced, and only by a non-empty translation.
void ApplyLanguage(QWidget& window, const LanguageTexts& texts);
// Writes the window's current non-empty captions and hints into the
// language file of programFolder, for a translator to start from.
void WriteLanguageTemplate(QWidget& window, const std::string& programFolder);

// Installs Qt's translation of that name (its own buttons and dialogs) in
// place of the one installed before, looked for in folders and then where Qt
// keeps its translations; an empty name leaves Qt in its built-in English.
// False when no such translation was found.
bool UseQtTranslation(const std::string& name, const std::vector<std::string>& folders);

// The desktop's language as Qt's system locale reads it from LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG ("ja_JP", "en-US", "C").
std::string DesktopLanguage();

// At start-up: the texts come from the language file chosen by
// ChooseLanguageFile, for the language stored in the settings file and the
// desktop's language (empty: DesktopLanguage()); Qt takes the translation
// that file names; every window that reports its creation from now on takes
// its texts from it and, while DevMode is on, writes its template; the main
// window takes its texts at once. A language chosen later applies at the
// next start.
void StartLanguage(QWidget& mainWindow, const std::string& programFolder, const std::string& executableFolder,
                   const std::string& desktopLanguage);

}  // namespace beatloom
