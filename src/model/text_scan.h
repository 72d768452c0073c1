#pragma once

#include <string>
#include <string_view>

namespace beatloom {

// Small scanners shared by every reader of the program's text formats.

// Removes blanks and control characters (every byte up to 0x20) at both ends.
std::string_view TrimBlanks(std::string_view s);

// A decimal integer as charts and typed fields write it: leading blanks, an
// optional sign, digits and nothing after them.
bool ParseDecimalInt(std::string_view s, int& value);

// A finite decimal number with blanks allowed around it.
bool ParseDecimalNumber(std::string_view s, double& value);
// The same, read to the full precision of long double.
bool ParseDecimalNumber(std::string_view s, long double& value);

// Whether s starts with prefix, ASCII letters matching in either case.
bool StartsWithNoCase(std::string_view s, std::string_view prefix);

// Value of one hexadecimal digit in either case, -1 for any other byte.
int HexDigitValue(char c);

// Appends the line and CR LF.
void AppendLine(std::string& out, std::string_view line);

// A number as charts write it: at most 15 significant digits, no trailing
// zeros, an exponent without plus sign or padding ("0.75", "2", "1E-5").
std::string ShortestDecimal(double v);

}  // namespace beatloom
