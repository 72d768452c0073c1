#pragma once

#include <string>
#include <vector>

namespace beatloom {

inline constexpr const char* kRecentFilesFile = "Beatloom WorkFiles.txt";
constexpr size_t kRecentFilesMax = 10;

// The recent-file list as stored in the program folder (empty when absent).
std::vector<std::string> LoadRecentFiles(const std::string& programFolder);
// Moves path to the top of the stored list (matching without regard to case),
// keeps at most ten entries and saves the list.
void PushRecentFile(const std::string& programFolder, const std::string& path);

}  // namespace beatloom
