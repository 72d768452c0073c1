#include "edit/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "bms/index_radix.h"
#include "model/timing_values.h"

namespace beatloom {
namespace {

// {lane, pos, value}: key 1 and scratch of player 1 at the edges of measure
// 5, player-2 scratch at the end of measure 4, a tempo in measure 6, a
// background sound at 0, a BGA in measure 10.
const std::vector<std::array<int, 3>> kChart = {{1, 960, 0x1A}, {8, 1151, 1},  {17, 959, 0x1A},
                                                {0, 1152, 120}, {22, 0, 0x1A}, {19, 2000, 3}};

struct SearchTest : ::testing::Test {
  ChartSession session;
  Document& doc = session.Doc();

  void SetUp() override {
    for (const auto& [lane, pos, value] : kChart) doc.AddObject(lane, pos, value);
    doc.Modified = false;
  }
  std::vector<int> Selected() const {
    std::vector<int> out;
    for (size_t i = 0; i < doc.ObjList.size(); ++i)
      if (doc.ObjList[i].Selected) out.push_back(static_cast<int>(i));
    return out;
  }
};

TEST_F(SearchTest, FiltersSelectInTheirOrderAndABadEntryStopsWhereItIsMet) {
  const std::string indexRange = "インデックスNo.の指定に誤りがあります。1～255を指定して下さい";
  struct Row {
    const char* name;
    std::function<void(SearchRequest&)> set;
    std::string message;
    std::vector<int> selected;
  };
  const std::vector<int> all = {0, 1, 2, 3, 4, 5};
  const Row rows[] = {
      {"nothing checked", [](SearchRequest&) {}, "", all},
      {"range 5-5", [](SearchRequest& r) { r.byMeasure = true, r.fromMeasure = "5", r.toMeasure = " 5"; }, "", {0, 1}},
      {"range 0-999", [](SearchRequest& r) { r.byMeasure = true; }, "", all},
      {"negative start widens downwards",
       [](SearchRequest& r) { r.byMeasure = true, r.fromMeasure = "-3", r.toMeasure = "4"; },
       "",
       {2, 4}},
      {"range 6-5", [](SearchRequest& r) { r.byMeasure = true, r.fromMeasure = "6", r.toMeasure = "5"; },
       "小節範囲の指定に問題があります", all},
      {"measure not a number", [](SearchRequest& r) { r.byMeasure = true, r.toMeasure = "5a"; },
       "小節番号の指定が不正です", all},
      {"measure beyond any int", [](SearchRequest& r) { r.byMeasure = true, r.toMeasure = "99999999999"; },
       "小節番号の指定が不正です", all},
      {"index 1A", [](SearchRequest& r) { r.byIndex = true, r.index = "1a"; }, "", {0, 2, 4}},
      {"index 0", [](SearchRequest& r) { r.byIndex = true, r.index = "0"; }, indexRange, all},
      {"index 100", [](SearchRequest& r) { r.byIndex = true, r.index = "100"; }, indexRange, all},
      {"index ZZ", [](SearchRequest& r) { r.byIndex = true, r.index = "ZZ"; }, "インデックスNo.が不正です", all},
      {"range kept before a bad index",
       [](SearchRequest& r) { r.byMeasure = true, r.fromMeasure = r.toMeasure = "5", r.byIndex = true, r.index = ""; },
       "インデックスNo.が不正です",
       {0, 1}},
      {"only Sc of 1P; tempo dropped", [](SearchRequest& r) { r.byLane = true, r.player1[7] = true; }, "", {1}},
      {"BGM 1 and BGA1", [](SearchRequest& r) { r.byLane = true, r.bgm[0] = true, r.bmp[0] = true; }, "", {4, 5}},
      {"selected target, nothing selected",
       [](SearchRequest& r) { r.target = SearchTarget::CurrentSelection; },
       "",
       {}},
      {"lists not read", [](SearchRequest& r) { r.byLane = true, r.bgm.pop_back(); },
       "列指定処理において内部エラー発生", all},
      {"bad replacement after the filters",
       [](SearchRequest& r) {
         r.byIndex = true, r.index = "1A", r.action = SearchAction::Replace, r.replacement = "G";
       },
       "インデックスNo.が不正です",
       {0, 2, 4}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (TBmsObject& o : doc.ObjList) o.Selected = 0;
    const std::vector<TBmsObject> before = doc.ObjList;
    SearchRequest request;
    request.action = SearchAction::Delete;
    row.set(request);
    const SearchResult result = RunSearch(session, request);
    EXPECT_EQ(result.message, row.message);
    // A refused run never reaches its action; a select run only selects.
    if (!row.message.empty()) request.action = SearchAction::Select;
    if (request.action == SearchAction::Select) {
      EXPECT_EQ(Selected(), row.selected);
      EXPECT_FALSE(doc.Modified);
    } else {
      std::vector<TBmsObject> survivors;
      for (size_t i = 0; i < before.size(); ++i)
        if (std::find(row.selected.begin(), row.selected.end(), static_cast<int>(i)) == row.selected.end())
          survivors.push_back(before[i]);
      EXPECT_EQ(doc.ObjList, survivors);
      EXPECT_EQ(doc.Modified, !row.selected.empty());
      EXPECT_EQ(session.UndoLastChange(), !row.selected.empty()) << "a run that deletes nothing makes no step";
      EXPECT_EQ(doc.ObjList, before);
    }
    doc.Modified = false;
  }
}

TEST_F(SearchTest, ReplaceWithFFSetsTheTempoOfSelectedTempoObjects) {
  doc.ObjList[3].Selected = 1;  // the tempo
  SearchRequest request{.target = SearchTarget::CurrentSelection, .action = SearchAction::Replace};
  request.replacement = "FF";
  EXPECT_EQ(RunSearch(session, request).message, "");
  EXPECT_EQ(doc.ObjList[3].Value, 255);
  EXPECT_EQ(doc.ObjList[2].Value, 0x1A);
  EXPECT_TRUE(doc.Modified);
  // In base 36, ZZ is a tempo of 1295 through a definition, not a wrapped byte.
  ResetIndices(doc, DefinitionIndex::Base36);
  request.replacement = "ZZ";
  EXPECT_EQ(RunSearch(session, request).message, "");
  EXPECT_EQ(NumberOf(doc, doc.ObjList[3]), 1295);
  EXPECT_EQ(doc.bpmDefs[doc.ObjList[3].Value], "1295");
}

}  // namespace
}  // namespace beatloom
