#include "edit/definition_lists.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "bms/file_kinds.h"
#include "model/text_codec.h"

namespace beatloom {

namespace {

// "#" + three measure digits + two channel characters + ":".
constexpr size_t kDataPrefix = 7;

constexpr const char* kKeptLineRefusal = "保持している行のデータを読み取れないため、インデックスを付け替えられません: ";
constexpr const char* kOtherFolderNote = "譜面と別のフォルダのファイルを名前だけ登録しました: ";
constexpr const char* kLeftOutNote = "音声・画像・MIDIでないため登録しなかったファイル: ";

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Whether a kept data line's cells name definitions of kind: the channels of
// background sounds, keys (visible, hidden, long) and the image layers.
bool ChannelUsesKind(DefinitionKind kind, std::string_view line) {
  if (line.size() < kDataPrefix || line[0] != '#' || line[6] != ':') return false;
  for (int i = 1; i <= 3; ++i)
    if (line[i] < '0' || line[i] > '9') return false;
  const char hi = line[4];
  const char lo = line[5];
  if (kind == DefinitionKind::Bmp) return hi == '0' && (lo == '4' || lo == '6' || lo == '7');
  if (hi == '0') return lo == '1';
  return hi >= '1' && hi <= '6' && lo >= '1' && lo <= '9';
}

std::string_view CellsOf(std::string_view line) {
  std::string_view cells = line.substr(kDataPrefix);
  while (!cells.empty() && (cells.back() == ' ' || cells.back() == '\t')) cells.remove_suffix(1);
  return cells;
}

bool CellsReadable(const DefinitionIndex& indices, std::string_view cells) {
  if (cells.size() % 2 != 0) return false;
  for (size_t i = 0; i < cells.size(); i += 2)
    if (indices.CellValue(cells[i], cells[i + 1]) < 0) return false;
  return true;
}

// An unreadable line might hold a or b at any offset; only one that surely
// holds neither may stay as it is.
bool MayName(const DefinitionIndex& indices, std::string_view cells, int a, int b) {
  for (size_t i = 0; i + 1 < cells.size(); ++i) {
    const int v = indices.CellValue(cells[i], cells[i + 1]);
    if (v == a || v == b) return true;
  }
  return false;
}

std::optional<std::string> CheckKeptLines(const Document& doc, DefinitionKind kind, int a, int b) {
  for (const std::string& line : doc.mcom) {
    if (!ChannelUsesKind(kind, line)) continue;
    const std::string_view cells = CellsOf(line);
    if (!CellsReadable(doc.indices, cells) && MayName(doc.indices, cells, a, b))
      return std::string(kKeptLineRefusal) + line;
  }
  return std::nullopt;
}

void SwapKeptCells(Document& doc, DefinitionKind kind, int a, int b) {
  for (std::string& line : doc.mcom) {
    if (!ChannelUsesKind(kind, line)) continue;
    const size_t size = CellsOf(line).size();
    if (!CellsReadable(doc.indices, CellsOf(line))) continue;
    for (size_t i = kDataPrefix; i + 1 < kDataPrefix + size; i += 2) {
      const int v = doc.indices.CellValue(line[i], line[i + 1]);
      if (v == a) doc.indices.FormatCell(b, &line[i]);
      if (v == b) doc.indices.FormatCell(a, &line[i]);
    }
  }
}

// "#LNOBJ xx" names the index whose notes end long notes. When that index
// moves, the line and the ends follow it; a plain note moved onto the old
// index would otherwise read back as the end of a long note.
template <class Map>
void RenumberLnObjLines(Document& doc, DefinitionKind kind, Map to) {
  if (kind != DefinitionKind::Wav) return;
  for (std::string& line : doc.mcom) {
    if (line.size() < 7) continue;
    std::string keyword = line.substr(0, 6);
    for (char& c : keyword) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (keyword != "#LNOBJ" || (line[6] != ' ' && line[6] != '\t')) continue;
    const size_t at = line.find_first_not_of(" \t", 6);
    if (at == std::string::npos || line.size() - at < 2 || line.find_first_not_of(" \t", at + 2) != std::string::npos)
      continue;
    const int v = doc.indices.CellValue(line[at], line[at + 1]);
    if (v > 0 && to(v) != v) doc.indices.FormatCell(to(v), &line[at]);
  }
}

void SwapValues(std::vector<TBmsObject>& objects, DefinitionKind kind, int a, int b) {
  for (TBmsObject& o : objects) {
    if (!LaneUsesKind(kind, o.Lane)) continue;
    if (o.Value == a)
      o.Value = static_cast<uint16_t>(b);
    else if (o.Value == b)
      o.Value = static_cast<uint16_t>(a);
    if (!IsLongNote(o)) continue;
    if (o.EndValue == a)
      o.EndValue = static_cast<uint16_t>(b);
    else if (o.EndValue == b)
      o.EndValue = static_cast<uint16_t>(a);
  }
}

// A renumbering of kind's lanes by table; the table starts as no change.
Renumbering RenumberingOf(DefinitionKind kind, size_t size) {
  Renumbering r;
  for (int lane = 0; lane < LaneCount; ++lane) r.lanes[static_cast<size_t>(lane)] = LaneUsesKind(kind, lane);
  r.forward.resize(size);
  for (size_t v = 0; v < size; ++v) r.forward[v] = static_cast<uint16_t>(v);
  return r;
}

void Note(std::vector<Renumbering>* renumbered, Renumbering r) {
  if (renumbered) renumbered->push_back(std::move(r));
}

bool RowSwappable(const Document& doc, DefinitionKind kind, int row) {
  const int first = kind == DefinitionKind::Bmp ? 1 : 0;
  return row >= first && row < RowCount(doc, kind);
}

// For every index, the first unreadable kept line of kind that may name it
// (npos: none). Such a line is never renumbered, so moving its index is refused.
std::vector<size_t> FirstUnreadableNaming(const Document& doc, DefinitionKind kind, size_t slots) {
  std::vector<size_t> first(slots, std::string::npos);
  for (size_t line = 0; line < doc.mcom.size(); ++line) {
    if (!ChannelUsesKind(kind, doc.mcom[line])) continue;
    const std::string_view cells = CellsOf(doc.mcom[line]);
    if (CellsReadable(doc.indices, cells)) continue;
    for (size_t i = 0; i + 1 < cells.size(); ++i) {
      const int v = doc.indices.CellValue(cells[i], cells[i + 1]);
      if (v >= 0 && static_cast<size_t>(v) < slots)
        first[static_cast<size_t>(v)] = std::min(first[static_cast<size_t>(v)], line);
    }
  }
  return first;
}

// Moves each used definition of kind into the lowest gap before it. The
// exchanges are the ones the ▲/▼ command would make one by one, but they are
// played on the index table alone; objects, clip records and kept lines are
// then renumbered in one pass, so the cost is gaps + objects, not their product.
std::optional<std::string> CompactKind(Document& doc, DefinitionKind kind, std::vector<Renumbering>& renumbered) {
  std::vector<std::string>& names = NamesOf(doc, kind);
  const auto hold = [&names, kind](uint16_t v) {
    if (v < names.size() && names[v].empty() && v >= IndexOfRow(kind, 0)) names[v] = kCompactPlaceholder;
  };
  for (const TBmsObject& o : doc.ObjList) {
    if (!LaneUsesKind(kind, o.Lane)) continue;
    hold(o.Value);
    if (IsLongNote(o)) hold(o.EndValue);
  }
  const std::vector<size_t> blocking = FirstUnreadableNaming(doc, kind, names.size());
  // moved[v]: where index v ends up; holder[i]: the index whose definition stands at i now.
  std::vector<int> moved(names.size());
  std::vector<int> holder(names.size());
  for (size_t v = 0; v < names.size(); ++v) moved[v] = holder[v] = static_cast<int>(v);
  const int first = kind == DefinitionKind::Bmp ? 1 : 0;
  const int last = RowCount(doc, kind) - 1;
  // The next used row after a gap only ever moves down the list: every row
  // between a filled gap and the row that filled it stays empty.
  int k = first;
  for (int p = first; p < last; ++p) {
    const auto gap = static_cast<size_t>(IndexOfRow(kind, p));
    if (!names[gap].empty()) continue;
    k = std::max(k, p + 1);
    while (k <= last && names[static_cast<size_t>(IndexOfRow(kind, k))].empty()) ++k;
    if (k > last) break;
    const auto used = static_cast<size_t>(IndexOfRow(kind, k));
    const size_t line = std::min(blocking[gap], blocking[used]);
    if (line != std::string::npos) return std::string(kKeptLineRefusal) + doc.mcom[line];
    std::swap(names[gap], names[used]);
    std::swap(holder[gap], holder[used]);
    moved[static_cast<size_t>(holder[gap])] = static_cast<int>(gap);
    moved[static_cast<size_t>(holder[used])] = static_cast<int>(used);
  }
  Renumbering r = RenumberingOf(kind, 0);
  r.forward.assign(moved.begin(), moved.end());
  r.Apply(doc.ObjList, false);
  renumbered.push_back(std::move(r));
  for (std::string& line : doc.mcom) {
    if (!ChannelUsesKind(kind, line) || !CellsReadable(doc.indices, CellsOf(line))) continue;
    const size_t end = kDataPrefix + CellsOf(line).size();
    for (size_t i = kDataPrefix; i + 1 < end; i += 2) {
      const int v = doc.indices.CellValue(line[i], line[i + 1]);
      if (v >= 0 && static_cast<size_t>(v) < moved.size() && moved[static_cast<size_t>(v)] != v)
        doc.indices.FormatCell(moved[static_cast<size_t>(v)], &line[i]);
    }
  }
  RenumberLnObjLines(doc, kind, [&moved](int v) { return static_cast<size_t>(v) < moved.size() ? moved[static_cast<size_t>(v)] : v; });
  for (std::string& name : names)
    if (name == kCompactPlaceholder) name.clear();
  return std::nullopt;
}

// Registers files on consecutive rows from the selected one on.
void PlanList(const Document& doc, DefinitionKind kind, const std::vector<std::string>& files, const DropStart& start,
              DropPlan& plan) {
  auto& rows = kind == DefinitionKind::Wav ? plan.wav : plan.bmp;
  int& row = kind == DefinitionKind::Wav ? plan.wavRow : plan.bmpRow;
  const int last = RowCount(doc, kind) - 1;
  const auto& names = NamesOf(doc, kind);
  auto used = [&](int r) {
    return !names[static_cast<size_t>(IndexOfRow(kind, r))].empty() ||
           std::any_of(rows.begin(), rows.end(), [r](const auto& planned) { return planned.first == r; });
  };
  // row may pass the last line once that line has taken a file; the list
  // is full only when no line is left for the next one.
  for (const std::string& path : files) {
    if (start.skipUsed)
      while (row <= last && used(row)) ++row;
    if (row > last) {
      plan.messages.emplace_back(CapacityMessage(doc, kind));
      break;
    }
    std::optional<std::string> name = FromUtf8Whole(FileNameOf(path), doc.encoding);
    if (!name) {
      plan.unencodable.push_back(path);
      continue;
    }
    rows.emplace_back(row, std::move(*name));
    ++row;
    if (!start.chartFolder.empty() && FolderOf(path) != start.chartFolder) plan.otherFolder.push_back(path);
  }
  row = std::min(row, last);
}

}  // namespace

std::string CapacityMessage(const Document& doc, DefinitionKind kind) {
  if (doc.indices.Radix() == DefinitionIndex::Hex)
    return kind == DefinitionKind::Wav ? kWavCapacityMessage : kBmpCapacityMessage;
  const std::string count = std::to_string(RowCount(doc, kind));
  return kind == DefinitionKind::Wav ? "WAVファイルは最大" + count + "個迄しか登録できません"
                                     : "画像ファイルは最大" + count + "個迄しか登録できません";
}

int IndexOfRow(DefinitionKind kind, int row) {
  return row + (kind == DefinitionKind::Wav ? DefinitionIndex::FirstWav : DefinitionIndex::FirstBmp);
}

int RowCount(const Document& doc, DefinitionKind kind) {
  return kind == DefinitionKind::Wav ? doc.indices.HighestWav() - DefinitionIndex::FirstWav + 1
                                     : doc.indices.HighestBmp() - DefinitionIndex::FirstBmp + 1;
}

bool LaneUsesKind(DefinitionKind kind, int lane) {
  const bool image = lane >= 19 && lane <= 21;
  if (kind == DefinitionKind::Bmp) return image;
  return (lane >= 1 && lane <= 18) || IsBgmLane(lane);
}

std::vector<std::string>& NamesOf(Document& doc, DefinitionKind kind) {
  return kind == DefinitionKind::Wav ? doc.wav : doc.bmp;
}

const std::vector<std::string>& NamesOf(const Document& doc, DefinitionKind kind) {
  return kind == DefinitionKind::Wav ? doc.wav : doc.bmp;
}

EditOutcome AssignDefinition(ChartSession& session, DefinitionKind kind, int row, const std::string& name) {
  return session.Apply({.label = "定義の変更", .aspects = kChartHeader}, [&](Document& doc) {
    if (row < 0 || row >= RowCount(doc, kind)) return EditOutcome::Refused;
    NamesOf(doc, kind)[static_cast<size_t>(IndexOfRow(kind, row))] = name;
    return EditOutcome::Changed;
  });
}

bool CanSwap(const Document& doc, DefinitionKind kind, int a, int b) {
  return a != b && RowSwappable(doc, kind, a) && RowSwappable(doc, kind, b);
}

std::optional<std::string> SwapInDocument(Document& doc, DefinitionKind kind, int a, int b,
                                          std::vector<Renumbering>* renumbered) {
  if (!CanSwap(doc, kind, a, b)) return std::nullopt;
  const int ia = IndexOfRow(kind, a);
  const int ib = IndexOfRow(kind, b);
  if (auto error = CheckKeptLines(doc, kind, ia, ib)) return error;
  auto& names = NamesOf(doc, kind);
  std::swap(names[static_cast<size_t>(ia)], names[static_cast<size_t>(ib)]);
  SwapValues(doc.ObjList, kind, ia, ib);
  Renumbering r = RenumberingOf(kind, static_cast<size_t>(std::max(ia, ib)) + 1);
  std::swap(r.forward[static_cast<size_t>(ia)], r.forward[static_cast<size_t>(ib)]);
  Note(renumbered, std::move(r));
  SwapKeptCells(doc, kind, ia, ib);
  RenumberLnObjLines(doc, kind, [ia, ib](int v) { return v == ia ? ib : v == ib ? ia : v; });
  return std::nullopt;
}

ListOutcome SwapDefinitions(ChartSession& session, DefinitionKind kind, int a, int b) {
  ListOutcome result;
  const ChartEdit edit{.label = "定義の入れ替え", .aspects = kChartObjects | kChartHeader};
  result.outcome = session.Apply(edit, [&](Document& doc) {
    std::vector<Renumbering> renumbered;
    if (auto error = SwapInDocument(doc, kind, a, b, &renumbered)) {
      result.message = *error;
      return EditOutcome::Refused;
    }
    for (Renumbering& r : renumbered) session.Renumber(std::move(r));
    return EditOutcome::Changed;
  });
  return result;
}

namespace {

// Marks what the cells of kept data lines name (long notes, lines of
// conditional blocks). A line whose cells cannot be read as pairs may name a
// definition at any offset: every value it may hold counts.
void MarkKeptUses(const Document& doc, DefinitionKind kind, std::vector<bool>& used) {
  const auto mark = [&used](int v) {
    if (v >= 0 && static_cast<size_t>(v) < used.size()) used[static_cast<size_t>(v)] = true;
  };
  for (const std::string& line : doc.mcom) {
    if (!ChannelUsesKind(kind, line)) continue;
    const std::string_view cells = CellsOf(line);
    const size_t step = CellsReadable(doc.indices, cells) ? 2 : 1;
    for (size_t i = 0; i + 1 < cells.size(); i += step) mark(doc.indices.CellValue(cells[i], cells[i + 1]));
  }
}

}  // namespace

void ReleaseUnusedInDocument(Document& doc) {
  for (DefinitionKind kind : {DefinitionKind::Wav, DefinitionKind::Bmp}) {
    auto& names = NamesOf(doc, kind);
    std::vector<bool> used(names.size());
    for (const TBmsObject& o : doc.ObjList) {
      if (!LaneUsesKind(kind, o.Lane)) continue;
      if (o.Value < used.size()) used[o.Value] = true;
      // A long note's end cell is written with its own index.
      if (IsLongNote(o) && o.EndValue < used.size()) used[o.EndValue] = true;
    }
    MarkKeptUses(doc, kind, used);
    // Image 00 is the picture of a miss, shown without any object naming it.
    for (size_t index = 1; index < names.size(); ++index)
      if (!used[index]) names[index].clear();
  }
}

EditOutcome ReleaseUnusedDefinitions(ChartSession& session) {
  return session.Apply({.label = "未使用定義の登録解除", .aspects = kChartHeader}, [](Document& doc) {
    ReleaseUnusedInDocument(doc);
    return EditOutcome::Changed;
  });
}

std::optional<std::string> CompactInDocument(Document& doc, std::vector<Renumbering>* renumbered) {
  // Worked on a copy: a kept line met halfway must leave the chart untouched.
  Document work = doc;
  std::vector<Renumbering> moved;
  for (DefinitionKind kind : {DefinitionKind::Wav, DefinitionKind::Bmp})
    if (auto error = CompactKind(work, kind, moved)) return error;
  doc = std::move(work);
  for (Renumbering& r : moved) Note(renumbered, std::move(r));
  return std::nullopt;
}

ListOutcome CompactDefinitions(ChartSession& session) {
  ListOutcome result;
  const ChartEdit edit{.label = "インデックスNo.の詰め直し", .aspects = kChartObjects | kChartHeader};
  result.outcome = session.Apply(edit, [&](Document& doc) {
    std::vector<Renumbering> renumbered;
    if (auto error = CompactInDocument(doc, &renumbered)) {
      result.message = *error;
      return EditOutcome::Refused;
    }
    for (Renumbering& r : renumbered) session.Renumber(std::move(r));
    return EditOutcome::Changed;
  });
  return result;
}

namespace {

constexpr const char* kAlreadyWide = "インデックスは既に16進数より広い範囲を使っています";
constexpr const char* kKeptLineWouldChange =
    "保持している行が36進数では別の意味に読まれるため、インデックスを拡張できません: ";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool StartsWithWord(std::string_view line, std::string_view word) {
  if (line.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(line[i])) != word[i]) return false;
  return true;
}

// Whether the chart would take the line as something in the given radix:
// a sound or image definition as the reader reads one (a one-digit index
// included), a tempo or stop definition and a tempo or stop data line as the
// timing reads them.
bool TakenInRadix(std::string_view line, const DefinitionIndex& indices) {
  if (StartsWithWord(line, "#WAV") || StartsWithWord(line, "#BMP"))
    return (line.size() <= 6 || IsBlank(line[6])) && indices.Parse(line.substr(4, 2)).has_value();
  for (const std::string_view word : {std::string_view("#BPM"), std::string_view("#STOP")}) {
    const size_t at = word.size();
    if (StartsWithWord(line, word) && line.size() >= at + 3 && IsBlank(line[at + 2]))
      return indices.Parse(line.substr(at, 2)).has_value();
  }
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  const bool timingData = line.size() >= kDataPrefix && line[0] == '#' && digit(line[1]) && digit(line[2]) &&
                          digit(line[3]) && line[4] == '0' && (line[5] == '8' || line[5] == '9') && line[6] == ':';
  if (!timingData) return false;
  const std::string_view cells = CellsOf(line);
  for (size_t i = 0; i + 1 < cells.size(); i += 2)
    if (indices.CellValue(cells[i], cells[i + 1]) < 0) return false;
  return true;
}

// A kept line that means nothing in hexadecimal but something in base 36:
// "#WAVG" would name sound 0G there and wipe its real definition.
std::optional<std::string> KeptLineWideningChanges(const Document& doc) {
  const DefinitionIndex hex(DefinitionIndex::Hex);
  const DefinitionIndex wide(DefinitionIndex::Base36);
  for (const std::string& line : doc.mcom)
    if (!TakenInRadix(line, hex) && TakenInRadix(line, wide)) return line;
  return std::nullopt;
}

// Every hexadecimal index of a sound or an image to the base-36 index with
// the same label.
Renumbering HexToBase36() {
  const DefinitionIndex hex(DefinitionIndex::Hex);
  Renumbering r = RenumberingOf(DefinitionKind::Wav, static_cast<size_t>(std::max(hex.WavSlots(), hex.BmpSlots())));
  r.lanes |= RenumberingOf(DefinitionKind::Bmp, 0).lanes;
  for (size_t v = 0; v < r.forward.size(); ++v) r.forward[v] = static_cast<uint16_t>(Base36OfHex(static_cast<int>(v)));
  return r;
}

// Tempo and stop objects name their own definition tables, which widen with
// the others.
void ExpandTimingValues(std::vector<TBmsObject>& objects) {
  for (TBmsObject& o : objects)
    if ((o.Lane == TempoLane && o.Defined) || o.Lane == StopLane) o.Value = static_cast<uint16_t>(Base36OfHex(o.Value));
}

void ExpandNames(std::vector<std::string>& names, size_t slots) {
  std::vector<std::string> wide(slots);
  for (size_t v = 0; v < names.size(); ++v) wide[static_cast<size_t>(Base36OfHex(static_cast<int>(v)))] = names[v];
  names = std::move(wide);
}

}  // namespace

bool ExpandToBase36InDocument(Document& doc, std::vector<Renumbering>* renumbered) {
  if (doc.indices.Radix() != DefinitionIndex::Hex) return false;
  doc.indices = DefinitionIndex(DefinitionIndex::Base36);
  ExpandNames(doc.wav, static_cast<size_t>(doc.indices.WavSlots()));
  ExpandNames(doc.bmp, static_cast<size_t>(doc.indices.BmpSlots()));
  ExpandNames(doc.bpmDefs, static_cast<size_t>(doc.indices.WavSlots()));
  ExpandNames(doc.stopDefs, static_cast<size_t>(doc.indices.WavSlots()));
  ExpandTimingValues(doc.ObjList);
  Renumbering r = HexToBase36();
  r.Apply(doc.ObjList, false);
  Note(renumbered, std::move(r));
  // Kept lines need nothing: their cells keep their labels, which base 36
  // reads as the same definitions.
  return true;
}

ListOutcome ExpandToBase36(ChartSession& session) {
  ListOutcome result;
  const ChartEdit edit{.label = "インデックスの36進数への拡張", .aspects = kChartObjects | kChartHeader};
  result.outcome = session.Apply(edit, [&](Document& doc) {
    if (doc.indices.Radix() != DefinitionIndex::Hex) {
      result.message = kAlreadyWide;
      return EditOutcome::Refused;
    }
    // Refused rather than asked: the kept line would change its meaning only
    // at a later load, long after any answer; the author can mend it in the
    // extension memo first.
    if (const auto line = KeptLineWideningChanges(doc)) {
      result.message = kKeptLineWouldChange + ToUtf8(*line, doc.encoding);
      return EditOutcome::Refused;
    }
    std::vector<Renumbering> renumbered;
    ExpandToBase36InDocument(doc, &renumbered);
    for (Renumbering& r : renumbered) session.Renumber(std::move(r));
    return EditOutcome::Changed;
  });
  return result;
}

DropPlan PlanDrop(const Document& doc, std::vector<std::string> paths, const DropStart& start) {
  std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) { return Upper(a) < Upper(b); });
  DropPlan plan;
  plan.wavRow = std::max(start.wavRow, 0);
  plan.bmpRow = std::max(start.bmpRow, 0);
  for (const std::string& path : paths) {
    if (KindOfFileName(path) == FileKind::Chart) {
      plan.chart = path;
      return plan;
    }
  }
  std::vector<std::string> sounds;
  std::vector<std::string> images;
  for (const std::string& path : paths) {
    switch (KindOfFileName(path)) {
      case FileKind::Sound:
        sounds.push_back(path);
        break;
      case FileKind::Image:
        images.push_back(path);
        break;
      case FileKind::Midi:
        if (std::optional<std::string> name = FromUtf8Whole(FileNameOf(path), doc.encoding))
          plan.midi = std::move(*name);
        else
          plan.unencodable.push_back(path);
        break;
      default:
        plan.leftOut.push_back(path);
    }
  }
  PlanList(doc, DefinitionKind::Wav, sounds, start, plan);
  PlanList(doc, DefinitionKind::Bmp, images, start, plan);
  if (!plan.unencodable.empty()) {
    std::string message = kUnencodableNameMessage;
    for (const std::string& path : plan.unencodable) message += "\n" + path;
    plan.messages.push_back(std::move(message));
  }
  return plan;
}

EditOutcome ApplyDrop(ChartSession& session, const DropPlan& plan) {
  for (const std::string& path : plan.otherFolder) session.ChartLog().Add(kOtherFolderNote + path);
  if (!plan.leftOut.empty()) {
    std::string line = kLeftOutNote;
    for (size_t i = 0; i < plan.leftOut.size(); ++i) line += (i ? ", " : "") + FileNameOf(plan.leftOut[i]);
    session.ChartLog().Add(line);
  }
  return session.Apply({.label = "定義の登録", .aspects = kChartHeader}, [&](Document& doc) {
    // Every registered line marks the chart; the MIDI field only when it changes.
    bool changed = !plan.wav.empty() || !plan.bmp.empty();
    for (const auto& [row, name] : plan.wav) doc.wav[static_cast<size_t>(IndexOfRow(DefinitionKind::Wav, row))] = name;
    for (const auto& [row, name] : plan.bmp) doc.bmp[static_cast<size_t>(IndexOfRow(DefinitionKind::Bmp, row))] = name;
    if (plan.midi && doc.header.e_midif != *plan.midi) {
      doc.header.e_midif = *plan.midi;
      changed = true;
    }
    return changed ? EditOutcome::Changed : EditOutcome::Unchanged;
  });
}

}  // namespace beatloom
