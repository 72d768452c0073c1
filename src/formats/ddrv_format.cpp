#include "formats/ddrv_format.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bms/bms_reader.h"
#include "formats/format_text.h"
#include "model/file_io.h"

namespace beatloom {

namespace {

constexpr int kStepsPerMeasure = 16;
constexpr int kTicksPerStep = TicksPerMeasure / kStepsPerMeasure;
constexpr int kFirstSideBase = 1;
constexpr int kSecondSideBase = 10;
// Lane offset from the side's base lane for bits 1, 2, 4 and 8.
constexpr std::array<int, 4> kBitLaneOffset = {0, 2, 4, 7};

// Whether the object is an arrow of the side the export writes.
bool IsStep(const TBmsObject& o, int base) {
  if (o.Pos < 0 || o.Pos % kTicksPerStep != 0) return false;
  return std::find(kBitLaneOffset.begin(), kBitLaneOffset.end(), o.Lane - base) != kBitLaneOffset.end();
}

// Whether a memo line written as it stands would come back as the same memo
// line. The import keeps an #MSD line's value alone, so a value written bare
// could read back as steps ("5000:0001" is measure 000 of the second side) or
// as a header line, or not at all; such a line goes out behind "#MSD".
bool ReadsBackAsItself(std::string_view line) {
  if (!line.starts_with('#') || (line.size() > 4 && line[4] == ':')) return false;
  static constexpr std::string_view kKeywords[] = {"#TITLE", "#COMMENT", "#ANOTHER", "#MANIAC",
                                                   "#BASIC", "#DOUBLE",  "#TWOPLAY", "#MSD"};
  return std::none_of(std::begin(kKeywords), std::end(kKeywords),
                      [line](std::string_view keyword) { return StartsWithNoCase(line, keyword); });
}

std::string TrimmedFrom(std::string_view line, size_t offset) {
  return std::string(TrimBlanks(offset < line.size() ? line.substr(offset) : std::string_view()));
}

// True when the line was a header line and is finished.
bool ImportHeaderLine(Document& doc, std::string_view line) {
  HeaderFields& h = doc.header;
  if (StartsWithNoCase(line, "#TITLE")) {
    h.e_title = TrimmedFrom(line, 6);
  } else if (StartsWithNoCase(line, "#COMMENT")) {
    h.e_art = TrimmedFrom(line, 8);
  } else if (StartsWithNoCase(line, "#ANOTHER")) {
    h.e_genre = "ANOTHER";
  } else if (StartsWithNoCase(line, "#MANIAC")) {
    h.e_genre = "MANIAC";
  } else if (StartsWithNoCase(line, "#BASIC")) {
    h.e_genre = "BASIC";
  } else if (StartsWithNoCase(line, "#DOUBLE")) {
    h.cbpmode = 2;
  } else if (StartsWithNoCase(line, "#TWOPLAY")) {
    h.cbpmode = 1;
  } else {
    return false;
  }
  return true;
}

void ImportStepLine(Document& doc, std::string_view line) {
  if (line.size() < 5 || line[4] != ':') return;
  const int base = line[0] == '#' ? kFirstSideBase : kSecondSideBase;
  int measure = 0;
  // A measure the chart cannot hold would put objects where no command can reach them.
  if (!ParseDecimalInt(line.substr(1, 3), measure) || measure < 0 || measure >= MeasureCount) return;
  const std::string_view steps = line.substr(5);
  const long long count = static_cast<long long>(TrimBlanks(steps).size());
  for (long long c = 0; c < count; ++c) {
    // The steps are counted on the trimmed text but read from the untrimmed
    // one, so leading blanks end the line at once, as they always have.
    const int bits = HexDigitValue(steps[static_cast<size_t>(c)]);
    if (bits < 0) return;
    const int pos = static_cast<int>(c * TicksPerMeasure / count) + measure * TicksPerMeasure;
    for (size_t b = 0; b < kBitLaneOffset.size(); ++b) {
      if (bits & (1 << b)) doc.AddObject(base + kBitLaneOffset[b], pos, 1);
    }
  }
}

}  // namespace

void ImportDdrvBytes(Document& doc, std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
  doc.encoding = DetectEncoding(bytes);
  doc.header.cbpmode = 0;
  doc.mcom.clear();
  for (const std::string_view line : SplitLines(bytes)) {
    if (ImportHeaderLine(doc, line)) continue;
    if (StartsWithNoCase(line, "#MSD")) doc.mcom.push_back(TrimmedFrom(line, 4));
    ImportStepLine(doc, line);
  }
}

bool ImportDdrvFile(Document& doc, const std::string& path, std::string* error) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  ImportDdrvBytes(doc, bytes);
  return true;
}

std::string ExportDdrvText(const Document& doc) {
  const HeaderFields& h = doc.header;
  std::string out;
  AppendLine(out, "#TITLE " + ToCp932(h.e_title, doc.encoding));
  AppendLine(out, "#" + ToCp932(h.e_genre, doc.encoding));
  if (h.cbpmode == 1) AppendLine(out, "#TWOPLAY");
  if (h.cbpmode == 2) AppendLine(out, "#DOUBLE");
  AppendLine(out, "#COMMENT " + ToCp932(h.e_art, doc.encoding));
  for (const std::string& line : doc.mcom) {
    const std::string text = ToCp932(line, doc.encoding);
    AppendLine(out, ReadsBackAsItself(text) ? text : "#MSD " + text);
  }

  // The measure count follows the first side and the tempo lane, rounded up
  // to the next measure start; an arrow of the second side, when the play
  // mode writes it, reaches at least its own measure so that none is lost.
  const bool secondSideWritten = h.cbpmode != 0;
  int last = 0;
  int lastSecondMeasure = 0;
  for (const TBmsObject& o : doc.ObjList) {
    if (o.Lane <= 9) last = std::max(last, static_cast<int>(o.Pos));
    if (secondSideWritten && IsStep(o, kSecondSideBase))
      lastSecondMeasure = std::max(lastSecondMeasure, static_cast<int>(o.Pos / TicksPerMeasure));
  }
  // A last object inside measure 999 would ask for a measure 1000, which has
  // no three-digit number and holds nothing anyway.
  const int lastMeasure =
      std::min(std::max((last + TicksPerMeasure - 1) / TicksPerMeasure, lastSecondMeasure), MeasureCount - 1);

  std::vector<std::array<uint8_t, 2 * kStepsPerMeasure>> steps(static_cast<size_t>(lastMeasure) + 1);
  for (const TBmsObject& o : doc.ObjList) {
    if (o.Pos < 0 || o.Pos % kTicksPerStep != 0) continue;
    const int measure = o.Pos / TicksPerMeasure;
    if (measure > lastMeasure) continue;
    const int step = (o.Pos % TicksPerMeasure) / kTicksPerStep;
    for (const int base : {kFirstSideBase, kSecondSideBase}) {
      for (size_t b = 0; b < kBitLaneOffset.size(); ++b) {
        if (o.Lane != base + kBitLaneOffset[b]) continue;
        const int slot = (base == kFirstSideBase ? 0 : kStepsPerMeasure) + step;
        steps[static_cast<size_t>(measure)][static_cast<size_t>(slot)] |= static_cast<uint8_t>(1 << b);
      }
    }
  }

  constexpr char kHex[] = "0123456789ABCDEF";
  char number[16];
  for (int m = 0; m <= lastMeasure; ++m) {
    std::snprintf(number, sizeof number, "%03d", m);
    const auto& s = steps[static_cast<size_t>(m)];
    std::string first = std::string("#") + number + ":";
    for (int k = 0; k < kStepsPerMeasure; ++k) first += kHex[s[static_cast<size_t>(k)]];
    AppendLine(out, first);
    std::string second = std::string("$") + number + ":";
    if (h.cbpmode != 0) {
      for (int k = 0; k < kStepsPerMeasure; ++k) second += kHex[s[static_cast<size_t>(kStepsPerMeasure + k)]];
    }
    AppendLine(out, second);
  }
  return out;
}

bool ExportDdrvFile(const Document& doc, const std::string& path, std::string* error) {
  std::string reason;
  if (WriteFileAtomically(path, ExportDdrvText(doc), &reason)) return true;
  if (error) *error = reason;
  return false;
}

}  // namespace beatloom
