#include "edit/name_lists.h"

#include <algorithm>

#include "model/file_io.h"

namespace beatloom {

void RememberName(std::vector<std::string>& items, const std::string& name, const std::string& programFolder,
                  const char* fileName) {
  if (name.empty() || std::find(items.begin(), items.end(), name) != items.end()) return;
  items.insert(items.begin(), name);
  WriteLinesFile(JoinPath(programFolder, fileName), items);
}

}  // namespace beatloom
