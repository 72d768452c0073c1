#include "view/object_style.h"

#include <cstdio>
#include <optional>

#include "model/text_codec.h"
#include "model/text_scan.h"
#include "model/timing_values.h"
#include "view/lane_layout.h"

namespace beatloom {

namespace {

bool IsNoteLane(int lane) { return (lane >= 1 && lane <= 8) || (lane >= 10 && lane <= 17); }

// Drops the last n characters (code points) of UTF-8 text; empty when it has
// no more than n.
std::string DropLastCharacters(const std::string& utf8, int n) {
  size_t end = utf8.size();
  while (n > 0 && end > 0) {
    --end;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
    --n;
  }
  return n > 0 ? std::string() : utf8.substr(0, end);
}

}  // namespace

ObjectColors ColorsOf(const TBmsObject& o) {
  if (o.Selected) return {0x00FFFF, 0xFFFFFF, 0x007F7F};
  const int lane = o.Lane;
  if (o.Hidden && IsNoteLane(lane)) return {0x000000, 0x808080, 0x404040};
  if (lane == TempoLane) return {0xA0A000, 0xC0C000, 0x707000};
  if (lane == StopLane) return {0xC06000, 0xFF9040, 0x603000};
  if (lane == 8 || lane == 17) return {0xFF0000, 0xFF4F4F, 0x800000};
  if (lane == P1FreeScratchLane || lane == P2FreeScratchLane) return {0xFF00FF, 0xFF4FFF, 0x800080};
  if (IsNoteLane(lane)) {
    const int key = lane < 10 ? lane : lane - 9;  // 1..7
    if (key % 2 == 1) return {0xA0A0A0, 0xC0C0C0, 0x707070};
    return {0x0000FF, 0x4F4FFF, 0x000080};
  }
  if (lane >= FirstImageLane && lane <= LastImageLane) return {0x008000, 0x00FF00, 0x004000};
  return {0x800000, 0xFF0000, 0x400000};
}

std::string ObjectLabel(const TBmsObject& o, const Document& doc, const ViewSettings& settings) {
  if (!settings.ShowIndexNumver) return {};
  if (o.Lane == StopLane && o.Value == 0) return {};  // the preview of a stop still to be asked for
  if (o.Lane == TempoLane || o.Lane == StopLane) {
    // A tempo or stop that names no readable definition shows its index.
    const std::optional<double> value = NumberOf(doc, o);
    return value ? ShortestDecimal(*value) : "#" + doc.indices.Format(o.Value) + "?";
  }
  if (!settings.ShowFileName) return doc.indices.Format(o.Value);
  const bool image = o.Lane >= FirstImageLane && o.Lane <= LastImageLane;
  std::string name;
  if (image && o.Value < doc.bmp.size()) name = doc.bmp[o.Value];
  if (!image && o.Value >= DefinitionIndex::FirstWav && o.Value < doc.wav.size()) name = doc.wav[o.Value];
  if (name.empty()) return "No." + doc.indices.Format(o.Value);
  // A name of four characters or fewer is all extension and shows as nothing;
  // "No." is kept for an index without a file.
  return DropLastCharacters(ToUtf8(name, doc.encoding), 4);
}

std::string MeasureNumberText(int64_t measure) {
  char text[32];
  if (measure < 0) {
    std::snprintf(text, sizeof text, "#-%03lld", static_cast<long long>(-measure));
  } else {
    std::snprintf(text, sizeof text, "#%03lld", static_cast<long long>(measure));
  }
  return text;
}

double MeasureLengthOf(const Document& doc, int64_t measure) {
  if (measure < 0 || measure >= MeasureCount) return 1.0;
  return doc.MeasureLen[static_cast<size_t>(measure)];
}

}  // namespace beatloom
