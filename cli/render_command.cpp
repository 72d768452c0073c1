// render: the chart's mix as a WAV file, as the editor plays it.
#include <cstdio>
#include <string>
#include <vector>

#include "audio/chart_render.h"
#include "audio/wav_writer.h"
#include "command_registry.h"
#include "model/file_io.h"
#include "model/text_scan.h"

namespace beatloom::cli {

namespace {

constexpr int kDefaultRate = 44100;
constexpr int kMinRate = 8000;
constexpr int kMaxRate = 192000;
// At 48 kHz; fewer minutes at higher rates, more at lower ones.
constexpr int kMaxMinutesAt48k = 30;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

bool ReadInt(const std::vector<std::string>& args, size_t& i, int low, int high, int& value) {
  return i + 1 < args.size() && ParseDecimalInt(args[++i], value) && value >= low && value <= high;
}

int Render(const std::vector<std::string>& args) {
  std::vector<std::string> files;
  PlayRange range;
  int rate = kDefaultRate;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--from") {
      if (!ReadInt(args, i, 0, MeasureCount - 1, range.fromMeasure)) return UsageError("--from takes a measure 0-999");
    } else if (a == "--to") {
      if (!ReadInt(args, i, 0, MeasureCount - 1, range.toMeasure)) return UsageError("--to takes a measure 0-999");
    } else if (a == "--rate") {
      if (!ReadInt(args, i, kMinRate, kMaxRate, rate)) return UsageError("--rate takes 8000-192000");
    } else if (a.rfind("--", 0) == 0) {
      return UsageError("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return UsageError("render takes CHART and OUT.wav");
  if (range.toMeasure >= 0 && range.toMeasure < range.fromMeasure) return UsageError("--to comes before --from");
  Document doc;
  if (!LoadChart(doc, files[0])) return kFailed;
  SoundBank bank(rate);
  std::vector<std::string> problems;
  const auto program = MakeMixProgram(doc, FolderOf(files[0]), range, bank, problems);
  for (const std::string& p : problems) std::fprintf(stderr, "beatloom-cli: silent, cannot play %s\n", p.c_str());
  // The mix is held whole in memory: a chart that would play for very long
  // (a note far away at a slow tempo) is refused rather than filling it.
  const int64_t maxFrames = int64_t{kMaxMinutesAt48k} * 60 * 48000;
  if (ProgramEndFrame(*program) - program->startFrame > maxFrames)
    return Fail("cannot render " + files[0] + ": it plays longer than " + std::to_string(maxFrames / rate / 60) +
                " minutes at " + std::to_string(rate) + " Hz");
  const std::string bytes = EncodeWav16(RenderProgram(program, rate), rate);
  std::string reason;
  if (!WriteFileAtomically(files[1], bytes, &reason)) return Fail("cannot write " + reason);
  return kOk;
}

const Registrar render({"render", "CHART OUT.wav [--from MEASURE] [--to MEASURE] [--rate HZ]",
                        "Mixes CHART's sounds as the editor plays them (visible notes and background sounds, "
                        "#VOLWAV applied) from the start of measure --from (0) to the end of measure --to (the "
                        "end), and writes them to OUT.wav: 16-bit stereo at --rate Hz (44100), the same bytes on "
                        "every run. Missing sounds are named on stderr and stay silent.",
                        Render});

}  // namespace

}  // namespace beatloom::cli
