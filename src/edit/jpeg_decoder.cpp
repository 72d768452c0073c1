#include "edit/jpeg_decoder.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <string>

#include "model/file_io.h"

namespace beatloom {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
// It jumps back to DecodeInto; nothing between there and the jump owns a C++
// object, so the jump skips no destructor.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

// Warnings (a truncated file the library pads, for one) are not failures.
void QuietMessage(j_common_ptr) {}

struct Failure {
  bool tooLarge = false;
  unsigned width = 0, height = 0;  // as the header claims them
};

// Everything the decoder touches is plain memory the caller owns; the
// destination rows are allocated before the first libjpeg call that may fail.
bool DecodeInto(jpeg_decompress_struct* info, ErrorManager* errors, const unsigned char* data, unsigned long size,
                std::uint8_t* (*grow)(void*, int, int), void* target, Failure* failure) {
  if (setjmp(errors->jump)) {
    jpeg_destroy_decompress(info);
    return false;
  }
  jpeg_create_decompress(info);
  info->mem->max_memory_to_use = kJpegMaxMemory;
  jpeg_mem_src(info, data, size);
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(info);
    return false;
  }
  // A header may claim a picture far larger than any BGA frame; refuse it
  // before jpeg_start_decompress, which for a progressive file allocates
  // the whole picture's coefficients.
  if (static_cast<unsigned long long>(info->image_width) * info->image_height > kJpegMaxPixels) {
    *failure = {true, info->image_width, info->image_height};
    jpeg_destroy_decompress(info);
    return false;
  }
  info->out_color_space = JCS_RGB;
  jpeg_start_decompress(info);
  std::uint8_t* rows = grow(target, static_cast<int>(info->output_width), static_cast<int>(info->output_height));
  const size_t stride = static_cast<size_t>(info->output_width) * 3;
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = rows + stride * info->output_scanline;
    jpeg_read_scanlines(info, &row, 1);
  }
  jpeg_finish_decompress(info);
  jpeg_destroy_decompress(info);
  return true;
}

std::uint8_t* Grow(void* target, int width, int height) {
  auto* picture = static_cast<RgbPicture*>(target);
  picture->width = width;
  picture->height = height;
  picture->pixels.assign(static_cast<size_t>(width) * height * 3, 0);
  return picture->pixels.data();
}

}  // namespace

RgbPicture DecodeJpeg(const std::vector<std::uint8_t>& bytes, std::string* error) {
  RgbPicture picture;
  if (bytes.empty()) {
    if (error) *error = "JPEGのデータがありません";
    return picture;
  }
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ErrorExit;
  errors.base.output_message = QuietMessage;
  Failure failure;
  if (DecodeInto(&info, &errors, bytes.data(), static_cast<unsigned long>(bytes.size()), Grow, &picture, &failure))
    return picture;
  if (error && failure.tooLarge)
    *error = "画像が大きすぎます (" + std::to_string(failure.width) + "x" + std::to_string(failure.height) + ")";
  else if (error)
    *error = "JPEGとして読めません";
  return RgbPicture{};
}

RgbPicture DecodeJpegFile(const std::string& path, std::string* error) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return {};
  return DecodeJpeg(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), error);
}

}  // namespace beatloom
