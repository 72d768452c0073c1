// Feeds arbitrary text to the clipboard reader. Whatever it accepts must be
// objects the chart can hold, and copying them must give a text that reads
// back to the same objects.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <tuple>
#include <vector>

#include "session/chart_session.h"
#include "edit/selection.h"
#include "model/definition_index.h"

namespace {

using beatloom::TBmsObject;

std::vector<std::tuple<int, int, int>> Sorted(const std::vector<TBmsObject>& objects) {
  std::vector<std::tuple<int, int, int>> out;
  for (const TBmsObject& o : objects) out.emplace_back(o.Lane, o.Pos, o.Value);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace beatloom;
  if (size == 0) return 0;
  // The first byte picks the chart's radix, which bounds the values.
  static const int kRadixes[] = {16, 36, 62};
  const DefinitionIndex indices(kRadixes[data[0] % 3]);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const ClipboardText read = ReadClipboardText(text, indices);
  if (!read.ours || !read.error.empty()) {
    if (!read.objects.empty()) std::abort();  // a refused text must change nothing
    return 0;
  }
  ChartSession session;
  for (TBmsObject o : read.objects) {
    // Every lane byte names a lane; a held note must end after it starts.
    if (o.Pos < 0 || o.Pos >= MeasureCount * TicksPerMeasure || o.Value < 1) std::abort();
    if (IsLongNote(o) && !EndsAfterStart(o)) std::abort();
    o.Selected = 1;
    session.Doc().ObjList.push_back(o);
  }
  const ClipboardText again = ReadClipboardText(CopySelectedAsText(session), indices);
  if (!again.ours || !again.error.empty() || Sorted(again.objects) != Sorted(read.objects)) std::abort();
  return 0;
}
