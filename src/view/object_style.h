#pragma once

#include <cstdint>
#include <string>

#include "model/document.h"
#include "view/view_settings.h"

namespace beatloom {

// Fill and bevel colours of an object, 0xRRGGBB: the light colour runs along
// the top and left edges, the dark one along the bottom and right edges.
struct ObjectColors {
  uint32_t Fill;
  uint32_t Light;
  uint32_t Dark;
  bool operator==(const ObjectColors&) const = default;
};

ObjectColors ColorsOf(const TBmsObject& object);

// The text written on an object (UTF-8), empty when labels are switched off:
// the BPM in decimal on the tempo lane; otherwise the value as the chart
// writes the index or, with file names shown, the assigned file name without
// its extension ("No." and the index when none is assigned; nothing when the
// name is no longer than its extension).
std::string ObjectLabel(const TBmsObject& object, const Document& doc, const ViewSettings& settings);

// "#" and the measure number with at least three digits: #000, #042, #1000.
std::string MeasureNumberText(int64_t measure);

// The length factor of a measure; measures outside the table count as 1.0.
double MeasureLengthOf(const Document& doc, int64_t measure);

}  // namespace beatloom
