#pragma once

#include <array>
#include <vector>

#include "analysis/chart_timing.h"
#include "model/document.h"

namespace beatloom {

// The groups an object counts in. Scratch holds both turntable lanes of a
// side (the scratch and the free scratch); hidden notes count as invisible
// whatever their lane.
enum class NoteGroup { Player1, Player2, Scratch, Invisible, Background, Image };
constexpr int kNoteGroupCount = 6;

// An hour of one-second bins; a longer chart gets wider ones.
constexpr size_t kMaxDensityBins = 3600;

// The group of an object, or false for the tempo lane.
bool GroupOf(const TBmsObject& object, NoteGroup& group);

// What the statistics window and "stats" report. Objects that share lane and
// position count once, as the save keeps one of them.
struct ChartStats {
  // From the start of measure 000 to the last object that sounds or shows.
  double lengthSeconds = 0;
  std::array<int, kNoteGroupCount> groups{};
  // The notes a player hits: player 1, player 2 and scratch.
  int totalNotes = 0;
  // Of these, the notes held from a start to an end (each counts once), and
  // how long they are held together.
  int longNotes = 0;
  double longNoteSeconds = 0;
  // Notes per densitySeconds of play, bin i holding the notes from
  // i * densitySeconds on. A bin is one second, or as many whole seconds as
  // keep a chart of any length within kMaxDensityBins bins.
  std::vector<int> density;
  double densitySeconds = 1;
  int peakNotesPerSecond = 0;        // the fullest second
  double averageNotesPerSecond = 0;  // notes that play, over the play length
};

// Objects whose time overflows (see the check) count in their groups but in
// neither the length nor the density.
ChartStats StatsOf(const Document& doc, const ChartTiming& timing);

}  // namespace beatloom
