// Feeds arbitrary bytes through the reader and the writer. A save must carry
// every object, definition, memo line and kept line over to the next load,
// and a chart the writer wrote must read back and write again to the same
// bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"

namespace {

using beatloom::Document;

// Objects as the author sees them: lane, position and label. A chart's radix
// follows its text, so a save that drops the only line needing base 36 (an
// empty "#WAVav") reads back hexadecimal with every label unchanged; the
// numbers behind the labels may differ, the labels may not. The tempo lane
// holds a number, not an index. A place between two ticks counts exactly.
std::vector<std::tuple<int, int, uint32_t, uint32_t, std::string, int>> SortedObjects(const Document& d) {
  std::vector<std::tuple<int, int, uint32_t, uint32_t, std::string, int>> out;
  for (const auto& o : d.ObjList)
    out.emplace_back(o.Lane, o.Pos, o.OffNum, o.OffDen,
                     o.Lane == 0 ? std::to_string(o.Value) : d.indices.Format(o.Value), o.Hidden);
  std::sort(out.begin(), out.end());
  return out;
}

// Named definitions by label.
std::map<std::string, std::string> Definitions(const std::vector<std::string>& names, const Document& d) {
  std::map<std::string, std::string> out;
  for (size_t i = 0; i < names.size(); ++i)
    if (!names[i].empty()) out[d.indices.Format(static_cast<int>(i))] = names[i];
  return out;
}

// The writer gathers kept lines into blocks, so only their order may change.
std::vector<std::string> SortedKept(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace beatloom;
  Document doc;
  Log log;
  LoadBmsBytes(doc, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz", log);
  doc.RemoveDuplicates();
  const std::string written = WriteBmsText(doc, SaveOptions{});
  Document reread;
  LoadBmsBytes(reread, written, "fuzz", log);
  reread.RemoveDuplicates();
  if (SortedObjects(reread) != SortedObjects(doc) || Definitions(reread.wav, reread) != Definitions(doc.wav, doc) ||
      Definitions(reread.bmp, reread) != Definitions(doc.bmp, doc) || reread.mmemo != doc.mmemo ||
      SortedKept(reread.mcom) != SortedKept(doc.mcom))
    std::abort();
  // Contradicting header lines (a valid "#RANK" after an unusable one) settle
  // after one save; from then on every save must reproduce itself.
  const std::string first = WriteBmsText(reread, SaveOptions{});
  Document again;
  LoadBmsBytes(again, first, "fuzz", log);
  again.RemoveDuplicates();
  if (WriteBmsText(again, SaveOptions{}) != first) std::abort();
  return 0;
}
