#pragma once

#include <string>
#include <string_view>

#include "model/document.h"

namespace beatloom {

// DDRV step charts: one line a measure and side, one hexadecimal digit a step,
// bits 1/2/4/8 on the four arrow lanes of the side.

// Reads DDRV text into a document the caller has just reset: title, artist
// (#COMMENT), genre (the difficulty keyword), play mode, #MSD values into
// mcom, and every step as an object with value 1. Leaves Modified alone.
void ImportDdrvBytes(Document& doc, std::string_view bytes);

// False, with the reason in error, when the file cannot be read; the document
// is then untouched.
bool ImportDdrvFile(Document& doc, const std::string& path, std::string* error);

// The chart as DDRV text (CP932, CR LF): header lines (an #MSD value the
// import kept goes back behind its keyword), then two lines for
// every measure up to the last one the first side reaches or the last arrow of
// the second side stands in, 16 steps each.
std::string ExportDdrvText(const Document& doc);

// Replaces the file; false with the reason in error when it cannot be written.
bool ExportDdrvFile(const Document& doc, const std::string& path, std::string* error);

}  // namespace beatloom
