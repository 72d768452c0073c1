#include "app/window_placement.h"

#include <algorithm>
#include <climits>

namespace beatloom {

namespace {

// Enough of the title bar to take hold of the window with the mouse.
constexpr int kGripWidth = 40;
constexpr int kGripHeight = 20;

long long Overlap(int a0, int a1, int b0, int b1) {
  return std::max(0LL, static_cast<long long>(std::min(a1, b1)) - std::max(a0, b0));
}

long long Distance(const WindowBounds& w, const WindowBounds& s) {
  // Gap between the window's top edge and the screen, along each axis.
  const long long dx = std::max(
      {0LL, static_cast<long long>(s.left) - (w.left + w.width), static_cast<long long>(w.left) - (s.left + s.width)});
  const long long dy =
      std::max({0LL, static_cast<long long>(s.top) - w.top, static_cast<long long>(w.top) - (s.top + s.height)});
  return dx * dx + dy * dy;
}

}  // namespace

WindowBounds KeepOnScreen(const WindowBounds& window, const std::vector<WindowBounds>& screens) {
  if (screens.empty()) return window;
  const int grip = std::min(kGripHeight, std::max(window.height, 1));
  for (const WindowBounds& s : screens) {
    const long long across = Overlap(window.left, window.left + window.width, s.left, s.left + s.width);
    const long long down = Overlap(window.top, window.top + grip, s.top, s.top + s.height);
    if (across >= std::min(kGripWidth, std::max(window.width, 1)) && down >= grip) return window;
  }
  const WindowBounds* nearest = &screens.front();
  long long best = LLONG_MAX;
  for (const WindowBounds& s : screens) {
    const long long d = Distance(window, s);
    if (d < best) {
      best = d;
      nearest = &s;
    }
  }
  WindowBounds moved = window;
  const WindowBounds& s = *nearest;
  // A window larger than the screen keeps its top left corner visible.
  moved.left = std::max(s.left, std::min(window.left, s.left + s.width - window.width));
  moved.top = std::max(s.top, std::min(window.top, s.top + s.height - window.height));
  return moved;
}

WindowBounds KeepClientOnScreen(const WindowBounds& client, const FrameMargins& frame,
                                const std::vector<WindowBounds>& screens) {
  const WindowBounds outer{client.left - frame.left, client.top - frame.top, client.width + frame.left + frame.right,
                           client.height + frame.top + frame.bottom};
  const WindowBounds kept = KeepOnScreen(outer, screens);
  return {kept.left + frame.left, kept.top + frame.top, client.width, client.height};
}

}  // namespace beatloom
