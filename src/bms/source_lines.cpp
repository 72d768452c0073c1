#include "bms/source_lines.h"

#include <algorithm>
#include <deque>
#include <string_view>
#include <unordered_map>

namespace beatloom {

std::vector<std::string> EditedLineBytes(const std::vector<std::string>& original,
                                         const std::vector<std::string>& edited, TextEncoding encoding) {
  std::vector<std::string> shown;
  shown.reserve(original.size());
  for (const std::string& line : original) shown.push_back(ToUtf8(line, encoding));

  const size_t common = std::min(original.size(), edited.size());
  size_t head = 0;
  while (head < common && shown[head] == edited[head]) ++head;
  size_t tail = 0;
  while (tail < common - head && shown[shown.size() - 1 - tail] == edited[edited.size() - 1 - tail]) ++tail;

  // In the changed part, the k-th line showing a text takes the bytes of the
  // k-th original line that showed it.
  std::unordered_map<std::string_view, std::deque<size_t>> byShown;
  for (size_t i = head; i < original.size() - tail; ++i) byShown[shown[i]].push_back(i);

  std::vector<std::string> bytes(edited.size());
  for (size_t j = 0; j < edited.size(); ++j) {
    if (j < head) {
      bytes[j] = original[j];
    } else if (j >= edited.size() - tail) {
      bytes[j] = original[original.size() - (edited.size() - j)];
    } else if (auto found = byShown.find(edited[j]); found != byShown.end() && !found->second.empty()) {
      bytes[j] = original[found->second.front()];
      found->second.pop_front();
    } else {
      bytes[j] = FromUtf8(edited[j], encoding);
    }
  }
  return bytes;
}

}  // namespace beatloom
