#include <gtest/gtest.h>

#include "model/document.h"

namespace beatloom {
namespace {

TEST(AddObject, ValueZeroAddsNothing) {
  Document d;
  d.AddObject(1, 0, 5);
  EXPECT_EQ(d.AddObject(1, 10, 0), 0);
  EXPECT_EQ(d.ObjLast(), 0);
}

TEST(AddObject, AnyBgmLaneLandsAboveHighestAtPosition) {
  Document d;
  EXPECT_EQ(d.ObjList[d.AddObject(AnyBgmLane, 0, 1)].Lane, 22);
  EXPECT_EQ(d.ObjList[d.AddObject(AnyBgmLane, 0, 1)].Lane, 23);
  EXPECT_EQ(d.ObjList[d.AddObject(AnyBgmLane, 0, 1)].Lane, 24);
  d.AddObject(25, 192, 1);
  EXPECT_EQ(d.ObjList[d.AddObject(AnyBgmLane, 192, 1)].Lane, 26);  // gaps are not filled
}

TEST(AddObject, FullPositionRefusesAnyBgmLane) {
  Document d;
  for (int lane = 22; lane <= 49; ++lane) d.AddObject(lane, 96, 1);
  // Past the 28 numbered lanes: the lanes after the stop lane, in turn.
  EXPECT_EQ(d.ObjList[d.AddObject(AnyBgmLane, 96, 1)].Lane, 51);
  EXPECT_EQ(d.ObjList[d.AddObject(AnyBgmLane, 96, 1)].Lane, 52);
  for (int index = 30; index < BgmLaneLimit; ++index) d.AddObject(BgmLaneAt(index), 96, 1);
  EXPECT_EQ(d.ObjList.back().Lane, 255);
  const auto before = d.ObjList;
  EXPECT_EQ(d.AddObject(AnyBgmLane, 96, 7), d.ObjLast());
  EXPECT_EQ(d.ObjList, before);
}

TEST(AddObject, ScrollMinimumOnlyEverLowers) {
  Document d;
  EXPECT_EQ(d.ScrollMin, -5000);
  d.AddObject(1, 192, 1);  // -(192+3072) is above -5000: unchanged
  EXPECT_EQ(d.ScrollMin, -5000);
  d.AddObject(1, 192 * 20, 1);
  EXPECT_EQ(d.ScrollMin, -(192 * 20 + 3072));
  d.AddObject(1, 0, 1);
  EXPECT_EQ(d.ScrollMin, -(192 * 20 + 3072));
  d.ResetDocument();
  EXPECT_EQ(d.ScrollMin, -5000);
}

TEST(AddObject, SelectedWhileSelectingGesture) {
  Document d;
  EXPECT_EQ(d.ObjList[d.AddObject(1, 0, 1)].Selected, 0);
  d.SelectAddedObjects = true;
  EXPECT_EQ(d.ObjList[d.AddObject(1, 0, 1)].Selected, 1);
}

TEST(DeleteObject, KeepsOrderAndIgnoresBadIndex) {
  Document d;
  for (int v = 1; v <= 4; ++v) d.AddObject(1, v, v);
  d.DeleteObject(1);
  d.DeleteObject(7);
  d.DeleteObject(-1);
  ASSERT_EQ(d.ObjLast(), 2);
  EXPECT_EQ(d.ObjList[0].Value, 1);
  EXPECT_EQ(d.ObjList[1].Value, 3);
  EXPECT_EQ(d.ObjList[2].Value, 4);
}

TEST(RemoveDuplicates, LastOfEachLanePositionAndKeyChannelSurvivesInOrder) {
  Document d;
  // (lane, pos, value, hidden): a hidden key note is on a channel of its own;
  // on a background lane the hidden mark is not written, so it shares the cell.
  const int rows[][4] = {{1, 0, 1, 0}, {2, 0, 2, 0},  {1, 0, 3, 1},  {1, 192, 4, 0}, {2, 0, 5, 0},
                         {1, 0, 6, 0}, {18, 9, 7, 1}, {18, 9, 8, 0}, {22, 0, 9, 1},  {22, 0, 10, 0}};
  for (auto& r : rows) d.ObjList[d.AddObject(r[0], r[1], r[2])].Hidden = static_cast<uint8_t>(r[3]);
  d.RemoveDuplicates();
  std::vector<int> values;
  for (auto& o : d.ObjList) values.push_back(o.Value);
  EXPECT_EQ(values, (std::vector<int>{3, 4, 5, 6, 7, 8, 10}));
}

TEST(MapChannel, IsItsOwnInverseAndSwapsKeyPairs) {
  for (int c = -5; c < 300; ++c) EXPECT_EQ(MapChannel(MapChannel(c)), c) << c;
  const int pairs[][2] = {{11, 11}, {16, 18}, {17, 19}, {26, 28}, {27, 29}, {36, 38}, {37, 39}, {46, 48}, {47, 49},
                          {1, 1},   {15, 15}, {56, 56}};
  for (auto& p : pairs) EXPECT_EQ(MapChannel(p[0]), p[1]) << p[0];
}

TEST(ResetDocument, EmptiesEverythingAndFillsDefaults) {
  Document d;
  d.DefaultEmail = "a@b";
  d.DefaultURL = "http://x";
  d.AddObject(1, 0, 1);
  d.MeasureLen[3] = 0.5;
  d.wav[5] = "x.wav";
  d.bmp[0] = "y.bmp";
  d.header.e_title = "T";
  d.header.cbpmode = 2;
  d.mcom.push_back("#X");
  d.Modified = true;
  d.ResetDocument();
  EXPECT_TRUE(d.ObjList.empty());
  for (double len : d.MeasureLen) EXPECT_EQ(len, 1.0);
  for (auto& w : d.wav) EXPECT_TRUE(w.empty());
  for (auto& b : d.bmp) EXPECT_TRUE(b.empty());
  EXPECT_EQ(d.header.e_bpm, "120");
  EXPECT_EQ(d.header.cbpmode, 0);
  EXPECT_EQ(d.header.E_Email, "a@b");
  EXPECT_EQ(d.header.E_URL, "http://x");
  EXPECT_TRUE(d.mcom.empty());
  EXPECT_TRUE(d.Modified);  // left to the caller
}

TEST(Stores, GrowPastTheOldCapacity) {
  Document d;
  for (int i = 0; i < 20000; ++i) d.AddObject(1 + i % 18, i, 1);
  EXPECT_EQ(d.ObjLast(), 19999);
}

}  // namespace
}  // namespace beatloom
