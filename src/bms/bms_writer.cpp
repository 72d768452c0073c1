#include "bms/bms_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "bms/bms_reader.h"
#include "bms/index_radix.h"
#include "model/file_io.h"
#include "model/text_scan.h"
#include "model/timing_values.h"

namespace beatloom {

namespace {

constexpr int kMaxPos = MeasureCount * TicksPerMeasure - 1;
// Columns order a measure's data lines. Lanes 0..49 are their own columns;
// the background lanes after the stop lane follow lane 49, so that a
// measure's background lines come in lane order and a load gives each line
// back its lane.
constexpr int kTempoColumn = 0;
constexpr int kLastBgmColumn = LastFixedBgmLane + LaneCount - FirstExtraBgmLane;
// Hidden notes: lane + kHiddenColumnBase, after the background columns.
constexpr int kHiddenColumnBase = kLastBgmColumn;
constexpr int kDefinedTempoColumn = kHiddenColumnBase + LastKeyLane + 1;
constexpr int kStopColumn = kDefinedTempoColumn + 1;
// Long notes written on channels 51-59 / 61-69: lane + kLongColumnBase, after the stops.
constexpr int kLongColumnBase = kStopColumn;
constexpr int kColumnCount = kLongColumnBase + LastKeyLane + 1;
// The longest data line the writer makes; a place that needs more cells is
// rounded to the nearest cell of such a line (and the save log says so).
constexpr uint64_t kMaxLineCells = uint64_t{1} << 22;

int ColumnOf(const TBmsObject& o) {
  if (o.Lane >= FirstKeyLane && o.Lane <= LastKeyLane && OnLongChannel(o)) return o.Lane + kLongColumnBase;
  if (o.Lane >= 1 && o.Lane <= 18) return o.Hidden ? o.Lane + kHiddenColumnBase : o.Lane;
  if (o.Lane == TempoLane && o.Defined) return kDefinedTempoColumn;
  if (o.Lane == StopLane) return kStopColumn;
  // A hidden mark on any other lane means nothing in the file; the object is
  // written as an ordinary one rather than lost.
  if (o.Lane >= FirstExtraBgmLane) return o.Lane - FirstExtraBgmLane + LastFixedBgmLane + 1;
  return o.Lane;
}

int ChannelOfColumn(int c) {
  if (c == kTempoColumn) return 3;
  if (c <= 9) return MapChannel(c + 10);
  if (c <= 18) return MapChannel(c + 11);
  if (c == 19) return 4;
  if (c == 20) return 7;
  if (c == 21) return 6;
  if (c <= kLastBgmColumn) return 1;
  if (c == kDefinedTempoColumn) return 8;
  if (c == kStopColumn) return 9;
  if (c > kLongColumnBase) {
    const int lane = c - kLongColumnBase;
    return MapChannel(lane <= 9 ? lane + 10 : lane + 11) + 40;
  }
  const int hiddenLane = c - kHiddenColumnBase;
  return MapChannel(hiddenLane <= 9 ? hiddenLane + 30 : hiddenLane + 31);
}

bool IsBgmColumn(int c) { return c >= FirstBgmLane && c <= kLastBgmColumn; }

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

// One object as the data field writes it: measure, column and tick packed
// into one key that sorts them in writing order, then the fraction of a tick.
static_assert(kColumnCount <= 512 && uint64_t{MeasureCount} << 17 <= UINT32_MAX);
struct Cell {
  uint32_t key;
  int value;
  uint32_t offNum;
  uint32_t offDen;

  static Cell Of(int measure, int column, int offset, int value, uint32_t offNum, uint32_t offDen) {
    return {static_cast<uint32_t>(measure) << 17 | static_cast<uint32_t>(column) << 8 | static_cast<uint32_t>(offset),
            value, offNum, offDen};
  }
  int measure() const { return static_cast<int>(key >> 17); }
  int column() const { return static_cast<int>(key >> 8 & 0x1FF); }
  int offset() const { return static_cast<int>(key & 0xFF); }
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

bool CellBefore(const Cell& a, const Cell& b) {
  if (a.key != b.key) return a.key < b.key;
  return uint64_t{a.offNum} * b.offDen < uint64_t{b.offNum} * a.offDen;
}

// True when a long note goes on the long-note channels: an "#LNOBJ" note
// needs the chart's #LNOBJ line, else it is written the other way.
bool WrittenOnLongChannel(const TBmsObject& o, bool hasLnObj) {
  return o.Lane >= FirstKeyLane && o.Lane <= LastKeyLane &&
         (OnLongChannel(o) || (o.Long == LongByLnObj && !hasLnObj));
}

// A chart that writes long-note channels without saying how to read them
// says "#LNTYPE 1", the reading every player takes for them.
HeaderFields HeaderToWrite(const Document& doc) {
  HeaderFields h = doc.header;
  if (!h.e_lntype.empty()) return h;
  const bool hasLnObj = LnObjIndex(doc).has_value();
  if (std::any_of(doc.ObjList.begin(), doc.ObjList.end(),
                  [hasLnObj](const TBmsObject& o) { return WrittenOnLongChannel(o, hasLnObj); }))
    h.e_lntype = "1";
  return h;
}

void WriteHeader(const Document& doc, std::string& out) {
  const HeaderFields h = HeaderToWrite(doc);
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

void FormatCell(const DefinitionIndex& indices, bool tempo, int value, char* cell) {
  if (tempo) {
    FormatTempoCell(value, cell);
  } else {
    indices.FormatCell(value, cell);
  }
}

// Writes one column's data line at the coarsest resolution that places every
// object of it exactly and has at least minCells cells; every object stands
// on a tick.
void WriteGridLine(std::string& out, int measure, int column, const Cell* first, const Cell* last, int minCells,
                   const DefinitionIndex& indices) {
  static const int kSteps[] = {192, 96, 48, 24, 12, 6, 3, 64, 32, 16, 8, 4, 2, 1};
  int step = 1;
  for (int j : kSteps) {
    if (TicksPerMeasure / j < minCells) continue;
    if (std::all_of(first, last, [j](const Cell& c) { return c.offset() % j == 0; })) {
      step = j;
      break;
    }
  }
  const int n = TicksPerMeasure / step;
  std::string line = DataLinePrefix(measure, ChannelOfColumn(column));
  const size_t cellsAt = line.size();
  line.append(static_cast<size_t>(n) * 2, '0');
  const bool tempo = column == kTempoColumn;
  for (const Cell* c = first; c != last; ++c)
    FormatCell(indices, tempo, c->value, line.data() + cellsAt + 2 * (c->offset() / step));
  AppendLine(out, line);
}

// Objects between ticks sit at p/q of their measure. Objects whose places
// together need more cells than this go on further lines of the same
// channel and measure, which players read together; the objects of one
// line of the file always fit on one line again, however long it was.
constexpr uint64_t kJointCellLimit = 1024;

struct ExactCell {
  uint64_t p;  // cell p of a line of q cells
  uint64_t q;
  const Cell* cell;
};

ExactCell ExactCellOf(const Cell& c) {
  const uint64_t q = uint64_t{TicksPerMeasure} * c.offDen;
  const uint64_t p = static_cast<uint64_t>(c.offset()) * c.offDen + c.offNum;
  const uint64_t g = std::gcd(p, q);
  ExactCell e{p / g, q / g, &c};
  if (e.q > kMaxLineCells) {
    // No line that long is written: the nearest cell of the longest line.
    e.p = std::min<uint64_t>((e.p * kMaxLineCells * 2 + e.q) / (e.q * 2), kMaxLineCells - 1);
    e.q = kMaxLineCells;
    const uint64_t h = std::gcd(e.p, e.q);
    e.p /= h;
    e.q /= h;
  }
  return e;
}

// The column's objects where some stand between ticks: as few lines as the
// cell limit allows, each with the fewest cells that hold its objects exactly
// (and at least minCells).
void WriteExactLines(std::string& out, int measure, int column, const Cell* first, const Cell* last, int minCells,
                     const DefinitionIndex& indices) {
  struct Line {
    uint64_t cells = 1;
    uint64_t widest = 1;
    std::vector<ExactCell> members;
  };
  std::vector<Line> lines;
  for (const Cell* c = first; c != last; ++c) {
    const ExactCell e = ExactCellOf(*c);
    Line* home = nullptr;
    for (Line& line : lines) {
      const uint64_t joint = std::lcm(line.cells, e.q);
      if (joint <= std::max({kJointCellLimit, line.widest, e.q})) {
        home = &line;
        break;
      }
    }
    if (!home) home = &lines.emplace_back();
    home->cells = std::lcm(home->cells, e.q);
    home->widest = std::max(home->widest, e.q);
    home->members.push_back(e);
  }
  const bool tempo = column == kTempoColumn;
  for (const Line& l : lines) {
    uint64_t n = l.cells;
    if (n < static_cast<uint64_t>(minCells)) n *= (static_cast<uint64_t>(minCells) + n - 1) / n;
    std::string line = DataLinePrefix(measure, ChannelOfColumn(column));
    const size_t cellsAt = line.size();
    line.append(static_cast<size_t>(n) * 2, '0');
    for (const ExactCell& e : l.members)
      FormatCell(indices, tempo, e.cell->value, line.data() + cellsAt + 2 * (e.p * (n / e.q)));
    AppendLine(out, line);
  }
}

void WriteLayer(std::string& out, int measure, int column, const Cell* first, const Cell* last, int minCells,
                const DefinitionIndex& indices) {
  if (std::all_of(first, last, [](const Cell& c) { return c.offNum == 0; })) {
    WriteGridLine(out, measure, column, first, last, minCells, indices);
  } else {
    WriteExactLines(out, measure, column, first, last, minCells, indices);
  }
}

bool SamePlace(const Cell& a, const Cell& b) { return a.key == b.key && a.offNum == b.offNum && a.offDen == b.offDen; }

// Objects that share a place (stops, which add up) cannot share a cell: the
// second of a place goes on a second line, and so on, in the order they
// stand, so that a player reads them in that order again.
void WriteColumnLine(std::string& out, int measure, int column, const Cell* first, const Cell* last, int minCells,
                     const DefinitionIndex& indices) {
  bool stacked = false;
  for (const Cell* c = first; c + 1 < last && !stacked; ++c) stacked = SamePlace(*c, c[1]);
  if (!stacked) {
    WriteLayer(out, measure, column, first, last, minCells, indices);
    return;
  }
  std::vector<std::vector<Cell>> layers;
  size_t depth = 0;
  for (const Cell* c = first; c != last; ++c) {
    depth = c != first && SamePlace(c[-1], *c) ? depth + 1 : 0;
    if (layers.size() <= depth) layers.emplace_back();
    layers[depth].push_back(*c);
  }
  for (const std::vector<Cell>& layer : layers)
    WriteLayer(out, measure, column, layer.data(), layer.data() + layer.size(), minCells, indices);
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
    if (!IsBgmLane(o.Lane)) continue;
    if (o.Pos >= 0 && o.Pos <= kMaxPos && HoldsKeptBackgroundLine(kept.byMeasure[o.Pos / TicksPerMeasure])) continue;
    order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&doc](int a, int b) { return doc.ObjList[a].Pos < doc.ObjList[b].Pos; });
  // By background lane index; each position leaves it empty again.
  std::array<int, BgmLaneLimit> inUse{};
  for (size_t first = 0; first < order.size();) {
    size_t last = first;
    while (last < order.size() && doc.ObjList[order[last]].Pos == doc.ObjList[order[first]].Pos) ++last;
    for (size_t k = first; k < last; ++k) ++inUse[BgmIndexOf(doc.ObjList[order[k]].Lane)];
    for (size_t k = first; k < last; ++k) {
      uint8_t& lane = doc.ObjList[order[k]].Lane;
      const int index = BgmIndexOf(lane);
      if (index == 0) continue;
      --inUse[index];
      int free = 0;
      while (free < BgmLaneLimit && inUse[free] > 0) ++free;
      if (free < BgmLaneLimit) lane = static_cast<uint8_t>(BgmLaneAt(free));
      ++inUse[BgmIndexOf(lane)];
    }
    for (size_t k = first; k < last; ++k) inUse[BgmIndexOf(doc.ObjList[order[k]].Lane)] = 0;
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
  const std::optional<int> lnobj = LnObjIndex(doc);
  const auto addCell = [&cells, &lastMeasure](int column, int32_t pos, int value, uint32_t offNum, uint32_t offDen) {
    // Positions outside measures 000..999 have no place in the file format.
    if (column < 0 || pos < 0 || pos > kMaxPos) return;
    const int m = pos / TicksPerMeasure;
    cells.push_back(Cell::Of(m, column, pos % TicksPerMeasure, value, offNum, offDen));
    lastMeasure = std::max(lastMeasure, m);
  };
  for (const TBmsObject& o : doc.ObjList) {
    const bool longChannel = WrittenOnLongChannel(o, lnobj.has_value());
    const int column = longChannel ? o.Lane + kLongColumnBase : ColumnOf(o);
    addCell(column, o.Pos, o.Value, o.OffNum, o.OffDen);
    // A held note off the visible key lanes has no channel for its end; its
    // start is written as it stands.
    const bool keyNote = o.Lane >= FirstKeyLane && o.Lane <= LastKeyLane && !o.Hidden;
    if (!IsLongNote(o) || !keyNote || (!longChannel && !lnobj)) continue;
    // The end: its own cell on the long-note channel, or a note with the
    // #LNOBJ value beside the start.
    const int endValue = longChannel ? (o.EndValue ? o.EndValue : o.Value) : *lnobj;
    addCell(column, o.EndPos, endValue, o.EndOffNum, o.EndOffDen);
  }
  for (int m = 0; m < MeasureCount; ++m)
    if (doc.MeasureLen[m] != 1.0) lastMeasure = std::max(lastMeasure, m);
  std::stable_sort(cells.begin(), cells.end(), CellBefore);

  const int minCells = std::max(1, options.minCells);
  const Cell* cur = cells.data();
  const Cell* end = cells.data() + cells.size();
  for (int m = 0; m <= lastMeasure; ++m) {
    if (doc.MeasureLen[m] != 1.0) AppendLine(out, DataLinePrefix(m, 2) + ShortestDecimal(doc.MeasureLen[m]));
    int pendingPlaceholders = 0;
    int previousColumn = -1;
    while (cur != end && cur->measure() == m) {
      const Cell* groupEnd = cur;
      while (groupEnd != end && groupEnd->measure() == m && groupEnd->column() == cur->column()) ++groupEnd;
      // The timing and long-note columns come last: no background line
      // follows them to keep its lane. The 28 numbered lanes are all written
      // out before a later line; a further lane only where a background line
      // after it needs it to keep its lane.
      const bool timing = cur->column() >= kDefinedTempoColumn;
      const bool beforeBgmLine = IsBgmColumn(cur->column());
      if (!timing && (options.keepLayout || HoldsKeptBackgroundLine(kept.byMeasure[m]))) {
        for (int c = previousColumn + 1; c < cur->column(); ++c)
          if (IsBgmColumn(c) && (c <= LastFixedBgmLane || beforeBgmLine)) ++pendingPlaceholders;
      }
      for (; pendingPlaceholders > 0; --pendingPlaceholders) AppendLine(out, DataLinePrefix(m, 1) + "00");
      WriteColumnLine(out, m, cur->column(), cur, groupEnd, minCells, doc.indices);
      previousColumn = cur->column();
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

size_t RoundedOnWrite(const Document& doc) {
  size_t rounded = 0;
  for (const TBmsObject& o : doc.ObjList) {
    if (OnGrid(o)) continue;
    const auto offset = static_cast<uint64_t>(((o.Pos % TicksPerMeasure) + TicksPerMeasure) % TicksPerMeasure);
    const uint64_t q = uint64_t{TicksPerMeasure} * o.OffDen;
    if (q / std::gcd(offset * o.OffDen + o.OffNum, q) > kMaxLineCells) ++rounded;
  }
  return rounded;
}

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
  if (const size_t rounded = RoundedOnWrite(doc))
    log.Add("位置を表せる行が長すぎるため、" + std::to_string(rounded) + " 個のオブジェを最も近い位置に丸めました。");
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
