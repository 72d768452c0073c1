#pragma once

#include <string>
#include <string_view>

#include "model/text_codec.h"

namespace beatloom {

// The exchange formats are CP932 text whatever encoding the chart came in.
std::string ToCp932(const std::string& bytes, TextEncoding encoding);

// Removes blanks and control characters (every byte up to 0x20) at both ends.
std::string_view TrimBlanks(std::string_view s);

// A decimal integer as the old tools typed it: leading blanks, an optional
// sign, digits and nothing after them.
bool ParseDecimalInt(std::string_view s, int& value);

// A finite decimal number with blanks allowed around it.
bool ParseDecimalNumber(std::string_view s, double& value);
// The same, read to the full precision of long double.
bool ParseDecimalNumber(std::string_view s, long double& value);

// Value of one hexadecimal digit in either case, -1 for any other byte.
int HexDigitValue(char c);

// Appends the line and CR LF.
void AppendLine(std::string& out, std::string_view line);

// value rounded half away from zero to `decimals` places, with at least
// `minIntDigits` digits before the point; with 0 a zero integer part is left
// out entirely, so a value that rounds to 0 gives "" (the "###" picture).
// The value is first taken to 18 significant digits, so that a quotient whose
// exact decimal is a tie (4980 / 800 = 6.225) rounds as that decimal would,
// not as its nearest binary neighbour happens to lie.
std::string FormatRounded(long double value, int decimals, int minIntDigits);

}  // namespace beatloom
