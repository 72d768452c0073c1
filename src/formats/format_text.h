#pragma once

#include <string>
#include <string_view>

#include "model/text_codec.h"
#include "model/text_scan.h"

namespace beatloom {

// The exchange formats are CP932 text whatever encoding the chart came in.
std::string ToCp932(const std::string& bytes, TextEncoding encoding);

// value rounded half away from zero to `decimals` places, with at least
// `minIntDigits` digits before the point; with 0 a zero integer part is left
// out entirely, so a value that rounds to 0 gives "" (the "###" picture).
// The value is first taken to 18 significant digits, so that a quotient whose
// exact decimal is a tie (4980 / 800 = 6.225) rounds as that decimal would,
// not as its nearest binary neighbour happens to lie.
std::string FormatRounded(long double value, int decimals, int minIntDigits);

}  // namespace beatloom
