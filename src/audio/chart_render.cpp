#include "audio/chart_render.h"

#include <algorithm>

#include "analysis/chart_timing.h"

namespace beatloom {

namespace {

constexpr size_t kRenderBlock = 4096;

int64_t MeasureStartFrame(const ChartTiming& timing, int measure, int rate) {
  const int pos = std::clamp(measure, 0, MeasureCount) * TicksPerMeasure;
  return FrameAt(timing.SecondsAt(std::min(pos, std::max(timing.FiniteBefore(), 0))), rate);
}

}  // namespace

int64_t StartFrameOf(const Document& doc, const PlayRange& range, int rate) {
  return MeasureStartFrame(ChartTiming(doc), range.fromMeasure, rate);
}

std::shared_ptr<const MixProgram> MakeMixProgram(const Document& doc, const std::string& chartFolder,
                                                 const PlayRange& range, SoundBank& bank,
                                                 std::vector<std::string>& problems) {
  const ChartTiming timing(doc);
  auto program = std::make_shared<MixProgram>();
  program->events = BuildPlayEvents(doc, timing, bank.Rate());
  program->startFrame = MeasureStartFrame(timing, range.fromMeasure, bank.Rate());
  if (range.toMeasure >= 0) program->endFrame = MeasureStartFrame(timing, range.toMeasure + 1, bank.Rate());
  const std::vector<SoundSource> sources = FindChartSounds(doc, chartFolder);
  const std::vector<std::shared_ptr<const DecodedSound>> sounds = bank.Load(sources, problems);
  program->sounds.resize(doc.wav.size());
  for (size_t k = 0; k < sources.size(); ++k) program->sounds[static_cast<size_t>(sources[k].index)] = sounds[k];
  return program;
}

int64_t ProgramEndFrame(const MixProgram& program) {
  int64_t end = program.startFrame;
  for (const PlayEvent& e : program.events) {
    if (e.frame < program.startFrame || e.frame >= program.endFrame) continue;
    const size_t index = static_cast<size_t>(e.sound);
    const DecodedSound* sound = index < program.sounds.size() ? program.sounds[index].get() : nullptr;
    end = std::max(end, e.frame + static_cast<int64_t>(sound ? sound->FrameCount() : 0));
  }
  return end;
}

std::vector<float> RenderProgram(std::shared_ptr<const MixProgram> program, int rate) {
  const int64_t frames = ProgramEndFrame(*program) - program->startFrame;
  Mixer mixer(rate, std::max<size_t>(program->sounds.size(), 1));
  mixer.Start(std::move(program));
  std::vector<float> out(static_cast<size_t>(frames) * 2);
  for (int64_t done = 0; done < frames; done += static_cast<int64_t>(kRenderBlock))
    mixer.Render(out.data() + done * 2, static_cast<size_t>(std::min<int64_t>(kRenderBlock, frames - done)));
  return out;
}

}  // namespace beatloom
