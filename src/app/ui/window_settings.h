#pragma once

#include "app/settings.h"
#include "app/ui/main_menu.h"
#include "app/ui/main_widgets.h"
#include "view/view_settings.h"

class QRect;

namespace beatloom {

// The stored settings shown by the main window's controls and the score's
// colours; the window bounds are the window's own business.
void ShowSettings(const Settings& s, const MainWidgets& w, const MainMenu& m, ViewSettings& view);
// What the controls and colours hold now, as the settings file keeps it.
Settings CollectSettings(const MainWidgets& w, const MainMenu& m, const ViewSettings& view);
// A tool window's client area as the settings file keeps it, and back.
WindowBounds BoundsOf(const QRect& r);
QRect RectOf(const WindowBounds& b);

}  // namespace beatloom
