#include "model/timing_values.h"

#include <cmath>

#include "model/text_scan.h"

namespace beatloom {

namespace {

std::optional<double> Slot(const std::vector<std::string>& table, int index) {
  if (index < 0 || static_cast<size_t>(index) >= table.size()) return std::nullopt;
  return DefinitionValue(table[static_cast<size_t>(index)]);
}

bool IsPlainTempo(double value) { return value >= 1 && value <= kHighestPlainTempo && value == std::floor(value); }

}  // namespace

std::optional<double> DefinitionValue(const std::string& text) {
  double value = 0;
  if (!ParseDecimalNumber(text, value)) return std::nullopt;
  return value;
}

std::optional<double> TempoOf(const Document& doc, const TBmsObject& o) {
  if (!o.Defined) return static_cast<double>(o.Value);
  return Slot(doc.bpmDefs, o.Value);
}

std::optional<double> StopLengthOf(const Document& doc, const TBmsObject& o) { return Slot(doc.stopDefs, o.Value); }

std::optional<double> NumberOf(const Document& doc, const TBmsObject& o) {
  if (o.Lane == TempoLane) return TempoOf(doc, o);
  if (o.Lane == StopLane) return StopLengthOf(doc, o);
  return static_cast<double>(o.Value);
}

int ShareDefinition(std::vector<std::string>& table, double value) {
  int free = -1;
  for (size_t k = 1; k < table.size(); ++k) {
    if (table[k].empty()) {
      if (free < 0) free = static_cast<int>(k);
      continue;
    }
    if (DefinitionValue(table[k]) == value) return static_cast<int>(k);
  }
  if (free > 0) table[static_cast<size_t>(free)] = ShortestDecimal(value);
  return free;
}

bool SetTimingValue(Document& doc, TBmsObject& o, double value) {
  if (!(value > 0) || !std::isfinite(value)) return false;
  if (o.Lane == TempoLane && IsPlainTempo(value)) {
    o.Value = static_cast<uint16_t>(value);
    o.Defined = 0;
    return true;
  }
  const int index = ShareDefinition(o.Lane == TempoLane ? doc.bpmDefs : doc.stopDefs, value);
  if (index < 0) return false;
  o.Value = static_cast<uint16_t>(index);
  o.Defined = 1;
  return true;
}

bool CarryToLane(Document& doc, TBmsObject& o, int lane, double number) {
  if (lane == o.Lane) return true;  // keeps the index it was read with
  const bool wasTiming = o.Lane == TempoLane || o.Lane == StopLane;
  o.Lane = static_cast<uint8_t>(lane);
  if (lane == TempoLane || lane == StopLane) return SetTimingValue(doc, o, number);
  o.Defined = 0;
  if (!wasTiming) return true;
  // A tempo or stop put among the notes names the index of its number.
  if (number != std::floor(number) || number < 1 || number > doc.indices.HighestWav()) return false;
  o.Value = static_cast<uint16_t>(number);
  return true;
}

}  // namespace beatloom
