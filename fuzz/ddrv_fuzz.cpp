// Feeds arbitrary bytes to the DDRV import. Every step must land on an arrow
// lane inside the chart, and an export must carry every step it can write (on
// the sixteenth-note grid, either side in a two-side chart) to the next
// import; after one export the chart no longer changes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>
#include <utility>

#include "formats/ddrv_format.h"
#include "model/document.h"

namespace {

using beatloom::Document;

constexpr int kTicksPerStep = beatloom::TicksPerMeasure / 16;

bool ArrowLane(int lane) {
  for (const int base : {1, 10})
    for (const int offset : {0, 2, 4, 7})
      if (lane == base + offset) return true;
  return false;
}

// The steps the export can write: on the grid, and on the second side only
// when the chart has two.
std::set<std::pair<int, int>> WritableSteps(const Document& d) {
  std::set<std::pair<int, int>> out;
  for (const auto& o : d.ObjList) {
    if (o.Pos % kTicksPerStep != 0 || (o.Lane >= 10 && d.header.cbpmode == 0)) continue;
    out.emplace(o.Lane, o.Pos);
  }
  return out;
}

std::set<std::pair<int, int>> Steps(const Document& d) {
  std::set<std::pair<int, int>> out;
  for (const auto& o : d.ObjList) out.emplace(o.Lane, o.Pos);
  return out;
}

Document Imported(std::string_view bytes) {
  Document d;
  d.ResetDocument();
  beatloom::ImportDdrvBytes(d, bytes);
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace beatloom;
  const Document first = Imported(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const auto& o : first.ObjList)
    if (!ArrowLane(o.Lane) || o.Pos < 0 || o.Pos >= MeasureCount * TicksPerMeasure || o.Value != 1) std::abort();
  const Document second = Imported(ExportDdrvText(first));
  if (Steps(second) != WritableSteps(first)) std::abort();
  const Document third = Imported(ExportDdrvText(second));
  if (Steps(third) != Steps(second) || third.header.cbpmode != second.header.cbpmode) std::abort();
  return 0;
}
