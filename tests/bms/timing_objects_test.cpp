#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/chart_timing.h"
#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "model/timing_values.h"

namespace beatloom {
namespace {

Document Load(const std::string& text) {
  Document doc;
  Log log;
  LoadBmsBytes(doc, text, "t.bms", log);
  return doc;
}

// Every way a tempo change or stop is written reads as one object, times as
// players time it and is written back in its own form and index.
TEST(TimingObjects, ReadWriteForms) {
  struct Case {
    const char* name;
    std::string lines;
    double value;
    bool stop;
    int radix;
    std::vector<std::string> written;
  };
  const Case cases[] = {
      {"channel 03", "#00103:96\r\n", 150, false, 16, {"#00103:96"}},
      {"channel 08, decimal", "#BPM01 155.5\r\n#00108:01\r\n", 155.5, false, 16, {"#BPM01 155.5", "#00108:01"}},
      {"channel 08, integer", "#BPM0A 150\r\n#00108:0A\r\n", 150, false, 16, {"#BPM0A 150", "#00108:0A"}},
      {"channel 08, beyond 255", "#BPM02 300\r\n#00108:02\r\n", 300, false, 16, {"#BPM02 300", "#00108:02"}},
      {"stop", "#STOP02 96\r\n#00109:02\r\n", 96, true, 16, {"#STOP02 96", "#00109:02"}},
      {"index only base 36 reads", "#STOPZZ 48\r\n#00109:ZZ\r\n", 48, true, 36, {"#STOPZZ 48", "#00109:ZZ"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Document doc = Load("#BPM 120\r\n" + c.lines + "#00211:01\r\n");
    EXPECT_EQ(doc.indices.Radix(), c.radix);
    EXPECT_TRUE(doc.mcom.empty());
    ASSERT_EQ(doc.ObjList.size(), 2u);
    const TBmsObject& o = doc.ObjList.front();
    EXPECT_EQ(int{o.Lane}, c.stop ? StopLane : TempoLane);
    EXPECT_EQ(o.Pos, 192);
    EXPECT_EQ(NumberOf(doc, o), c.value);
    // 120 BPM: two seconds a measure, a tick of stop 1/96 s.
    EXPECT_DOUBLE_EQ(ChartTiming(doc).SecondsAt(384), c.stop ? 4 + c.value / 96 : 2 + 240 / c.value);
    const std::string text = WriteBmsText(doc, {});
    for (const std::string& line : c.written) EXPECT_NE(text.find(line + "\r\n"), std::string::npos) << line;
    const Document again = Load(text);
    EXPECT_EQ(again.ObjList, doc.ObjList);
    EXPECT_EQ(again.bpmDefs, doc.bpmDefs);
    EXPECT_EQ(again.stopDefs, doc.stopDefs);
  }
}

// New values share a definition of the same number or take the first free
// index; integer tempos 1..255 need none.
TEST(TimingObjects, EditsShareDefinitionsByValue) {
  Document doc = Load("#BPM 120\r\n#BPM01 155.5\r\n#00108:01\r\n");
  const struct {
    int lane;
    double value;
    int index;
    bool defined;
  } cases[] = {{TempoLane, 155.5, 1, true}, {TempoLane, 300, 2, true}, {TempoLane, 200, 200, false},
               {TempoLane, 300, 2, true},   {StopLane, 96, 1, true},    {StopLane, 0.5, 2, true}};
  for (const auto& c : cases) {
    TBmsObject o;
    o.Lane = static_cast<uint8_t>(c.lane);
    ASSERT_TRUE(SetTimingValue(doc, o, c.value));
    EXPECT_EQ(o.Value, c.index);
    EXPECT_EQ(o.Defined != 0, c.defined);
    EXPECT_EQ(NumberOf(doc, o), c.value);
  }
  TBmsObject o;
  EXPECT_FALSE(SetTimingValue(doc, o, 0));
  // A plain tempo beyond a channel 03 cell is saved through a definition.
  doc.AddObject(TempoLane, 0, 1295);
  TidyForSave(doc, {});
  EXPECT_EQ(NumberOf(doc, doc.ObjList.back()), 1295);
  EXPECT_NE(WriteBmsText(doc, {}).find("#BPM03 1295\r\n"), std::string::npos);
}

}  // namespace
}  // namespace beatloom
