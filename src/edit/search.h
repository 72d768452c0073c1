#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "session/chart_session.h"

namespace beatloom {

// How many items each check list has.
inline constexpr size_t kPlayerLaneItems = 9;
inline constexpr size_t kBgmLaneItems = 28;
inline constexpr size_t kBmpLaneItems = 3;

enum class SearchTarget { AllObjects, CurrentSelection };
enum class SearchAction { Select, Delete, Replace };

// What the search dialog holds when the author presses "実行": the texts as
// typed (read here, so that the dialog decides nothing) and the check lists
// item by item.
struct SearchRequest {
  SearchTarget target = SearchTarget::AllObjects;

  bool byMeasure = false;
  std::string fromMeasure = "0";  // decimal
  std::string toMeasure = "999";

  bool byIndex = false;
  std::string index = "1";  // in the chart's index digits

  bool byLane = false;
  // One flag per item: keys 1-7, scratch and free scratch of each player,
  // background lanes 1-28 (and on, as many as the chart has), and BGA,
  // layer, poor.
  std::vector<bool> player1 = std::vector<bool>(kPlayerLaneItems);
  std::vector<bool> player2 = std::vector<bool>(kPlayerLaneItems);
  std::vector<bool> bgm = std::vector<bool>(kBgmLaneItems);
  std::vector<bool> bmp = std::vector<bool>(kBmpLaneItems);

  SearchAction action = SearchAction::Select;
  std::string replacement = "01";
};

// The lanes of each check list's first item; the lists run on from there.
inline constexpr int kPlayer1FirstLane = 1;
inline constexpr int kPlayer2FirstLane = 10;
inline constexpr int kBmpFirstLane = 19;

struct SearchResult {
  // Empty, or the message that ended the run before its action.
  std::string message;
  // Objects left selected by the filters (those deleted or given the new
  // index, for those actions).
  size_t matched = 0;
};

// The messages of a refused run.
inline constexpr const char* kBadMeasureNumber = "小節番号の指定が不正です";
inline constexpr const char* kBadMeasureRange = "小節範囲の指定に問題があります";
inline constexpr const char* kBadIndexNumber = "インデックスNo.が不正です";
inline constexpr const char* kLaneListError = "列指定処理において内部エラー発生";
// The index range message names the chart's highest index.
std::string IndexRangeMessage(const DefinitionIndex& indices);

// Runs the search in the dialog's order: the target, the measure range, the
// index, the lanes, then the action. A bad entry ends the run with its
// message where it is met; the selection made by the steps before it stays.
// Only a delete or a replace that reached an object makes a step of the
// history. One pass over the objects.
SearchResult RunSearch(ChartSession& session, const SearchRequest& request);

}  // namespace beatloom
