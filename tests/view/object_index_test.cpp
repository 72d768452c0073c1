#include "view/object_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace beatloom {
namespace {

// only: the objects to look at, all when null.
std::vector<int> BruteForce(const std::vector<TBmsObject>& objects, int64_t lo, int64_t hi,
                            const std::vector<bool>* only = nullptr) {
  std::vector<int> out;
  for (size_t i = 0; i < objects.size(); ++i) {
    if ((!only || (*only)[i]) && objects[i].Pos >= lo && objects[i].Pos <= hi) out.push_back(static_cast<int>(i));
  }
  return out;
}

// Objects no later object of the same lane and position covers.
std::vector<bool> OnTop(const std::vector<TBmsObject>& objects) {
  std::vector<bool> top(objects.size());
  for (size_t i = 0; i < objects.size(); ++i) {
    const auto covers = [&](const TBmsObject& o) { return o.Lane == objects[i].Lane && o.Pos == objects[i].Pos; };
    top[i] = std::none_of(objects.begin() + static_cast<long>(i) + 1, objects.end(), covers);
  }
  return top;
}

TEST(ObjectIndex, QueryMatchesAScanInListOrder) {
  struct Case {
    const char* name;
    int count;
    int lowest, highest;
  };
  const std::vector<Case> cases = {
      {"one measure", 50, 0, 191},
      {"whole chart", 3000, 0, 192 * 1000 - 1},
      {"negative positions", 500, -5000, 5000},
      // Far apart positions make the buckets wider instead of the table huge.
      {"stray extremes", 200, INT32_MIN, INT32_MAX},
      {"stacked on a measure's ticks", 3000, 0, 191},
  };
  std::mt19937 rng(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::uniform_int_distribution<int64_t> pos(c.lowest, c.highest);
    std::vector<TBmsObject> objects(static_cast<size_t>(c.count));
    for (auto& o : objects) {
      o.Pos = static_cast<int32_t>(pos(rng));
      o.Lane = static_cast<uint8_t>(rng() % 8);
    }
    // Every fourth object stacked on an earlier one, also far apart.
    for (size_t i = 3; i < objects.size(); i += 4) objects[i] = objects[i / 2];
    ObjectIndex index;
    index.Rebuild(objects);
    ObjectIndex topmost(TicksPerMeasure, ObjectIndex::Holds::Topmost);
    topmost.Rebuild(objects);
    const std::vector<bool> onTop = OnTop(objects);
    EXPECT_EQ(index.IndexedSize(), objects.size());
    for (int k = 0; k < 200; ++k) {
      int64_t lo = pos(rng);
      int64_t hi = lo + std::uniform_int_distribution<int64_t>(-10, 2000)(rng);
      std::vector<int> got;
      index.Query(objects, lo, hi, got);
      ASSERT_EQ(got, BruteForce(objects, lo, hi)) << lo << ".." << hi;
      got.clear();
      topmost.Query(objects, lo, hi, got);
      ASSERT_EQ(got, BruteForce(objects, lo, hi, &onTop)) << lo << ".." << hi;
    }
    std::vector<int> all;
    index.Query(objects, INT64_MIN / 4, INT64_MAX / 4, all);
    EXPECT_EQ(all.size(), objects.size());
  }
}

TEST(ObjectIndex, EmptyAndClearedIndexFindNothing) {
  std::vector<TBmsObject> objects;
  ObjectIndex index;
  EXPECT_FALSE(index.Built());
  index.Rebuild(objects);
  EXPECT_TRUE(index.Built());
  std::vector<int> out;
  index.Query(objects, -1000, 1000, out);
  EXPECT_TRUE(out.empty());

  objects.resize(3);
  index.Rebuild(objects);
  index.Clear();
  EXPECT_FALSE(index.Built());
  index.Query(objects, -1000, 1000, out);
  EXPECT_TRUE(out.empty());
}

TEST(ObjectIndex, StaleIndexNeverReturnsAMissingObject) {
  std::vector<TBmsObject> objects(10);
  for (int i = 0; i < 10; ++i) objects[i].Pos = i * 10;
  ObjectIndex index;
  index.Rebuild(objects);
  objects.resize(4);
  std::vector<int> out;
  index.Query(objects, 0, 1000, out);
  EXPECT_EQ(out, (std::vector<int>{0, 1, 2, 3}));
}

}  // namespace
}  // namespace beatloom
