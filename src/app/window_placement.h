#pragma once

#include <vector>

#include "app/settings.h"

namespace beatloom {

// A stored window position can lie off every screen after the display setup
// changed (a second monitor unplugged). Returns the bounds unchanged when a
// grip-sized piece of the window's top edge is on some screen, otherwise
// moved onto the screen nearest to it; the size is kept.
WindowBounds KeepOnScreen(const WindowBounds& window, const std::vector<WindowBounds>& screens);

}  // namespace beatloom
