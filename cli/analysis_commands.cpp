// stats and lint: how long a chart plays, how dense it is, and what may keep
// it from playing as meant.
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/chart_check.h"
#include "analysis/chart_stats.h"
#include "analysis/chart_timing.h"
#include "bms/bms_reader.h"
#include "command_registry.h"
#include "json_writer.h"
#include "model/file_io.h"

namespace beatloom::cli {

namespace {

constexpr const char* kGroupKeys[kNoteGroupCount] = {"player1",   "player2",    "scratch",
                                                     "invisible", "background", "image"};

void PrintStatsJson(const ChartStats& s) {
  JsonWriter json;
  json.BeginObject();
  json.Key("lengthSeconds");
  json.Double(s.lengthSeconds);
  json.Key("groups");
  json.BeginObject();
  for (int g = 0; g < kNoteGroupCount; ++g) {
    json.Key(kGroupKeys[g]);
    json.Number(s.groups[static_cast<size_t>(g)]);
  }
  json.EndObject();
  json.Key("totalNotes");
  json.Number(s.totalNotes);
  json.Key("longNotes");
  json.Number(s.longNotes);
  json.Key("longNoteSeconds");
  json.Double(s.longNoteSeconds);
  json.Key("peakNotesPerSecond");
  json.Number(s.peakNotesPerSecond);
  json.Key("averageNotesPerSecond");
  json.Double(s.averageNotesPerSecond);
  json.Key("densitySeconds");
  json.Double(s.densitySeconds);
  json.Key("density");
  json.BeginArray(true);
  for (const int n : s.density) json.Number(n);
  json.EndArray();
  json.EndObject();
  std::printf("%s\n", json.Text().c_str());
}

int Stats(const std::vector<std::string>& args) {
  std::string file;
  bool asJson = false;
  for (const std::string& a : args) {
    if (a == "--json") {
      asJson = true;
    } else if (a.rfind("--", 0) == 0) {
      return UsageError("unknown option " + a);
    } else if (!file.empty()) {
      return UsageError("stats takes one FILE");
    } else {
      file = a;
    }
  }
  if (file.empty()) return UsageError("stats takes one FILE");
  Document doc;
  if (!LoadChart(doc, file)) return kFailed;
  const ChartStats s = StatsOf(doc, ChartTiming(doc));
  if (asJson) {
    PrintStatsJson(s);
    return kOk;
  }
  std::printf("length: %.3f s\n", s.lengthSeconds);
  for (int g = 0; g < kNoteGroupCount; ++g) std::printf("%s: %d\n", kGroupKeys[g], s.groups[static_cast<size_t>(g)]);
  std::printf("total notes: %d\n", s.totalNotes);
  std::printf("long notes: %d (%.3f s held)\n", s.longNotes, s.longNoteSeconds);
  std::printf("peak: %d notes/s\n", s.peakNotesPerSecond);
  std::printf("average: %.2f notes/s\n", s.averageNotesPerSecond);
  return kOk;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

int Lint(const std::vector<std::string>& args) {
  if (args.size() != 1) return UsageError("lint takes one FILE");
  Document doc;
  if (!LoadChart(doc, args[0])) return kFailed;
  // The document keeps no line numbers: the findings are placed by the text
  // of the file as it stands.
  std::string bytes;
  ReadFileBytes(args[0], bytes);
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  const std::vector<std::string_view> lines = SplitLines(bytes);
  const std::vector<Finding> findings = CheckChart(doc, FolderProbe(FolderOf(args[0]), doc.encoding));
  const std::vector<int> places = LinesOf(lines, findings);
  static const char* const kSeverity[] = {"error", "warning", "note"};
  for (size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    const int line = places[i];
    const std::string where = line > 0 ? args[0] + ":" + std::to_string(line) : args[0];
    std::printf("%s: %s: %s [%s]\n", where.c_str(), kSeverity[static_cast<int>(f.severity)], f.message.c_str(),
                f.rule.c_str());
  }
  return HasError(findings) ? kFailed : kOk;
}

const Registrar stats(
    {"stats", "FILE [--json]",
     "Prints how long FILE plays in seconds, its notes per lane group (player1, player2, scratch, "
     "invisible, background, image), the total notes and the peak and average notes per second; "
     "--json adds the notes of every densitySeconds (1, or more for a chart that plays over an hour).",
     Stats});
const Registrar lint({"lint", "FILE",
                      "Checks FILE: one line per finding (FILE:LINE, error/warning/note, message, [rule]). Exits 1 "
                      "when it found an error.",
                      Lint});

}  // namespace

}  // namespace beatloom::cli
