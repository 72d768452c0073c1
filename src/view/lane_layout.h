#pragma once

#include <array>
#include <string>

#include "model/document.h"

namespace beatloom {

// Entries of the lane tables: one per lane plus the right edge of the score.
constexpr int LaneTableSize = LaneCount + 1;

// Lane numbers that the layout treats specially.
constexpr int P1FreeScratchLane = 9;
constexpr int P2FirstLane = 10;
constexpr int P2FreeScratchLane = 18;
constexpr int FirstImageLane = 19;
constexpr int LastImageLane = 21;

// The lane group separators (entries of LaneLeft): before the tempo lane,
// around each player's lanes, before the image lanes, before the background
// lanes, after the last.
inline constexpr std::array<int, 6> LaneGroupEdges = {0, 1, 10, 19, 22, LaneCount};

// The score shows the stop lane beside the tempo lane: columns from the left
// are lanes 0, 50, 1, 2, .. 49, then the further background lanes 51, 52, ..
// on from the 28 numbered ones. Dragging and rubber bands count columns.
constexpr int LaneColumn(int lane) {
  return lane == StopLane ? 1 : lane == 0 ? 0 : lane <= LastFixedBgmLane ? lane + 1 : lane;
}
constexpr int LaneAtColumn(int column) {
  return column == 1 ? StopLane : column == 0 ? 0 : column <= StopLane ? column - 1 : column;
}

// Width and left edge of every lane in score pixels, for one play mode, width
// unit W, flat option and number of background lanes shown. Player 2's lanes
// have width 0 (they are collapsed) unless the play mode shows them; so have
// the background lanes past those shown.
class LaneLayout {
 public:
  LaneLayout();  // "1Player", W = 6, normal widths

  // playMode is the cbpmode index: -1 none, 0 "1Player", 1 "2Player",
  // 2 "Double Play".
  void RecomputeLanes(int playMode, int gridWidth, bool flat, int bgmLanes = FixedBgmLaneCount);

  const std::array<int, LaneTableSize>& LaneWidth() const { return laneWidth_; }
  const std::array<int, LaneTableSize>& LaneLeft() const { return laneLeft_; }
  // LaneLeft()[LaneCount] is the right edge of the score.
  int TotalWidth() const { return laneLeft_[LaneCount]; }

  int PlayMode() const { return playMode_; }
  int GridWidth() const { return gridWidth_; }
  bool Flat() const { return flat_; }
  int BgmLanes() const { return bgmLanes_; }
  // Columns 0..ShownColumns()-1 hold every lane shown; the background lanes
  // beyond them are collapsed.
  int ShownColumns() const { return LaneColumn(BgmLaneAt(bgmLanes_ - 1)) + 1; }
  bool SameAs(int playMode, int gridWidth, bool flat, int bgmLanes = FixedBgmLaneCount) const {
    return playMode == playMode_ && gridWidth == gridWidth_ && flat == flat_ && bgmLanes == bgmLanes_;
  }

 private:
  std::array<int, LaneTableSize> laneWidth_{};
  std::array<int, LaneTableSize> laneLeft_{};
  int playMode_ = 0;
  int gridWidth_ = 0;
  bool flat_ = false;
  int bgmLanes_ = FixedBgmLaneCount;
};

// The caption drawn at the top of a lane ("BPM", "1".."7", "Sc", "Fr", "BGA",
// "U-L", "Pr", "B01".."B28" and on, "STOP"); empty outside the lanes.
std::string LaneCaption(int lane);

}  // namespace beatloom
