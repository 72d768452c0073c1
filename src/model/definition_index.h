#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace beatloom {

namespace detail {

inline constexpr std::string_view kIndexDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Value of every byte as a digit of one radix, -1 for bytes that are none.
using DigitTable = std::array<int8_t, 256>;
using DigitPair = std::array<char, 2>;

// Up to base 36 a letter counts in either case.
constexpr DigitTable MakeDigitTable(int radix) {
  DigitTable t{};
  t.fill(-1);
  for (int i = 0; i < radix; ++i) {
    const char c = kIndexDigits[static_cast<size_t>(i)];
    t[static_cast<unsigned char>(c)] = static_cast<int8_t>(i);
    if (radix <= 36 && c >= 'A' && c <= 'Z') t[static_cast<unsigned char>(c - 'A' + 'a')] = static_cast<int8_t>(i);
  }
  return t;
}

// The two digits of every value 0..Radix*Radix-1, so that writing a cell
// costs no division.
template <int Radix>
constexpr std::array<DigitPair, Radix * Radix> MakePairTable() {
  std::array<DigitPair, Radix * Radix> t{};
  for (int v = 0; v < Radix * Radix; ++v)
    t[static_cast<size_t>(v)] = {kIndexDigits[static_cast<size_t>(v / Radix)],
                                 kIndexDigits[static_cast<size_t>(v % Radix)]};
  return t;
}

inline constexpr DigitTable kHexDigits = MakeDigitTable(16);
inline constexpr DigitTable kBase36Digits = MakeDigitTable(36);
inline constexpr DigitTable kBase62Digits = MakeDigitTable(62);
inline constexpr auto kHexPairs = MakePairTable<16>();
inline constexpr auto kBase36Pairs = MakePairTable<36>();
inline constexpr auto kBase62Pairs = MakePairTable<62>();

}  // namespace detail

// How a chart names its sounds and images: two digits of one radix, "#WAV0A"
// and the cell "0A". The reader, the writer, the definition tables, the lists
// and the labels all ask this type, so that a wider radix is a change to this
// type alone. The tempo channel's values are no indices and stay hexadecimal
// whatever the radix.
class DefinitionIndex {
 public:
  // Sound 00 names nothing; image 00 is the picture shown on a miss.
  static constexpr int FirstWav = 1;
  static constexpr int FirstBmp = 0;

  // The radices charts use: hexadecimal (sounds 01..FF), base 36 (01..ZZ,
  // either case) and base 62 (01..zz, case matters).
  static constexpr int Hex = 16;
  static constexpr int Base36 = 36;
  static constexpr int Base62 = 62;

  // Hexadecimal: sounds 01..FF, images 00..FF.
  constexpr DefinitionIndex() = default;
  // Any radix but 36 and 62 is hexadecimal.
  explicit constexpr DefinitionIndex(int radix) {
    if (radix == Base36) {
      radix_ = Base36;
      digits_ = &detail::kBase36Digits;
      pairs_ = detail::kBase36Pairs.data();
    } else if (radix == Base62) {
      radix_ = Base62;
      digits_ = &detail::kBase62Digits;
      pairs_ = detail::kBase62Pairs.data();
    }
  }

  constexpr int Radix() const { return radix_; }
  constexpr int HighestWav() const { return radix_ * radix_ - 1; }
  constexpr int HighestBmp() const { return radix_ * radix_ - 1; }
  // Sizes of the name tables, indexed by value; a sound table's slot 0 stays
  // empty.
  constexpr int WavSlots() const { return HighestWav() + 1; }
  constexpr int BmpSlots() const { return HighestBmp() + 1; }

  // Value of one digit, -1 for any other byte.
  constexpr int DigitValue(char c) const { return (*digits_)[static_cast<unsigned char>(c)]; }
  // Value of the two digits of a data cell, -1 when either is no digit.
  constexpr int CellValue(char high, char low) const {
    const int h = DigitValue(high);
    const int l = DigitValue(low);
    return (h | l) < 0 ? -1 : h * radix_ + l;
  }
  // One or two digits, as a definition line may end after a single one.
  std::optional<int> Parse(std::string_view digits) const;

  // At least two upper-case digits: "0A", "FF"; a value beyond the range
  // shows all of its digits rather than a wrong one.
  std::string Format(int value) const;
  // Exactly two digits at out[0] and out[1], for a cell of fixed width; a
  // value beyond the range is taken modulo the number of values.
  void FormatCell(int value, char* out) const {
    auto v = static_cast<unsigned>(value);
    const auto count = static_cast<unsigned>(radix_ * radix_);
    if (v >= count) v %= count;
    out[0] = pairs_[v][0];
    out[1] = pairs_[v][1];
  }

  bool operator==(const DefinitionIndex& other) const { return radix_ == other.radix_; }

 private:
  int radix_ = 16;
  const detail::DigitTable* digits_ = &detail::kHexDigits;
  const detail::DigitPair* pairs_ = detail::kHexPairs.data();
};

}  // namespace beatloom
