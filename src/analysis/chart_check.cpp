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
bool IsSoundLane(int lane) { return (lane >= 1 && lane <= kLastKeyLane) || lane >= FirstBgmLane; }

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
  if (o.Lane >= FirstBgmLane) occurrence = o.Lane - FirstBgmLane;
  char text[16];
  std::snprintf(text, sizeof text, "#%03d%02d", o.Pos / TicksPerMeasure, channel);
  return {text, occurrence};
}

// Earlier kept lines that the same source text would also find.
int OccurrenceInKept(const Document& doc, size_t index) {
  int n = 0;
  for (size_t i = 0; i < index; ++i) n += StartsWithNoCase(doc.mcom[i], doc.mcom[index]) ? 1 : 0;
  return n;
}

// Findings about objects come one per undefined index (shown at its first
// measure) or one per measure, however many objects share them.
enum ObjectRule { kUndefinedSound, kUndefinedImage, kCollapsed, kDuplicate };

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
  static const char* const kRules[] = {"undefined-sound", "undefined-image", "collapsed-lane", "duplicate-object"};
  static const char* const kMessages[] = {
      "小節%03d から: 定義されていない音 %s を鳴らすオブジェが %lld 個あります",
      "小節%03d から: 定義されていない画像 %s を表示するオブジェが %lld 個あります",
      "小節%03d: プレイモードで表示されないレーンにオブジェが %s%lld 個あります",
      "小節%03d: 同じレーンと位置に重なったオブジェが %s%lld 個あります (保存では一つだけ残ります)"};
  Finding f;
  f.severity = hit.rule <= kUndefinedImage ? Severity::Error : Severity::Warning;
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

void CheckObjects(const Document& doc, std::vector<Finding>& out) {
  std::vector<ObjectHit> hits;
  const bool player2Collapsed = doc.header.cbpmode <= 0;
  std::vector<std::pair<uint64_t, uint32_t>> keyed;
  keyed.reserve(doc.ObjList.size());
  for (uint32_t i = 0; i < doc.ObjList.size(); ++i) {
    const TBmsObject& o = doc.ObjList[i];
    const int measure = o.Pos / TicksPerMeasure;
    if (IsSoundLane(o.Lane) && !Defined(doc.wav, o.Value)) hits.push_back({kUndefinedSound, o.Value, measure, i});
    if (IsImageLane(o.Lane) && !Defined(doc.bmp, o.Value)) hits.push_back({kUndefinedImage, o.Value, measure, i});
    if (player2Collapsed && o.Lane >= 10 && o.Lane <= kLastKeyLane) hits.push_back({kCollapsed, measure, measure, i});
    keyed.emplace_back(static_cast<uint64_t>(static_cast<uint32_t>(o.Pos) ^ 0x80000000u) << 8 | o.Lane, i);
  }
  std::sort(keyed.begin(), keyed.end());
  for (size_t i = 1; i < keyed.size(); ++i) {
    if (keyed[i].first != keyed[i - 1].first) continue;
    const int measure = doc.ObjList[keyed[i].second].Pos / TicksPerMeasure;
    hits.push_back({kDuplicate, measure, measure, keyed[i - 1].second});
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
void CheckTempoValues(const Document& doc, const KeptTimingLines& kept, std::vector<Finding>& out) {
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
      out.push_back({Severity::Warning, stop ? "bad-stop" : "bad-tempo",
                     what + " の" + limit + " " + Number(def.value) + " は無視されます", -1, doc.mcom[def.line],
                     OccurrenceInKept(doc, def.line)});
    }
  }
}

// Channel 08 and 09 cells that name no definition: one finding per measure and index.
void CheckTimingCells(const Document& doc, const KeptTimingLines& kept, std::vector<Finding>& out) {
  std::vector<std::tuple<int, int, int>> undefined;  // measure, stop, index
  for (const KeptTimingLines::Cell& c : kept.cells) {
    if ((c.stop ? kept.stops : kept.tempos).count(c.index) == 0)
      undefined.emplace_back(c.pos / TicksPerMeasure, c.stop ? 1 : 0, c.index);
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

void CheckConditionals(const Document& doc, const KeptTimingLines& kept, std::vector<Finding>& out) {
  for (const size_t line : kept.conditionalBlocks)
    out.push_back(
        {Severity::Note, "conditional-block",
         "条件分岐「" + ToUtf8(doc.mcom[line], doc.encoding) + "」のブロックは解釈されずテキストのまま残ります", -1,
         doc.mcom[line], OccurrenceInKept(doc, line)});
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
  CheckTempoValues(doc, kept, out);
  CheckTimingCells(doc, kept, out);
  CheckMeasureLengths(doc, out);
  CheckConditionals(doc, kept, out);
  CheckObjects(doc, out);
  std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) { return a.measure < b.measure; });
  return out;
}

bool HasError(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.severity == Severity::Error; });
}

int LineOf(const std::vector<std::string_view>& lines, const Finding& finding) {
  if (finding.source.empty()) return 0;
  int seen = 0;
  int last = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!StartsWithNoCase(lines[i], finding.source)) continue;
    last = static_cast<int>(i) + 1;
    if (seen++ == finding.occurrence) return last;
  }
  return finding.occurrence < 0 ? last : 0;
}

}  // namespace beatloom
