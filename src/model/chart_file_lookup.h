#pragma once

#include <string>

namespace beatloom {

// Where the file a chart names really is. Charts travel between systems: a
// name written on one may use "\" between folders or another letter case
// than the file on disk. Every place that opens a file a chart names (the
// sound and image previews, the players' sounds) looks it up here, so that
// all of them find the same file.
//
// name is as the chart writes it, in the file system's encoding; a relative
// name is looked up in chartFolder (the working folder when that is empty).
// Tried in order: the name as written; with "\" read as "/"; then each
// folder and the file itself matched ignoring ASCII letter case (when several
// entries match, the first in byte order). Only a regular file is ever
// returned, so that a FIFO or a device named by a chart is never opened; the
// answer is empty when none is found.
std::string ResolveChartFile(const std::string& chartFolder, const std::string& name);

// The same for the sound of a WAV line; where the named file is missing, one
// of the same base name ending in ".ogg", ".flac" or ".mp3" stands in for it, as
// charts often ship compressed sounds under their ".wav" names.
std::string ResolveChartSound(const std::string& chartFolder, const std::string& name);

}  // namespace beatloom
