#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace beatloom {

// A decoded picture: rows top to bottom, three bytes (red, green, blue) per
// pixel. Empty (0 × 0) when the file could not be decoded.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  bool Empty() const { return width == 0 || height == 0; }
};

// The largest picture decoded, in pixels (4096 × 4096): far beyond any BGA
// frame, and refused from the header alone, before a byte of it is
// allocated, so that a small file claiming a huge picture costs nothing.
inline constexpr unsigned long long kJpegMaxPixels = 4096ULL * 4096ULL;
// What the library itself may allocate for one picture (a progressive file
// keeps every coefficient of the picture at once); past it decoding fails.
inline constexpr long kJpegMaxMemory = 160L * 1024 * 1024;

// Decodes a JPEG file (baseline or progressive, colour or grey). A missing,
// truncated, corrupt or too large file gives an empty picture, never an
// exception; error, when given, then receives why.
RgbPicture DecodeJpegFile(const std::string& path, std::string* error = nullptr);
RgbPicture DecodeJpeg(const std::vector<std::uint8_t>& bytes, std::string* error = nullptr);

}  // namespace beatloom
