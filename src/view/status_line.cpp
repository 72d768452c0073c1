#include "view/status_line.h"

#include <cmath>
#include <cstdio>

#include "model/document.h"
#include "view/lane_layout.h"
#include "view/score_geometry.h"

namespace beatloom {

namespace {

constexpr int LastStatusLane = 27;

std::string Padded(int value, int width) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

}  // namespace

std::string LaneStatusName(int lane) {
  if (lane == TempoLane) return "BPM";
  if (lane == StopLane) return "STOP";
  if (lane >= 1 && lane <= 18) {
    const std::string player = lane < P2FirstLane ? "1player " : "2player ";
    const int key = lane < P2FirstLane ? lane : lane - P2FirstLane + 1;
    if (key == 8) return player + "scratch";
    if (key == 9) return player + "free scratch";
    return player + "key" + std::to_string(key);
  }
  if (lane == 19) return "BGA Layer";
  if (lane == 20) return "Upper BGA Layer (Transparent)";
  if (lane == 21) return "Poor BGA";
  if (lane >= FirstBgmLane && lane <= LastStatusLane) return "BGM Track";
  return "";
}

StatusText StatusAt(int lane, int pos, int value, int gridPosition) {
  StatusText status;
  status.kind = value > 0 ? "Object" : "Position";
  status.measure = Padded(pos / TicksPerMeasure, 3);
  int d = GridDivision(gridPosition);
  if (value > 0 && pos % (TicksPerMeasure / d) != 0) d = TicksPerMeasure;
  status.grid = "/" + std::to_string(d);
  status.beat = std::to_string((pos % TicksPerMeasure) / (TicksPerMeasure / d));
  status.zone = LaneStatusName(lane);
  return status;
}

std::string HoldLengthText(double ticks) {
  const long long measures = static_cast<long long>(std::floor(ticks / TicksPerMeasure));
  const double rest = ticks - static_cast<double>(measures) * TicksPerMeasure;
  char text[80];
  if (rest == 0) {
    std::snprintf(text, sizeof text, "長さ %lld小節", measures);
  } else {
    // An end between two ticks keeps its fraction, to three places.
    char restText[32];
    std::snprintf(restText, sizeof restText, rest == std::floor(rest) ? "%.0f" : "%.3f", rest);
    if (measures == 0) {
      std::snprintf(text, sizeof text, "長さ %s/192", restText);
    } else {
      std::snprintf(text, sizeof text, "長さ %lld小節 + %s/192", measures, restText);
    }
  }
  return text;
}

std::string TimeText(double seconds) {
  char text[48];
  // Beyond what milliseconds in 64 bits hold (a stop of centuries): seconds in powers of ten.
  if (!(std::fabs(seconds) < 1e15)) {
    std::snprintf(text, sizeof text, "%.3e s", seconds);
    return text;
  }
  // Rounded once, so that 59.9996 s reads 1:00.000 and not 0:60.000.
  const long long ms = std::llround(std::fabs(seconds) * 1000.0);
  std::snprintf(text, sizeof text, "%s%lld:%02lld.%03lld", seconds < 0 && ms > 0 ? "-" : "", ms / 60000, ms / 1000 % 60,
                ms % 1000);
  return text;
}

}  // namespace beatloom
