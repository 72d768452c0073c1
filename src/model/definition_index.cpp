#include "model/definition_index.h"

namespace beatloom {

std::optional<int> DefinitionIndex::Parse(std::string_view digits) const {
  if (digits.empty() || digits.size() > 2) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    const int d = DigitValue(c);
    if (d < 0) return std::nullopt;
    value = value * radix_ + d;
  }
  return value;
}

std::string DefinitionIndex::Format(int value) const {
  auto v = static_cast<unsigned>(value);
  std::string text;
  do {
    text.insert(text.begin(), detail::kIndexDigits[v % static_cast<unsigned>(radix_)]);
    v /= static_cast<unsigned>(radix_);
  } while (v > 0 || text.size() < 2);
  return text;
}

}  // namespace beatloom
