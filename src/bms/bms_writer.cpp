#include "bms/bms_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "bms/bms_reader.h"
#include "bms/index_radix.h"
#include "model/file_io.h"
#include "model/text_scan.h"
#include "model/timing_values.h"

namespace beatloom {

namespace {

constexpr int kMaxPos = MeasureCount * TicksPerMeasure - 1;
constexpr int kTempoColumn = 0;
// After the hidden notes' columns 50..67.
constexpr int kDefinedTempoColumn = 68;
constexpr int kStopColumn = 69;

int ColumnOf(const TBmsObject& o) {
  if (o.Lane >= 1 && o.Lane <= 18) return o.Hidden ? o.Lane + 49 : o.Lane;
  if (o.Lane == TempoLane && o.Defined) return kDefinedTempoColumn;
  if (o.Lane == StopLane) return kStopColumn;
  // A hidden mark on any other lane means nothing in the file; the object is
  // written as an ordinary one rather than lost.
  return o.Lane <= LastBgmLane ? o.Lane : -1;
}

int ChannelOfColumn(int c) {
  if (c == kTempoColumn) return 3;
  if (c <= 9) return MapChannel(c + 10);
  if (c <= 18) return MapChannel(c + 11);
  if (c == 19) return 4;
  if (c == 20) return 7;
  if (c == 21) return 6;
  if (c <= 49) return 1;
  if (c <= 58) return MapChannel(c - 19);
  if (c == kDefinedTempoColumn) return 8;
  if (c == kStopColumn) return 9;
  return MapChannel(c - 18);
}

bool IsBgmColumn(int c) { return c >= FirstBgmLane && c <= LastBgmLane; }

// Tempo cells are hexadecimal numbers, not definition indices.
void FormatTempoCell(int v, char* out) {
  static const char* digits = "0123456789ABCDEF";
  out[0] = digits[(v >> 4) & 15];
  out[1] = digits[v & 15];
}

std::string DataLinePrefix(int measure, int channel) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%05d:", measure * 100 + channel);
  return buf;
}

bool IsMeasureLine(std::string_view line) {
  return line.size() >= 4 && line[0] == '#' &&
         std::all_of(line.begin() + 1, line.begin() + 4, [](char c) { return c >= '0' && c <= '9'; });
}

int MeasureOfLine(std::string_view line) { return (line[1] - '0') * 100 + (line[2] - '0') * 10 + (line[3] - '0'); }

struct KeptLines {
  std::vector<std::string_view> extension;    // written before the data
  std::vector<std::string_view> conditional;  // #IF blocks, after the extension lines
  int unclosed = 0;                           // #IF lines the block leaves open
  std::vector<std::vector<std::string_view>> byMeasure = std::vector<std::vector<std::string_view>>(MeasureCount);
  int lastMeasure = -1;
};

KeptLines SortKeptLines(const std::vector<std::string>& mcom) {
  KeptLines kept;
  int depth = 0;
  for (const std::string& line : mcom) {
    const ConditionalKind kind = ClassifyConditional(line);
    if (kind != ConditionalKind::None || depth > 0) {
      if (kind == ConditionalKind::Open) ++depth;
      if (kind == ConditionalKind::Close && depth > 0) --depth;
      kept.conditional.push_back(line);
    } else if (IsMeasureLine(line)) {
      const int m = MeasureOfLine(line);
      kept.byMeasure[m].push_back(line);
      kept.lastMeasure = std::max(kept.lastMeasure, m);
    } else {
      kept.extension.push_back(line);
    }
  }
  kept.unclosed = depth;
  return kept;
}

struct Cell {
  int measure;
  int column;
  int offset;
  int value;
};

// The #BPMxx and #STOPxx blocks; a chart without any writes nothing here.
void WriteTimingDefinitions(const Document& doc, std::string& out) {
  for (const bool stop : {false, true}) {
    const std::vector<std::string>& table = stop ? doc.stopDefs : doc.bpmDefs;
    bool any = false;
    for (size_t k = 1; k < table.size(); ++k) {
      if (table[k].empty()) continue;
      AppendLine(out, (stop ? "#STOP" : "#BPM") + doc.indices.Format(static_cast<int>(k)) + " " + table[k]);
      any = true;
    }
    if (any) AppendLine(out, "");
  }
}

// The optional header lines (#SUBTITLE, ...) that stood at place, in the
// order they stood in; an empty one is not written.
void WriteOptionalHeaders(const HeaderFields& h, HeaderPlace place, std::string& out) {
  std::vector<const OptionalHeaderRef*> here;
  for (const OptionalHeaderRef& ref : OptionalHeaders())
    if (h.Spot(ref.line).place == place) here.push_back(&ref);
  std::stable_sort(here.begin(), here.end(), [&h](const OptionalHeaderRef* a, const OptionalHeaderRef* b) {
    return h.Spot(a->line).order < h.Spot(b->line).order;
  });
  const auto write = [&out](const char* keyword, const std::string& value) {
    if (!value.empty()) AppendLine(out, std::string(keyword) + " " + value);
  };
  for (const OptionalHeaderRef* ref : here) {
    if (ref->field) {
      write(ref->keyword, h.*ref->field);
    } else {
      for (const std::string& name : h.e_subartist) write(ref->keyword, name);
    }
  }
}

void WriteHeader(const Document& doc, std::string& out) {
  const HeaderFields& h = doc.header;
  const auto optional = [&h, &out](HeaderPlace place) { WriteOptionalHeaders(h, place, out); };
  for (const std::string& line : doc.mmemo) AppendLine(out, line);
  AppendLine(out, "");
  AppendLine(out, "*---------------------- HEADER FIELD");
  // Before anything that holds an index, so that a player knows how to read it.
  if (doc.indices.Radix() == DefinitionIndex::Base62) AppendLine(out, "#BASE 62");
  optional(HeaderPlace::Top);
  if (h.cbpmode >= 0 && h.cbpmode <= 2) AppendLine(out, "#PLAYER " + std::to_string(h.cbpmode + 1));
  optional(HeaderPlace::Player);
  AppendLine(out, "#GENRE " + h.e_genre);
  optional(HeaderPlace::Genre);
  AppendLine(out, "#TITLE " + h.e_title);
  optional(HeaderPlace::Title);
  AppendLine(out, "#ARTIST " + h.e_art);
  optional(HeaderPlace::Artist);
  if (!h.e_bpm.empty()) AppendLine(out, "#BPM " + h.e_bpm);
  optional(HeaderPlace::Bpm);
  if (!h.e_midif.empty()) AppendLine(out, "#MIDIFILE " + h.e_midif);
  optional(HeaderPlace::Midifile);
  if (!h.e_level.empty()) AppendLine(out, "#PLAYLEVEL " + h.e_level);
  optional(HeaderPlace::Playlevel);
  if (h.cbrank > 0) AppendLine(out, "#RANK " + std::to_string(h.cbrank - 1));
  optional(HeaderPlace::Rank);
  if (!h.e_volwav.empty()) AppendLine(out, "#VOLWAV " + h.e_volwav);
  optional(HeaderPlace::Volwav);
  if (!h.e_total.empty()) AppendLine(out, "#TOTAL " + h.e_total);
  optional(HeaderPlace::Total);
  AppendLine(out, "#STAGEFILE " + h.E_Stagefile);
  optional(HeaderPlace::Stagefile);
  AppendLine(out, "%EMAIL " + h.E_Email);
  optional(HeaderPlace::Email);
  AppendLine(out, "%URL " + h.E_URL);
  optional(HeaderPlace::Url);
  AppendLine(out, "");
  const DefinitionIndex& indices = doc.indices;
  for (int k = DefinitionIndex::FirstWav; k <= indices.HighestWav(); ++k)
    if (!doc.wav[k].empty()) AppendLine(out, "#WAV" + indices.Format(k) + " " + doc.wav[k]);
  AppendLine(out, "");
  for (int k = DefinitionIndex::FirstBmp; k <= indices.HighestBmp(); ++k)
    if (!doc.bmp[k].empty()) AppendLine(out, "#BMP" + indices.Format(k) + " " + doc.bmp[k]);
  AppendLine(out, "");
  WriteTimingDefinitions(doc, out);
  optional(HeaderPlace::Definitions);
}

// Writes one column's data line at the coarsest resolution that places every
// object of it exactly and has at least minCells cells.
void WriteColumnLine(std::string& out, int measure, int column, const Cell* first, const Cell* last, int minCells,
                     const DefinitionIndex& indices) {
  static const int kSteps[] = {192, 96, 48, 24, 12, 6, 3, 64, 32, 16, 8, 4, 2, 1};
  int step = 1;
  for (int j : kSteps) {
    if (TicksPerMeasure / j < minCells) continue;
    if (std::all_of(first, last, [j](const Cell& c) { return c.offset % j == 0; })) {
      step = j;
      break;
    }
  }
  const int n = TicksPerMeasure / step;
  std::string line = DataLinePrefix(measure, ChannelOfColumn(column));
  const size_t cellsAt = line.size();
  line.append(static_cast<size_t>(n) * 2, '0');
  const bool tempo = column == kTempoColumn;
  for (const Cell* c = first; c != last; ++c) {
    char* cell = line.data() + cellsAt + 2 * (c->offset / step);
    if (tempo) {
      FormatTempoCell(c->value, cell);
    } else {
      indices.FormatCell(c->value, cell);
    }
  }
  AppendLine(out, line);
}

}  // namespace

int ParseMinCells(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool neg = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
  if (i == text.size()) return 1;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return 1;
    v = std::min<long long>(v * 10 + (text[i] - '0'), 1000000);
  }
  return static_cast<int>(neg ? -v : v);
}

namespace {

// A measure that holds a background line kept as text (one the reader found
// no lane for) keeps its lanes, placeholders and all: packed, they would
// leave room for that line on the next load, and the chart would change.
bool HoldsKeptBackgroundLine(const std::vector<std::string_view>& measureLines) {
  return std::any_of(measureLines.begin(), measureLines.end(),
                     [](std::string_view line) { return line.size() >= 6 && line.substr(4, 2) == "01"; });
}

}  // namespace

void PackBgmLanes(Document& doc) {
  const KeptLines kept = SortKeptLines(doc.mcom);
  // Positions never interact, so each position's background objects are
  // packed on their own, in list order; counting the lanes in use makes each
  // object cost the lanes it looks at, however many share its position.
  std::vector<int> order;
  for (int i = 0; i <= doc.ObjLast(); ++i) {
    const TBmsObject& o = doc.ObjList[i];
    if (o.Lane <= 21 || o.Lane > LastBgmLane) continue;
    if (o.Pos >= 0 && o.Pos <= kMaxPos && HoldsKeptBackgroundLine(kept.byMeasure[o.Pos / TicksPerMeasure])) continue;
    order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&doc](int a, int b) { return doc.ObjList[a].Pos < doc.ObjList[b].Pos; });
  for (size_t first = 0; first < order.size();) {
    size_t last = first;
    while (last < order.size() && doc.ObjList[order[last]].Pos == doc.ObjList[order[first]].Pos) ++last;
    std::array<int, 64> inUse{};
    for (size_t k = first; k < last; ++k)
      if (doc.ObjList[order[k]].Lane < inUse.size()) ++inUse[doc.ObjList[order[k]].Lane];
    for (size_t k = first; k < last; ++k) {
      uint8_t& lane = doc.ObjList[order[k]].Lane;
      if (lane <= FirstBgmLane) continue;
      if (lane < inUse.size()) --inUse[lane];
      int free = FirstBgmLane;
      while (free <= LastBgmLane && inUse[free] > 0) ++free;
      if (free <= LastBgmLane) lane = static_cast<uint8_t>(free);
      if (lane < inUse.size()) ++inUse[lane];
    }
    first = last;
  }
}

std::string WriteBmsText(const Document& doc, const SaveOptions& options) {
  std::string out;
  out.reserve(64 * 1024 + doc.ObjList.size() * 8);
  // A first memo line that itself begins with a byte-order mark would lose it
  // to the next load, which takes a mark at the start for the file's own.
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (doc.hasBom || (!doc.mmemo.empty() && doc.mmemo.front().starts_with(kBom))) out.append(kBom);
  WriteHeader(doc, out);

  const KeptLines kept = SortKeptLines(doc.mcom);
  // A "#BASE 62" typed into the kept lines is the one the header already has.
  const bool base62 = doc.indices.Radix() == DefinitionIndex::Base62;
  for (std::string_view line : kept.extension)
    if (!base62 || !IsBase62Line(line)) AppendLine(out, line);
  for (std::string_view line : kept.conditional) AppendLine(out, line);
  // An #IF left open would swallow every data line written after it.
  for (int i = 0; i < kept.unclosed; ++i) AppendLine(out, "#ENDIF");
  AppendLine(out, "");
  AppendLine(out, "*---------------------- MAIN DATA FIELD");

  std::vector<Cell> cells;
  cells.reserve(doc.ObjList.size());
  int lastMeasure = std::max(0, kept.lastMeasure);
  for (const TBmsObject& o : doc.ObjList) {
    const int column = ColumnOf(o);
    // Positions outside measures 000..999 have no place in the file format.
    if (column < 0 || o.Pos < 0 || o.Pos > kMaxPos) continue;
    const int m = o.Pos / TicksPerMeasure;
    cells.push_back({m, column, o.Pos % TicksPerMeasure, o.Value});
    lastMeasure = std::max(lastMeasure, m);
  }
  for (int m = 0; m < MeasureCount; ++m)
    if (doc.MeasureLen[m] != 1.0) lastMeasure = std::max(lastMeasure, m);
  std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
    if (a.measure != b.measure) return a.measure < b.measure;
    if (a.column != b.column) return a.column < b.column;
    return a.offset < b.offset;
  });

  const int minCells = std::max(1, options.minCells);
  const Cell* cur = cells.data();
  const Cell* end = cells.data() + cells.size();
  for (int m = 0; m <= lastMeasure; ++m) {
    if (doc.MeasureLen[m] != 1.0) AppendLine(out, DataLinePrefix(m, 2) + ShortestDecimal(doc.MeasureLen[m]));
    int pendingPlaceholders = 0;
    int previousColumn = -1;
    while (cur != end && cur->measure == m) {
      const Cell* groupEnd = cur;
      while (groupEnd != end && groupEnd->measure == m && groupEnd->column == cur->column) ++groupEnd;
      // The timing columns come last: no background line follows them to keep its lane.
      const bool timing = cur->column >= kDefinedTempoColumn;
      if (!timing && (options.keepLayout || HoldsKeptBackgroundLine(kept.byMeasure[m]))) {
        for (int c = previousColumn + 1; c < cur->column; ++c)
          if (IsBgmColumn(c)) ++pendingPlaceholders;
      }
      for (; pendingPlaceholders > 0; --pendingPlaceholders) AppendLine(out, DataLinePrefix(m, 1) + "00");
      WriteColumnLine(out, m, cur->column, cur, groupEnd, minCells, doc.indices);
      previousColumn = cur->column;
      cur = groupEnd;
    }
    AppendLine(out, "");
    for (std::string_view line : kept.byMeasure[m]) AppendLine(out, line);
  }
  return out;
}

namespace {

// A tempo beyond what a channel 03 cell holds is written through a definition.
void DefineWideTempos(Document& doc) {
  for (TBmsObject& o : doc.ObjList)
    if (o.Lane == TempoLane && !o.Defined && o.Value > kHighestPlainTempo) SetTimingValue(doc, o, o.Value);
}

}  // namespace

void TidyForSave(Document& doc, const SaveOptions& options) {
  DefineWideTempos(doc);
  doc.RemoveDuplicates();
  if (!options.keepLayout) PackBgmLanes(doc);
}

bool WriteBmsFile(const Document& doc, const std::string& path, const SaveOptions& options, Log& log,
                  std::string* error) {
  log.Clear();
  log.Add("filename:" + path);
  std::string reason;
  const std::string bytes = WriteBmsText(doc, options);
  const bool written =
      options.workingFile ? WriteWorkingFile(path, bytes, &reason) : WriteFileAtomically(path, bytes, &reason);
  if (!written) {
    if (error) *error = std::string(kSaveFailedMessage) + "\n" + reason;
    return false;
  }
  log.Add("正常に保存が完了しました。");
  return true;
}

bool SaveBmsFile(const Document& doc, const std::string& path, const SaveOptions& options, Log& log,
                 std::string* error) {
  Document tidied = doc;
  TidyForSave(tidied, options);
  return WriteBmsFile(tidied, path, options, log, error);
}

}  // namespace beatloom
