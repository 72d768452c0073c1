#pragma once

#include <string>
#include <string_view>

#include "model/document.h"

namespace beatloom {

// The five-key export: a sound list (".BML", one WAV name a line) and a
// sequence (".BMM") of the first player's keys 1-5, the scratch and the
// background tracks, with a sound assignment before every key note whose
// sound differs from the key's previous note.
struct BmmExport {
  std::string bml;
  std::string bmm;
};

// Builds both files in memory. False, with a message in error, when the
// header tempo is not a number or is zero, or when a key note names a sound
// beyond the list's 255 lines (base 36 and 62 reach further); nothing is
// built then.
bool BuildBmmExport(const Document& doc, BmmExport& files, std::string* error);

// chartPath without its last three characters, then the extension: the
// exports of "song.bms" are "song.BML" and "song.BMM".
std::string BmmFileName(const std::string& chartPath, std::string_view extension);

// Writes both files beside the chart's own file. Neither is written when the
// tempo is unusable; false with the message in error on any failure.
bool ExportBmmFiles(const Document& doc, const std::string& chartPath, std::string* error);

}  // namespace beatloom
