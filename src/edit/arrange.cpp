#include "edit/arrange.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "model/text_scan.h"
#include "model/timing_values.h"

namespace beatloom {

namespace {

constexpr int kLastPos = MeasureCount * TicksPerMeasure - 1;

// Spaces around a number and a plus sign before it are allowed; "+-1" is not.
std::string_view NumberPart(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  return text;
}

std::optional<double> ParseTempo(std::string_view text) {
  text = NumberPart(text);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

// Where a position lands under factor f.
double Scaled(int32_t pos, double f) { return RoundHalfEven(static_cast<double>(pos) * f); }

// The factor, or the message that refuses the request.
struct Factor {
  double f = 1;
  std::string_view refusal;
};

Factor FactorOf(const SpacingRequest& request) {
  const std::optional<int> newWidth = ParseWholeNumber(request.newWidth);
  const std::optional<int> originalWidth = ParseWholeNumber(request.originalWidth);
  if (!newWidth || !originalWidth || *originalWidth == 0) return {1, kSpacingInputMessage};
  // A negative factor would turn the chart upside down into negative measures.
  if (*newWidth < 0 || *originalWidth < 0) return {1, kSpacingNegativeMessage};
  // Nor may it be 0, which puts every object on the first tick.
  if (*newWidth == 0) return {1, kSpacingZeroMessage};
  return {static_cast<double>(*newWidth) / static_cast<double>(*originalWidth), {}};
}

// Scaling keeps the order of positions (f >= 0), so the extremes decide
// whether every object stays inside the chart.
bool StaysInChart(const std::vector<TBmsObject>& objects, double f) {
  if (objects.empty()) return true;
  const auto [lowest, highest] = std::minmax_element(
      objects.begin(), objects.end(), [](const TBmsObject& a, const TBmsObject& b) { return a.Pos < b.Pos; });
  if (Scaled(lowest->Pos, f) < 0 || Scaled(highest->Pos, f) > kLastPos) return false;
  // The end of a held note scales too, and lies after its start.
  return std::all_of(objects.begin(), objects.end(), [f](const TBmsObject& o) {
    return !IsLongNote(o) || std::max(Scaled(o.EndPos, f), Scaled(o.Pos, f) + 1) <= kLastPos;
  });
}

// The slots the objects would take scaled by f (on ticks, as spacing leaves
// them), or with no factor the exact places they take now.
size_t DistinctSlots(const std::vector<TBmsObject>& objects, std::optional<double> f) {
  std::vector<ExactSlot> slots;
  slots.reserve(objects.size());
  for (const TBmsObject& o : objects)
    slots.push_back(f ? ExactSlot{SlotKey(o, static_cast<int32_t>(Scaled(o.Pos, *f))), 1} : ExactSlotOf(o));
  std::sort(slots.begin(), slots.end());
  return static_cast<size_t>(std::unique(slots.begin(), slots.end()) - slots.begin());
}

// Every tempo change and stop length scaled by f: with the positions scaled
// too, every object keeps its time. A definition is scaled where it stands,
// as all of its objects scale alike; a plain tempo that leaves 1..255 takes
// a definition.
void ScaleTimingValues(Document& doc, double f) {
  std::vector<char> bpmUsed(doc.bpmDefs.size(), 0), stopUsed(doc.stopDefs.size(), 0);
  for (const TBmsObject& o : doc.ObjList) {
    if (o.Lane == TempoLane && o.Defined && o.Value < bpmUsed.size()) bpmUsed[o.Value] = 1;
    if (o.Lane == StopLane && o.Value < stopUsed.size()) stopUsed[o.Value] = 1;
  }
  for (const bool stop : {false, true}) {
    std::vector<std::string>& table = stop ? doc.stopDefs : doc.bpmDefs;
    const std::vector<char>& used = stop ? stopUsed : bpmUsed;
    for (size_t k = 0; k < table.size(); ++k)
      if (used[k])
        if (const std::optional<double> value = DefinitionValue(table[k])) table[k] = ShortestDecimal(*value * f);
  }
  for (TBmsObject& o : doc.ObjList)
    if (o.Lane == TempoLane && !o.Defined) SetTimingValue(doc, o, o.Value * f);
}

int MirroredLane(int lane) {
  if (lane >= 1 && lane <= 7) return 8 - lane;
  if (lane >= 10 && lane <= 16) return 26 - lane;
  return lane;
}

}  // namespace

double RoundHalfEven(double value) {
  const double down = std::floor(value);
  const double fraction = value - down;
  if (fraction < 0.5) return down;
  if (fraction > 0.5) return down + 1;
  return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

std::optional<int> ParseWholeNumber(std::string_view text) {
  text = NumberPart(text);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string TempoText(double tempo) { return ShortestDecimal(tempo); }

ArrangeResult ChangeObjectSpacing(ChartSession& session, const SpacingRequest& request) {
  const Factor factor = FactorOf(request);
  if (!factor.refusal.empty()) return {EditOutcome::Refused, std::string(factor.refusal)};
  std::string message;
  ChartEdit edit{.label = "オブジェ間隔の変更", .aspects = kChartObjects};
  if (request.matchTempo) edit.aspects |= kChartHeader;
  const EditOutcome outcome = session.Apply(edit, [&](Document& doc) {
    if (!StaysInChart(doc.ObjList, factor.f)) {
      message = kSpacingRangeMessage;
      return EditOutcome::Refused;
    }
    // Scaled positions are whole ticks: an object between two lands on the
    // tick its own tick scales to.
    for (TBmsObject& o : doc.ObjList) {
      o.Pos = static_cast<int32_t>(Scaled(o.Pos, factor.f));
      ClearOffset(o);
      if (!IsLongNote(o)) continue;
      // A held note stays held for a tick at least, however close its ends come.
      o.EndPos = std::max(static_cast<int32_t>(Scaled(o.EndPos, factor.f)), o.Pos + 1);
      o.EndOffNum = 0;
      o.EndOffDen = 1;
    }
    if (!request.matchTempo) return EditOutcome::Changed;
    ScaleTimingValues(doc, factor.f);
    if (const std::optional<double> tempo = ParseTempo(doc.header.e_bpm))
      doc.header.e_bpm = TempoText(*tempo * factor.f);
    else
      message = kSpacingTempoMessage;
    // The command marks the chart even when the factor is 1.
    return EditOutcome::Changed;
  });
  return {outcome, message};
}

size_t SpacingOverlaps(const Document& doc, const SpacingRequest& request) {
  const Factor factor = FactorOf(request);
  if (!factor.refusal.empty() || factor.f >= 1 || !StaysInChart(doc.ObjList, factor.f)) return 0;
  return DistinctSlots(doc.ObjList, std::nullopt) - DistinctSlots(doc.ObjList, factor.f);
}

EditOutcome MirrorSelected(ChartSession& session) {
  if (session.Doc().ObjList.empty()) return EditOutcome::Unchanged;
  return session.Apply({.label = "ミラー", .aspects = kChartObjects}, [](Document& doc) {
    for (TBmsObject& o : doc.ObjList)
      if (o.Selected) o.Lane = static_cast<uint8_t>(MirroredLane(o.Lane));
    // Marked even with nothing selected, as after any run of the command.
    return EditOutcome::Changed;
  });
}

}  // namespace beatloom
