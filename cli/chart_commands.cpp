// check, dump and save: the reader and writer without a window.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/chart_timing.h"
#include "bms/bms_reader.h"
#include "bms/bms_writer.h"
#include "bms/index_radix.h"
#include "command_registry.h"
#include "json_writer.h"
#include "model/document.h"
#include "model/file_io.h"
#include "model/timing_values.h"

namespace beatloom::cli {

namespace {

int Check(const std::vector<std::string>& args) {
  if (args.size() != 1) return UsageError("check takes one FILE");
  Document doc;
  Log log;
  const bool ok = LoadBmsFile(doc, args[0], log);
  for (const std::string& line : log.Lines()) std::printf("%s\n", line.c_str());
  if (!ok) return Fail(LoadFailure(args[0]));
  std::string bytes;
  if (ReadFileBytes(args[0], bytes)) std::printf("%s\n", DescribeIndexRadix(ChooseIndexRadixOfFile(bytes)).c_str());
  return kOk;
}

void DumpLines(JsonWriter& json, const char* key, const std::vector<std::string>& lines, TextEncoding enc) {
  json.Key(key);
  json.BeginArray();
  for (const std::string& l : lines) json.String(ToUtf8(l, enc));
  json.EndArray();
}

// "tempos": [[pos, bpm], ...] and "stops": [[pos, length], ...] in position
// order; objects naming no readable definition are left out.
void DumpTimingObjects(JsonWriter& json, const Document& doc) {
  for (const bool stop : {false, true}) {
    std::vector<std::pair<int, double>> rows;
    for (const TBmsObject& o : doc.ObjList) {
      if (o.Lane != (stop ? StopLane : TempoLane)) continue;
      if (const std::optional<double> value = stop ? StopLengthOf(doc, o) : TempoOf(doc, o))
        rows.emplace_back(o.Pos, *value);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    json.Key(stop ? "stops" : "tempos");
    json.BeginArray();
    for (const auto& [pos, value] : rows) {
      json.BeginArray(true);
      json.Number(pos);
      json.Double(value);
      json.EndArray();
    }
    json.EndArray();
  }
}

int Dump(const std::vector<std::string>& options) {
  std::vector<std::string> args = options;
  const bool times = std::erase(args, std::string("--times")) > 0;
  if (args.size() != 1) return UsageError("dump takes one FILE");
  Document doc;
  if (!LoadChart(doc, args[0])) return kFailed;
  const TextEncoding enc = doc.encoding;
  JsonWriter json;
  json.BeginObject();
  json.Key("header");
  json.BeginObject();
  for (const HeaderFieldRef& f : HeaderTextFields()) {
    json.Key(f.name);
    json.String(ToUtf8(doc.header.*f.field, enc));
  }
  DumpLines(json, "e_subartist", doc.header.e_subartist, enc);
  json.Key("cbpmode");
  json.Number(doc.header.cbpmode);
  json.Key("cbrank");
  json.Number(doc.header.cbrank);
  json.EndObject();
  json.Key("radix");
  json.Number(doc.indices.Radix());
  for (const bool isWav : {true, false}) {
    json.Key(isWav ? "wav" : "bmp");
    json.BeginObject();
    const auto& names = isWav ? doc.wav : doc.bmp;
    const int first = isWav ? DefinitionIndex::FirstWav : DefinitionIndex::FirstBmp;
    const int last = isWav ? doc.indices.HighestWav() : doc.indices.HighestBmp();
    for (int k = first; k <= last; ++k) {
      if (names[k].empty()) continue;
      json.Key(doc.indices.Format(k));
      json.String(ToUtf8(names[k], enc));
    }
    json.EndObject();
  }
  json.Key("measureLen");
  json.BeginObject();
  for (int m = 0; m < MeasureCount; ++m) {
    if (doc.MeasureLen[m] == 1.0) continue;
    json.Key(std::to_string(m));
    json.Double(doc.MeasureLen[m]);
  }
  json.EndObject();
  DumpLines(json, "mmemo", doc.mmemo, enc);
  DumpLines(json, "mcom", doc.mcom, enc);
  json.Key("objects");
  json.BeginArray();
  const ChartTiming timing = times ? ChartTiming(doc) : ChartTiming();
  for (const TBmsObject& o : doc.ObjList) {
    json.BeginArray(true);
    json.Number(o.Lane);
    // Ticks; a fraction where the object stands between two (167.75).
    if (OnGrid(o)) {
      json.Number(o.Pos);
    } else {
      json.Double(ExactTicks(o));
    }
    json.Number(o.Value);
    json.Number(o.Hidden);
    if (times) json.Double(timing.SecondsAt(o));
    json.EndArray();
  }
  json.EndArray();
  // Each held note once, at its start, with its end: lane, start, end, value.
  json.Key("longNotes");
  json.BeginArray();
  const auto place = [&json](int32_t pos, uint32_t num, uint32_t den) {
    if (num == 0) {
      json.Number(pos);
    } else {
      json.Double(ExactTicks(pos, num, den));
    }
  };
  for (const TBmsObject& o : doc.ObjList) {
    if (!IsLongNote(o)) continue;
    json.BeginArray(true);
    json.Number(o.Lane);
    place(o.Pos, o.OffNum, o.OffDen);
    place(o.EndPos, o.EndOffNum, o.EndOffDen);
    json.Number(o.Value);
    json.EndArray();
  }
  json.EndArray();
  DumpTimingObjects(json, doc);
  json.EndObject();
  std::printf("%s\n", json.Text().c_str());
  return kOk;
}

int Save(const std::vector<std::string>& args) {
  std::vector<std::string> files;
  SaveOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--min-cells") {
      if (i + 1 >= args.size()) return UsageError("--min-cells needs a number");
      options.minCells = ParseMinCells(args[++i]);
    } else if (args[i] == "--pack-bgm") {
      options.keepLayout = false;
    } else if (args[i].rfind("--", 0) == 0) {
      return UsageError("unknown option " + args[i]);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return UsageError("save takes IN and OUT");
  Document doc;
  if (!LoadChart(doc, files[0])) return kFailed;
  Log log;
  std::string error;
  if (!SaveBmsFile(doc, files[1], options, log, &error)) return SaveFailed(error);
  return kOk;
}

const Registrar check(
    {"check", "FILE",
     "Loads FILE as Open does and prints every log line (UTF-8), then the index radix the reader chose "
     "and why.",
     Check});
const Registrar dump({"dump", "FILE [--times]",
                      "Loads FILE and prints the chart as JSON: header, radix (16, 36 or 62), wav, bmp, measureLen, "
                      "mmemo, mcom, objects "
                      "[Lane, Pos, Value, Hidden], with --times also the seconds from the start; longNotes [[Lane, start, end, Value]]; tempos [[Pos, bpm]] and "
                      "stops [[Pos, length in 1/192 of a 4/4 measure]]. Pos is in ticks (192 a measure), fractional "
                      "where an object stands between two.",
                      Dump});
const Registrar save({"save", "IN OUT [--min-cells N] [--pack-bgm]",
                      "Loads IN and writes OUT exactly as Save would (N: minimum cells per data line, default 1; "
                      "--pack-bgm packs background lanes). Touches no list file; OUT is left as it was on failure.",
                      Save});

}  // namespace

}  // namespace beatloom::cli
