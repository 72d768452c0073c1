#include "bms/bms_reader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <optional>

#include "bms/index_radix.h"
#include "model/file_io.h"
#include "model/text_scan.h"

namespace beatloom {

namespace {

constexpr std::string_view kRejected = ":使用禁止記述  ";

std::string LineTag(int lineNumber) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "Line%04d", lineNumber);
  return buf;
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// Integer text in the loose sense charts use: leading blanks, a sign,
// digits. Used only to tell "a measure number, but not one we can hold" from
// "not a data line at all".
bool LooksLikeInteger(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
  return AllDigits(s);
}

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// A keyword that must stand alone: followed by a blank, a tab or the end.
bool StartsWithWord(std::string_view up, std::string_view keyword) {
  if (!StartsWith(up, keyword)) return false;
  return up.size() == keyword.size() || up[keyword.size()] == ' ' || up[keyword.size()] == '\t';
}

}  // namespace

CellPlace PlaceOfCell(long long i, long long n) {
  const long long ticks = TicksPerMeasure * i;
  const long long rest = ticks % n;
  CellPlace place;
  place.tick = static_cast<int>(ticks / n);
  if (rest != 0) {
    const long long g = std::gcd(rest, n);
    place.num = static_cast<uint32_t>(rest / g);
    place.den = static_cast<uint32_t>(n / g);
  }
  return place;
}

namespace {

struct Channel {
  int lane;  // -1 rejected, -3 measure length, -2 background (lane chosen later)
  bool hidden;
  bool defined = false;  // the cells name #BPMxx or #STOPxx definitions
  bool longNote = false;  // a long-note channel (51-59, 61-69)
};

constexpr int kMeasureLengthLane = -3;
constexpr int kBackgroundChannel = -2;

int HexCellValue(char high, char low) {
  const int h = HexDigitValue(high);
  const int l = HexDigitValue(low);
  return h < 0 || l < 0 ? -1 : h * 16 + l;
}

Channel LaneOfChannel(int channel) {
  if (channel == 1) return {kBackgroundChannel, false};
  if (channel == 2) return {kMeasureLengthLane, false};
  if (channel == 3) return {TempoLane, false};
  if (channel == 8) return {TempoLane, false, true};
  if (channel == 9) return {StopLane, false, true};
  if (channel == 4) return {19, false};
  if (channel == 6) return {21, false};
  if (channel == 7) return {20, false};
  if (channel >= 11 && channel <= 19) return {channel - 10, false};
  if (channel >= 21 && channel <= 29) return {channel - 11, false};
  if (channel >= 31 && channel <= 39) return {channel - 30, true};
  if (channel >= 41 && channel <= 49) return {channel - 31, true};
  if ((channel >= 51 && channel <= 59) || (channel >= 61 && channel <= 69)) {
    // The same keys as channels 11-29, in the same exchanged order.
    Channel c = LaneOfChannel(MapChannel(channel - 40));
    c.longNote = c.lane >= 0;
    return c;
  }
  return {-1, false};
}

struct HeaderKeyword {
  std::string_view keyword;
  std::string HeaderFields::*field;  // null: handled specially
  HeaderPlace place;                 // where the writer puts it
};

void KeepRejected(Document& doc, std::string_view line, int lineNumber, Log& log, std::string_view message) {
  log.Add(LineTag(lineNumber) + std::string(message) + ToUtf8(line, doc.encoding));
  doc.mcom.emplace_back(line);
}

// Where the next background object at each tick goes once a measure has
// given each of its lines a lane of its own and the lanes are used up: above
// the highest background lane there (the lane AddObject(AnyBgmLane, ..) would
// choose), counted as a background lane index (BgmIndexOf), or BgmLaneLimit
// when none is left. A load keeps one table for the whole chart, so that a
// line costs what its cells cost; a single typed line builds the table of its
// measure. An object between two ticks counts at the tick before it.
using NextLanes = std::array<uint8_t, TicksPerMeasure>;
static_assert(BgmLaneLimit <= UINT8_MAX);

void NextLanesOf(const Document& doc, int measure, NextLanes& next) {
  const int first = measure * TicksPerMeasure;
  next.fill(0);
  for (const TBmsObject& o : doc.ObjList) {
    const long long offset = static_cast<long long>(o.Pos) - first;
    if (offset < 0 || offset >= TicksPerMeasure || !IsBgmLane(o.Lane)) continue;
    next[offset] = std::max<uint8_t>(next[offset], static_cast<uint8_t>(BgmIndexOf(o.Lane) + 1));
  }
}

// Lanes for the cells of such a line, taken from next (which then counts
// them). Empty, with next as it was, when some cell would find no lane, so
// that the line is kept whole.
struct ReadCell {
  CellPlace place;
  int value;
};

std::vector<int> BackgroundLanes(uint8_t* next, const std::vector<ReadCell>& cells) {
  std::vector<int> lanes;
  lanes.reserve(cells.size());
  for (const ReadCell& cell : cells) {
    const int offset = cell.place.tick;
    if (next[offset] >= BgmLaneLimit) {
      for (size_t k = lanes.size(); k-- > 0;) --next[cells[k].place.tick];
      return {};
    }
    lanes.push_back(BgmLaneAt(next[offset]++));
  }
  return lanes;
}

// Header values and measure lengths that the last line of their kind decides.
// A kept line of such a kind took effect when it was read (no play mode, no
// rank, length 1.0), so an earlier one must go when a later line overrides it:
// written back after the header it would win on the next load.
constexpr int kRankSlot = 0;
constexpr int kPlayerSlot = 1;
constexpr int kFirstLengthSlot = 2;
constexpr int kSlotCount = kFirstLengthSlot + MeasureCount;

struct KeptSetting {
  size_t index = 0;  // in mcom
  int lineNumber = 0;
};

// What a load remembers between lines.
struct LoadState {
  std::vector<uint8_t> nextLanes = std::vector<uint8_t>(MeasureCount * TicksPerMeasure, 0);
  std::vector<std::optional<KeptSetting>> kept = std::vector<std::optional<KeptSetting>>(kSlotCount);
  std::vector<char> dropped;  // by mcom index
  // The place of the last header line read, and how many optional lines each
  // place has met: an optional line is written back where it stood.
  HeaderPlace lastPlace = HeaderPlace::Top;
  std::array<uint8_t, static_cast<size_t>(HeaderPlace::Definitions) + 1> optionalAt{};

  void Drop(size_t index) {
    if (dropped.size() <= index) dropped.resize(index + 1, 0);
    dropped[index] = 1;
  }
};

constexpr std::string_view kOverridden = ":後の記述で上書きされたため破棄します  ";

// Which setting a kept line (not inside a conditional block) has decided,
// or -1: the lines the header and length rules keep are recognised again.
int SettingOfKeptLine(std::string_view line) {
  const std::string up = Upper(line.substr(0, 8));
  int n = 0;
  if (StartsWith(up, "#RANK") && ParseDecimalInt(TrimBlanks(line.substr(5)), n)) return kRankSlot;
  if (StartsWith(up, "#PLAYER") && ParseDecimalInt(TrimBlanks(line.substr(7)), n)) return kPlayerSlot;
  if (line.size() >= 6 && line[0] == '#' && line.substr(4, 2) == "02" && AllDigits(line.substr(1, 3)))
    return kFirstLengthSlot + std::stoi(std::string(line.substr(1, 3)));
  return -1;
}

// A line of the given setting has just been applied: the kept line that
// decided it before is dropped, as the file itself never used it.
void Override(Document& doc, int slot, LoadState* state, Log& log) {
  if (state) {
    std::optional<KeptSetting>& kept = state->kept[slot];
    if (!kept) return;
    log.Add(LineTag(kept->lineNumber) + std::string(kOverridden) + ToUtf8(doc.mcom[kept->index], doc.encoding));
    state->Drop(kept->index);
    kept.reset();
    return;
  }
  // A typed line: the kept lines left by the load are looked for by their text.
  int depth = 0;
  for (size_t i = 0; i < doc.mcom.size(); ++i) {
    const ConditionalKind kind = ClassifyConditional(doc.mcom[i]);
    if (kind == ConditionalKind::Open) ++depth;
    if (kind == ConditionalKind::Close && depth > 0) --depth;
    if (kind != ConditionalKind::None || depth > 0 || SettingOfKeptLine(doc.mcom[i]) != slot) continue;
    log.Add(LineTag(0) + std::string(kOverridden) + ToUtf8(doc.mcom[i], doc.encoding));
    doc.mcom.erase(doc.mcom.begin() + static_cast<std::ptrdiff_t>(i--));
  }
}

}  // namespace

bool DropKeptLinesOf(Document& doc, HeaderChoice choice) {
  const size_t before = doc.mcom.size();
  Log unused;
  Override(doc, choice == HeaderChoice::PlayMode ? kPlayerSlot : kRankSlot, nullptr, unused);
  return doc.mcom.size() != before;
}

namespace {

// Applies a line of the given setting: the earlier kept one goes, and when
// keep is set this line itself is kept as the one that now decides.
void ApplySetting(Document& doc, std::string_view line, int lineNumber, int slot, bool keep, LoadState* state,
                  Log& log) {
  Override(doc, slot, state, log);
  if (!keep) return;
  if (state) state->kept[slot] = KeptSetting{doc.mcom.size(), lineNumber};
  doc.mcom.emplace_back(line);
}

// "#BPMxx value" and "#STOPxx value": the blank after the index keeps
// "#BPM150", a header tempo written without one, out. Index 00 names
// nothing (a cell 00 is empty) and stays a kept line.
bool InterpretTimingDefinition(Document& doc, std::string_view line, const std::string& up) {
  for (const bool stop : {false, true}) {
    const std::string_view keyword = stop ? "#STOP" : "#BPM";
    const size_t at = keyword.size();
    if (!StartsWith(up, keyword) || line.size() < at + 3 || (line[at + 2] != ' ' && line[at + 2] != '\t')) continue;
    const std::optional<int> index = doc.indices.Parse(line.substr(at, 2));
    if (!index || *index == 0) return false;
    (stop ? doc.stopDefs : doc.bpmDefs)[static_cast<size_t>(*index)] = std::string(line.substr(at + 3));
    return true;
  }
  return false;
}

// #SUBTITLE, #DIFFICULTY and the other lines a header may have or leave out.
// The last line of a keyword gives its text, except #SUBARTIST, which keeps
// every line; a load remembers where the first one stood.
bool InterpretOptionalHeader(Document& doc, std::string_view line, const std::string& up, LoadState* state) {
  for (const OptionalHeaderRef& ref : OptionalHeaders()) {
    const std::string_view keyword(ref.keyword);
    if (!StartsWithWord(up, keyword)) continue;
    std::string value(TrimBlanks(line.substr(keyword.size())));
    HeaderFields& h = doc.header;
    const bool first = ref.field ? (h.*ref.field).empty() : h.e_subartist.empty();
    if (ref.field) {
      h.*ref.field = std::move(value);
    } else if (!value.empty()) {
      h.e_subartist.push_back(std::move(value));
    }
    if (state && first) {
      uint8_t& count = state->optionalAt[static_cast<size_t>(state->lastPlace)];
      h.Spot(ref.line) = {state->lastPlace, count++};
    }
    return true;
  }
  return false;
}

bool InterpretHeader(Document& doc, std::string_view line, int lineNumber, const std::string& up, LoadState* state,
                     Log& log) {
  static const HeaderKeyword kText[] = {
      {"#TITLE", &HeaderFields::e_title, HeaderPlace::Title},
      {"#GENRE", &HeaderFields::e_genre, HeaderPlace::Genre},
      {"#MIDIFILE", &HeaderFields::e_midif, HeaderPlace::Midifile},
      {"#BPM", &HeaderFields::e_bpm, HeaderPlace::Bpm},
      {"#PLAYLEVEL", &HeaderFields::e_level, HeaderPlace::Playlevel},
      {"#ARTIST", &HeaderFields::e_art, HeaderPlace::Artist},
      {"#TOTAL", &HeaderFields::e_total, HeaderPlace::Total},
      {"#VOLWAV", &HeaderFields::e_volwav, HeaderPlace::Volwav},
      {"#RANK", nullptr, HeaderPlace::Rank},
      {"#STAGEFILE", &HeaderFields::E_Stagefile, HeaderPlace::Stagefile},
      {"%EMAIL", &HeaderFields::E_Email, HeaderPlace::Email},
      {"%URL", &HeaderFields::E_URL, HeaderPlace::Url},
      {"#PLAYER", nullptr, HeaderPlace::Player},
  };
  if (InterpretOptionalHeader(doc, line, up, state)) return true;
  for (const HeaderKeyword& k : kText) {
    // "#BPM01 150" defines an extended tempo, not the chart's tempo.
    const bool matches = k.keyword == "#BPM" ? StartsWithWord(up, k.keyword) : StartsWith(up, k.keyword);
    if (!matches) continue;
    if (state) state->lastPlace = k.place;
    const std::string_view value = TrimBlanks(line.substr(k.keyword.size()));
    if (k.field) {
      doc.header.*k.field = std::string(value);
      return true;
    }
    int n = 0;
    if (k.keyword == "#RANK") {
      if (!ParseDecimalInt(value, n)) throw ConversionError("#RANK");
      const bool inRange = n >= -1 && n <= 3;
      doc.header.cbrank = inRange ? n + 1 : -1;
      ApplySetting(doc, line, lineNumber, kRankSlot, !inRange, state, log);
      return true;
    }
    // #PLAYER: a value that is no number is not ours; it ends up kept as text.
    if (!ParseDecimalInt(value, n)) return false;
    const bool inRange = n >= 1 && n <= 3;
    doc.header.cbpmode = inRange ? n - 1 : -1;
    ApplySetting(doc, line, lineNumber, kPlayerSlot, !inRange, state, log);
    return true;
  }
  for (const bool isWav : {true, false}) {
    if (!StartsWith(up, isWav ? "#WAV" : "#BMP")) continue;
    // The index stands alone: "#WAVCMD ..." is some other command, and read
    // as index CM it would lose its "D".
    if (line.size() > 6 && line[6] != ' ' && line[6] != '\t') return false;
    const std::optional<int> index = doc.indices.Parse(line.substr(4, 2));
    if (!index) throw ConversionError(isWav ? "#WAV" : "#BMP");
    if (state) state->lastPlace = HeaderPlace::Definitions;
    const std::string name(line.size() > 7 ? line.substr(7) : std::string_view());
    if (isWav && *index < DefinitionIndex::FirstWav) {
      doc.mcom.emplace_back(line);  // WAV00 has no slot but charts use it
    } else {
      (isWav ? doc.wav : doc.bmp)[static_cast<size_t>(*index)] = name;
    }
    return true;
  }
  return InterpretTimingDefinition(doc, line, up);
}

void InterpretData(Document& doc, std::string_view line, int lineNumber, LoadState* state, Log& log) {
  const int measure = (line[1] - '0') * 100 + (line[2] - '0') * 10 + (line[3] - '0');
  const int channel = MapChannel((line[4] - '0') * 10 + (line[5] - '0'));
  const Channel ch = LaneOfChannel(channel);
  if (ch.lane == -1) {
    KeepRejected(doc, line, lineNumber, log, kRejected);
    return;
  }
  const std::string_view data = line.size() > 7 ? line.substr(7) : std::string_view();
  if (ch.lane == kMeasureLengthLane) {
    double factor = 1.0;
    const bool parsed = ParseDecimalNumber(data, factor);
    doc.MeasureLen[measure] = parsed ? factor : 1.0;
    ApplySetting(doc, line, lineNumber, kFirstLengthSlot + measure, !parsed, state, log);
    return;
  }
  std::string_view cellsText = data;
  while (!cellsText.empty() && (cellsText.back() == ' ' || cellsText.back() == '\t')) cellsText.remove_suffix(1);
  // A line with a malformed cell adds nothing: half a line of notes would be
  // worse than none, and the line itself is kept. A trailing odd character
  // is no cell and is ignored.
  std::vector<ReadCell> cells;
  const size_t n = cellsText.size() / 2;
  bool wellFormed = true;
  // Channel 03 cells are hexadecimal numbers, not definition indices.
  const bool tempo = ch.lane == TempoLane && !ch.defined;
  // Cell i lies 192 i / n ticks in: whole ticks plus rest / n, stepped
  // from cell to cell rather than divided out for each.
  const long long cellCount = static_cast<long long>(n);
  const long long stepWhole = cellCount ? TicksPerMeasure / cellCount : 0;
  const long long stepRest = cellCount ? TicksPerMeasure % cellCount : 0;
  long long whole = 0;
  long long rest = 0;
  for (size_t i = 0; i < n && wellFormed; ++i) {
    const char high = cellsText[2 * i];
    const char low = cellsText[2 * i + 1];
    const int value = tempo ? HexCellValue(high, low) : doc.indices.CellValue(high, low);
    if (value < 0) {
      wellFormed = false;
      break;
    }
    if (value != 0) {
      ReadCell& cell = cells.emplace_back(ReadCell{{static_cast<int>(whole), 0, 1}, value});
      if (rest != 0) {
        const long long g = std::gcd(rest, cellCount);
        cell.place.num = static_cast<uint32_t>(rest / g);
        cell.place.den = static_cast<uint32_t>(cellCount / g);
      }
    }
    whole += stepWhole;
    rest += stepRest;
    if (rest >= cellCount) {
      rest -= cellCount;
      ++whole;
    }
  }
  if (!wellFormed) {
    KeepRejected(doc, line, lineNumber, log, kRejected);
    return;
  }
  std::vector<int> lanes(cells.size(), ch.lane);
  if (ch.lane == kBackgroundChannel) {
    int& count = doc.BgmLineCount[measure];
    if (count < BgmLaneLimit) {
      lanes.assign(cells.size(), BgmLaneAt(count));
      ++count;
    } else {
      NextLanes own;
      uint8_t* next = state ? state->nextLanes.data() + measure * TicksPerMeasure : own.data();
      if (!state) NextLanesOf(doc, measure, own);
      lanes = BackgroundLanes(next, cells);
      if (lanes.size() != cells.size()) {
        KeepRejected(doc, line, lineNumber, log, ":BGMレーンに空きがありません  ");
        return;
      }
    }
  }
  for (size_t i = 0; i < cells.size(); ++i) {
    const size_t before = doc.ObjList.size();
    const CellPlace& place = cells[i].place;
    const int pos = measure * TicksPerMeasure + place.tick;
    const int index = doc.AddObject(lanes[i], pos, cells[i].value);
    if (doc.ObjList.size() == before) continue;
    TBmsObject& added = doc.ObjList[index];
    added.Hidden = ch.hidden ? 1 : 0;
    added.OffNum = place.num;
    added.OffDen = place.den;
    added.Defined = ch.defined ? 1 : 0;
    if (ch.longNote) added.Long = UnpairedStart;
    if (state && IsBgmLane(lanes[i])) {
      uint8_t& next = state->nextLanes[static_cast<size_t>(pos)];
      next = std::max(next, static_cast<uint8_t>(BgmIndexOf(lanes[i]) + 1));
    }
  }
}

}  // namespace

ConditionalKind ClassifyConditional(std::string_view line) {
  const std::string up = Upper(line.substr(0, 12));
  if (StartsWithWord(up, "#IF")) return ConditionalKind::Open;
  if (StartsWithWord(up, "#ENDIF")) return ConditionalKind::Close;
  for (std::string_view k : {"#RANDOM", "#SETRANDOM", "#ENDRANDOM", "#ELSE", "#ELSEIF"})
    if (StartsWithWord(up, k)) return ConditionalKind::Other;
  return ConditionalKind::None;
}

namespace {

void InterpretLineIn(Document& doc, std::string_view line, int lineNumber, LoadState* state, Log& log) {
  // Conditional blocks are never interpreted: which branch plays is the
  // player's business, and taking all of them would merge every branch.
  const ConditionalKind cond = ClassifyConditional(line);
  if (doc.IfDepth > 0 && StartsWith(line, "*-")) return;  // a comment is a comment anywhere
  if (cond != ConditionalKind::None || doc.IfDepth > 0) {
    if (cond == ConditionalKind::Open) ++doc.IfDepth;
    if (cond == ConditionalKind::Close && doc.IfDepth > 0) --doc.IfDepth;
    doc.mcom.emplace_back(line);
    return;
  }
  // Once read, "#BASE 62" is what the chart's radix stands for.
  if (doc.indices.Radix() == DefinitionIndex::Base62 && IsBase62Line(line)) return;
  // Every header keyword begins with a letter: a data line ("#00111:..")
  // skips the keyword scan, which would cost a copy of the line.
  const bool data = line.size() > 1 && line[0] == '#' && line[1] >= '0' && line[1] <= '9';
  const bool handled = !data && InterpretHeader(doc, line, lineNumber, Upper(line), state, log);
  if (!line.empty() && line[0] == '#') {
    if (handled) return;
    const std::string_view measureText = line.substr(1, 3);
    const std::string_view channelText = line.size() >= 6 ? line.substr(4, 2) : std::string_view();
    if (measureText.size() == 3 && AllDigits(measureText) && channelText.size() == 2 && AllDigits(channelText)) {
      InterpretData(doc, line, lineNumber, state, log);
    } else if (LooksLikeInteger(measureText) && LooksLikeInteger(channelText)) {
      KeepRejected(doc, line, lineNumber, log, kRejected);  // a measure we cannot hold
    } else {
      doc.mcom.emplace_back(line);
    }
    return;
  }
  if (line.empty() || StartsWith(line, "*-") || handled) return;
  doc.mmemo.emplace_back(line);
}

}  // namespace

void InterpretLine(Document& doc, std::string_view line, int lineNumber, Log& log) {
  InterpretLineIn(doc, line, lineNumber, nullptr, log);
}

std::string_view ChartText(std::string_view bytes) { return bytes.substr(0, bytes.find('\x1A')); }

std::vector<std::string_view> SplitLines(std::string_view bytes) { return SplitLineEnds(ChartText(bytes)); }

void LoadBmsBytes(Document& doc, std::string_view bytes, const std::string& displayName, Log& log) {
  doc.ResetDocument();
  doc.BgmLineCount.fill(0);
  doc.IfDepth = 0;
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (StartsWith(bytes, kBom)) {
    doc.hasBom = true;
    bytes.remove_prefix(kBom.size());
  }
  const std::string_view text = ChartText(bytes);
  doc.encoding = DetectEncoding(text);
  if (doc.hasBom) doc.encoding = TextEncoding::Utf8;
  const IndexRadixChoice radix = ChooseIndexRadix(text);
  if (radix.radix != DefinitionIndex::Hex) {
    ResetIndices(doc, radix.radix);
    log.Add(LineTag(radix.lineNumber) + ":インデックスを" + std::to_string(radix.radix) + "進数で読み込みます  " +
            radix.evidence);
  }
  int counter = 0;
  LoadState state;
  // Every object stands in a cell of two characters; reserving for the
  // densest chart the text could be spares the list its growing copies,
  // which cost a large chart more than reading it.
  doc.ObjList.reserve(text.size() / 2);
  LineCursor lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    ++counter;
    if (line.empty()) continue;
    try {
      InterpretLineIn(doc, line, counter, &state, log);
    } catch (const std::exception&) {
      log.Add(LineTag(counter) + "：解析失敗。スキップします：" + ToUtf8(line, doc.encoding));
      log.RequestShow();
      doc.mcom.emplace_back(line);
    }
  }
  if (!state.dropped.empty()) {
    // A line moved onto itself would come out empty: only later lines move.
    size_t kept = 0;
    for (size_t i = 0; i < doc.mcom.size(); ++i) {
      if (i < state.dropped.size() && state.dropped[i]) continue;
      if (kept != i) doc.mcom[kept] = std::move(doc.mcom[i]);
      ++kept;
    }
    doc.mcom.resize(kept);
  }
  PairLongNotes(doc);
  // An #IF the file leaves open is closed here, as the writer would close it,
  // so that the chart shown is the chart that will be saved.
  for (; doc.IfDepth > 0; --doc.IfDepth) doc.mcom.emplace_back("#ENDIF");
  // Decided again on what a save keeps, so that saving cannot change it.
  doc.encoding = DetectDocumentEncoding(doc);
  log.Add("ファイルのクローズ" + displayName);
  doc.Modified = false;
  log.Add("処理は正常に終了しました" + displayName);
  log.Add("オブジェ総数:" + std::to_string(doc.ObjList.size()));
}

std::optional<int> LnObjIndex(const Document& doc) {
  int depth = 0;
  std::optional<int> found;
  for (const std::string& line : doc.mcom) {
    const ConditionalKind kind = ClassifyConditional(line);
    if (kind == ConditionalKind::Open) ++depth;
    if (kind == ConditionalKind::Close && depth > 0) --depth;
    if (kind != ConditionalKind::None || depth > 0 || !StartsWithWord(Upper(line.substr(0, 7)), "#LNOBJ")) continue;
    const std::string_view value = TrimBlanks(std::string_view(line).substr(6));
    const std::optional<int> index = value.size() == 2 ? doc.indices.Parse(value) : std::nullopt;
    if (index && *index != 0) found = index;  // the last line decides, as for the header
  }
  return found;
}

namespace {

// Sorts indices of objects by their exact places, file order among equal places.
void InPlaceOrder(const Document& doc, std::vector<size_t>& order) {
  std::stable_sort(order.begin(), order.end(),
                   [&doc](size_t a, size_t b) { return ExactlyBefore(doc.ObjList[a], doc.ObjList[b]); });
}

}  // namespace

void PairLongNotes(Document& doc) {
  const std::string& lntype = doc.header.e_lntype;
  const bool channelPairs = lntype.empty() || TrimBlanks(lntype) == "1";
  const std::optional<int> lnobj = LnObjIndex(doc);
  // One pass sorts the candidates into their lanes: a chart without long
  // notes, however large, pays one look at each object.
  constexpr size_t kLanes = LastKeyLane + 1;
  std::array<std::vector<size_t>, kLanes> cellsOf;
  std::array<std::vector<size_t>, kLanes> notesOf;
  bool candidates = false;
  for (size_t i = 0; i < doc.ObjList.size(); ++i) {
    const TBmsObject& o = doc.ObjList[i];
    if (o.Lane < FirstKeyLane || o.Lane > LastKeyLane) continue;
    if (channelPairs && o.Long == UnpairedStart) {
      cellsOf[o.Lane].push_back(i);
      candidates = true;
    } else if (lnobj && o.Long == PlainNote && !o.Hidden) {
      notesOf[o.Lane].push_back(i);
      candidates = candidates || o.Value == *lnobj;
    }
  }
  if (!candidates) return;
  std::vector<char> ends(doc.ObjList.size(), 0);
  bool any = false;
  for (size_t lane = FirstKeyLane; lane < kLanes; ++lane) {
    std::vector<size_t>& cells = cellsOf[lane];
    InPlaceOrder(doc, cells);
    for (size_t k = 0; k + 1 < cells.size(); k += 2) {
      TBmsObject& start = doc.ObjList[cells[k]];
      const TBmsObject& end = doc.ObjList[cells[k + 1]];
      start.Long = LongByChannel;
      SetEnd(start, end);
      start.EndValue = end.Value;
      ends[cells[k + 1]] = 1;
      any = true;
    }
    if (!lnobj) continue;
    std::vector<size_t>& notes = notesOf[lane];
    InPlaceOrder(doc, notes);
    // The note before an end begins the long note; an end that follows
    // another end (or nothing) has nothing to close and stays a note.
    std::optional<size_t> open;
    for (const size_t i : notes) {
      const TBmsObject& o = doc.ObjList[i];
      if (o.Value != *lnobj) {
        open = i;
        continue;
      }
      if (open) {
        TBmsObject& start = doc.ObjList[*open];
        start.Long = LongByLnObj;
        SetEnd(start, o);
        start.EndValue = o.Value;
        ends[i] = 1;
        any = true;
      }
      open.reset();
    }
  }
  if (!any) return;
  size_t out = 0;
  for (size_t i = 0; i < doc.ObjList.size(); ++i)
    if (!ends[i]) doc.ObjList[out++] = doc.ObjList[i];
  doc.ObjList.resize(out);
}

bool LoadBmsFile(Document& doc, const std::string& path, Log& log, std::string* failure) {
  log.Clear();
  log.Add("ファイルのオープン:" + path);
  std::string reason;
  bool loaded = false;
  try {
    std::string bytes;
    if (ReadFileBytes(path, bytes, &reason)) {
      log.Add("オープンに成功しました" + path);
      LoadBmsBytes(doc, bytes, path, log);
      loaded = true;
    }
  } catch (const std::exception&) {
    // A file too large to hold fails like one that cannot be read.
    reason = path + ": too large to load";
  }
  if (loaded) return true;
  // The reason names the path: "song.bms: No such file or directory".
  log.Add("ファイルの読込に失敗しました：" + reason);
  if (failure) *failure = reason;
  log.RequestShow();
  log.Add("メモリ内のデータをリセットしました" + path);
  doc.ResetDocument();
  return false;
}

}  // namespace beatloom
