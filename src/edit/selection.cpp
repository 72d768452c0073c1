#include "edit/selection.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <optional>

#include "model/text_scan.h"
#include "model/timing_values.h"

namespace beatloom {

namespace {

constexpr int kLastPosition = MeasureCount * TicksPerMeasure - 1;
// What four decimal digits hold.
constexpr int kHighestClipNumber = 9999;

bool IsTimingLane(int lane) { return lane == TempoLane || lane == StopLane; }

bool IsSelected(const TBmsObject& o) { return o.Selected != 0; }

// The selected objects, last object first, as the clipboard holds them.
std::vector<TBmsObject> SelectedReversed(const std::vector<TBmsObject>& objects) {
  std::vector<TBmsObject> out;
  for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
    if (!IsSelected(*it)) continue;
    out.push_back(*it);
    out.back().Selected = 1;
  }
  return out;
}

// The session takes these out itself and keeps only them for the history.
std::vector<int> SelectedIndices(const std::vector<TBmsObject>& objects) {
  std::vector<int> indices;
  for (size_t i = 0; i < objects.size(); ++i)
    if (IsSelected(objects[i])) indices.push_back(static_cast<int>(i));
  return indices;
}

// The tempo or stop length of each clip object on those lanes, 0 elsewhere.
std::vector<double> ClipNumbersOf(const Document& doc, const std::vector<TBmsObject>& clip) {
  std::vector<double> numbers(clip.size(), 0.0);
  for (size_t i = 0; i < clip.size(); ++i)
    if (IsTimingLane(clip[i].Lane)) numbers[i] = NumberOf(doc, clip[i]).value_or(0.0);
  return numbers;
}

EditOutcome ClipSelected(ChartSession& session, bool cut) {
  ChartEdit edit{.aspects = kChartSelection};
  if (cut) {
    edit.aspects = kChartObjects;
    edit.label = "切り取り";
    edit.remove = SelectedIndices(session.Doc().ObjList);
  }
  return session.Apply(edit, [cut, &session](Document& doc) {
    std::vector<TBmsObject>& clipboard = session.Clipboard();
    clipboard = SelectedReversed(doc.ObjList);
    session.ClipboardNumbers() = ClipNumbersOf(doc, clipboard);
    if (clipboard.empty()) return EditOutcome::Unchanged;
    if (!cut) {
      for (TBmsObject& o : doc.ObjList) o.Selected = 0;
    }
    return EditOutcome::Changed;
  });
}

int MeasureStart(int pos) { return (pos / TicksPerMeasure) * TicksPerMeasure; }

int EarliestPosition(const std::vector<TBmsObject>& clip) {
  return std::min_element(clip.begin(), clip.end(),
                          [](const TBmsObject& a, const TBmsObject& b) { return a.Pos < b.Pos; })
      ->Pos;
}

// Appends clip as the new selection, keeping each object's distance from the
// start of the earliest object's measure.
// numbers: the tempo or stop length of each clip object on those lanes.
EditOutcome PasteInto(Document& doc, const std::vector<TBmsObject>& clip, const std::vector<double>& numbers,
                      int base) {
  const int64_t shift = int64_t{base} - MeasureStart(EarliestPosition(clip));
  for (TBmsObject& o : doc.ObjList) o.Selected = 0;
  bool added = false;
  for (size_t i = 0; i < clip.size(); ++i) {
    TBmsObject c = clip[i];
    const int64_t pos = c.Pos + shift;
    if (pos < 0 || pos > kLastPosition) continue;
    // A held note whose end would leave the chart is not pasted by half.
    if (IsLongNote(c) && c.EndPos + shift > kLastPosition) continue;
    // A tempo or stop takes this chart's definition of its value.
    if (IsTimingLane(c.Lane) && (i >= numbers.size() || !SetTimingValue(doc, c, numbers[i]))) continue;
    // A block copied from a chart of a wider radix may name sounds this one
    // cannot write.
    if (!IsTimingLane(c.Lane) && c.Value > doc.indices.HighestWav()) continue;
    // AddObject adds nothing for value 0 (or a full background measure) and
    // then answers with the last object, which is not this one.
    const size_t before = doc.ObjList.size();
    doc.AddObject(c.Lane, static_cast<int>(pos), c.Value);
    if (doc.ObjList.size() == before) continue;
    TBmsObject& o = doc.ObjList.back();
    o.Selected = 1;
    o.Hidden = c.Hidden;
    o.Defined = c.Defined;
    // Shifted by whole measures, it keeps its place between two ticks.
    o.OffNum = c.OffNum;
    o.OffDen = c.OffDen;
    if (c.Long != PlainNote) {
      o.Long = c.Long;
      o.EndPos = static_cast<int32_t>(c.EndPos + shift);
      o.EndOffNum = c.EndOffNum;
      o.EndOffDen = c.EndOffDen;
      o.EndValue = c.EndValue;
    }
    added = true;
  }
  return added ? EditOutcome::Changed : EditOutcome::Unchanged;
}

EditOutcome PasteWithUndo(ChartSession& session, std::vector<TBmsObject> clip, std::vector<double> numbers,
                          const PasteWindow& view) {
  if (clip.empty()) return EditOutcome::Unchanged;
  const int base = PasteBase(clip, view);
  const ChartEdit edit{.label = "貼り付け", .aspects = kChartObjects, .objects = ChartEdit::Objects::Appended};
  return session.Apply(edit, [&](Document& doc) {
    session.Clipboard() = std::move(clip);
    session.ClipboardNumbers() = std::move(numbers);
    return PasteInto(doc, session.Clipboard(), session.ClipboardNumbers(), base);
  });
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  // A final line end closes the last line; it opens no empty one.
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool ReadDecimal(std::string_view digits, int& value) {
  value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

std::string LineError(size_t lineNumber, const std::string& why) {
  return "クリップボードの" + std::to_string(lineNumber) + "行目" + why + "貼り付けは行いませんでした。";
}

// The fraction of a tick written after an object line's value ("+3/4"), or
// false when the text is not one (0 < num < den).
bool ReadOffset(std::string_view text, uint32_t& num, uint32_t& den) {
  const size_t slash = text.find('/');
  if (text.size() < 4 || text[0] != '+' || slash == std::string_view::npos) return false;
  const std::string_view a = text.substr(1, slash - 1);
  const std::string_view b = TrimBlanks(text.substr(slash + 1));
  uint64_t n = 0, d = 0;
  for (const auto& [digits, value] : {std::pair{a, &n}, std::pair{b, &d}}) {
    if (digits.empty() || digits.size() > 10) return false;
    for (const char c : digits) {
      if (c < '0' || c > '9') return false;
      *value = *value * 10 + static_cast<uint64_t>(c - '0');
    }
  }
  if (n == 0 || n >= d || d > UINT32_MAX) return false;
  num = static_cast<uint32_t>(n);
  den = static_cast<uint32_t>(d);
  return true;
}

// One object line: lane, position and value in 3, 6 and 3 decimal digits,
// the value in 4 from 1000 on (base 36 and 62 reach 3843), then for an object
// between two ticks "+num/den" of a tick. On the tempo and stop lanes the
// value is the tempo or stop length, and a decimal number after a blank gives
// it exactly ("000000192155 155.5"); whatever else follows is ignored.
std::string ReadObjectLine(std::string_view line, size_t lineNumber, const DefinitionIndex& indices, TBmsObject& o,
                           double& number) {
  int lane = 0, pos = 0, value = 0;
  const size_t valueDigits = line.size() > 12 && line[12] >= '0' && line[12] <= '9' ? 4 : 3;
  if (line.size() < 12 || !ReadDecimal(line.substr(0, 3), lane) || !ReadDecimal(line.substr(3, 6), pos) ||
      !ReadDecimal(line.substr(9, valueDigits), value))
    return LineError(lineNumber, "はオブジェのデータ（12桁の数字）ではありません。");
  if (lane >= LaneCount)
    return LineError(lineNumber, "のレーン " + std::to_string(lane) + " は 0～" + std::to_string(LaneCount - 1) +
                                     " の範囲外です。");
  const int highest = IsTimingLane(lane) ? kHighestClipNumber : indices.HighestWav();
  if (value < 1 || value > highest)
    return LineError(lineNumber,
                     "の値 " + std::to_string(value) + " は 1～" + std::to_string(highest) + " の範囲外です。");
  if (pos > kLastPosition) return LineError(lineNumber, "の位置 " + std::to_string(pos) + " は 999 小節より後ろです。");
  uint32_t num = 0, den = 1;
  const std::string_view rest = line.substr(9 + valueDigits);
  // The fraction of a tick runs up to the blank before an exact number.
  const std::string_view offset = rest.substr(0, rest.find(' '));
  if (!offset.empty() && offset[0] == '+' && !ReadOffset(offset, num, den))
    return LineError(lineNumber, "の位置の端数「" + std::string(offset) + "」は 1 未満の分数ではありません。");
  o = TBmsObject{};
  o.Lane = static_cast<uint8_t>(lane);
  o.Pos = pos;
  o.Value = static_cast<uint16_t>(value);
  o.Selected = 1;
  SetOffset(o, num, den);
  number = IsTimingLane(lane) ? value : 0.0;
  const size_t blank = rest.find(' ');
  double exact = 0;
  if (IsTimingLane(lane) && blank != std::string_view::npos && ParseDecimalNumber(rest.substr(blank), exact) &&
      exact > 0)
    number = exact;
  return {};
}

constexpr char kLongNoteMark = 'L';
constexpr char kEndMark = '>';

// The end of a held note in a clipboard line: ">" and the position in six
// digits, its fraction of a tick, ":" and the end cell's value.
std::string EndText(const TBmsObject& o) {
  char end[16];
  std::snprintf(end, sizeof end, "%c%06d", kEndMark, static_cast<int>(o.EndPos));
  std::string text = end;
  if (o.EndOffNum != 0) text += "+" + std::to_string(o.EndOffNum) + "/" + std::to_string(o.EndOffDen);
  return text + ":" + std::to_string(o.EndValue);
}

// A held note's line ("L" + an object line + EndText).
std::string ReadLongNoteLine(std::string_view line, size_t lineNumber, const DefinitionIndex& indices, TBmsObject& o,
                             double& number) {
  const size_t mark = line.find(kEndMark);
  if (mark == std::string_view::npos) return LineError(lineNumber, "のロングノートに終点がありません。");
  std::string error = ReadObjectLine(line.substr(1, mark - 1), lineNumber, indices, o, number);
  if (!error.empty()) return error;
  const std::string_view end = line.substr(mark + 1);
  const size_t colon = end.find(':');
  int endPos = 0, endValue = 0;
  uint32_t num = 0, den = 1;
  const bool sized = end.size() >= 6 && colon != std::string_view::npos && colon >= 6;
  const std::string_view offset = sized ? end.substr(6, colon - 6) : std::string_view();
  const bool read = sized && ReadDecimal(end.substr(0, 6), endPos) &&
                    (offset.empty() || ReadOffset(offset, num, den)) && colon + 1 < end.size() && ReadDecimal(TrimBlanks(end.substr(colon + 1)), endValue);
  if (!read || o.Lane < FirstKeyLane || o.Lane > LastKeyLane || endValue > indices.HighestWav() ||
      endPos > kLastPosition)
    return LineError(lineNumber, "のロングノートの終点「" + std::string(end) + "」が読めません。");
  o.Long = LongByChannel;
  o.EndPos = endPos;
  o.EndOffNum = num;
  o.EndOffDen = den;
  o.EndValue = static_cast<uint16_t>(endValue);
  if (!EndsAfterStart(o)) return LineError(lineNumber, "のロングノートの終点が始点より前です。");
  return {};
}

}  // namespace

bool InLaneGroup(int lane, LaneGroup group) {
  switch (group) {
    case LaneGroup::All:
      return true;
    case LaneGroup::Player1:
      return lane >= 1 && lane <= 9;
    case LaneGroup::Player2:
      return lane >= 10 && lane <= 18;
    case LaneGroup::Bmp:
      return lane >= 19 && lane <= 21;
    case LaneGroup::Bgm:
      return IsBgmLane(lane);
  }
  return false;
}

EditOutcome SelectLaneGroup(ChartSession& session, LaneGroup group) {
  if (session.Doc().ObjList.empty()) return EditOutcome::Unchanged;
  const ChartEdit edit{.modified = ChartEdit::Mark::Leave, .aspects = kChartSelection};
  return session.Apply(edit, [group](Document& doc) {
    bool changed = false;
    for (TBmsObject& o : doc.ObjList) {
      const uint8_t selected = InLaneGroup(o.Lane, group) ? 1 : 0;
      changed = changed || o.Selected != selected;
      o.Selected = selected;
    }
    return changed ? EditOutcome::Changed : EditOutcome::Unchanged;
  });
}

EditOutcome CutSelected(ChartSession& session) { return ClipSelected(session, true); }

EditOutcome CopySelected(ChartSession& session) { return ClipSelected(session, false); }

EditOutcome DeleteSelected(ChartSession& session) {
  const ChartEdit edit{.label = "削除", .aspects = kChartObjects, .remove = SelectedIndices(session.Doc().ObjList)};
  const bool any = !edit.remove.empty();
  return session.Apply(edit, [any](Document&) { return any ? EditOutcome::Changed : EditOutcome::Unchanged; });
}

int PasteBase(const std::vector<TBmsObject>& clip, const PasteWindow& view) {
  const int q = EarliestPosition(clip);
  if (view.shows(q)) return MeasureStart(q);
  return MeasureStart(view.bottomTick) + TicksPerMeasure;
}

EditOutcome PasteClip(ChartSession& session, const PasteWindow& view) {
  const Document& doc = session.Doc();
  const std::vector<TBmsObject>& clip = session.Clipboard();
  // A clipboard set elsewhere without its numbers reads them from this chart.
  std::vector<double> numbers = session.ClipboardNumbers().size() == clip.size() ? session.ClipboardNumbers()
                                                                                  : ClipNumbersOf(doc, clip);
  return PasteWithUndo(session, clip, std::move(numbers), view);
}

std::string CopySelectedAsText(ChartSession& session) {
  std::string text = std::string(kClipboardHeader) + "\r\n";
  session.Apply({.modified = ChartEdit::Mark::Leave, .aspects = kChartSelection}, [&text](Document& doc) {
    bool any = false;
    char line[96];
    for (auto it = doc.ObjList.rbegin(); it != doc.ObjList.rend(); ++it) {
      if (!IsSelected(*it)) continue;
      int value = it->Value;
      std::string exact;
      // A tempo or stop goes by its number, as the reader's chart has other definitions.
      const std::optional<double> number = IsTimingLane(it->Lane) ? NumberOf(doc, *it) : std::nullopt;
      if (number && (it->Defined || it->Lane == StopLane)) {
        value = static_cast<int>(std::clamp(std::round(*number), 1.0, double{kHighestClipNumber}));
        if (value != *number) exact = " " + ShortestDecimal(*number);
      }
      // A held note's line begins with "L", which a reader that knows only
      // notes of a moment refuses as a whole rather than pasting half of it.
      const bool held = IsLongNote(*it);
      if (held) text += kLongNoteMark;
      std::snprintf(line, sizeof line, "%03d%06d%03d", int{it->Lane}, static_cast<int>(it->Pos), value);
      text += line;
      // An object between two ticks: the fraction follows the value, where
      // an older reader ignores it and pastes the object on its tick.
      if (!OnGrid(*it)) text += "+" + std::to_string(it->OffNum) + "/" + std::to_string(it->OffDen);
      if (held) text += EndText(*it);
      text += exact + "\r\n";
      it->Selected = 0;
      any = true;
    }
    return any ? EditOutcome::Changed : EditOutcome::Unchanged;
  });
  return text;
}

ClipboardText ReadClipboardText(std::string_view text, const DefinitionIndex& indices) {
  ClipboardText result;
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty() || lines[0] != kClipboardHeader) return result;
  result.ours = true;
  result.objects.reserve(lines.size() - 1);
  for (size_t k = 1; k < lines.size(); ++k) {
    // Editors and mail programs add blank lines, at the end above all.
    if (TrimBlanks(lines[k]).empty()) continue;
    const bool held = lines[k][0] == kLongNoteMark;
    result.error = (held ? ReadLongNoteLine : ReadObjectLine)(lines[k], k + 1, indices, result.objects.emplace_back(),
                                                             result.numbers.emplace_back());
    if (!result.error.empty()) {
      result.objects.clear();
      result.numbers.clear();
      break;
    }
  }
  return result;
}

std::string PasteFromText(ChartSession& session, std::string_view text, const PasteWindow& view) {
  ClipboardText read = ReadClipboardText(text, session.Doc().indices);
  if (!read.error.empty()) return read.error;
  if (!read.ours) {
    PasteClip(session, view);
    return {};
  }
  if (read.objects.empty()) {
    // The header alone: the clipboard empties and nothing is pasted.
    const ChartEdit edit{.modified = ChartEdit::Mark::Leave, .aspects = kChartSelection};
    session.Apply(edit, [&session](Document&) {
      session.Clipboard().clear();
      return EditOutcome::Unchanged;
    });
    return {};
  }
  PasteWithUndo(session, std::move(read.objects), std::move(read.numbers), view);
  return {};
}

std::vector<std::string> EnabledEditMenuItems(const ChartSession& session, bool editMode) {
  if (!editMode) return {};
  std::vector<std::string> enabled{"subete1", "N1P1", "N2P1", "BGMB1", "BMPM1", "K11", "N46", "N45"};
  const std::vector<TBmsObject>& objects = session.Doc().ObjList;
  if (std::any_of(objects.begin(), objects.end(), IsSelected))
    enabled.insert(enabled.end(), {"K19", "K20", "K8", "K7", "Delete1", "Delete2"});
  if (!session.Clipboard().empty()) enabled.insert(enabled.end(), {"K6", "K21"});
  return enabled;
}

}  // namespace beatloom
