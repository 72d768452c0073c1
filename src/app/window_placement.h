#pragma once

#include <vector>

#include "app/settings.h"

namespace beatloom {

// The largest position or size a window system takes; a settings file may
// hold anything.
inline constexpr int kMaxWindowExtent = 16777215;

// Positions within +-kMaxWindowExtent, sizes within 0..kMaxWindowExtent.
WindowBounds ClampWindowBounds(const WindowBounds& bounds);

// A stored window position can lie off every screen after the display setup
// changed (a second monitor unplugged). Returns the bounds unchanged when a
// grip-sized piece of the window's top edge is on some screen, otherwise
// moved onto the screen nearest to it; the size is kept. Either way the
// bounds come back clamped.
WindowBounds KeepOnScreen(const WindowBounds& window, const std::vector<WindowBounds>& screens);

// How far the window manager's frame (title bar, borders) reaches beyond the
// client area; all zero while the window system has not told.
struct FrameMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The settings keep the client area, since that is what placing a window
// sets and what it reports back, so a start and a close without moving write
// back the values read. The frame around it is what must stay within reach.
WindowBounds KeepClientOnScreen(const WindowBounds& client, const FrameMargins& frame,
                                const std::vector<WindowBounds>& screens);

// What the settings file held of the main window's place.
struct StoredWindow {
  WindowBounds bounds;  // the client area; the design size where nothing was stored
  bool positionStored = false;
  bool sizeStored = false;
};

// The main window's client area at start-up. A stored position is taken as
// stored, only brought back within reach (KeepClientOnScreen). Without one
// (a first start) the window is centred on the first of the screens' free
// areas, the one it opens on, and takes four fifths of it each way unless a
// size was stored: the score and the lists get the room today's desktops
// have.
WindowBounds MainWindowBounds(const StoredWindow& stored, const FrameMargins& frame,
                              const std::vector<WindowBounds>& screens);

}  // namespace beatloom
