#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/document.h"

namespace beatloom {

// Tempo changes and stops as objects. A tempo object holds an integer tempo
// in Value, or (Defined set) the index of a #BPMxx definition; a stop object
// always names a #STOPxx definition, whose value is its length in 1/192 of a
// 4/4 measure. The definitions are shared by value: an edit that gives an
// object a number finds the definition that already holds it, or takes the
// first free index.

// Tempos a channel 03 cell can hold; any other tempo needs a definition.
constexpr int kHighestPlainTempo = 255;

// The number a definition's text holds, or nothing (empty slot, no number).
std::optional<double> DefinitionValue(const std::string& text);

// The tempo of an object on the tempo lane; nothing when it names an
// undefined or unreadable definition.
std::optional<double> TempoOf(const Document& doc, const TBmsObject& o);
// The length of an object on the stop lane, in 1/192 of a 4/4 measure.
std::optional<double> StopLengthOf(const Document& doc, const TBmsObject& o);
// What an object stands for as a number: its tempo, its stop length, or
// its definition index on the other lanes.
std::optional<double> NumberOf(const Document& doc, const TBmsObject& o);

// The index of the definition holding value in table (empty slots are free),
// allocating the first free index from 1 on; -1 when every slot is taken.
int ShareDefinition(std::vector<std::string>& table, double value);

// Gives o (on the tempo or stop lane) the tempo or stop length value,
// allocating a definition where one is needed. False, o unchanged, for a
// value of 0 or below or when no definition is free.
bool SetTimingValue(Document& doc, TBmsObject& o, double value);

// Puts o onto lane carrying number (what NumberOf said where it came from):
// on the tempo and stop lanes it becomes a tempo or stop of that number, on
// the other lanes an index of it. False when it cannot stand there (no
// whole index within the chart's range, no free definition).
bool CarryToLane(Document& doc, TBmsObject& o, int lane, double number);

}  // namespace beatloom
