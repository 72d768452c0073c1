#pragma once

#include <string>
#include <vector>

namespace beatloom {

inline constexpr const char* kArtistListFile = "BTLM ArtistList.txt";
inline constexpr const char* kGenreListFile = "BTLM GenreList.txt";

// Puts a header value at the top of its drop-down list when the list does not
// hold it yet (exact, case-sensitive match) and saves the list. The list is
// never shortened.
void RememberName(std::vector<std::string>& items, const std::string& name, const std::string& programFolder,
                  const char* fileName);

}  // namespace beatloom
