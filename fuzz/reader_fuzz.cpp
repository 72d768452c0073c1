// Feeds arbitrary bytes through the reader and the writer, and checks that a
// chart the writer wrote reads back and writes again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "bms/bms_reader.h"
#include "bms/bms_writer.h"

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
  // Contradicting header lines (a valid "#RANK" after an unusable one) settle
  // after one save; from then on every save must reproduce itself.
  const std::string first = WriteBmsText(reread, SaveOptions{});
  Document again;
  LoadBmsBytes(again, first, "fuzz", log);
  again.RemoveDuplicates();
  if (WriteBmsText(again, SaveOptions{}) != first) std::abort();
  return 0;
}
