#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/definition_index.h"
#include "model/text_codec.h"

namespace beatloom {

constexpr int TicksPerMeasure = 192;
constexpr int MeasureCount = 1000;
// Lanes 0..49 keep the numbers that files, the clipboard and settings use;
// the stop lane came later and takes the next number, though the score shows
// it beside the tempo lane. A measure may hold more background lines than the
// 28 lanes 22..49: the further background lanes take the numbers after the
// stop lane, up to what an object's lane byte holds.
constexpr int LaneCount = 256;
constexpr int TempoLane = 0;
constexpr int FirstBgmLane = 22;
constexpr int LastFixedBgmLane = 49;
constexpr int StopLane = 50;
constexpr int FirstExtraBgmLane = 51;
constexpr int FixedBgmLaneCount = LastFixedBgmLane - FirstBgmLane + 1;
// How many background lanes a chart can have in all.
constexpr int BgmLaneLimit = FixedBgmLaneCount + LaneCount - FirstExtraBgmLane;

constexpr bool IsBgmLane(int lane) {
  return (lane >= FirstBgmLane && lane <= LastFixedBgmLane) || (lane >= FirstExtraBgmLane && lane < LaneCount);
}
// Background lanes in the order the score shows them and a measure's lines
// fill them: 0.. for lanes 22..49, then 51, 52, ...
constexpr int BgmIndexOf(int lane) {
  return lane <= LastFixedBgmLane ? lane - FirstBgmLane : lane - FirstExtraBgmLane + FixedBgmLaneCount;
}
constexpr int BgmLaneAt(int index) {
  return index < FixedBgmLaneCount ? FirstBgmLane + index : FirstExtraBgmLane + index - FixedBgmLaneCount;
}
// Passed to AddObject only: "whichever background lane is free at that
// position". It lies beyond every lane number.
constexpr int AnyBgmLane = 1000;
constexpr int InitialScrollMin = -5000;

struct TBmsObject {
  // A chart of a million objects is loaded at the speed its memory is
  // written: the members are ordered, and the marks share one byte, so that
  // an object with its long-note end takes 32 bytes.
  int32_t Pos = 0;
  // A file may place an object between two ticks (a cell of a 768-cell line).
  // Its exact place is then Pos + OffNum/OffDen ticks, the fraction reduced
  // and below 1; Pos is the tick at or before it, where it is drawn and
  // edited. On a tick the fraction is 0/1.
  uint32_t OffNum = 0;
  uint32_t OffDen = 1;
  // A definition index (see DefinitionIndex) or, on the tempo lane, a tempo;
  // 16 bits hold the widest index range.
  uint16_t Value = 0;
  uint8_t Lane = 0;  // every value names a lane (LaneCount)
  uint8_t Selected : 1 = 0;
  uint8_t Hidden : 1 = 0;
  // On the tempo lane: Value names a #BPMxx definition instead of being the
  // tempo itself. Stops always name a #STOPxx definition.
  uint8_t Defined : 1 = 0;
  // A note on a key lane may last: Long names how the file writes it (a
  // LongForm), and the end is EndPos + EndOffNum/EndOffDen ticks, exact like
  // the start. EndValue is the end cell's value (the #LNOBJ index in that form).
  uint8_t Long : 2 = 0;
  int32_t EndPos = 0;
  uint32_t EndOffNum = 0;
  uint32_t EndOffDen = 1;
  uint16_t EndValue = 0;

  TBmsObject() = default;
  // The order of the members is not the order of this constructor, which
  // names an object as one speaks of it: lane, tick, value, marks.
  TBmsObject(int lane, int32_t pos, int value = 0, int selected = 0, int hidden = 0, int defined = 0)
      : Pos(pos),
        Value(static_cast<uint16_t>(value)),
        Lane(static_cast<uint8_t>(lane)),
        Selected(selected != 0),
        Hidden(hidden != 0),
        Defined(defined != 0) {}

  bool operator==(const TBmsObject&) const = default;
};
static_assert(sizeof(TBmsObject) == 32);
static_assert(LaneCount == UINT8_MAX + 1);

// How a key-lane note is written. A start on the long-note channels that
// found no end stays such a start, so that a save gives its cell back.
enum LongForm : uint8_t {
  PlainNote = 0,
  LongByChannel = 1,   // start and end cells on channels 51-59 / 61-69
  LongByLnObj = 2,     // start an ordinary note, end a note with the #LNOBJ value
  UnpairedStart = 3,   // a lone cell on a long-note channel
};
constexpr int FirstKeyLane = 1;
constexpr int LastKeyLane = 18;

// The exact place in ticks, as a double; every caller that compares times
// goes through this one function, so equal places give equal numbers.
double ExactTicks(int32_t pos, uint32_t offNum, uint32_t offDen);
double ExactTicks(const TBmsObject& o);
bool OnGrid(const TBmsObject& o);
// The object now stands on its tick (a move or a snap set Pos anew).
void ClearOffset(TBmsObject& o);
// Sets the fraction of a tick, reduced; num/den must be below 1.
void SetOffset(TBmsObject& o, uint64_t num, uint64_t den);
// Orders exact places.
bool ExactlyBefore(const TBmsObject& a, const TBmsObject& b);

// A note with an end (not a lone long-note start).
bool IsLongNote(const TBmsObject& o);
double EndTicks(const TBmsObject& o);
// The end lies after the start (a long note held for some time).
bool EndsAfterStart(const TBmsObject& o);
// Gives o an end at the exact place of from (its Pos and fraction).
void SetEnd(TBmsObject& o, const TBmsObject& from);
// Makes o a plain note again.
void ClearLong(TBmsObject& o);
// Written on the long-note channels (a long note of that form or a lone start).
bool OnLongChannel(const TBmsObject& o);

// The place an object takes in the file if it stood at pos: its lane, the
// tick and, on a key lane, whether it is hidden (a channel of its own). Two
// objects with one slot cannot both be saved.
uint64_t SlotKey(const TBmsObject& o, int32_t pos);
// The place the object takes where it stands, to the exact fraction of a
// tick: two objects off the grid are one only when their places are equal.
struct ExactSlot {
  uint64_t grid = 0;    // SlotKey at Pos
  uint64_t offset = 0;  // OffNum and OffDen
  bool operator==(const ExactSlot&) const = default;
  auto operator<=>(const ExactSlot&) const = default;
};
ExactSlot ExactSlotOf(const TBmsObject& o);

// Where a header line stood among the lines the writer puts in its fixed
// order: after which of them (Top: before all of them; Definitions: after the
// #WAV and #BMP lines).
enum class HeaderPlace : uint8_t {
  Top,
  Player,
  Genre,
  Title,
  Artist,
  Bpm,
  Midifile,
  Playlevel,
  Rank,
  Volwav,
  Total,
  Stagefile,
  Email,
  Url,
  Definitions,
};

// The header lines a chart may have or leave out, each in the place the chart
// had it. One the chart did not have goes after #PLAYLEVEL.
enum class OptionalHeader : uint8_t { Subtitle, Subartist, Difficulty, Banner, Backbmp, Preview, Lntype, Count };

struct HeaderSpot {
  HeaderPlace place = HeaderPlace::Playlevel;
  // Read order among the chart's optional lines of the same place; new ones last.
  uint8_t order = UINT8_MAX;

  bool operator==(const HeaderSpot&) const = default;
};

// The text fields and two list choices of the chart header. Text is held as
// the bytes read from the file so that a field the author never touched is
// written back byte for byte, whatever its encoding.
struct HeaderFields {
  int cbpmode = 0;  // 0 1Player, 1 2Player, 2 Double Play, -1 none
  int cbrank = 0;   // 0 "- default -", 1..4 rank 0..3, -1 none
  std::string e_genre;
  std::string e_title;
  std::string e_art;
  std::string e_bpm = "120";
  std::string e_level;
  std::string e_midif;
  std::string e_total;
  std::string e_volwav;
  std::string E_Stagefile;
  std::string E_Email;
  std::string E_URL;
  // The optional lines; an empty one is not written.
  std::string e_subtitle;
  std::vector<std::string> e_subartist;  // one per #SUBARTIST line, in order
  // "1" to "5" (BEGINNER, NORMAL, HYPER, ANOTHER, INSANE), or whatever else
  // the chart wrote, kept as it was.
  std::string e_difficulty;
  std::string e_banner;
  std::string e_backbmp;
  std::string e_preview;
  std::string e_lntype;
  std::array<HeaderSpot, static_cast<size_t>(OptionalHeader::Count)> spots{};

  HeaderSpot& Spot(OptionalHeader line) { return spots[static_cast<size_t>(line)]; }
  const HeaderSpot& Spot(OptionalHeader line) const { return spots[static_cast<size_t>(line)]; }

  bool operator==(const HeaderFields&) const = default;
};

// Index and name of every header field held as one text, in the order the
// header panel and the JSON dump list them (e_subartist, a list, is not one).
struct HeaderFieldRef {
  const char* name;
  std::string HeaderFields::*field;
};
const std::vector<HeaderFieldRef>& HeaderTextFields();

// Each optional header line: its keyword and the field that holds its text
// (null for #SUBARTIST, whose lines are the list e_subartist).
struct OptionalHeaderRef {
  OptionalHeader line;
  const char* keyword;
  std::string HeaderFields::*field;
};
const std::vector<OptionalHeaderRef>& OptionalHeaders();

// The one open chart. Every change to objects goes through the operations
// below; callers that change anything set Modified themselves, as the header
// panel and the editing commands do.
class Document {
 public:
  Document();

  std::vector<TBmsObject> ObjList;
  std::array<double, MeasureCount> MeasureLen{};
  // How many channel 01 lines each measure has met while reading; decides the
  // background lane of the next one.
  std::array<int, MeasureCount> BgmLineCount{};
  // Depth of #IF blocks met while reading; lines inside are kept as text.
  int IfDepth = 0;

  HeaderFields header;
  // How this chart writes definition indices; the tables below have a slot
  // for every index it can name.
  DefinitionIndex indices;
  std::vector<std::string> wav;  // file names, bytes as read
  std::vector<std::string> bmp;
  // #BPMxx and #STOPxx values, bytes as read, one slot per index like wav.
  std::vector<std::string> bpmDefs;
  std::vector<std::string> stopDefs;
  std::vector<std::string> mmemo;  // free text written at the top of the file
  std::vector<std::string> mcom;   // # lines kept verbatim

  // The text encoding of the file the chart came from; header edits are
  // encoded with it so that the file never mixes encodings.
  TextEncoding encoding = TextEncoding::Cp932;
  bool hasBom = false;  // a UTF-8 byte-order mark stood at the start

  bool Modified = false;
  bool DocumentIO = true;

  // Vertical scroll minimum of the score in ticks (negative: the score scrolls
  // upwards). Adding an object lowers it so the score always reaches 16
  // measures beyond the highest object; it is never raised except by a reset.
  int ScrollMin = InitialScrollMin;
  // Set by the score while a selecting mouse gesture runs: objects added then
  // come out selected.
  bool SelectAddedObjects = false;

  // Defaults of %EMAIL and %URL for a new chart, from the user's settings.
  std::string DefaultEmail;
  std::string DefaultURL;

  int ObjLast() const { return static_cast<int>(ObjList.size()) - 1; }

  // Appends one object. Returns its index, or ObjLast() when nothing was added
  // (value 0, or no free background lane for AnyBgmLane).
  int AddObject(int lane, int pos, int value);
  void DeleteObject(int index);
  // Keeps, for every slot (see SlotKey), only the object that stands last;
  // survivors keep their order.
  void RemoveDuplicates();
  // The document half of a reset: objects, lengths, header, memos, definitions,
  // scroll minimum. Leaves Modified alone.
  void ResetDocument();

  // Free background lane that AddObject(AnyBgmLane, pos, ..) would choose, or -1.
  int NextBgmLaneAt(int pos) const;
};

// How many background lanes doc has: the 28 numbered ones, and on to the
// highest lane in use (which its busiest measure's lines fill in turn).
int BgmLaneCountOf(const Document& doc);

// Exchanges the x6/x7 and x8/x9 channels of every key group; its own inverse.
int MapChannel(int channel);

}  // namespace beatloom
