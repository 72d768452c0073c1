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

// Decodes a JPEG file (baseline or progressive, colour or grey). A missing,
// truncated or corrupt file gives an empty picture, never an exception.
RgbPicture DecodeJpegFile(const std::string& path);
RgbPicture DecodeJpeg(const std::vector<std::uint8_t>& bytes);

}  // namespace beatloom
