#include "formats/bmm_export.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "formats/format_text.h"
#include "model/file_io.h"

namespace beatloom {

namespace {

constexpr int kFactorCount = 1001;

enum class EntryKind : uint8_t { Object = 0, Assignment = 1 };

// One line (or pair of lines) of the sequence. Lane and value are always
// taken from the object, so an assignment speaks of the note it prepares.
struct ExportEntry {
  int object;
  int32_t position;
  EntryKind kind;
};

// The format names 28 background lanes by letter; further ones have no name.
bool IsExportedLane(int lane) {
  return (lane >= 1 && lane <= 5) || lane == 8 || (lane >= FirstBgmLane && lane <= LastFixedBgmLane);
}
bool IsKeyLane(int lane) { return lane < 10; }

char LaneLetter(int lane) {
  if (lane >= 1 && lane <= 5) return static_cast<char>('A' + lane - 1);
  if (lane == 8) return 'F';
  return static_cast<char>(lane + 75);  // background lanes 22..49: "a".."z", "{", "|"
}

// Counts over slots 0..n-1, with prefix sums and the search for the k-th unit.
class CountTree {
 public:
  // All slots start at `initial` (0 or 1).
  CountTree(size_t n, int initial) : tree_(n + 1, 0) {
    if (initial == 0) return;
    for (size_t i = 1; i <= n; ++i) tree_[i] = static_cast<int>(i & (~i + 1)) * initial;
  }
  void Add(size_t slot, int delta) {
    for (size_t i = slot + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
  }
  // The sum over slots [0, end).
  size_t Prefix(size_t end) const {
    int64_t sum = 0;
    for (size_t i = end; i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return static_cast<size_t>(sum);
  }
  // The slot of the k-th unit (from 0) when every slot holds 0 or 1.
  size_t FindUnit(size_t k) const {
    size_t pos = 0;
    size_t step = 1;
    while (step * 2 < tree_.size()) step *= 2;
    for (; step > 0; step /= 2) {
      if (pos + step < tree_.size() && static_cast<size_t>(tree_[pos + step]) <= k) {
        pos += step;
        k -= static_cast<size_t>(tree_[pos]);
      }
    }
    return pos;
  }

 private:
  std::vector<int> tree_;
};

// Appends, in the order the exchange sort leaves them, the entries of one key
// (their indices ascending). Restricted to the entries of this key and the
// smaller ones, every pass of the exchange sort takes out one smaller entry;
// when the first of them comes before every smaller entry it moves to the
// place of the first smaller one, behind the ties met so far. So the ties form
// a ring that turns by one for every smaller entry after it and takes each
// later tie in at its back; `smaller` counts the smaller entries by index.
void AppendTies(const std::vector<size_t>& ties, const CountTree& smaller, size_t n, std::vector<size_t>& order) {
  const size_t k = ties.size();
  if (k == 1) {
    order.push_back(ties[0]);
    return;
  }
  std::vector<size_t> insertAt(k);
  size_t head = 0;  // where the ring starts, as an index into the list built so far
  for (size_t j = 0; j < k; ++j) {
    if (j > 0) {
      const size_t between = smaller.Prefix(ties[j]) - smaller.Prefix(ties[j - 1] + 1);
      head = (head + between % j) % j;
    }
    insertAt[j] = head;  // at the back of the ring: just before its start
    if (j > 0) ++head;
  }
  const size_t after = smaller.Prefix(n) - smaller.Prefix(ties[k - 1] + 1);
  head = (head + after % k) % k;
  // Where each insertion ends up once the later ones are in: the insertion
  // index counts the slots that later ties leave free.
  CountTree freeSlots(k, 1);
  std::vector<size_t> ring(k);
  for (size_t j = k; j-- > 0;) {
    const size_t slot = freeSlots.FindUnit(insertAt[j]);
    ring[slot] = ties[j];
    freeSlots.Add(slot, -1);
  }
  for (size_t t = 0; t < k; ++t) order.push_back(ring[(head + t) % k]);
}

// Exported sequences have always been ordered by an exchange sort (for i < j,
// swap when position[j] < position[i]), and entries at one position come out
// in exactly its order; a stable sort would reorder them and change the bytes.
// This gives that order in O(n log n).
void ExchangeSort(std::vector<ExportEntry>& list) {
  const size_t n = list.size();
  std::vector<size_t> byKey(n);
  for (size_t i = 0; i < n; ++i) byKey[i] = i;
  std::sort(byKey.begin(), byKey.end(), [&list](size_t a, size_t b) {
    return list[a].position != list[b].position ? list[a].position < list[b].position : a < b;
  });
  std::vector<size_t> order;
  order.reserve(n);
  CountTree smaller(n, 0);
  std::vector<size_t> ties;
  for (size_t first = 0; first < n;) {
    size_t last = first;
    ties.clear();
    for (; last < n && list[byKey[last]].position == list[byKey[first]].position; ++last) ties.push_back(byKey[last]);
    AppendTies(ties, smaller, n, order);
    for (const size_t i : ties) smaller.Add(i, 1);
    first = last;
  }
  std::vector<ExportEntry> sorted;
  sorted.reserve(2 * n);
  for (const size_t i : order) sorted.push_back(list[i]);
  list = std::move(sorted);
}

int FloorDiv(int32_t pos) { return pos / TicksPerMeasure; }  // truncating, as the target expects
int TickOf(int32_t pos) { return pos % TicksPerMeasure; }

// The positions of the entries while measure lengths rescale them. Entries at
// one position stay together for good, so a line rescales at most the 383
// positions its measure can hold, however many entries sit there.
class PositionGroups {
 public:
  explicit PositionGroups(const std::vector<ExportEntry>& list) : groupOf_(list.size()) {
    for (size_t i = 0; i < list.size(); ++i) {
      const auto [at, fresh] = byPosition_.try_emplace(list[i].position, position_.size());
      if (fresh) {
        position_.push_back(list[i].position);
        parent_.push_back(at->second);
      }
      groupOf_[i] = at->second;
    }
  }

  // Every position whose measure (truncating division) is m becomes
  // round(tick × f) + m × 192.
  void Rescale(int m, float f) {
    const int32_t low = m == 0 ? 1 - TicksPerMeasure : m * TicksPerMeasure;
    const int32_t high = m * TicksPerMeasure + TicksPerMeasure - 1;
    const auto from = byPosition_.lower_bound(low);
    const auto to = byPosition_.upper_bound(high);
    moved_.clear();
    for (auto at = from; at != to; ++at) moved_.push_back(at->second);
    byPosition_.erase(from, to);
    for (const size_t g : moved_) {
      const double scaled = std::nearbyint(TickOf(position_[g]) * static_cast<double>(f));
      position_[g] = static_cast<int32_t>(scaled) + m * TicksPerMeasure;
      const auto [at, fresh] = byPosition_.try_emplace(position_[g], g);
      if (!fresh) parent_[g] = at->second;  // landed where others stand: one group from now on
    }
  }

  void Store(std::vector<ExportEntry>& list) {
    for (size_t i = 0; i < list.size(); ++i) list[i].position = position_[Root(groupOf_[i])];
  }

 private:
  size_t Root(size_t g) {
    while (parent_[g] != g) g = parent_[g] = parent_[parent_[g]];
    return g;
  }

  std::map<int32_t, size_t> byPosition_;  // the groups still standing alone
  std::vector<int32_t> position_;
  std::vector<size_t> parent_;
  std::vector<size_t> groupOf_;
  std::vector<size_t> moved_;
};

// Measure-length lines of the extension commands ("#mmm02:f") rescale the
// ticks of their measure; MeasureLen is not what the target format follows.
void ApplyMeasureLengths(const Document& doc, std::vector<ExportEntry>& list, std::array<float, kFactorCount>& factor) {
  factor.fill(1.0f);
  PositionGroups positions(list);
  for (const std::string& line : doc.mcom) {
    const std::string_view text(line);
    int channel = 0;
    if (text.size() < 6 || !ParseDecimalInt(text.substr(4, 2), channel) || channel != 2) continue;
    int measure = 0;
    if (!ParseDecimalInt(text.substr(1, 3), measure) || measure < 0 || measure >= kFactorCount) continue;
    double typed = 0;
    if (!ParseDecimalNumber(text.size() > 7 ? text.substr(7) : std::string_view(), typed)) continue;
    const float f = static_cast<float>(typed);
    // A factor that would push a position past 32 bits cannot be written.
    if (!std::isfinite(f) ||
        std::fabs(static_cast<double>(f)) * (TicksPerMeasure - 1) + kFactorCount * TicksPerMeasure >
            static_cast<double>(INT32_MAX))
      continue;
    factor[static_cast<size_t>(measure)] = f;
    positions.Rescale(measure, f);
  }
  positions.Store(list);
}

// Every key note whose sound differs from the previous note of its key gets
// an assignment halfway between them; the first note of a key gets one
// halfway from the start of the song.
void AddAssignments(const Document& doc, std::vector<ExportEntry>& list) {
  const size_t n = list.size();
  list.reserve(2 * n);
  // Per key lane, the earlier entries that can still be some later entry's
  // nearest one at a smaller position: their positions rise towards the top.
  // An entry at the same or a smaller position hides all above it for good.
  std::array<std::vector<size_t>, LaneCount> candidates;
  for (size_t d = 0; d < n; ++d) {
    const TBmsObject& note = doc.ObjList[static_cast<size_t>(list[d].object)];
    if (!IsKeyLane(note.Lane)) continue;
    std::vector<size_t>& rising = candidates[note.Lane];
    const int32_t position = list[d].position;
    while (!rising.empty() && list[rising.back()].position >= position) rising.pop_back();
    if (rising.empty()) {
      list.push_back({list[d].object, position / 2, EntryKind::Assignment});
    } else {
      const ExportEntry previous = list[rising.back()];
      if (doc.ObjList[static_cast<size_t>(previous.object)].Value != note.Value) {
        const int32_t mid = static_cast<int32_t>((static_cast<int64_t>(previous.position) + position) / 2);
        list.push_back({list[d].object, mid, EntryKind::Assignment});
      }
    }
    rising.push_back(d);
  }
}

std::string BuildBml(const Document& doc) {
  std::string out;
  // The list has a line for every sound a hexadecimal chart can name,
  // whatever the chart's own range.
  for (int i = DefinitionIndex::FirstWav; i <= DefinitionIndex().HighestWav(); ++i) {
    static const std::string kNone;
    const auto slot = static_cast<size_t>(i);
    const std::string& name = slot < doc.wav.size() ? doc.wav[slot] : kNone;
    AppendLine(out, name.empty() ? std::string("_") : ToCp932(name, doc.encoding));
  }
  AppendLine(out, ".");
  return out;
}

bool TempoLine(const Document& doc, std::string& line, std::string* error) {
  // In long double, so that 18 digits of the quotient are right before it is
  // rounded to the picture.
  long double tempo = 0;
  if (!ParseDecimalNumber(doc.header.e_bpm, tempo)) {
    if (error) *error = "テンポ「" + ToUtf8(doc.header.e_bpm, doc.encoding) + "」は数値ではありません";
    return false;
  }
  const long double quotient = 4980.0L / tempo;
  if (tempo == 0 || !std::isfinite(quotient)) {
    if (error) *error = "テンポ「" + ToUtf8(doc.header.e_bpm, doc.encoding) + "」では割り算ができません";
    return false;
  }
  line = "T" + FormatRounded(quotient, 2, 2);
  return true;
}

std::string NameLine(const Document& doc) {
  const HeaderFields& h = doc.header;
  const auto quoted = [&](const std::string& s) { return "\"" + ToCp932(s, doc.encoding) + "\""; };
  return "N" + quoted(h.e_genre) + "," + quoted(h.e_title) + ",\"" + FromUtf8("☆ｘ", TextEncoding::Cp932) +
         ToCp932(h.e_level, doc.encoding) + "\"," + quoted(h.e_art);
}

void AppendEntry(const Document& doc, const ExportEntry& e, std::string& out) {
  const TBmsObject& o = doc.ObjList[static_cast<size_t>(e.object)];
  const std::string tick = std::to_string(TickOf(e.position)) + ":";
  if (e.kind == EntryKind::Object) {
    AppendLine(out, tick + LaneLetter(o.Lane));
    return;
  }
  AppendLine(out, tick);
  AppendLine(out, std::string("@") + LaneLetter(o.Lane) + "," + std::to_string(o.Value));
}

void AppendMeasureBlocks(const Document& doc, const std::vector<ExportEntry>& list,
                         const std::array<float, kFactorCount>& factor, std::string& out) {
  // With nothing to export there is no last entry to stop at: no block at all.
  if (list.empty()) return;
  const auto factorOf = [&](int m) { return m >= 0 && m < kFactorCount ? factor[static_cast<size_t>(m)] : 1.0f; };
  const int lastMeasure = FloorDiv(list.back().position);
  size_t next = 0;
  for (int m = 0; m <= lastMeasure; ++m) {
    if (factorOf(m) != 1.0f) {
      AppendLine(out, "B" + FormatRounded(static_cast<double>(factorOf(m)) * TicksPerMeasure, 0, 0));
    } else if (m > 0 && factorOf(m - 1) != 1.0f) {
      AppendLine(out, "B192");
    }
    while (next < list.size() && FloorDiv(list[next].position) < m) ++next;
    for (; next < list.size() && FloorDiv(list[next].position) == m; ++next) AppendEntry(doc, list[next], out);
    AppendLine(out, "|");
  }
}

// The sound list has 255 lines: a key note naming a sound beyond them would
// be assigned another sound, or none.
bool SoundsFitTheList(const Document& doc, std::string* error) {
  constexpr int kListLines = 255;
  for (const TBmsObject& o : doc.ObjList) {
    if (!IsExportedLane(o.Lane) || !IsKeyLane(o.Lane) || o.Value <= kListLines) continue;
    if (error)
      *error = "BMM形式のサウンドリストは255番までしか扱えません。WAV" + doc.indices.Format(o.Value) +
               "を使うオブジェがあるため、書き出しを中止しました";
    return false;
  }
  return true;
}

}  // namespace

bool BuildBmmExport(const Document& doc, BmmExport& files, std::string* error) {
  std::string tempoLine;
  if (!TempoLine(doc, tempoLine, error)) return false;
  if (!SoundsFitTheList(doc, error)) return false;

  std::vector<ExportEntry> list;
  for (size_t i = 0; i < doc.ObjList.size(); ++i) {
    if (IsExportedLane(doc.ObjList[i].Lane))
      list.push_back({static_cast<int>(i), doc.ObjList[i].Pos, EntryKind::Object});
  }
  ExchangeSort(list);
  std::array<float, kFactorCount> factor{};
  ApplyMeasureLengths(doc, list, factor);
  AddAssignments(doc, list);
  ExchangeSort(list);

  files.bml = BuildBml(doc);
  std::string& out = files.bmm;
  out.clear();
  AppendLine(out, tempoLine);
  AppendLine(out, NameLine(doc));
  AppendLine(out, "|");
  AppendMeasureBlocks(doc, list, factor, out);
  AppendLine(out, "|");
  AppendLine(out, "|");
  AppendLine(out, "*");
  return true;
}

std::string BmmFileName(const std::string& chartPath, std::string_view extension) {
  const size_t keep = chartPath.size() >= 3 ? chartPath.size() - 3 : 0;
  return chartPath.substr(0, keep) + std::string(extension);
}

bool ExportBmmFiles(const Document& doc, const std::string& chartPath, std::string* error) {
  BmmExport files;
  if (!BuildBmmExport(doc, files, error)) return false;
  // A sequence without its sound list (or the reverse) is worse than the old
  // pair: both files are replaced together or not at all.
  return WriteFilesTogether({{BmmFileName(chartPath, "BML"), files.bml}, {BmmFileName(chartPath, "BMM"), files.bmm}},
                            error);
}

}  // namespace beatloom
