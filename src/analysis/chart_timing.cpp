#include "analysis/chart_timing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

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

// Channel 03 cells are hexadecimal tempos.
int HexCellValue(char high, char low) {
  const int h = HexDigitValue(high);
  const int l = HexDigitValue(low);
  return h < 0 || l < 0 ? -1 : h * 16 + l;
}

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

// "#mmm08:cells" or "#mmm09:cells", and in a taken branch "#mmm03:cells".
// A line with a malformed cell counts for nothing, as the reader treats such
// data lines.
void ReadCells(const Document& doc, std::string_view line, bool taken, std::vector<KeptTimingLines::Cell>& into) {
  if (line.size() < 7 || line[0] != '#' || !IsDigit(line[1]) || !IsDigit(line[2]) || !IsDigit(line[3])) return;
  const bool direct = taken && line.substr(4, 2) == "03";
  if (!direct && (line[4] != '0' || (line[5] != '8' && line[5] != '9'))) return;
  const bool stop = line[5] == '9';
  const int measure = (line[1] - '0') * 100 + (line[2] - '0') * 10 + (line[3] - '0');
  std::string_view data = line.substr(7);
  while (!data.empty() && (data.back() == ' ' || data.back() == '\t')) data.remove_suffix(1);
  const size_t n = data.size() / 2;
  const size_t first = into.size();
  for (size_t i = 0; i < n; ++i) {
    const int value = direct ? HexCellValue(data[2 * i], data[2 * i + 1])
                             : doc.indices.CellValue(data[2 * i], data[2 * i + 1]);
    if (value < 0) {
      into.resize(first);
      return;
    }
    if (value == 0) continue;
    const CellPlace place = PlaceOfCell(static_cast<long long>(i), static_cast<long long>(n));
    const int pos = measure * TicksPerMeasure + place.tick;
    into.push_back({pos, ExactTicks(pos, place.num, place.den), value, stop, direct});
  }
}

// "#mmm02:factor" in a taken branch.
void ReadLength(std::string_view line, std::vector<std::pair<int, double>>& into) {
  if (line.size() < 7 || line[0] != '#' || !IsDigit(line[1]) || !IsDigit(line[2]) || !IsDigit(line[3])) return;
  if (line.substr(4, 2) != "02") return;
  double factor = 0;
  if (!ParseDecimalNumber(line.substr(7), factor)) return;
  into.emplace_back((line[1] - '0') * 100 + (line[2] - '0') * 10 + (line[3] - '0'), factor);
}

struct Event {
  double pos;
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
    events.push_back({ExactTicks(o), kind, static_cast<int>(i), *value});
  }
}

std::vector<Event> TimingEvents(const Document& doc, const KeptTimingLines& kept) {
  std::vector<Event> events;
  ObjectEvents(doc, events);
  int order = static_cast<int>(doc.ObjList.size());
  for (const KeptTimingLines::Cell& c : kept.cells) {
    if (c.direct) {
      events.push_back({c.ticks, 0, order++, static_cast<double>(c.index)});
      continue;
    }
    const auto& table = c.stop ? kept.stops : kept.tempos;
    const auto found = table.find(c.index);
    // Undefined indices and values of 0 or below are ignored; the check names them.
    if (c.pos < 0 || found == table.end() || !(found->second.value > 0)) continue;
    events.push_back({c.ticks, c.stop ? 2 : 1, order++, found->second.value});
  }
  std::sort(events.begin(), events.end());
  return events;
}

// Follows the branches of conditional blocks that do not depend on chance:
// under "#RANDOM 1" every player takes "#IF 1" (or, failing an "#IF 1",
// the "#ELSE"). Any other "#RANDOM" leaves its branches untaken.
class TakenBranches {
 public:
  // Whether the line counts; conditional lines themselves never do.
  bool Feed(std::string_view line, ConditionalKind kind) {
    if (kind == ConditionalKind::None) return std::all_of(frames_.begin(), frames_.end(), [](const Frame& f) {
        return f.taken;
      });
    int n = 0;
    if (kind == ConditionalKind::Open) {
      const bool known = random_ == 1 && ParseDecimalInt(TrimBlanks(line.substr(3)), n);
      frames_.push_back({random_, known, known && n == 1, known && n == 1});
      anyTaken_ = anyTaken_ || frames_.back().taken;
    } else if (kind == ConditionalKind::Close) {
      if (!frames_.empty()) {
        random_ = frames_.back().outerRandom;
        frames_.pop_back();
      }
    } else if (StartsWithNoCase(line, "#ELSEIF") || StartsWithNoCase(line, "#ELSE")) {
      if (!frames_.empty()) {
        Frame& f = frames_.back();
        const bool elseIf = StartsWithNoCase(line, "#ELSEIF");
        const bool match = !elseIf || (ParseDecimalInt(TrimBlanks(line.substr(7)), n) && n == 1);
        f.taken = f.decided && !f.done && match;
        f.done = f.done || f.taken;
        anyTaken_ = anyTaken_ || f.taken;
      }
    } else if (StartsWithNoCase(line, "#RANDOM")) {
      random_ = ParseDecimalInt(TrimBlanks(line.substr(7)), n) && n == 1 ? 1 : 0;
    } else if (StartsWithNoCase(line, "#ENDRANDOM") || StartsWithNoCase(line, "#SETRANDOM")) {
      random_ = 0;
    }
    return false;
  }
  // Whether a branch was taken since the last question.
  bool TakeAnyTaken() { return std::exchange(anyTaken_, false); }

 private:
  struct Frame {
    int outerRandom;
    bool decided;  // the block's choice is known
    bool taken;    // the branch now read is the one chosen
    bool done;     // a branch of this block was chosen
  };
  std::vector<Frame> frames_;
  int random_ = 0;  // 1 under "#RANDOM 1", else 0 (unknown)
  bool anyTaken_ = false;
};

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
  TakenBranches branches;
  const auto closeBlock = [&]() {
    if (inBlock) kept.blockTaken.push_back(branches.TakeAnyTaken() ? 1 : 0);
    inBlock = false;
  };
  for (size_t i = 0; i < doc.mcom.size(); ++i) {
    const std::string_view line = doc.mcom[i];
    const ConditionalKind kind = ClassifyConditional(line);
    if (kind != ConditionalKind::None || depth > 0) {
      // "#RANDOM 2", its "#IF"s and "#ENDRANDOM" stand together: one block.
      if (!inBlock) kept.conditionalBlocks.push_back(i);
      inBlock = true;
      if (kind == ConditionalKind::Open) ++depth;
      if (kind == ConditionalKind::Close && depth > 0) --depth;
      if (!branches.Feed(line, kind)) continue;
      if (ReadDefinition(doc, line, "#BPM", i, kept.tempos) || ReadDefinition(doc, line, "#STOP", i, kept.stops))
        continue;
      ReadLength(line, kept.lengths);
      ReadCells(doc, line, true, kept.cells);
      continue;
    }
    closeBlock();
    if (ReadDefinition(doc, line, "#BPM", i, kept.tempos) || ReadDefinition(doc, line, "#STOP", i, kept.stops))
      continue;
    ReadCells(doc, line, false, kept.cells);
  }
  closeBlock();
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

namespace {

int MeasureOf(double ticks) { return static_cast<int>(std::floor(ticks / TicksPerMeasure)); }

}  // namespace

ChartTiming::ChartTiming(const Document& doc) {
  if (!HeaderBpm(doc, initialBpm_)) initialBpm_ = kFallbackBpm;
  const KeptTimingLines kept = ReadKeptTimingLines(doc);
  const std::vector<Event> events = TimingEvents(doc, kept);
  std::vector<double> lengths(MeasureCount);
  for (int m = 0; m < MeasureCount; ++m) lengths[static_cast<size_t>(m)] = PlayedMeasureLength(doc, m);
  for (const auto& [measure, factor] : kept.lengths)
    if (factor > 0) lengths[static_cast<size_t>(measure)] = factor;
  const auto lengthAt = [&lengths](double ticks) {
    const int m = MeasureOf(ticks);
    return m >= 0 && m < MeasureCount ? lengths[static_cast<size_t>(m)] : 1.0;
  };
  const int lastEventMeasure = events.empty() ? 0 : MeasureOf(events.back().pos);
  const double lastStart = static_cast<double>(std::max(MeasureCount, lastEventMeasure + 1)) * TicksPerMeasure;
  points_.reserve(MeasureCount + events.size() + 1);
  points_.push_back({0, 0.0, 0.0, initialBpm_, TickSeconds(lengthAt(0), initialBpm_)});
  // Appends a point at pos, where no measure starts between the last point and pos.
  auto moveTo = [&](double pos) {
    const Point& last = points_.back();
    const double seconds = last.seconds + last.stop + (pos - last.pos) * last.tickSeconds;
    points_.push_back({pos, seconds, 0.0, last.bpm, TickSeconds(lengthAt(pos), last.bpm)});
  };
  double nextStart = TicksPerMeasure;
  size_t e = 0;
  while (e < events.size() || nextStart <= lastStart) {
    const double pos = e < events.size() ? std::min(events[e].pos, nextStart) : nextStart;
    if (pos != points_.back().pos) moveTo(pos);
    if (pos == nextStart) nextStart += TicksPerMeasure;
    Point& here = points_.back();
    for (; e < events.size() && events[e].pos == pos && events[e].kind < 2; ++e) here.bpm = events[e].value;
    here.tickSeconds = TickSeconds(lengthAt(pos), here.bpm);
    // Stops on one tick add up, each measured at the tempo the tick ends with.
    for (; e < events.size() && events[e].pos == pos; ++e) here.stop += events[e].value * TickSeconds(1.0, here.bpm);
  }
  // Times rise with the position, so a point reached in finite time bounds
  // every position before it.
  const auto tick = [](double pos) { return static_cast<int>(std::floor(pos)); };
  finiteBefore_ = tick(points_.back().pos);
  for (size_t i = 0; i < points_.size(); ++i) {
    if (std::isfinite(points_[i].seconds + points_[i].stop)) continue;
    finiteBefore_ = i == 0 ? 0 : tick(points_[i - 1].pos);
    break;
  }
}

double ChartTiming::SecondsAt(int pos) const { return SecondsAtTicks(pos); }

double ChartTiming::SecondsAt(const TBmsObject& o) const { return SecondsAtTicks(ExactTicks(o)); }

double ChartTiming::SecondsAtTicks(double ticks) const {
  if (points_.empty() || ticks < 0) return ticks * TickSeconds(1.0, initialBpm_);
  const auto after = std::upper_bound(points_.begin(), points_.end(), ticks,
                                      [](double p, const Point& point) { return p < point.pos; });
  const Point& p = *(after - 1);
  if (p.pos == ticks) return p.seconds;
  return p.seconds + p.stop + (ticks - p.pos) * p.tickSeconds;
}

int ChartTiming::PosAt(double seconds) const {
  if (points_.empty() || !(seconds > 0)) return 0;
  const auto after = std::upper_bound(points_.begin(), points_.end(), seconds,
                                      [](double s, const Point& point) { return s < point.seconds; });
  const Point& p = *(after - 1);
  // Times that overflowed (inf - inf) compare false everywhere: they stay at the point.
  const double running = seconds - p.seconds - p.stop;
  const double start = std::floor(p.pos);
  if (!(running > 0)) return static_cast<int>(start);
  // The ticks before the next point (which sounds later) are the candidates.
  const double ticks = std::floor(p.pos + running / p.tickSeconds);
  const int limit =
      after == points_.end() ? std::numeric_limits<int>::max() : static_cast<int>(std::ceil(after->pos)) - 1;
  if (!(ticks < static_cast<double>(limit))) return limit;
  return static_cast<int>(ticks);
}

}  // namespace beatloom
