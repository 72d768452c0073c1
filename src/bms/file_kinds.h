#pragma once

#include <string>
#include <string_view>

namespace beatloom {

// What a file handed to the program (dropped, named on the command line) is
// taken for. Only the file's own extension decides, in any letter case: a
// folder named "pack.bms.d" or a name such as "kick.wav.asd" says nothing.
enum class FileKind { Chart, Sound, Image, Midi, Other };

// Charts are ".bms" and ".bme"; with longCharts also the long-note (".bml")
// and nine-key (".pms") variants of the same text format, which the desktop
// hands over but a drop leaves alone. Sounds are WAV, OGG, FLAC and MP3;
// images BMP, JPEG (".jpg", ".jpeg", ".jpe"), PNG and GIF.
FileKind KindOfFileName(std::string_view path, bool longCharts = false);

// Whether bytes read as a chart: some line (after blanks) starts with "#"
// and a command word the format knows ("#TITLE", "#WAV01", "#RANDOM"...) or
// is a data line "#nnncc:". A sound, a binary file or a list of sound names
// holds no such line. An empty file is an empty chart.
bool LooksLikeChart(std::string_view bytes);

}  // namespace beatloom
