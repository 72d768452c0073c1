#include "formats/bmm_export.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

#include "bms/bms_writer.h"
#include "formats/format_text.h"

namespace beatloom {

namespace {

constexpr int kFactorCount = 1001;

enum class EntryKind : uint8_t { Object = 0, Assignment = 1 };

// One line (or pair of lines) of the sequence. Lane and value are always
// taken from the object, so an assignment speaks of the note it prepares.
struct ExportEntry {
  int object;
  int32_t position;
  EntryKind kind;
};

bool IsExportedLane(int lane) {
  return (lane >= 1 && lane <= 5) || lane == 8 || (lane >= FirstBgmLane && lane <= LastBgmLane);
}
bool IsKeyLane(int lane) { return lane < 10; }

char LaneLetter(int lane) {
  if (lane >= 1 && lane <= 5) return static_cast<char>('A' + lane - 1);
  if (lane == 8) return 'F';
  return static_cast<char>(lane + 75);  // background lanes 22..49: "a".."z", "{", "|"
}

// The target program's own files were always produced with this exchange
// sort, and entries at one position come out in exactly its order; a stable
// sort would reorder them and change the bytes.
void ExchangeSort(std::vector<ExportEntry>& list) {
  const size_t n = list.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    for (size_t j = i + 1; j < n; ++j) {
      if (list[j].position < list[i].position) std::swap(list[i], list[j]);
    }
  }
}

int FloorDiv(int32_t pos) { return pos / TicksPerMeasure; }  // truncating, as the target expects
int TickOf(int32_t pos) { return pos % TicksPerMeasure; }

// Measure-length lines of the extension commands ("#mmm02:f") rescale the
// ticks of their measure; MeasureLen is not what the target format follows.
void ApplyMeasureLengths(const Document& doc, std::vector<ExportEntry>& list, std::array<float, kFactorCount>& factor) {
  factor.fill(1.0f);
  for (const std::string& line : doc.mcom) {
    const std::string_view text(line);
    int channel = 0;
    if (text.size() < 6 || !ParseDecimalInt(text.substr(4, 2), channel) || channel != 2) continue;
    int measure = 0;
    if (!ParseDecimalInt(text.substr(1, 3), measure) || measure < 0 || measure >= kFactorCount) continue;
    double typed = 0;
    if (!ParseDecimalNumber(text.size() > 7 ? text.substr(7) : std::string_view(), typed)) continue;
    const float f = static_cast<float>(typed);
    // A factor that would push a position past 32 bits cannot be written.
    if (!std::isfinite(f) ||
        std::fabs(static_cast<double>(f)) * (TicksPerMeasure - 1) + kFactorCount * TicksPerMeasure >
            static_cast<double>(INT32_MAX))
      continue;
    factor[static_cast<size_t>(measure)] = f;
    for (ExportEntry& e : list) {
      if (FloorDiv(e.position) != measure) continue;
      const double scaled = std::nearbyint(TickOf(e.position) * static_cast<double>(f));
      e.position = static_cast<int32_t>(scaled) + measure * TicksPerMeasure;
    }
  }
}

// Every key note whose sound differs from the previous note of its key gets
// an assignment halfway between them; the first note of a key gets one
// halfway from the start of the song.
void AddAssignments(const Document& doc, std::vector<ExportEntry>& list) {
  const size_t n = list.size();
  list.reserve(2 * n);
  std::array<std::vector<size_t>, LaneCount> earlier;  // entry indices below d, per lane
  for (size_t d = 0; d < n; ++d) {
    const TBmsObject& note = doc.ObjList[static_cast<size_t>(list[d].object)];
    std::vector<size_t>& sameLane = earlier[note.Lane];
    if (IsKeyLane(note.Lane)) {
      // The nearest earlier entry of the lane at a smaller position; entries
      // at the same or a later position are passed over.
      const ExportEntry* previous = nullptr;
      for (size_t k = sameLane.size(); k-- > 0;) {
        if (list[sameLane[k]].position < list[d].position) {
          previous = &list[sameLane[k]];
          break;
        }
      }
      if (!previous) {
        list.push_back({list[d].object, list[d].position / 2, EntryKind::Assignment});
      } else if (doc.ObjList[static_cast<size_t>(previous->object)].Value != note.Value) {
        const int32_t mid = static_cast<int32_t>((static_cast<int64_t>(previous->position) + list[d].position) / 2);
        list.push_back({list[d].object, mid, EntryKind::Assignment});
      }
    }
    sameLane.push_back(d);
  }
}

std::string BuildBml(const Document& doc) {
  std::string out;
  for (int i = 1; i < WavSlots; ++i) {
    const std::string& name = doc.wav[static_cast<size_t>(i)];
    AppendLine(out, name.empty() ? std::string("_") : ToCp932(name, doc.encoding));
  }
  AppendLine(out, ".");
  return out;
}

bool TempoLine(const Document& doc, std::string& line, std::string* error) {
  // In long double, so that 18 digits of the quotient are right before it is
  // rounded to the picture.
  long double tempo = 0;
  if (!ParseDecimalNumber(doc.header.e_bpm, tempo)) {
    if (error) *error = "テンポ「" + ToUtf8(doc.header.e_bpm, doc.encoding) + "」は数値ではありません";
    return false;
  }
  const long double quotient = 4980.0L / tempo;
  if (tempo == 0 || !std::isfinite(quotient)) {
    if (error) *error = "テンポ「" + ToUtf8(doc.header.e_bpm, doc.encoding) + "」では割り算ができません";
    return false;
  }
  line = "T" + FormatRounded(quotient, 2, 2);
  return true;
}

std::string NameLine(const Document& doc) {
  const HeaderFields& h = doc.header;
  const auto quoted = [&](const std::string& s) { return "\"" + ToCp932(s, doc.encoding) + "\""; };
  return "N" + quoted(h.e_genre) + "," + quoted(h.e_title) + ",\"" + FromUtf8("☆ｘ", TextEncoding::Cp932) +
         ToCp932(h.e_level, doc.encoding) + "\"," + quoted(h.e_art);
}

void AppendEntry(const Document& doc, const ExportEntry& e, std::string& out) {
  const TBmsObject& o = doc.ObjList[static_cast<size_t>(e.object)];
  const std::string tick = std::to_string(TickOf(e.position)) + ":";
  if (e.kind == EntryKind::Object) {
    AppendLine(out, tick + LaneLetter(o.Lane));
    return;
  }
  AppendLine(out, tick);
  AppendLine(out, std::string("@") + LaneLetter(o.Lane) + "," + std::to_string(o.Value));
}

void AppendMeasureBlocks(const Document& doc, const std::vector<ExportEntry>& list,
                         const std::array<float, kFactorCount>& factor, std::string& out) {
  // With nothing to export there is no last entry to stop at: no block at all.
  if (list.empty()) return;
  const auto factorOf = [&](int m) { return m >= 0 && m < kFactorCount ? factor[static_cast<size_t>(m)] : 1.0f; };
  const int lastMeasure = FloorDiv(list.back().position);
  size_t next = 0;
  for (int m = 0; m <= lastMeasure; ++m) {
    if (factorOf(m) != 1.0f) {
      AppendLine(out, "B" + FormatRounded(static_cast<double>(factorOf(m)) * TicksPerMeasure, 0, 0));
    } else if (m > 0 && factorOf(m - 1) != 1.0f) {
      AppendLine(out, "B192");
    }
    while (next < list.size() && FloorDiv(list[next].position) < m) ++next;
    for (; next < list.size() && FloorDiv(list[next].position) == m; ++next) AppendEntry(doc, list[next], out);
    AppendLine(out, "|");
  }
}

}  // namespace

bool BuildBmmExport(const Document& doc, BmmExport& files, std::string* error) {
  std::string tempoLine;
  if (!TempoLine(doc, tempoLine, error)) return false;

  std::vector<ExportEntry> list;
  for (size_t i = 0; i < doc.ObjList.size(); ++i) {
    if (IsExportedLane(doc.ObjList[i].Lane))
      list.push_back({static_cast<int>(i), doc.ObjList[i].Pos, EntryKind::Object});
  }
  ExchangeSort(list);
  std::array<float, kFactorCount> factor{};
  ApplyMeasureLengths(doc, list, factor);
  AddAssignments(doc, list);
  ExchangeSort(list);

  files.bml = BuildBml(doc);
  std::string& out = files.bmm;
  out.clear();
  AppendLine(out, tempoLine);
  AppendLine(out, NameLine(doc));
  AppendLine(out, "|");
  AppendMeasureBlocks(doc, list, factor, out);
  AppendLine(out, "|");
  AppendLine(out, "|");
  AppendLine(out, "*");
  return true;
}

std::string BmmFileName(const std::string& chartPath, std::string_view extension) {
  const size_t keep = chartPath.size() >= 3 ? chartPath.size() - 3 : 0;
  return chartPath.substr(0, keep) + std::string(extension);
}

bool ExportBmmFiles(const Document& doc, const std::string& chartPath, std::string* error) {
  BmmExport files;
  if (!BuildBmmExport(doc, files, error)) return false;
  std::string reason;
  if (!WriteFileAtomically(BmmFileName(chartPath, "BML"), files.bml, &reason) ||
      !WriteFileAtomically(BmmFileName(chartPath, "BMM"), files.bmm, &reason)) {
    if (error) *error = reason;
    return false;
  }
  return true;
}

}  // namespace beatloom
