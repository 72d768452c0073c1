#include "app/window_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace beatloom {
namespace {

TEST(KeepOnScreen, MovesOnlyWindowsThatCannotBeReached) {
  const std::vector<WindowBounds> one = {{0, 0, 1280, 1024}};
  const std::vector<WindowBounds> two = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
  struct Row {
    const char* what;
    std::vector<WindowBounds> screens;
    WindowBounds stored;
    WindowBounds expected;
  };
  const Row rows[] = {
      {"inside", one, {100, 100, 573, 577}, {100, 100, 573, 577}},
      {"partly off to the right", one, {1000, 100, 573, 577}, {1000, 100, 573, 577}},
      {"on the second monitor", two, {2000, 50, 573, 577}, {2000, 50, 573, 577}},
      {"monitor unplugged", one, {2000, 50, 573, 577}, {707, 50, 573, 577}},
      {"above the screen", one, {100, -700, 573, 577}, {100, 0, 573, 577}},
      {"title bar above the top", one, {100, -10, 573, 577}, {100, 0, 573, 577}},
      {"far left", one, {-3000, 200, 573, 577}, {0, 200, 573, 577}},
      {"below the screen", one, {10, 2000, 573, 577}, {10, 447, 573, 577}},
      {"larger than the screen", one, {5000, 5000, 2000, 2000}, {0, 0, 2000, 2000}},
      {"nearest of two", two, {4000, 100, 573, 577}, {2627, 100, 573, 577}},
      {"no screens known", {}, {9000, 9000, 573, 577}, {9000, 9000, 573, 577}},
      // Whatever the settings file held: no sum may overflow.
      {"at the largest int", two, {INT_MAX - 100, 100, 573, 577}, {2627, 100, 573, 577}},
      {"largest size", one, {100, 100, INT_MAX, INT_MAX}, {100, 100, kMaxWindowExtent, kMaxWindowExtent}},
      {"unknown screens, huge", {}, {INT_MIN, 0, -5, 9}, {-kMaxWindowExtent, 0, 0, 9}},
  };
  for (const Row& r : rows) EXPECT_EQ(KeepOnScreen(r.stored, r.screens), r.expected) << r.what;
}

TEST(KeepClientOnScreen, KeepsTheFrameWithinReachAndTheClientAsStored) {
  const std::vector<WindowBounds> one = {{0, 0, 1280, 1024}};
  const FrameMargins titled{1, 20, 1, 1};
  struct Row {
    const char* what;
    FrameMargins frame;
    WindowBounds stored;
    WindowBounds expected;
  };
  const Row rows[] = {
      {"reachable, unchanged", titled, {100, 200, 573, 577}, {100, 200, 573, 577}},
      {"title bar just fits", titled, {1, 20, 573, 577}, {1, 20, 573, 577}},
      {"title bar above the screen", titled, {100, 5, 573, 577}, {100, 20, 573, 577}},
      {"off to the right", titled, {5000, 500, 573, 577}, {706, 446, 573, 577}},
      {"margins not yet known", {}, {100, -10, 573, 577}, {100, 0, 573, 577}},
      {"at the smallest int", {10, 20, 1, 1}, {INT_MIN + 5, 100, 573, 577}, {10, 100, 573, 577}},
  };
  for (const Row& r : rows) EXPECT_EQ(KeepClientOnScreen(r.stored, r.frame, one), r.expected) << r.what;
}

// A first start takes four fifths of the screen it opens on, centred with
// its frame; stored bounds win.
TEST(MainWindowBounds, FirstStartFillsTheScreenAndStoredBoundsWin) {
  const WindowBounds design{0, 0, 573, 577}, sxga{0, 0, 1280, 1024}, panel{0, 28, 1600, 972};
  const std::tuple<StoredWindow, FrameMargins, std::vector<WindowBounds>, WindowBounds> rows[] = {
      {{design}, {}, {sxga}, {128, 102, 1024, 819}},
      {{design}, {1, 20, 1, 1}, {panel, sxga}, {160, 135, 1280, 777}},
      {{{100, 200, 700, 560}, true, true}, {}, {sxga}, {100, 200, 700, 560}},
      {{{0, 0, 700, 560}, false, true}, {}, {sxga}, {290, 232, 700, 560}},
  };
  for (const auto& [stored, frame, screens, expected] : rows)
    EXPECT_EQ(MainWindowBounds(stored, frame, screens), expected) << expected.left;
}

}  // namespace
}  // namespace beatloom
