#pragma once

#include <unordered_map>
#include <vector>

#include "model/document.h"

namespace beatloom {

// The tempo a chart plays at when its #BPM is no positive number.
constexpr double kFallbackBpm = 120.0;

// The extended tempo and stop definitions ("#BPM01 155.5", "#STOP01 96"),
// from the document's tables and any kept as text, and the channel 08 and 09
// cells that the kept lines still hold as text. Conditional blocks are text to
// the reader; of them only the branch every player takes counts here (a
// "#RANDOM 1" always chooses "#IF 1"), with its measure lengths and channel
// 03 tempos too. Other branches are left alone.
struct KeptTimingLines {
  // The line of a definition that stands in the document's tables.
  static constexpr size_t kTable = static_cast<size_t>(-1);
  struct Definition {
    double value = 0;  // NaN when the line holds no number
    size_t line = 0;   // index into mcom, or kTable
  };
  struct Cell {
    int pos = 0;         // the tick at or before the cell
    double ticks = 0;    // its exact place (see ExactTicks)
    int index = 0;       // the definition it names, or the tempo itself (direct)
    bool stop = false;
    bool direct = false;  // a channel 03 cell of a taken branch
  };
  // By index; a later line of the same index replaces an earlier one.
  std::unordered_map<int, Definition> tempos;
  std::unordered_map<int, Definition> stops;
  std::vector<Cell> cells;
  // Measure lengths set in a taken branch, in the order read.
  std::vector<std::pair<int, double>> lengths;
  // mcom index of the line that opens each outermost conditional block, and
  // whether a branch of it is one every player takes.
  std::vector<size_t> conditionalBlocks;
  std::vector<char> blockTaken;
};

KeptTimingLines ReadKeptTimingLines(const Document& doc);

// The header tempo as a number, or false when it is none or not above 0.
bool HeaderBpm(const Document& doc, double& bpm);

// A measure's length factor as the timing uses it: 1.0 outside 000-999 and
// where the factor is 0 or below, which no player can honour.
double PlayedMeasureLength(const Document& doc, int measure);

// Seconds from the start of measure 000 for every position of a chart,
// following the header tempo, tempo changes (channel 03 objects and extended
// ones), stops and measure lengths. Built once per change of the chart;
// each question is a binary search.
class ChartTiming {
 public:
  ChartTiming() = default;
  explicit ChartTiming(const Document& doc);

  // When an object at pos sounds. An object on the tick of a stop sounds as
  // the stop begins; tempo changes on a tick act before its stops.
  double SecondsAt(int pos) const;
  // The same at an exact place (see ExactTicks), and at an object's.
  double SecondsAtTicks(double ticks) const;
  double SecondsAt(const TBmsObject& o) const;
  // The last position that has sounded at the given time (the position a
  // stop holds while it lasts).
  int PosAt(double seconds) const;
  double InitialBpm() const { return initialBpm_; }
  // Every position from 0 up to this one has a finite time; beyond it a
  // huge length, tempo or stop may have made times overflow (SecondsAt tells).
  int FiniteBefore() const { return finiteBefore_; }

 private:
  // From pos on, time runs at tickSeconds per tick after a pause of stop
  // seconds; no measure starts between two points.
  struct Point {
    double pos = 0;
    double seconds = 0;
    double stop = 0;
    double bpm = 0;
    double tickSeconds = 0;
  };
  double initialBpm_ = kFallbackBpm;
  std::vector<Point> points_;
  int finiteBefore_ = 0;
};

}  // namespace beatloom
