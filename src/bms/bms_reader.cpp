#include "bms/bms_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "model/line_file.h"
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

// Tick offset of cell i of n: the nearest integer to 192 i / n, halves to even.
int CellOffset(long long i, long long n) {
  const long long num = TicksPerMeasure * i;
  long long q = num / n;
  const long long twice = 2 * (num % n);
  if (twice > n || (twice == n && (q % 2) != 0)) ++q;
  return static_cast<int>(q);
}

struct Channel {
  int lane;  // -1 rejected, 51 measure length, 1 background (lane chosen later)
  bool hidden;
};

constexpr int kMeasureLengthLane = 51;
constexpr int kBackgroundChannel = -2;

Channel LaneOfChannel(int channel) {
  if (channel == 1) return {kBackgroundChannel, false};
  if (channel == 2) return {kMeasureLengthLane, false};
  if (channel == 3) return {0, false};
  if (channel == 4) return {19, false};
  if (channel == 6) return {21, false};
  if (channel == 7) return {20, false};
  if (channel >= 11 && channel <= 19) return {channel - 10, false};
  if (channel >= 21 && channel <= 29) return {channel - 11, false};
  if (channel >= 31 && channel <= 39) return {channel - 30, true};
  if (channel >= 41 && channel <= 49) return {channel - 31, true};
  return {-1, false};
}

struct HeaderKeyword {
  std::string_view keyword;
  std::string HeaderFields::*field;  // null: handled specially
};

void KeepRejected(Document& doc, std::string_view line, int lineNumber, Log& log, std::string_view message) {
  log.Add(LineTag(lineNumber) + std::string(message) + ToUtf8(line, doc.encoding));
  doc.mcom.emplace_back(line);
}

// Lanes for the cells of a background line once the 28 numbered lanes of its
// measure are used up: each cell goes above the highest background lane at
// its position, as AddObject(AnyBgmLane, ..) would put it. Empty when some
// cell would find no lane, so that the line is kept whole. One pass over the
// chart per line instead of one per cell.
std::vector<int> BackgroundLanes(const Document& doc, int measure, const std::vector<std::pair<int, int>>& cells) {
  const int first = measure * TicksPerMeasure;
  // Offsets reach TicksPerMeasure: the last cells of a line of more than 384
  // cells round up to the next measure's first tick.
  std::array<int, TicksPerMeasure + 1> next;
  next.fill(FirstBgmLane);
  for (const TBmsObject& o : doc.ObjList) {
    const long long offset = static_cast<long long>(o.Pos) - first;
    if (offset < 0 || offset > TicksPerMeasure || o.Lane < FirstBgmLane) continue;
    next[offset] = std::max(next[offset], o.Lane + 1);
  }
  std::vector<int> lanes;
  lanes.reserve(cells.size());
  for (const auto& [offset, value] : cells) {
    (void)value;
    if (next[offset] > LastBgmLane) return {};
    lanes.push_back(next[offset]++);
  }
  return lanes;
}

bool InterpretHeader(Document& doc, std::string_view line, const std::string& up) {
  static const HeaderKeyword kText[] = {
      {"#TITLE", &HeaderFields::e_title},
      {"#GENRE", &HeaderFields::e_genre},
      {"#MIDIFILE", &HeaderFields::e_midif},
      {"#BPM", &HeaderFields::e_bpm},
      {"#PLAYLEVEL", &HeaderFields::e_level},
      {"#ARTIST", &HeaderFields::e_art},
      {"#TOTAL", &HeaderFields::e_total},
      {"#VOLWAV", &HeaderFields::e_volwav},
      {"#RANK", nullptr},
      {"#STAGEFILE", &HeaderFields::E_Stagefile},
      {"%EMAIL", &HeaderFields::E_Email},
      {"%URL", &HeaderFields::E_URL},
      {"#PLAYER", nullptr},
  };
  for (const HeaderKeyword& k : kText) {
    // "#BPM01 150" defines an extended tempo, not the chart's tempo.
    const bool matches = k.keyword == "#BPM" ? StartsWithWord(up, k.keyword) : StartsWith(up, k.keyword);
    if (!matches) continue;
    const std::string_view value = TrimBlanks(line.substr(k.keyword.size()));
    if (k.field) {
      doc.header.*k.field = std::string(value);
      return true;
    }
    int n = 0;
    if (k.keyword == "#RANK") {
      if (!ParseDecimalInt(value, n)) throw ConversionError("#RANK");
      if (n >= -1 && n <= 3) {
        doc.header.cbrank = static_cast<int>(n + 1);
      } else {
        doc.header.cbrank = -1;
        doc.mcom.emplace_back(line);
      }
      return true;
    }
    // #PLAYER: a value that is no number is not ours; it ends up kept as text.
    if (!ParseDecimalInt(value, n)) return false;
    if (n >= 1 && n <= 3) {
      doc.header.cbpmode = static_cast<int>(n - 1);
    } else {
      doc.header.cbpmode = -1;
      doc.mcom.emplace_back(line);
    }
    return true;
  }
  for (const bool isWav : {true, false}) {
    if (!StartsWith(up, isWav ? "#WAV" : "#BMP")) continue;
    const std::string_view digits = line.substr(4, 2);
    int index = 0;
    for (char c : digits) {
      const int d = HexDigitValue(c);
      if (d < 0) throw ConversionError(isWav ? "#WAV" : "#BMP");
      index = index * 16 + d;
    }
    if (digits.empty()) throw ConversionError(isWav ? "#WAV" : "#BMP");
    const std::string name(line.size() > 7 ? line.substr(7) : std::string_view());
    if (isWav && index == 0) {
      doc.mcom.emplace_back(line);  // WAV00 has no slot but charts use it
    } else {
      (isWav ? doc.wav : doc.bmp)[index] = name;
    }
    return true;
  }
  return false;
}

void InterpretData(Document& doc, std::string_view line, int lineNumber, Log& log) {
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
    if (!ParseDecimalNumber(data, factor)) {
      factor = 1.0;
      doc.mcom.emplace_back(line);
    }
    doc.MeasureLen[measure] = factor;
    return;
  }
  std::string_view cellsText = data;
  while (!cellsText.empty() && (cellsText.back() == ' ' || cellsText.back() == '\t')) cellsText.remove_suffix(1);
  // A line with a malformed cell adds nothing: half a line of notes would be
  // worse than none, and the line itself is kept.
  std::vector<std::pair<int, int>> cells;
  const size_t n = cellsText.size() / 2;
  bool wellFormed = cellsText.size() % 2 == 0;
  for (size_t i = 0; i < n && wellFormed; ++i) {
    const int hi = HexDigitValue(cellsText[2 * i]);
    const int lo = HexDigitValue(cellsText[2 * i + 1]);
    if (hi < 0 || lo < 0) {
      wellFormed = false;
      break;
    }
    const int value = hi * 16 + lo;
    if (value != 0) cells.emplace_back(CellOffset(static_cast<long long>(i), static_cast<long long>(n)), value);
  }
  if (!wellFormed) {
    KeepRejected(doc, line, lineNumber, log, kRejected);
    return;
  }
  // The last cells of a very long line round up to the tick after the
  // measure; after measure 999 there is no tick the file could hold.
  if (measure == MeasureCount - 1 && !cells.empty() && cells.back().first >= TicksPerMeasure) {
    KeepRejected(doc, line, lineNumber, log, kRejected);
    return;
  }
  std::vector<int> lanes(cells.size(), ch.lane);
  if (ch.lane == kBackgroundChannel) {
    int& count = doc.BgmLineCount[measure];
    if (count < BgmLaneCount) {
      lanes.assign(cells.size(), FirstBgmLane + count);
      ++count;
    } else {
      lanes = BackgroundLanes(doc, measure, cells);
      if (lanes.size() != cells.size()) {
        KeepRejected(doc, line, lineNumber, log, ":BGMレーンに空きがありません  ");
        return;
      }
    }
  }
  for (size_t i = 0; i < cells.size(); ++i) {
    const size_t before = doc.ObjList.size();
    const int index = doc.AddObject(lanes[i], measure * TicksPerMeasure + cells[i].first, cells[i].second);
    if (doc.ObjList.size() > before) doc.ObjList[index].Hidden = ch.hidden ? 1 : 0;
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

void InterpretLine(Document& doc, std::string_view line, int lineNumber, Log& log) {
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
  const std::string up = Upper(line);
  const bool handled = InterpretHeader(doc, line, up);
  if (!up.empty() && up[0] == '#') {
    if (handled) return;
    const std::string_view measureText = line.substr(1, 3);
    const std::string_view channelText = line.size() >= 6 ? line.substr(4, 2) : std::string_view();
    if (measureText.size() == 3 && AllDigits(measureText) && channelText.size() == 2 && AllDigits(channelText)) {
      InterpretData(doc, line, lineNumber, log);
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

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  const size_t eof = bytes.find('\x1A');
  return SplitLineEnds(eof == std::string_view::npos ? bytes : bytes.substr(0, eof));
}

void LoadBmsBytes(Document& doc, std::string_view bytes, const std::string& displayName, Log& log) {
  doc.ResetDocument();
  doc.BgmLineCount.fill(0);
  doc.IfDepth = 0;
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (StartsWith(bytes, kBom)) {
    doc.hasBom = true;
    bytes.remove_prefix(kBom.size());
  }
  const size_t eof = bytes.find('\x1A');
  doc.encoding = DetectEncoding(eof == std::string_view::npos ? bytes : bytes.substr(0, eof));
  if (doc.hasBom) doc.encoding = TextEncoding::Utf8;
  int counter = 0;
  for (std::string_view line : SplitLines(bytes)) {
    ++counter;
    if (line.empty()) continue;
    try {
      InterpretLine(doc, line, counter, log);
    } catch (const std::exception&) {
      log.Add(LineTag(counter) + "：解析失敗。スキップします：" + ToUtf8(line, doc.encoding));
      log.RequestShow();
      doc.mcom.emplace_back(line);
    }
  }
  // An #IF the file leaves open is closed here, as the writer would close it,
  // so that the chart shown is the chart that will be saved.
  for (; doc.IfDepth > 0; --doc.IfDepth) doc.mcom.emplace_back("#ENDIF");
  log.Add("ファイルのクローズ" + displayName);
  doc.Modified = false;
  log.Add("処理は正常に終了しました" + displayName);
  log.Add("オブジェ総数:" + std::to_string(doc.ObjList.size()));
}

bool ReadFileBytes(const std::string& path, std::string& out) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool LoadBmsFile(Document& doc, const std::string& path, Log& log) {
  log.Clear();
  log.Add("ファイルのオープン:" + path);
  log.Add("オープンに成功しました" + path);
  bool loaded = false;
  try {
    std::string bytes;
    if (ReadFileBytes(path, bytes)) {
      LoadBmsBytes(doc, bytes, path, log);
      loaded = true;
    }
  } catch (const std::exception&) {
    // A file too large to hold fails like one that cannot be read.
  }
  if (loaded) return true;
  log.Add("ファイルの読込に失敗しました" + path);
  log.RequestShow();
  log.Add("メモリ内のデータをリセットしました" + path);
  doc.ResetDocument();
  return false;
}

}  // namespace beatloom
