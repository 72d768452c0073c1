#include "view/lane_layout.h"

#include <algorithm>
#include <cstdio>

namespace beatloom {

namespace {

// Width of a key group's lane in units of W; index 0..8 is key 1..7,
// scratch, free scratch. The outer keys are wider so that, widened into
// 4W cells by ObjectRect, keys 1, 3, 5, 7 tile one row.
constexpr std::array<int, 9> NormalKeyUnits = {3, 2, 2, 2, 2, 2, 3, 4, 4};

}  // namespace

LaneLayout::LaneLayout() { RecomputeLanes(0, 6, false); }

void LaneLayout::RecomputeLanes(int playMode, int gridWidth, bool flat, int bgmLanes) {
  playMode_ = playMode;
  gridWidth_ = gridWidth;
  flat_ = flat;
  bgmLanes_ = std::clamp(bgmLanes, FixedBgmLaneCount, BgmLaneLimit);
  const int w = gridWidth;
  const bool player2 = playMode > 0;
  laneWidth_[0] = 5 * w;
  for (int k = 0; k < 9; ++k) {
    const int width = flat ? 4 * w : NormalKeyUnits[k] * w;
    laneWidth_[1 + k] = width;
    laneWidth_[10 + k] = player2 ? width : 0;
  }
  for (int i = FirstImageLane; i < FirstBgmLane; ++i) laneWidth_[i] = 4 * w;
  for (int i = 0; i < BgmLaneLimit; ++i) laneWidth_[BgmLaneAt(i)] = i < bgmLanes_ ? 4 * w : 0;
  laneWidth_[StopLane] = 5 * w;
  laneWidth_[LaneCount] = 0;
  int left = 0;
  for (int column = 0; column < LaneCount; ++column) {
    const int lane = LaneAtColumn(column);
    laneLeft_[lane] = left;
    left += laneWidth_[lane];
  }
  laneLeft_[LaneCount] = left;
}

std::string LaneCaption(int lane) {
  static const char* const fixed[22] = {"BPM", "1", "2", "3", "4", "5", "6",  "7",  "Sc",  "Fr",  "1",
                                        "2",   "3", "4", "5", "6", "7", "Sc", "Fr", "BGA", "U-L", "Pr"};
  if (lane == StopLane) return "STOP";
  if (lane < 0 || lane >= LaneCount) return {};
  if (lane < FirstBgmLane) return fixed[lane];
  char text[8];
  std::snprintf(text, sizeof text, "B%02d", BgmIndexOf(lane) + 1);
  return text;
}

}  // namespace beatloom
