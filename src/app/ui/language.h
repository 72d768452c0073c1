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

// At start-up: Qt takes the translation the language file names; every
// window that reports its creation from now on takes its texts from the
// language file and, while DevMode is on, writes its template; the main
// window takes its texts at once. The file is the program folder's own, else
// one installed with the program.
void StartLanguage(QWidget& mainWindow, const std::string& programFolder, const std::string& executableFolder);

}  // namespace beatloom
