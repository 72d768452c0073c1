#include "edit/measure_ops.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "model/text_scan.h"

namespace beatloom {

namespace {

constexpr long long kMaxPos = static_cast<long long>(MeasureCount) * TicksPerMeasure - 1;
// Distance from an object to the top of the score reach that AddObject keeps.
constexpr long long kScrollReach = 16 * TicksPerMeasure;
// "#" + three measure digits + two channel characters + ":".
constexpr size_t kDataPrefix = 7;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The measure of a kept data line, which travels with its measure, or -1.
// Kept length lines (channel 02, in a conditional block or unreadable) travel
// too, as the lengths themselves do.
int TravellingMeasureOf(std::string_view line) {
  if (line.size() < kDataPrefix || line[0] != '#' || line[6] != ':') return -1;
  if (!IsDigit(line[1]) || !IsDigit(line[2]) || !IsDigit(line[3])) return -1;
  if (!IsAlnum(line[4]) || !IsAlnum(line[5])) return -1;
  return (line[1] - '0') * 100 + (line[2] - '0') * 10 + (line[3] - '0');
}

void Renumber(std::string& line, int measure) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%03d", measure);
  line.replace(1, 3, digits, 3);
}

void LowerScrollMin(Document& doc, long long highestPos) {
  const long long reach = -(highestPos + kScrollReach);
  if (reach < doc.ScrollMin) doc.ScrollMin = static_cast<int>(std::max<long long>(reach, INT32_MIN));
}

bool InsertWouldPassEnd(const Document& doc, long long from) {
  const long long firstBlocked = std::max(from, kMaxPos - TicksPerMeasure + 1);
  for (const TBmsObject& o : doc.ObjList)
    if (o.Pos >= firstBlocked || (IsLongNote(o) && o.EndPos >= firstBlocked)) return true;
  for (const std::string& line : doc.mcom)
    if (const int m = TravellingMeasureOf(line); m == MeasureCount - 1 && m * TicksPerMeasure >= from) return true;
  return false;
}

// Runs a measure command through the session: its step holds the kept lines
// and lengths it renumbers along with the objects.
template <class Command>
MeasureOutcome ApplyMeasureCommand(ChartSession& session, const char* label, Command command) {
  MeasureOutcome result;
  session.Apply({.label = label, .aspects = kChartObjects | kChartHeader | kChartLayout}, [&](Document& doc) {
    result = command(doc);
    return result.outcome;
  });
  return result;
}

// Takes the ticks start..end (end excluded) out of a long note whose end
// lies at or after start: the part left keeps its place in the closed-up
// score, held up to or from the cut. False when nothing is left to hold.
bool CutLongNote(TBmsObject& o, long long start, long long end) {
  const long long width = end - start;
  const bool startGone = o.Pos >= start && o.Pos < end;
  const bool endGone = o.EndPos < end;
  if (startGone && endGone) return false;
  if (o.Pos >= end) {
    o.Pos = static_cast<int32_t>(o.Pos - width);
  } else if (startGone) {
    o.Pos = static_cast<int32_t>(start);
    ClearOffset(o);
  }
  if (endGone) {
    o.EndPos = static_cast<int32_t>(start);
    o.EndOffNum = 0;
    o.EndOffDen = 1;
  } else {
    o.EndPos = static_cast<int32_t>(o.EndPos - width);
  }
  // Held for no time at all, it would be half a long note.
  return EndsAfterStart(o);
}

}  // namespace

int MeasureOfPos(int pos) { return pos / TicksPerMeasure; }

MeasureOutcome InsertMeasure(Document& doc, int measure) {
  const long long from = static_cast<long long>(measure) * TicksPerMeasure;
  if (InsertWouldPassEnd(doc, from)) return {EditOutcome::Refused, kInsertPastEndMessage};
  auto& lengths = doc.MeasureLen;
  if (measure < MeasureCount && lengths[MeasureCount - 1] != 1.0)
    return {EditOutcome::Refused, kInsertLengthPastEndMessage};
  bool changed = false;
  if (measure < MeasureCount) {
    const auto first = lengths.begin() + std::max(measure, 0);
    changed = std::any_of(first, lengths.end(), [](double len) { return len != 1.0; });
    std::move_backward(first, lengths.end() - 1, lengths.end());
    *first = 1.0;
  }
  long long highest = -1;
  for (TBmsObject& o : doc.ObjList) {
    // A long note held across the new measure is held through it.
    if (IsLongNote(o) && o.EndPos >= from) {
      o.EndPos += TicksPerMeasure;
      highest = std::max<long long>(highest, o.EndPos);
      changed = true;
    }
    if (o.Pos < from) continue;
    o.Pos += TicksPerMeasure;
    highest = std::max<long long>(highest, o.Pos);
    changed = true;
  }
  if (highest >= 0) LowerScrollMin(doc, highest);
  for (std::string& line : doc.mcom) {
    const int m = TravellingMeasureOf(line);
    if (m < 0 || m < measure) continue;
    Renumber(line, m + 1);
    changed = true;
  }
  return {changed ? EditOutcome::Changed : EditOutcome::Unchanged, {}};
}

MeasureOutcome DeleteMeasures(Document& doc, MeasureSpan span) {
  if (span.first < 0 || span.last < span.first) return {EditOutcome::Refused, kMeasureRangeMessage};
  const long long start = span.first * TicksPerMeasure;
  const long long end = span.last * TicksPerMeasure + TicksPerMeasure;
  const long long width = end - start;
  bool changed = false;
  // One pass that keeps the survivors in list order, as removing from the
  // back one by one would.
  size_t kept = 0;
  for (size_t i = 0; i < doc.ObjList.size(); ++i) {
    TBmsObject o = doc.ObjList[i];
    if (IsLongNote(o) && o.EndPos >= start) {
      if (!CutLongNote(o, start, end)) {
        changed = true;
        continue;
      }
      changed = changed || !(o == doc.ObjList[i]);
      doc.ObjList[kept++] = o;
      continue;
    }
    if (o.Pos >= start && o.Pos < end) {
      changed = true;
      continue;
    }
    if (o.Pos >= end) {
      o.Pos = static_cast<int32_t>(o.Pos - width);
      changed = true;
    }
    doc.ObjList[kept++] = o;
  }
  doc.ObjList.resize(kept);
  size_t keptLines = 0;
  for (size_t i = 0; i < doc.mcom.size(); ++i) {
    std::string line = std::move(doc.mcom[i]);
    const int m = TravellingMeasureOf(line);
    if (m >= span.first && m <= span.last) {
      changed = true;
      continue;
    }
    if (m > span.last) {
      Renumber(line, static_cast<int>(m - (span.last - span.first + 1)));
      changed = true;
    }
    doc.mcom[keptLines++] = std::move(line);
  }
  doc.mcom.resize(keptLines);
  if (span.first < MeasureCount) {
    auto& lengths = doc.MeasureLen;
    const auto first = lengths.begin() + span.first;
    const auto last = lengths.begin() + std::min<long long>(span.last + 1, MeasureCount);
    changed = changed || std::any_of(first, lengths.end(), [](double len) { return len != 1.0; });
    std::fill(std::move(last, lengths.end(), first), lengths.end(), 1.0);
  }
  return {changed ? EditOutcome::Changed : EditOutcome::Unchanged, {}};
}

MeasureOutcome InsertMeasure(ChartSession& session, int measure) {
  return ApplyMeasureCommand(session, "小節の挿入", [measure](Document& doc) { return InsertMeasure(doc, measure); });
}

MeasureOutcome DeleteMeasures(ChartSession& session, MeasureSpan span) {
  return ApplyMeasureCommand(session, "小節の削除", [span](Document& doc) { return DeleteMeasures(doc, span); });
}

ParsedSpan ParseMeasureSpan(std::string_view first, std::string_view last) {
  int a = 0;
  int b = 0;
  if (!ParseDecimalInt(TrimBlanks(first), a) || !ParseDecimalInt(TrimBlanks(last), b))
    return {std::nullopt, kMeasureTextMessage};
  // A last measure before the first is refused outright: read as ticks, the
  // span just before it (5 to 4) would come out empty and still run.
  if (a < 0 || b < a) return {std::nullopt, kMeasureRangeMessage};
  return {MeasureSpan{a, b}, {}};
}

std::string MeasureLengthLine(int measure, double length) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "#%03d:", measure);
  return prefix + ShortestDecimal(length);
}

std::vector<std::string> MeasureLengthLines(const std::array<double, MeasureCount>& lengths) {
  std::vector<std::string> lines;
  lines.reserve(MeasureCount);
  for (int i = 0; i < MeasureCount; ++i) lines.push_back(MeasureLengthLine(i, lengths[i]));
  return lines;
}

LengthChange ChangeLengthLines(std::string_view typed, std::vector<std::string>& lines,
                               const std::vector<int>& selectedRows) {
  double value = 0;
  if (!ParseDecimalNumber(typed, value)) return {kLengthNotNumberMessage, -1};
  if (value <= 0) return {kLengthNotPositiveMessage, -1};
  // The shortest length is shown rounded (0.0052083), so a value typed as
  // shown counts as 1/192.
  if (!(value >= kShortestMeasureLength * (1 - 1e-5) && value <= kLongestMeasureLength))
    return {kLengthOutOfRangeMessage, -1};
  const std::string text = ShortestDecimal(value);
  int lastChanged = -1;
  for (const int row : selectedRows) {
    if (row < 0 || static_cast<size_t>(row) >= lines.size()) continue;
    lines[row] = lines[row].substr(0, 5) + text;
    lastChanged = std::max(lastChanged, row);
  }
  const int count = static_cast<int>(lines.size());
  return {{}, lastChanged < 0 || count == 0 ? 0 : (lastChanged + 1) % count};
}

void ReadLengthLines(const std::vector<std::string>& lines, std::array<double, MeasureCount>& lengths) {
  const size_t count = std::min<size_t>(lines.size(), MeasureCount);
  for (size_t i = 0; i < count; ++i) {
    const int measure = static_cast<int>(i);
    if (lines[i] == MeasureLengthLine(measure, lengths[i])) continue;
    double value = 0;
    if (lines[i].size() > 5 && ParseDecimalNumber(std::string_view(lines[i]).substr(5), value) && value > 0)
      lengths[i] = value;
  }
}

}  // namespace beatloom
