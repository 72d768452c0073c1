#include "analysis/chart_timing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "bms/bms_reader.h"
#include "model/text_scan.h"
#include "model/timing_values.h"

namespace beatloom {

namespace {

// A stop counts in 1/192 of a 4/4 measure: 4 beats of 60/bpm seconds.
constexpr double kWholeNoteBeats = 4.0;
constexpr double kSecondsPerMinute = 60.0;

double TickSeconds(double measureLength, double bpm) {
  return measureLength * kWholeNoteBeats * kSecondsPerMinute / (TicksPerMeasure * bpm);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "#BPMxx value" or "#STOPxx value": the index must be followed by a blank,
// so that "#BPM150" (a header tempo written without a blank) is not one.
bool ReadDefinition(const Document& doc, std::string_view line, std::string_view keyword, size_t mcomIndex,
                    std::unordered_map<int, KeptTimingLines::Definition>& into) {
  if (!StartsWithNoCase(line, keyword)) return false;
  const size_t at = keyword.size();
  if (line.size() < at + 3 || (line[at + 2] != ' ' && line[at + 2] != '\t')) return false;
  const std::optional<int> index = doc.indices.Parse(line.substr(at, 2));
  if (!index) return false;
  double value = std::numeric_limits<double>::quiet_NaN();
  if (!ParseDecimalNumber(line.substr(at + 3), value)) value = std::numeric_limits<double>::quiet_NaN();
  into[*index] = {value, mcomIndex};
  return true;
}

// "#mmm08:cells" or "#mmm09:cells". A line with a malformed cell counts for
// nothing, as the reader treats such data lines.
void ReadCells(const Document& doc, std::string_view line, std::vector<KeptTimingLines::Cell>& into) {
  if (line.size() < 7 || line[0] != '#' || !IsDigit(line[1]) || !IsDigit(line[2]) || !IsDigit(line[3])) return;
  if (line[4] != '0' || (line[5] != '8' && line[5] != '9')) return;
  const bool stop = line[5] == '9';
  const int measure = (line[1] - '0') * 100 + (line[2] - '0') * 10 + (line[3] - '0');
  std::string_view data = line.substr(7);
  while (!data.empty() && (data.back() == ' ' || data.back() == '\t')) data.remove_suffix(1);
  const size_t n = data.size() / 2;
  const size_t first = into.size();
  for (size_t i = 0; i < n; ++i) {
    const int value = doc.indices.CellValue(data[2 * i], data[2 * i + 1]);
    if (value < 0) {
      into.resize(first);
      return;
    }
    if (value == 0) continue;
    const int pos = measure * TicksPerMeasure + CellTick(static_cast<long long>(i), static_cast<long long>(n));
    into.push_back({pos, value, stop});
  }
}

struct Event {
  int pos;
  int kind;  // 0 channel 03 tempo, 1 extended tempo, 2 stop: the order on one tick
  int order;
  double value;
  bool operator<(const Event& o) const {
    if (pos != o.pos) return pos < o.pos;
    if (kind != o.kind) return kind < o.kind;
    return order < o.order;
  }
};

// Tempo changes and stops held as objects. Undefined indices and values of
// 0 or below are ignored; the check names them.
void ObjectEvents(const Document& doc, std::vector<Event>& events) {
  for (size_t i = 0; i < doc.ObjList.size(); ++i) {
    const TBmsObject& o = doc.ObjList[i];
    if (o.Pos < 0 || (o.Lane != TempoLane && o.Lane != StopLane)) continue;
    const std::optional<double> value = o.Lane == TempoLane ? TempoOf(doc, o) : StopLengthOf(doc, o);
    if (!value || !(*value > 0)) continue;
    const int kind = o.Lane == StopLane ? 2 : o.Defined ? 1 : 0;
    events.push_back({o.Pos, kind, static_cast<int>(i), *value});
  }
}

std::vector<Event> TimingEvents(const Document& doc) {
  std::vector<Event> events;
  ObjectEvents(doc, events);
  const KeptTimingLines kept = ReadKeptTimingLines(doc);
  int order = static_cast<int>(doc.ObjList.size());
  for (const KeptTimingLines::Cell& c : kept.cells) {
    const auto& table = c.stop ? kept.stops : kept.tempos;
    const auto found = table.find(c.index);
    // Undefined indices and values of 0 or below are ignored; the check names them.
    if (c.pos < 0 || found == table.end() || !(found->second.value > 0)) continue;
    events.push_back({c.pos, c.stop ? 2 : 1, order++, found->second.value});
  }
  std::sort(events.begin(), events.end());
  return events;
}

}  // namespace

// The definitions the reader took into the document's tables; kept lines of
// the same index read after them override them, as a later line would.
void ReadDefinitionTables(const Document& doc, KeptTimingLines& kept) {
  for (const bool stop : {false, true}) {
    const std::vector<std::string>& table = stop ? doc.stopDefs : doc.bpmDefs;
    auto& into = stop ? kept.stops : kept.tempos;
    for (size_t k = 1; k < table.size(); ++k) {
      if (table[k].empty()) continue;
      const std::optional<double> value = DefinitionValue(table[k]);
      into[static_cast<int>(k)] = {value ? *value : std::numeric_limits<double>::quiet_NaN(), KeptTimingLines::kTable};
    }
  }
}

KeptTimingLines ReadKeptTimingLines(const Document& doc) {
  KeptTimingLines kept;
  ReadDefinitionTables(doc, kept);
  int depth = 0;
  bool inBlock = false;  // the line before belonged to a conditional block
  for (size_t i = 0; i < doc.mcom.size(); ++i) {
    const std::string_view line = doc.mcom[i];
    const ConditionalKind kind = ClassifyConditional(line);
    if (kind != ConditionalKind::None || depth > 0) {
      // "#RANDOM 2", its "#IF"s and "#ENDRANDOM" stand together: one block.
      if (!inBlock) kept.conditionalBlocks.push_back(i);
      inBlock = true;
      if (kind == ConditionalKind::Open) ++depth;
      if (kind == ConditionalKind::Close && depth > 0) --depth;
      continue;
    }
    inBlock = false;
    if (ReadDefinition(doc, line, "#BPM", i, kept.tempos) || ReadDefinition(doc, line, "#STOP", i, kept.stops))
      continue;
    ReadCells(doc, line, kept.cells);
  }
  return kept;
}

bool HeaderBpm(const Document& doc, double& bpm) {
  double value = 0;
  if (!ParseDecimalNumber(doc.header.e_bpm, value) || !(value > 0)) return false;
  bpm = value;
  return true;
}

double PlayedMeasureLength(const Document& doc, int measure) {
  if (measure < 0 || measure >= MeasureCount) return 1.0;
  const double length = doc.MeasureLen[static_cast<size_t>(measure)];
  return length > 0 ? length : 1.0;
}

ChartTiming::ChartTiming(const Document& doc) {
  if (!HeaderBpm(doc, initialBpm_)) initialBpm_ = kFallbackBpm;
  const std::vector<Event> events = TimingEvents(doc);
  const int lastEventMeasure = events.empty() ? 0 : events.back().pos / TicksPerMeasure;
  const int lastStart = std::max(MeasureCount, lastEventMeasure + 1) * TicksPerMeasure;
  points_.reserve(MeasureCount + events.size() + 1);
  points_.push_back({0, 0.0, 0.0, initialBpm_, TickSeconds(PlayedMeasureLength(doc, 0), initialBpm_)});
  // Appends a point at pos, where no measure starts between the last point and pos.
  auto moveTo = [&](int pos) {
    const Point& last = points_.back();
    const double seconds = last.seconds + last.stop + (pos - last.pos) * last.tickSeconds;
    const double length = PlayedMeasureLength(doc, pos / TicksPerMeasure);
    points_.push_back({pos, seconds, 0.0, last.bpm, TickSeconds(length, last.bpm)});
  };
  int nextStart = TicksPerMeasure;
  size_t e = 0;
  while (e < events.size() || nextStart <= lastStart) {
    const int pos = e < events.size() ? std::min(events[e].pos, nextStart) : nextStart;
    if (pos != points_.back().pos) moveTo(pos);
    if (pos == nextStart) nextStart += TicksPerMeasure;
    Point& here = points_.back();
    for (; e < events.size() && events[e].pos == pos && events[e].kind < 2; ++e) here.bpm = events[e].value;
    here.tickSeconds = TickSeconds(PlayedMeasureLength(doc, pos / TicksPerMeasure), here.bpm);
    // Stops on one tick add up, each measured at the tempo the tick ends with.
    for (; e < events.size() && events[e].pos == pos; ++e) here.stop += events[e].value * TickSeconds(1.0, here.bpm);
  }
  // Times rise with the position, so a point reached in finite time bounds
  // every position before it.
  finiteBefore_ = points_.back().pos;
  for (size_t i = 0; i < points_.size(); ++i) {
    if (std::isfinite(points_[i].seconds + points_[i].stop)) continue;
    finiteBefore_ = i == 0 ? 0 : points_[i - 1].pos;
    break;
  }
}

double ChartTiming::SecondsAt(int pos) const {
  if (points_.empty() || pos < 0) return pos * TickSeconds(1.0, initialBpm_);
  const auto after =
      std::upper_bound(points_.begin(), points_.end(), pos, [](int p, const Point& point) { return p < point.pos; });
  const Point& p = *(after - 1);
  if (p.pos == pos) return p.seconds;
  return p.seconds + p.stop + (pos - p.pos) * p.tickSeconds;
}

int ChartTiming::PosAt(double seconds) const {
  if (points_.empty() || !(seconds > 0)) return 0;
  const auto after = std::upper_bound(points_.begin(), points_.end(), seconds,
                                      [](double s, const Point& point) { return s < point.seconds; });
  const Point& p = *(after - 1);
  // Times that overflowed (inf - inf) compare false everywhere: they stay at the point.
  const double running = seconds - p.seconds - p.stop;
  if (!(running > 0)) return p.pos;
  const double ticks = std::floor(running / p.tickSeconds);
  const int limit = after == points_.end() ? std::numeric_limits<int>::max() : after->pos - 1;
  if (!(ticks < static_cast<double>(limit) - p.pos)) return limit;
  return p.pos + static_cast<int>(ticks);
}

}  // namespace beatloom
