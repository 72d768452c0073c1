#include "app/window_placement.h"

#include <algorithm>
#include <climits>

namespace beatloom {

namespace {

// Enough of the title bar to take hold of the window with the mouse.
constexpr long long kGripWidth = 40;
constexpr long long kGripHeight = 20;

// Bounds in 64 bits, so that no sum of a stored position and a size can
// overflow whatever the settings file held.
struct Box {
  long long left, top, width, height;
  explicit Box(const WindowBounds& b) : left(b.left), top(b.top), width(b.width), height(b.height) {}
  long long right() const { return left + width; }
  long long bottom() const { return top + height; }
};

long long Overlap(long long a0, long long a1, long long b0, long long b1) {
  return std::max(0LL, std::min(a1, b1) - std::max(a0, b0));
}

long long Distance(const Box& w, const Box& s) {
  // Gap between the window's top edge and the screen, along each axis.
  const long long dx = std::max({0LL, s.left - w.right(), w.left - s.right()});
  const long long dy = std::max({0LL, s.top - w.top, w.top - s.bottom()});
  return dx * dx + dy * dy;
}

int Clamp(long long v, long long low, long long high) { return static_cast<int>(std::clamp(v, low, high)); }

}  // namespace

WindowBounds ClampWindowBounds(const WindowBounds& b) {
  return {Clamp(b.left, -kMaxWindowExtent, kMaxWindowExtent), Clamp(b.top, -kMaxWindowExtent, kMaxWindowExtent),
          Clamp(b.width, 0, kMaxWindowExtent), Clamp(b.height, 0, kMaxWindowExtent)};
}

WindowBounds KeepOnScreen(const WindowBounds& stored, const std::vector<WindowBounds>& screens) {
  const WindowBounds window = ClampWindowBounds(stored);
  if (screens.empty()) return window;
  const Box w(window);
  const long long grip = std::min(kGripHeight, std::max(w.height, 1LL));
  for (const WindowBounds& screen : screens) {
    const Box s(screen);
    const long long across = Overlap(w.left, w.right(), s.left, s.right());
    const long long down = Overlap(w.top, w.top + grip, s.top, s.bottom());
    if (across >= std::min(kGripWidth, std::max(w.width, 1LL)) && down >= grip) return window;
  }
  const WindowBounds* nearest = &screens.front();
  long long best = LLONG_MAX;
  for (const WindowBounds& s : screens) {
    const long long d = Distance(w, Box(s));
    if (d < best) {
      best = d;
      nearest = &s;
    }
  }
  WindowBounds moved = window;
  const Box s(*nearest);
  // A window larger than the screen keeps its top left corner visible.
  moved.left = Clamp(std::max(s.left, std::min(w.left, s.right() - w.width)), INT_MIN, INT_MAX);
  moved.top = Clamp(std::max(s.top, std::min(w.top, s.bottom() - w.height)), INT_MIN, INT_MAX);
  return moved;
}

WindowBounds KeepClientOnScreen(const WindowBounds& stored, const FrameMargins& frame,
                                const std::vector<WindowBounds>& screens) {
  const WindowBounds client = ClampWindowBounds(stored);
  const WindowBounds margins =
      ClampWindowBounds({frame.left, frame.top, std::max(frame.right, 0), std::max(frame.bottom, 0)});
  const int left = std::max(margins.left, 0);
  const int top = std::max(margins.top, 0);
  // Within the clamped range these sums stay far from the int limits.
  const WindowBounds outer{client.left - left, client.top - top, client.width + left + margins.width,
                           client.height + top + margins.height};
  const WindowBounds kept = KeepOnScreen(outer, screens);
  return {kept.left + left, kept.top + top, client.width, client.height};
}

WindowBounds MainWindowBounds(const StoredWindow& stored, const FrameMargins& frame,
                              const std::vector<WindowBounds>& screens) {
  if (stored.positionStored) return KeepClientOnScreen(stored.bounds, frame, screens);
  WindowBounds client = ClampWindowBounds(stored.bounds);
  if (screens.empty()) return client;
  const Box area(ClampWindowBounds(screens.front()));
  if (!stored.sizeStored) {
    client.width = Clamp(area.width * 4 / 5, 0, kMaxWindowExtent);
    client.height = Clamp(area.height * 4 / 5, 0, kMaxWindowExtent);
  }
  // The frame, where the window system has told it, is centred with the client.
  const long long outerWidth = client.width + std::max(frame.left, 0) + std::max(frame.right, 0);
  const long long outerHeight = client.height + std::max(frame.top, 0) + std::max(frame.bottom, 0);
  // A window larger than the area keeps its top left corner on it.
  client.left = Clamp(area.left + std::max(0LL, (area.width - outerWidth) / 2) + std::max(frame.left, 0),
                      -kMaxWindowExtent, kMaxWindowExtent);
  client.top = Clamp(area.top + std::max(0LL, (area.height - outerHeight) / 2) + std::max(frame.top, 0),
                     -kMaxWindowExtent, kMaxWindowExtent);
  return client;
}

}  // namespace beatloom
