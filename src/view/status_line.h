#pragma once

#include <string>

namespace beatloom {

// The status line labels under the score.
struct StatusText {
  std::string kind = "Position";   // Label12
  std::string measure = "000";     // Label31
  std::string beat = "000";        // Label29
  std::string grid = "/000";       // Label28
  std::string zone = "---------";  // Label15
  bool operator==(const StatusText&) const = default;
};

// Status name of a lane shown while the pointer is over it; empty above 27.
std::string LaneStatusName(int lane);

// What the status line says with the pointer at lane and pos; value is the
// object under the pointer (0: none). An object off the chosen grid is
// counted in ticks, so its place can still be read.
StatusText StatusAt(int lane, int pos, int value, int gridPosition);

// A long note's length for the status line: "長さ 1小節 + 48/192", in
// measures of 192 ticks and the ticks left over.
std::string HoldLengthText(double ticks);

// A time in the chart as the status line shows it: "0:42.315".
std::string TimeText(double seconds);

}  // namespace beatloom
