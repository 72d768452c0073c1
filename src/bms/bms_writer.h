#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bms/log.h"
#include "model/document.h"

namespace beatloom {

struct SaveOptions {
  int minCells = 1;          // a data line never has fewer cells than this
  bool keepLayout = true;    // keep every background object on its lane
  bool workingFile = false;  // the program's own fixed-name file: never written through a link
};

// The minimum cell count as typed in the settings: anything but an integer is 1.
int ParseMinCells(std::string_view text);

// Moves background objects down to the lowest free lanes at their position,
// so that no empty channel 01 line is needed.
void PackBgmLanes(Document& doc);

// The chart as BMS text. Expects duplicates to be removed already; the saving
// functions below do that.
std::string WriteBmsText(const Document& doc, const SaveOptions& options);

// How many objects stand where no data line the writer makes can place them
// exactly (a fraction of a measure beyond millions of cells); the text puts
// each on the nearest cell it can.
size_t RoundedOnWrite(const Document& doc);

constexpr std::string_view kSaveFailedMessage = "保存でエラーが生じました";

// What a save changes in the chart before writing it: duplicates removed,
// background lanes packed when asked. The window makes this a change of its
// own, so that the chart's history sees it.
void TidyForSave(Document& doc, const SaveOptions& options);
// Writes the chart as it stands (tidied already), replacing the file
// atomically; the chart itself is only read.
bool WriteBmsFile(const Document& doc, const std::string& path, const SaveOptions& options, Log& log,
                  std::string* error);

// Writes what a save of the chart writes, for callers without a history (the
// command-line program): a copy is tidied as TidyForSave does, the chart
// itself is only read, its Modified mark included. The file is replaced
// atomically: the old file stays as it was unless every byte of the new one
// reached the disk. On failure returns false with kSaveFailedMessage (and the
// reason) in error. The program's own lists are the save command's business
// (RecordSavedChart), not the writer's.
bool SaveBmsFile(const Document& doc, const std::string& path, const SaveOptions& options, Log& log,
                 std::string* error);

}  // namespace beatloom
