#pragma once

#include <string>
#include <vector>

#include "model/text_codec.h"

namespace beatloom {

// The bytes of a chart's lines after the author edited them as text.
// original holds the lines' bytes as they were shown, edited the lines (UTF-8)
// as the author left them. A line left as it was shown goes back with its own
// bytes, even when they did not decode cleanly for display, and two lines that
// showed as the same text keep their own bytes: lines are matched by position
// from the start and from the end up to the first change, and in the changed
// part by the order of the lines that show one text. Any other line is
// encoded.
std::vector<std::string> EditedLineBytes(const std::vector<std::string>& original,
                                         const std::vector<std::string>& edited, TextEncoding encoding);

}  // namespace beatloom
