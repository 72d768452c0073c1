#pragma once

#include <string>
#include <vector>

#include "model/document.h"

namespace beatloom {

inline constexpr const char* kRecentFilesFile = "Beatloom WorkFiles.txt";
constexpr size_t kRecentFilesMax = 10;

// The recent-file list as stored in the program folder (empty when absent).
std::vector<std::string> LoadRecentFiles(const std::string& programFolder);
// Moves path to the top of the stored list (matching without regard to case),
// keeps at most ten entries and saves the list.
void PushRecentFile(const std::string& programFolder, const std::string& path);

// The program-folder side of saving the author's own file: the artist and
// genre drop-down lists and the recent-file list.
struct SaveSideEffects {
  std::string programFolder;
  std::vector<std::string>* artists = nullptr;
  std::vector<std::string>* genres = nullptr;
};

// After a save that reached the disk: the lists name files that exist, so a
// failed save must never get here. A working copy (DocumentIO off) is not the
// author's file and touches nothing.
void RecordSavedChart(const Document& doc, const std::string& path, const SaveSideEffects& effects);

}  // namespace beatloom
