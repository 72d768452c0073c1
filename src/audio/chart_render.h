#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/sound_bank.h"
#include "model/document.h"

namespace beatloom {

// The part of a chart to hear: from the start of measure from, up to the end
// of measure to (a negative to: to the end of the chart). Sounds started
// before the end ring out.
struct PlayRange {
  int fromMeasure = 0;
  int toMeasure = -1;
};

// Everything a play of the chart needs, built where the chart lives; sounds
// are taken from bank (which decodes what it lacks) and problems gets the
// sounds that will be silent.
std::shared_ptr<const MixProgram> MakeMixProgram(const Document& doc, const std::string& chartFolder,
                                                 const PlayRange& range, SoundBank& bank,
                                                 std::vector<std::string>& problems);

// The frame a play of the range starts at.
int64_t StartFrameOf(const Document& doc, const PlayRange& range, int rate);

// Where the last sound of a program ends if none is cut (startFrame when
// nothing sounds).
int64_t ProgramEndFrame(const MixProgram& program);

// Mixes a program up to ProgramEndFrame through a mixer of its own, exactly
// as playback would: the same samples on every run.
std::vector<float> RenderProgram(std::shared_ptr<const MixProgram> program, int rate);

}  // namespace beatloom
