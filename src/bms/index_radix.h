#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/document.h"

namespace beatloom {

// How a file names its sounds and images, decided once before any line is
// interpreted: a line means the same whatever stands before or after it.
struct IndexRadixChoice {
  int radix = DefinitionIndex::Hex;
  int lineNumber = 0;    // the line that decided it; 0 when nothing did
  std::string evidence;  // "#BASE 62", "#WAV0Z", "1K in #00111"
};

// "#BASE 62" selects base 62. Otherwise a definition index or a sound or
// image cell that only base 36 can read makes the chart base 36; lines of
// conditional blocks count too, as a player reads them in the chart's radix.
// Anything else is hexadecimal. text is the chart's text (ChartText); its
// lines are numbered from 1 as the loader counts.
IndexRadixChoice ChooseIndexRadix(std::string_view text);
// The same for the bytes of a whole file.
IndexRadixChoice ChooseIndexRadixOfFile(std::string_view bytes);

// "base 36: #WAV0Z on line 12", "base 16: no index beyond hexadecimal".
std::string DescribeIndexRadix(const IndexRadixChoice& choice);

// A "#BASE 62" line, which the chart's radix stands for once it is read.
bool IsBase62Line(std::string_view line);

// Empties the definition tables and sizes them for the radix.
void ResetIndices(Document& doc, int radix);

}  // namespace beatloom
