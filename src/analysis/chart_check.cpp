#include "analysis/chart_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <tuple>
#include <unordered_set>

#include "analysis/chart_timing.h"
#include "model/text_codec.h"
#include "model/text_scan.h"

namespace beatloom {

namespace {

constexpr int kLastKeyLane = 18;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && StartsWithNoCase(s.substr(s.size() - suffix.size()), suffix);
}

std::string Printf(const char* format, int measure, const std::string& a, long long b = 0) {
  char text[512];
  std::snprintf(text, sizeof text, format, measure, a.c_str(), b);
  return text;
}

bool IsImageLane(int lane) { return lane >= 19 && lane <= 21; }
bool IsSoundLane(int lane) { return (lane >= 1 && lane <= kLastKeyLane) || IsBgmLane(lane); }

// The data line an object came from: "#mmmCC", and which of the measure's
// channel 01 lines for a background lane.
std::pair<std::string, int> SourceOf(const TBmsObject& o) {
  int channel = 1;
  int occurrence = 0;
  if (o.Lane >= 1 && o.Lane <= 9) channel = MapChannel((o.Hidden ? 30 : 10) + o.Lane);
  if (o.Lane >= 10 && o.Lane <= kLastKeyLane) channel = MapChannel((o.Hidden ? 31 : 11) + o.Lane);
  if (o.Lane == 19) channel = 4;
  if (o.Lane == 20) channel = 7;
  if (o.Lane == 21) channel = 6;
  if (IsBgmLane(o.Lane)) occurrence = BgmIndexOf(o.Lane);
  if (o.Lane == 0 && o.Defined) channel = 8;
  if (o.Lane == StopLane) channel = 9;
  if (OnLongChannel(o) && o.Lane >= 1 && o.Lane <= kLastKeyLane)
    channel = MapChannel(o.Lane <= 9 ? o.Lane + 10 : o.Lane + 11) + 40;
  char text[16];
  std::snprintf(text, sizeof text, "#%03d%02d", o.Pos / TicksPerMeasure, channel);
  return {text, occurrence};
}

// Texts that other texts may begin with, case aside, found by one walk over
// the first characters of each text: numbering the lines a finding's source
// names costs one pass, however many findings there are.
class PrefixSet {
 public:
  // The pattern's number; texts equal case aside share one.
  int Add(std::string_view pattern) {
    int node = 0;
    for (const char c : pattern) {
      const auto [it, added] = children_.try_emplace(Key(node, c), static_cast<int>(ends_.size()));
      if (added) ends_.push_back(-1);
      node = it->second;
    }
    if (ends_[static_cast<size_t>(node)] < 0) ends_[static_cast<size_t>(node)] = count_++;
    return ends_[static_cast<size_t>(node)];
  }
  int Count() const { return count_; }
  // Calls found(pattern) for every pattern the text begins with, shortest first.
  template <class Found>
  void ForEachPrefixOf(std::string_view text, Found found) const {
    int node = 0;
    if (ends_[0] >= 0) found(ends_[0]);
    for (const char c : text) {
      const auto it = children_.find(Key(node, c));
      if (it == children_.end()) return;
      node = it->second;
      if (ends_[static_cast<size_t>(node)] >= 0) found(ends_[static_cast<size_t>(node)]);
    }
  }

 private:
  static uint64_t Key(int node, char c) {
    return static_cast<uint64_t>(node) << 8 | static_cast<unsigned char>(Lower(c));
  }
  std::unordered_map<uint64_t, int> children_;  // (node, lower-case byte) -> node
  std::vector<int> ends_{-1};                   // node -> pattern ending there, -1 none
  int count_ = 0;
};

// A finding that names a kept line: its source is the whole line, and its
// occurrence counts the earlier kept lines that begin with that text.
struct KeptPlace {
  size_t finding;
  size_t line;
};

void NumberKeptPlaces(const Document& doc, const std::vector<KeptPlace>& places, std::vector<Finding>& out) {
  if (places.empty()) return;
  PrefixSet patterns;
  std::vector<int> patternAt(doc.mcom.size(), -1);
  for (const KeptPlace& p : places) patternAt[p.line] = patterns.Add(doc.mcom[p.line]);
  std::vector<int> seen(static_cast<size_t>(patterns.Count()), 0);
  std::vector<int> occurrenceAt(doc.mcom.size(), 0);
  for (size_t i = 0; i < doc.mcom.size(); ++i) {
    if (patternAt[i] >= 0) occurrenceAt[i] = seen[static_cast<size_t>(patternAt[i])];
    patterns.ForEachPrefixOf(doc.mcom[i], [&seen](int p) { ++seen[static_cast<size_t>(p)]; });
  }
  for (const KeptPlace& p : places) out[p.finding].occurrence = occurrenceAt[p.line];
}

// Findings about objects come one per undefined index (shown at its first
// measure) or one per measure, however many objects share them. Objects
// whose time overflows (a huge measure length, tempo or stop) come in one
// finding at the first such measure: no player can reach them.
enum ObjectRule { kUndefinedSound, kUndefinedImage, kUntimed, kCollapsed, kDuplicate, kUnpairedLong, kHeldOver };

struct ObjectHit {
  int rule;
  int key;  // the index for an undefined one, else the measure
  int measure;
  uint32_t object;
  bool operator<(const ObjectHit& o) const {
    return std::tie(rule, key, measure, object) < std::tie(o.rule, o.key, o.measure, o.object);
  }
};

Finding ObjectFinding(const Document& doc, const ObjectHit& hit, int count) {
  static const char* const kRules[] = {"undefined-sound",  "undefined-image",    "time-overflow",    "collapsed-lane",
                                       "duplicate-object", "unpaired-long-note", "note-in-long-note"};
  static const char* const kMessages[] = {
      "小節%03d から: 定義されていない音 %s を鳴らすオブジェが %lld 個あります",
      "小節%03d から: 定義されていない画像 %s を表示するオブジェが %lld 個あります",
      ("小節%03d から: 演奏時刻が大きすぎて求められないオブジェが %s%lld 個あります "
       "(小節長・BPM・ストップを確かめてください)"),
      "小節%03d: プレイモードで表示されないレーンにオブジェが %s%lld 個あります",
      "小節%03d: 同じレーンと位置に重なったオブジェが %s%lld 個あります (保存では一つだけ残ります)",
      "小節%03d: 終点のないロングノートの始点が %s%lld 個あります (読み込んだとおりに保存されます)",
      "小節%03d: 同じレーンのロングノートを押している間に始まるノートが %s%lld 個あります"};
  Finding f;
  f.severity = hit.rule <= kUntimed ? Severity::Error : Severity::Warning;
  f.rule = kRules[hit.rule];
  const std::string value = hit.rule <= kUndefinedImage ? doc.indices.Format(hit.key) : std::string();
  f.message = Printf(kMessages[hit.rule], hit.measure, value, count);
  f.measure = hit.measure;
  std::tie(f.source, f.occurrence) = SourceOf(doc.ObjList[hit.object]);
  return f;
}

bool Defined(const std::vector<std::string>& names, int value) {
  return value >= 0 && static_cast<size_t>(value) < names.size() && !names[static_cast<size_t>(value)].empty();
}

// A player cannot press a key that is still held: a note that starts while a
// long note of its lane lasts (up to and with its end) cannot be played.
void FindNotesInLongNotes(const Document& doc, std::vector<ObjectHit>& hits) {
  if (std::none_of(doc.ObjList.begin(), doc.ObjList.end(), [](const TBmsObject& o) { return IsLongNote(o); })) return;
  // Lane, start, the object.
  std::vector<std::tuple<int, double, uint32_t>> notes;
  for (uint32_t i = 0; i < doc.ObjList.size(); ++i) {
    const TBmsObject& o = doc.ObjList[i];
    if (o.Lane >= FirstKeyLane && o.Lane <= LastKeyLane && !o.Hidden) notes.emplace_back(o.Lane, ExactTicks(o), i);
  }
  std::sort(notes.begin(), notes.end());
  int heldLane = -1;
  double heldUntil = 0;
  for (const auto& [lane, start, object] : notes) {
    const TBmsObject& o = doc.ObjList[object];
    if (lane == heldLane && start <= heldUntil)
      hits.push_back({kHeldOver, o.Pos / TicksPerMeasure, o.Pos / TicksPerMeasure, object});
    if (lane != heldLane) heldLane = lane, heldUntil = -1;
    if (IsLongNote(o)) heldUntil = std::max(heldUntil, EndTicks(o));
  }
}

void CheckObjects(const Document& doc, const ChartTiming& timing, std::vector<Finding>& out) {
  std::vector<ObjectHit> hits;
  const bool player2Collapsed = doc.header.cbpmode <= 0;
  // Tick and lane, the fraction of a tick, the object.
  std::vector<std::tuple<uint64_t, uint64_t, uint32_t>> keyed;
  keyed.reserve(doc.ObjList.size());
  for (uint32_t i = 0; i < doc.ObjList.size(); ++i) {
    const TBmsObject& o = doc.ObjList[i];
    const int measure = o.Pos / TicksPerMeasure;
    if (IsSoundLane(o.Lane) && !Defined(doc.wav, o.Value)) hits.push_back({kUndefinedSound, o.Value, measure, i});
    if (IsImageLane(o.Lane) && !Defined(doc.bmp, o.Value)) hits.push_back({kUndefinedImage, o.Value, measure, i});
    const bool mayOverflow = o.Pos < 0 || o.Pos >= timing.FiniteBefore();
    if (mayOverflow && !std::isfinite(timing.SecondsAt(o))) hits.push_back({kUntimed, 0, measure, i});
    if (player2Collapsed && o.Lane >= 10 && o.Lane <= kLastKeyLane) hits.push_back({kCollapsed, measure, measure, i});
    if (o.Long == UnpairedStart) hits.push_back({kUnpairedLong, measure, measure, i});
    // A cell on a long-note channel shares no place with a note of the same key.
    const uint64_t longChannel = OnLongChannel(o) ? uint64_t{1} << 40 : 0;
    keyed.push_back({longChannel | static_cast<uint64_t>(static_cast<uint32_t>(o.Pos) ^ 0x80000000u) << 8 | o.Lane,
                     ExactSlotOf(o).offset, i});
  }
  FindNotesInLongNotes(doc, hits);
  std::sort(keyed.begin(), keyed.end());
  for (size_t i = 1; i < keyed.size(); ++i) {
    if (std::get<0>(keyed[i]) != std::get<0>(keyed[i - 1]) || std::get<1>(keyed[i]) != std::get<1>(keyed[i - 1]))
      continue;
    const int measure = doc.ObjList[std::get<2>(keyed[i])].Pos / TicksPerMeasure;
    hits.push_back({kDuplicate, measure, measure, std::get<2>(keyed[i - 1])});
  }
  std::sort(hits.begin(), hits.end());
  for (size_t i = 0; i < hits.size();) {
    size_t j = i;
    while (j < hits.size() && hits[j].rule == hits[i].rule && hits[j].key == hits[i].key) ++j;
    out.push_back(ObjectFinding(doc, hits[i], static_cast<int>(j - i)));
    i = j;
  }
}

void CheckDefinitions(const Document& doc, const FileProbe& files, std::vector<Finding>& out) {
  std::vector<char> usedWav(doc.wav.size(), 0);
  std::vector<char> usedBmp(doc.bmp.size(), 0);
  for (const TBmsObject& o : doc.ObjList) {
    if (IsSoundLane(o.Lane) && o.Value < usedWav.size()) usedWav[o.Value] = 1;
    // The end of a long note is a cell of its own, as the release command counts it.
    if (IsLongNote(o) && o.EndValue < usedWav.size()) usedWav[o.EndValue] = 1;
    if (IsImageLane(o.Lane) && o.Value < usedBmp.size()) usedBmp[o.Value] = 1;
  }
  for (const bool isWav : {true, false}) {
    const std::vector<std::string>& names = isWav ? doc.wav : doc.bmp;
    const std::vector<char>& used = isWav ? usedWav : usedBmp;
    for (size_t k = 0; k < names.size(); ++k) {
      if (names[k].empty()) continue;
      const std::string label = (isWav ? "WAV" : "BMP") + doc.indices.Format(static_cast<int>(k));
      const std::string name = ToUtf8(TrimBlanks(names[k]), doc.encoding);
      if (files && !files(names[k]))
        out.push_back({Severity::Warning, "missing-file", label + " のファイル「" + name + "」がありません", -1,
                       "#" + label, -1});
      // Image 00 is shown on a miss without any object naming it.
      if (!used[k] && !(!isWav && k == 0))
        out.push_back(
            {Severity::Note, "unused-definition", label + " はどこからも使われていません", -1, "#" + label, -1});
    }
  }
}

std::string Number(double v) { return std::isnan(v) ? "(数値でない)" : ShortestDecimal(v); }

// The header tempo, and #BPMxx and #STOPxx values the timing must ignore.
void CheckTempoValues(const Document& doc, const KeptTimingLines& kept, std::vector<Finding>& out,
                      std::vector<KeptPlace>& places) {
  double bpm = 0;
  if (!HeaderBpm(doc, bpm))
    out.push_back({Severity::Warning, "bad-tempo",
                   "#BPM「" + ToUtf8(doc.header.e_bpm, doc.encoding) + "」は正の数でないため 120 として扱います", -1,
                   "#BPM ", -1});
  for (const bool stop : {false, true}) {
    std::vector<std::pair<int, KeptTimingLines::Definition>> bad;
    for (const auto& [index, def] : stop ? kept.stops : kept.tempos)
      if (stop ? def.value < 0 || std::isnan(def.value) : !(def.value > 0)) bad.emplace_back(index, def);
    std::sort(bad.begin(), bad.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [index, def] : bad) {
      const std::string what = (stop ? "#STOP" : "#BPM") + doc.indices.Format(index);
      const std::string limit = stop ? "負の値" : "0 以下の値";
      const bool inTable = def.line == KeptTimingLines::kTable;
      if (!inTable) places.push_back({out.size(), def.line});
      out.push_back({Severity::Warning, stop ? "bad-stop" : "bad-tempo",
                     what + " の" + limit + " " + Number(def.value) + " は無視されます", -1,
                     inTable ? what + " " : doc.mcom[def.line], inTable ? -1 : 0});
    }
  }
}

// Channel 08 and 09 cells that name no definition: one finding per measure and index.
void CheckTimingCells(const Document& doc, const KeptTimingLines& kept, std::vector<Finding>& out) {
  std::vector<std::tuple<int, int, int>> undefined;  // measure, stop, index
  for (const KeptTimingLines::Cell& c : kept.cells) {
    if (!c.direct && (c.stop ? kept.stops : kept.tempos).count(c.index) == 0)
      undefined.emplace_back(c.pos / TicksPerMeasure, c.stop ? 1 : 0, c.index);
  }
  // Tempo and stop objects that name a definition nobody wrote.
  for (const TBmsObject& o : doc.ObjList) {
    const bool stop = o.Lane == StopLane;
    if ((!stop && !(o.Lane == TempoLane && o.Defined)) || o.Pos < 0) continue;
    if ((stop ? kept.stops : kept.tempos).count(o.Value) == 0)
      undefined.emplace_back(o.Pos / TicksPerMeasure, stop ? 1 : 0, o.Value);
  }
  std::sort(undefined.begin(), undefined.end());
  undefined.erase(std::unique(undefined.begin(), undefined.end()), undefined.end());
  for (const auto& [measure, stop, index] : undefined) {
    const char* format = stop ? "小節%03d: 定義されていないストップ %s を使っています"
                              : "小節%03d: 定義されていない拡張BPM %s を使っています";
    char source[16];
    std::snprintf(source, sizeof source, "#%03d%s", measure, stop ? "09" : "08");
    out.push_back({Severity::Error, stop ? "undefined-stop" : "undefined-tempo",
                   Printf(format, measure, doc.indices.Format(index)), measure, source, 0});
  }
}

void CheckMeasureLengths(const Document& doc, std::vector<Finding>& out) {
  for (int m = 0; m < MeasureCount; ++m) {
    const double length = doc.MeasureLen[static_cast<size_t>(m)];
    if (length > 0) continue;
    char source[16];
    std::snprintf(source, sizeof source, "#%03d02", m);
    out.push_back({Severity::Warning, "bad-measure-length",
                   Printf("小節%03d: 0 以下の小節長 %s は 1 として扱います", m, ShortestDecimal(length)), m, source,
                   -1});
  }
}

void CheckConditionals(const Document& doc, const KeptTimingLines& kept, std::vector<Finding>& out,
                       std::vector<KeptPlace>& places) {
  for (size_t b = 0; b < kept.conditionalBlocks.size(); ++b) {
    const size_t line = kept.conditionalBlocks[b];
    const bool taken = b < kept.blockTaken.size() && kept.blockTaken[b];
    // Every player takes the same branch of such a block: its timing counts.
    const char* what = taken ? "」のブロックは、どのプレイヤーも選ぶ分岐の小節長・BPM・ストップだけを演奏時刻に含め、"
                               "ほかはテキストのまま残ります"
                             : "」のブロックは解釈されずテキストのまま残ります";
    places.push_back({out.size(), line});
    out.push_back({Severity::Note, "conditional-block", "条件分岐「" + ToUtf8(doc.mcom[line], doc.encoding) + what, -1,
                   doc.mcom[line], 0});
  }
}

}  // namespace

FileProbe FolderProbe(const std::string& folder, TextEncoding encoding) {
  namespace fs = std::filesystem;
  auto names = std::make_shared<std::unordered_set<std::string>>();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    names->insert(LowerText(it->path().filename().string()));
  return [folder, encoding, names](std::string_view written) {
    const std::string trimmed(TrimBlanks(written));
    for (std::string name : {trimmed, ToUtf8(trimmed, encoding)}) {
      std::replace(name.begin(), name.end(), '\\', '/');
      std::vector<std::string> candidates = {name};
      // Charts name ".wav" files that were converted to smaller formats later.
      if (EndsWithNoCase(name, ".wav"))
        for (const char* twin : {".ogg", ".flac"}) candidates.push_back(name.substr(0, name.size() - 4) + twin);
      for (const std::string& c : candidates) {
        if (c.empty()) continue;
        std::error_code error;
        if (c.find('/') == std::string::npos ? names->count(LowerText(c)) > 0 : fs::exists(fs::path(folder) / c, error))
          return true;
      }
    }
    return false;
  };
}

std::vector<Finding> CheckChart(const Document& doc, const FileProbe& files) {
  std::vector<Finding> out;
  CheckDefinitions(doc, files, out);
  const KeptTimingLines kept = ReadKeptTimingLines(doc);
  std::vector<KeptPlace> places;
  CheckTempoValues(doc, kept, out, places);
  CheckTimingCells(doc, kept, out);
  CheckMeasureLengths(doc, out);
  CheckConditionals(doc, kept, out, places);
  NumberKeptPlaces(doc, places, out);
  CheckObjects(doc, ChartTiming(doc), out);
  std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) { return a.measure < b.measure; });
  return out;
}

bool HasError(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.severity == Severity::Error; });
}

std::vector<int> LinesOf(const std::vector<std::string_view>& lines, const std::vector<Finding>& findings) {
  std::vector<int> result(findings.size(), 0);
  PrefixSet sources;
  std::vector<int> sourceOf(findings.size(), -1);
  for (size_t f = 0; f < findings.size(); ++f)
    if (!findings[f].source.empty()) sourceOf[f] = sources.Add(findings[f].source);
  // Per source, the occurrences asked for in rising order, with their findings.
  std::vector<std::vector<std::pair<int, size_t>>> wanted(static_cast<size_t>(sources.Count()));
  for (size_t f = 0; f < findings.size(); ++f)
    if (sourceOf[f] >= 0 && findings[f].occurrence >= 0)
      wanted[static_cast<size_t>(sourceOf[f])].emplace_back(findings[f].occurrence, f);
  for (auto& w : wanted) std::sort(w.begin(), w.end());
  std::vector<int> seen(wanted.size(), 0);
  std::vector<size_t> next(wanted.size(), 0);
  std::vector<int> last(wanted.size(), 0);
  for (size_t n = 0; n < lines.size(); ++n) {
    sources.ForEachPrefixOf(lines[n], [&](int source) {
      const auto s = static_cast<size_t>(source);
      const int occurrence = seen[s]++;
      last[s] = static_cast<int>(n) + 1;
      for (; next[s] < wanted[s].size() && wanted[s][next[s]].first == occurrence; ++next[s])
        result[wanted[s][next[s]].second] = last[s];
    });
  }
  for (size_t f = 0; f < findings.size(); ++f)
    if (sourceOf[f] >= 0 && findings[f].occurrence < 0) result[f] = last[static_cast<size_t>(sourceOf[f])];
  return result;
}

int LineOf(const std::vector<std::string_view>& lines, const Finding& finding) {
  return LinesOf(lines, {finding}).front();
}

}  // namespace beatloom
