#pragma once

#include "app/ui/main_widgets.h"

class QMainWindow;

namespace beatloom {

// Builds the controls of the main window in their design layout around the
// given score widget, which becomes "pb". Only construction: no signal is
// connected here.
MainWidgets BuildMainLayout(QMainWindow* window, QWidget* scoreWidget);
// Widens the settings column for its captions as they read now; again after
// a translation has replaced them.
void FitSettingsColumn(const MainWidgets& w);

// Item texts of the list controls.
extern const char* const kPlayModeItems[3];
extern const char* const kRankItems[5];
extern const char* const kLevelItems[8];

}  // namespace beatloom
