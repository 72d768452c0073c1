#include "edit/search.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/timing_values.h"

namespace beatloom {

namespace {

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A decimal integer with an optional sign, as typed; nullopt for anything
// else, or for a number no measure field could mean (beyond 32 bits).
std::optional<int64_t> ReadDecimal(std::string_view text) {
  text = Trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > INT32_MAX) return std::nullopt;
  return negative ? -value : value;
}

// An index in the chart's digits, of any length, so that "100" is read (and
// then refused by its range) rather than taken for no number at all.
std::optional<int64_t> ReadIndex(std::string_view text, const DefinitionIndex& indices) {
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    const int digit = indices.DigitValue(c);
    if (digit < 0) return std::nullopt;
    // Anything this large is out of range already; stop it from growing.
    value = std::min<int64_t>(value * indices.Radix() + digit, INT32_MAX);
  }
  return value;
}

struct IndexOrMessage {
  int value = 0;
  std::string message;
};

IndexOrMessage CheckedIndex(std::string_view text, const DefinitionIndex& indices) {
  const std::optional<int64_t> n = ReadIndex(text, indices);
  if (!n) return {0, kBadIndexNumber};
  if (*n <= 0 || *n > indices.HighestWav()) return {0, IndexRangeMessage(indices)};
  return {static_cast<int>(*n), {}};
}

using LaneFlags = std::array<bool, LaneCount>;

bool CopyList(const std::vector<bool>& items, size_t expected, int firstLane, LaneFlags& flags) {
  if (items.size() != expected) return false;
  for (size_t i = 0; i < expected; ++i) flags[static_cast<size_t>(firstLane) + i] = items[i];
  return true;
}

// The background list has an item for each of the 28 numbered lanes and may
// go on to the lanes after the stop lane, in the order the score shows them.
bool CopyBgmList(const std::vector<bool>& items, LaneFlags& flags) {
  if (items.size() < kBgmLaneItems || items.size() > static_cast<size_t>(BgmLaneLimit)) return false;
  for (size_t i = 0; i < items.size(); ++i) flags[static_cast<size_t>(BgmLaneAt(static_cast<int>(i)))] = items[i];
  return true;
}

std::optional<LaneFlags> ReadLaneLists(const SearchRequest& r) {
  LaneFlags flags{};  // the tempo lane has no item: never kept
  if (!CopyList(r.player1, kPlayerLaneItems, kPlayer1FirstLane, flags) ||
      !CopyList(r.player2, kPlayerLaneItems, kPlayer2FirstLane, flags) ||
      !CopyList(r.bmp, kBmpLaneItems, kBmpFirstLane, flags) || !CopyBgmList(r.bgm, flags))
    return std::nullopt;
  return flags;
}

// The filters the entries allow, read in the order of the run. A bad entry
// leaves the filters before it in force and no action.
struct SearchPlan {
  std::optional<std::pair<int64_t, int64_t>> positions;
  std::optional<int> value;
  std::optional<LaneFlags> lanes;
  bool act = false;
  int replacement = 0;
  std::string message;
};

SearchPlan PlanSearch(const SearchRequest& r, const DefinitionIndex& indices) {
  SearchPlan plan;
  if (r.byMeasure) {
    const std::optional<int64_t> from = ReadDecimal(r.fromMeasure);
    const std::optional<int64_t> to = ReadDecimal(r.toMeasure);
    if (!from || !to) {
      plan.message = kBadMeasureNumber;
      return plan;
    }
    const int64_t start = *from * TicksPerMeasure;
    const int64_t end = *to * TicksPerMeasure + TicksPerMeasure - 1;
    if (end < start) {
      plan.message = kBadMeasureRange;
      return plan;
    }
    plan.positions = {start, end};
  }
  if (r.byIndex) {
    const IndexOrMessage index = CheckedIndex(r.index, indices);
    if (!index.message.empty()) {
      plan.message = index.message;
      return plan;
    }
    plan.value = index.value;
  }
  if (r.byLane) {
    plan.lanes = ReadLaneLists(r);
    if (!plan.lanes) {
      plan.message = kLaneListError;
      return plan;
    }
  }
  if (r.action == SearchAction::Replace) {
    const IndexOrMessage index = CheckedIndex(r.replacement, indices);
    if (!index.message.empty()) {
      plan.message = index.message;
      return plan;
    }
    plan.replacement = index.value;
  }
  plan.act = true;
  return plan;
}

bool IsTimingLane(int lane) { return lane == TempoLane || lane == StopLane; }

bool Kept(const Document& doc, const TBmsObject& o, const SearchPlan& plan) {
  if (plan.positions && (o.Pos < plan.positions->first || o.Pos > plan.positions->second)) return false;
  // A tempo or stop matches by its number, whatever definition holds it.
  if (plan.value && IsTimingLane(o.Lane) && NumberOf(doc, o) != static_cast<double>(*plan.value)) return false;
  if (plan.value && !IsTimingLane(o.Lane) && o.Value != *plan.value) return false;
  if (plan.lanes && !(*plan.lanes)[o.Lane]) return false;
  return true;
}

size_t ApplyFilters(Document& doc, const SearchPlan& plan, SearchTarget target) {
  size_t matched = 0;
  for (TBmsObject& o : doc.ObjList) {
    const bool start = target == SearchTarget::AllObjects || o.Selected != 0;
    o.Selected = start && Kept(doc, o, plan) ? 1 : 0;
    matched += o.Selected;
  }
  return matched;
}

void ApplyAction(Document& doc, SearchAction action, int replacement) {
  std::vector<TBmsObject>& objects = doc.ObjList;
  if (action == SearchAction::Delete) {
    // One pass keeps the survivors' order, as deleting from the last object
    // to the first would.
    std::erase_if(objects, [](const TBmsObject& o) { return o.Selected != 0; });
    return;
  }
  if (action != SearchAction::Replace) return;
  // On the tempo and stop lanes the new index is taken as a tempo or stop
  // length of that number; one that finds no free definition stays as it was.
  for (TBmsObject& o : objects) {
    if (!o.Selected) continue;
    if (IsTimingLane(o.Lane)) {
      SetTimingValue(doc, o, replacement);
      continue;
    }
    // The end cell of a long note on the long-note channels names the sound
    // of its start; left behind, it would keep the old definition in use.
    // An #LNOBJ end names the end mark and stays.
    if (o.Long == LongByChannel && o.EndValue == o.Value) o.EndValue = static_cast<uint16_t>(replacement);
    o.Value = static_cast<uint16_t>(replacement);
  }
}

}  // namespace

std::string IndexRangeMessage(const DefinitionIndex& indices) {
  return "インデックスNo.の指定に誤りがあります。1～" + std::to_string(indices.HighestWav()) + "を指定して下さい";
}

SearchResult RunSearch(ChartSession& session, const SearchRequest& request) {
  SearchResult result;
  session.Apply({.label = "検索・置換・削除", .aspects = kChartObjects}, [&](Document& doc) {
    const SearchPlan plan = PlanSearch(request, doc.indices);
    result.message = plan.message;
    result.matched = ApplyFilters(doc, plan, request.target);
    if (!plan.act || request.action == SearchAction::Select || result.matched == 0) return EditOutcome::Unchanged;
    ApplyAction(doc, request.action, plan.replacement);
    return EditOutcome::Changed;
  });
  return result;
}

}  // namespace beatloom
