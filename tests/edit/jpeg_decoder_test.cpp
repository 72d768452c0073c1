#include "edit/jpeg_decoder.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>

namespace beatloom {
namespace {

// 32 × 16, red on the left half and blue on the right.
std::vector<std::uint8_t> EncodeHalves(bool progressive) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = 32;
  info.image_height = 16;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(32 * 3, 0);
  for (int x = 0; x < 32; ++x) row[x * 3 + (x < 16 ? 0 : 2)] = 255;
  for (JSAMPROW r = row.data(); info.next_scanline < info.image_height;) jpeg_write_scanlines(&info, &r, 1);
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

TEST(JpegDecoder, DecodesBaselineAndProgressiveToRgbRows) {
  for (const bool progressive : {false, true}) {
    const RgbPicture p = DecodeJpeg(EncodeHalves(progressive));
    ASSERT_EQ(p.width, 32);
    ASSERT_EQ(p.height, 16);
    ASSERT_EQ(p.pixels.size(), 32u * 16 * 3);
    for (const auto& [x, red, blue] : {std::tuple{3, 255, 0}, {28, 0, 255}}) {
      const std::uint8_t* px = &p.pixels[(8 * 32 + x) * 3];
      EXPECT_TRUE(std::abs(px[0] - red) < 24 && px[1] < 24 && std::abs(px[2] - blue) < 24) << progressive << " " << x;
    }
  }
}

TEST(JpegDecoder, CorruptOrMissingInputGivesAnEmptyPicture) {
  std::vector<std::uint8_t> garbled = EncodeHalves(false);
  for (size_t i = 2; i < 200; ++i) garbled[i] = static_cast<std::uint8_t>(i * 37);  // headers after SOI
  const std::vector<std::uint8_t> text = {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'};
  for (const auto& bytes : {garbled, text, std::vector<std::uint8_t>{0xFF, 0xD8}, std::vector<std::uint8_t>{}}) {
    const RgbPicture p = DecodeJpeg(bytes);
    EXPECT_TRUE(p.Empty() && p.pixels.empty());
  }
  EXPECT_TRUE(DecodeJpegFile("/nonexistent/folder/x.jpg").Empty());
}

// A small file whose frame header claims a huge picture is refused from the
// header, before the library allocates for it, and the refusal says why.
TEST(JpegDecoder, RefusesAPictureClaimedTooLargeByItsHeader) {
  for (const auto& [progressive, width, height] : {std::tuple{false, 8000, 8000}, {true, 30000, 30000}}) {
    std::vector<std::uint8_t> bytes = EncodeHalves(progressive);
    size_t sof = 2;
    while (sof + 9 < bytes.size() && !(bytes[sof] == 0xFF && (bytes[sof + 1] == 0xC0 || bytes[sof + 1] == 0xC2))) ++sof;
    ASSERT_LT(sof + 9, bytes.size());
    for (int k = 0; k < 4; ++k)
      bytes[sof + 5 + k] = static_cast<std::uint8_t>((k < 2 ? height : width) >> (k % 2 ? 0 : 8));
    std::string error;
    EXPECT_TRUE(DecodeJpeg(bytes, &error).Empty()) << width;
    EXPECT_NE(error.find(std::to_string(width) + "x" + std::to_string(height)), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace beatloom
