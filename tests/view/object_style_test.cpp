#include "view/object_style.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/document.h"
#include "view/view_settings.h"

namespace beatloom {
namespace {

TBmsObject Obj(int lane, int value, bool hidden = false, bool selected = false) {
  TBmsObject o;
  o.Lane = static_cast<uint8_t>(lane);
  o.Value = static_cast<uint16_t>(value);
  o.Hidden = hidden;
  o.Selected = selected;
  return o;
}

TEST(ColorsOf, ByLaneFlagAndSelection) {
  struct Case {
    int lane;
    bool hidden, selected;
    ObjectColors colors;
  };
  const ObjectColors white{0xA0A0A0, 0xC0C0C0, 0x707070};
  const ObjectColors blue{0x0000FF, 0x4F4FFF, 0x000080};
  const ObjectColors red{0xFF0000, 0xFF4F4F, 0x800000};
  const ObjectColors invisible{0x000000, 0x808080, 0x404040};
  const ObjectColors free{0xFF00FF, 0xFF4FFF, 0x800080};
  const ObjectColors image{0x008000, 0x00FF00, 0x004000};
  const ObjectColors bgm{0x800000, 0xFF0000, 0x400000};
  const ObjectColors tempo{0xA0A000, 0xC0C000, 0x707000};
  const ObjectColors selected{0x00FFFF, 0xFFFFFF, 0x007F7F};
  const std::vector<Case> cases = {
      {0, false, false, tempo},     {0, true, false, tempo},     {1, false, false, white},
      {3, false, false, white},     {7, false, false, white},    {10, false, false, white},
      {16, false, false, white},    {2, false, false, blue},     {6, false, false, blue},
      {11, false, false, blue},     {15, false, false, blue},    {8, false, false, red},
      {17, false, false, red},      {1, true, false, invisible}, {8, true, false, invisible},
      {13, true, false, invisible}, {9, true, false, free},      {18, false, false, free},
      {19, false, false, image},    {21, true, false, image},    {22, false, false, bgm},
      {49, true, false, bgm},       {2, true, true, selected},   {0, false, true, selected},
      {30, false, true, selected},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColorsOf(Obj(c.lane, 1, c.hidden, c.selected)), c.colors) << "lane " << c.lane;
  }
}

TEST(ObjectLabel, ValuesBpmAndFileNames) {
  Document doc;
  doc.wav[1] = "";
  doc.wav[2] = "kick.wav";
  doc.wav[0x0A] = "\x83\x68\x83\x89\x83\x80.wav";  // "ドラム.wav" in CP932
  doc.wav[0x0B] = "a.wa";                          // nothing left once the extension goes
  doc.wav[0x0C] = "ab";                            // shorter than an extension: still a file
  doc.wav[0x0D] = "x.ogg";
  doc.bmp[0] = "base.bmp";
  doc.bmp[2] = "flash.bmp";
  ViewSettings values;
  ViewSettings names;
  names.ShowFileName = true;
  ViewSettings none;
  none.ShowIndexNumver = false;
  none.ShowFileName = true;
  struct Case {
    const ViewSettings* settings;
    TBmsObject object;
    std::string label;
  };
  const std::vector<Case> cases = {
      {&values, Obj(0, 150), "150"},   {&names, Obj(0, 150), "150"},     {&values, Obj(1, 10), "0A"},
      {&values, Obj(22, 2), "02"},     {&names, Obj(1, 1), "No.01"},     {&names, Obj(1, 2), "kick"},
      {&names, Obj(30, 2), "kick"},    {&names, Obj(5, 0x0A), "ドラム"}, {&names, Obj(5, 0x0B), ""},
      {&names, Obj(19, 2), "flash"},   {&names, Obj(20, 0), "base"},     {&names, Obj(21, 1), "No.01"},
      {&names, Obj(1, 300), "No.12C"}, {&none, Obj(0, 150), ""},         {&none, Obj(1, 2), ""},
      {&names, Obj(8, 0x0C), ""},      {&names, Obj(9, 0x0D), "x"},      {&values, Obj(5, 0x0B), "0B"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ObjectLabel(c.object, doc, *c.settings), c.label) << "lane " << int{c.object.Lane};
  }
  // A decimal tempo and a stop show the numbers their definitions hold.
  doc.bpmDefs[1] = "155.5";
  doc.stopDefs[1] = "96";
  TBmsObject decimal = Obj(0, 1);
  decimal.Defined = 1;
  EXPECT_EQ(ObjectLabel(decimal, doc, names), "155.5");
  EXPECT_EQ(ObjectLabel(Obj(StopLane, 1), doc, values), "96");
}

TEST(ObjectLabel, Utf8ChartNamesDecodeAsUtf8) {
  Document doc;
  doc.encoding = TextEncoding::Utf8;
  doc.wav[3] = "スネア.ogg";
  ViewSettings names;
  names.ShowFileName = true;
  EXPECT_EQ(ObjectLabel(Obj(2, 3), doc, names), "スネア");
}

TEST(MeasureNumberText, AtLeastThreeDigits) {
  EXPECT_EQ(MeasureNumberText(0), "#000");
  EXPECT_EQ(MeasureNumberText(7), "#007");
  EXPECT_EQ(MeasureNumberText(999), "#999");
  EXPECT_EQ(MeasureNumberText(1000), "#1000");
  EXPECT_EQ(MeasureNumberText(12345), "#12345");
}

TEST(MeasureLengthOf, OutsideTheTableIsWhole) {
  Document doc;
  doc.MeasureLen[5] = 0.75;
  EXPECT_EQ(MeasureLengthOf(doc, 5), 0.75);
  EXPECT_EQ(MeasureLengthOf(doc, 999), 1.0);
  EXPECT_EQ(MeasureLengthOf(doc, 1000), 1.0);
  EXPECT_EQ(MeasureLengthOf(doc, -1), 1.0);
}

TEST(ViewSettings, ColorNumbersKeepRedInTheLowByte) {
  struct Case {
    uint32_t rgb;
    int64_t colorRef;
  };
  for (const Case& c : std::vector<Case>{{0xFF0000, 255},
                                         {0x0000FF, 16711680},
                                         {0x585858, 5789784},
                                         {0x00FF00, 65280},
                                         {0x808080, 8421504},
                                         {0x123456, 0x563412}}) {
    EXPECT_EQ(ColorRefFromRgb(c.rgb), c.colorRef);
    EXPECT_EQ(RgbFromColorRef(c.colorRef), c.rgb);
  }
  EXPECT_EQ(RgbFromColorRef(0x7F0000FF), 0xFF0000u);  // high bits ignored
}

TEST(ViewSettings, DefaultsAndClamping) {
  ViewSettings s;
  EXPECT_EQ(s.Color(ScoreColor::NoteFont), 0x585858u);
  EXPECT_EQ(s.Color(ScoreColor::ZoneFont), 0x00FF00u);
  EXPECT_EQ(std::string(ScoreColorTable[static_cast<int>(ScoreColor::ColLine2)].key), "Color_ColLine2");
  s.SetColor(ScoreColor::Grid, 0x123456);
  EXPECT_EQ(s.Color(ScoreColor::Grid), 0x123456u);
  s.ResetColors();
  EXPECT_EQ(s.Color(ScoreColor::Grid), 0x808080u);

  s.GridHeight = 0;
  s.GridWidth = 99;
  s.ObjectHeight = -3;
  s.GridPosition = 42;
  s.SubGridPosition = -1;
  const ViewSettings c = s.Clamped();
  EXPECT_EQ(c.GridHeight, 96);
  EXPECT_EQ(c.GridWidth, 20);
  EXPECT_EQ(c.ObjectHeight, 4);
  EXPECT_EQ(c.GridPosition, 0);
  EXPECT_EQ(c.SubGridPosition, 9);
  EXPECT_EQ(s.PlayModeFor(1), 1);
  s.PlayMode = 2;
  EXPECT_EQ(s.PlayModeFor(0), 2);
}

}  // namespace
}  // namespace beatloom
