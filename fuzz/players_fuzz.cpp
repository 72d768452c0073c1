// Feeds arbitrary bytes as the external players' list, and as the argument
// template, measure and working-copy path of a player's start. The list must
// survive a write and a read; a path must never change how the arguments are
// split, and must reach the player whole.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/external_players.h"

namespace {

// The input split at its first two zero bytes: template, path, rest.
std::vector<std::string_view> Parts(std::string_view bytes) {
  std::vector<std::string_view> parts;
  for (int i = 0; i < 2; ++i) {
    const size_t zero = bytes.find('\0');
    if (zero == std::string_view::npos) break;
    parts.push_back(bytes.substr(0, zero));
    bytes.remove_prefix(zero + 1);
  }
  parts.push_back(bytes);
  return parts;
}

bool Contains(const std::vector<std::string>& arguments, std::string_view whole) {
  for (const std::string& a : arguments)
    if (a.find(whole) != std::string::npos) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace beatloom;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string> lines = ParseExApps(bytes);
  if (ParseExApps(FormatExApps(lines)) != lines) std::abort();
  for (int i = 0; i < ExAppCount(lines); ++i) (void)ExAppLine(lines, i, ExAppField::Play);
  (void)WholeExAppEntries(lines);

  const std::vector<std::string_view> parts = Parts(bytes);
  if (parts.size() < 2 || parts[1].empty()) return 0;
  const std::string_view pattern = parts[0];
  const std::string_view path = parts[1];
  const int measure = static_cast<int>(size % 1000);
  const std::vector<std::string> withPath = SplitArguments(SubstitutePlaceholders(pattern, measure, path));
  const std::vector<std::string> plain = SplitArguments(SubstitutePlaceholders(pattern, measure, "x"));
  if (withPath.size() != plain.size()) std::abort();
  if (Contains(plain, "x") && !Contains(withPath, path)) {
    // Only a placeholder puts an "x" in, unless the template has one itself.
    bool templateHasX = pattern.find('x') != std::string_view::npos || pattern.find('X') != std::string_view::npos;
    if (!templateHasX) std::abort();
  }
  return 0;
}
