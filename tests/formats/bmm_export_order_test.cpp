#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "formats/bmm_export.h"
#include "formats/format_text.h"
#include "model/text_scan.h"

namespace beatloom {
namespace {

// The export as first written, quadratic and literal: the reference the fast
// export must match byte for byte.
struct RefEntry {
  int object;
  int32_t position;
  int kind;
};

void RefSort(std::vector<RefEntry>& list) {
  for (size_t i = 0; i + 1 < list.size(); ++i)
    for (size_t j = i + 1; j < list.size(); ++j)
      if (list[j].position < list[i].position) std::swap(list[i], list[j]);
}

char RefLetter(int lane) {
  return lane <= 5 ? static_cast<char>('A' + lane - 1) : lane == 8 ? 'F' : static_cast<char>(lane + 75);
}

std::string ReferenceBlocks(const Document& doc) {
  std::vector<RefEntry> list;
  for (size_t i = 0; i < doc.ObjList.size(); ++i) {
    const int lane = doc.ObjList[i].Lane;
    if ((lane >= 1 && lane <= 5) || lane == 8 || lane >= 22)
      list.push_back({static_cast<int>(i), doc.ObjList[i].Pos, 0});
  }
  RefSort(list);
  std::array<float, 1001> factor;
  factor.fill(1.0f);
  for (const std::string& line : doc.mcom) {
    const std::string_view text(line);
    int channel = 0, measure = 0;
    double typed = 0;
    if (text.size() < 6 || !ParseDecimalInt(text.substr(4, 2), channel) || channel != 2) continue;
    if (!ParseDecimalInt(text.substr(1, 3), measure) || measure < 0 || measure >= 1001) continue;
    if (!ParseDecimalNumber(text.size() > 7 ? text.substr(7) : std::string_view(), typed)) continue;
    const float f = static_cast<float>(typed);
    if (!std::isfinite(f) || std::fabs(static_cast<double>(f)) * 191 + 1001 * 192 > static_cast<double>(INT32_MAX))
      continue;
    factor[static_cast<size_t>(measure)] = f;
    for (RefEntry& e : list)
      if (e.position / 192 == measure)
        e.position = static_cast<int32_t>(std::nearbyint(e.position % 192 * static_cast<double>(f))) + measure * 192;
  }
  const size_t n = list.size();
  for (size_t d = 0; d < n; ++d) {
    const TBmsObject& note = doc.ObjList[static_cast<size_t>(list[d].object)];
    if (note.Lane >= 10) continue;
    size_t g = d;
    while (g-- > 0) {
      if (doc.ObjList[static_cast<size_t>(list[g].object)].Lane == note.Lane && list[g].position < list[d].position)
        break;
    }
    if (g == SIZE_MAX) {
      list.push_back({list[d].object, list[d].position / 2, 1});
    } else if (doc.ObjList[static_cast<size_t>(list[g].object)].Value != note.Value) {
      list.push_back({list[d].object, static_cast<int32_t>((int64_t{list[g].position} + list[d].position) / 2), 1});
    }
  }
  RefSort(list);
  std::string out;
  if (list.empty()) return out;
  const auto factorOf = [&](int m) { return m >= 0 && m <= 1000 ? factor[static_cast<size_t>(m)] : 1.0f; };
  for (int m = 0; m <= list.back().position / 192; ++m) {
    if (factorOf(m) != 1.0f) {
      AppendLine(out, "B" + FormatRounded(static_cast<double>(factorOf(m)) * 192, 0, 0));
    } else if (m > 0 && factorOf(m - 1) != 1.0f) {
      AppendLine(out, "B192");
    }
    for (const RefEntry& e : list) {
      if (e.position / 192 != m) continue;
      const TBmsObject& o = doc.ObjList[static_cast<size_t>(e.object)];
      AppendLine(out, std::to_string(e.position % 192) + ":" + (e.kind == 0 ? std::string(1, RefLetter(o.Lane)) : ""));
      if (e.kind == 1) AppendLine(out, std::string("@") + RefLetter(o.Lane) + "," + std::to_string(o.Value));
    }
    AppendLine(out, "|");
  }
  return out;
}

// Random charts crowded onto few positions, lanes and sounds, so that ties,
// repeated notes and measure lengths (shrinking, stretching past the measure,
// zero, negative, repeated) all meet.
TEST(BmmExportOrder, MatchesTheLiteralExchangeSortOnRandomCharts) {
  std::mt19937 random(20240611);
  const std::vector<int> lanes = {1, 2, 3, 4, 5, 8, 6, 10, 22, 23, 24, 49};
  const std::vector<std::string> factors = {"0.5", "0.75", "1.5", "2", "-1", "0", "1", "0.33", "x"};
  const auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  for (int round = 0; round < 400; ++round) {
    Document doc;
    doc.header.e_bpm = "120";
    const size_t objects = pick(round < 200 ? 40 : 400);
    const int spread = 1 + static_cast<int>(pick(4 * 192));
    for (size_t i = 0; i < objects; ++i) {
      const int pos = pick(2) ? static_cast<int>(pick(static_cast<size_t>(spread))) : 48 * static_cast<int>(pick(12));
      doc.AddObject(lanes[pick(lanes.size())], pos, 1 + static_cast<int>(pick(3)));
    }
    for (size_t i = pick(6); i > 0; --i)
      doc.mcom.push_back("#00" + std::to_string(pick(5)) + "02:" + factors[pick(factors.size())]);
    BmmExport files;
    std::string error;
    ASSERT_TRUE(BuildBmmExport(doc, files, &error)) << error;
    const std::string head = "T41.50\r\nN\"\",\"\",\"\x81\x99\x82\x98\",\"\"\r\n|\r\n";
    ASSERT_EQ(files.bmm, head + ReferenceBlocks(doc) + "|\r\n|\r\n*\r\n") << "round " << round;
  }
}

}  // namespace
}  // namespace beatloom
