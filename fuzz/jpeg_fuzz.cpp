// Feeds arbitrary bytes to the JPEG decoder, as the image preview does with
// any file a chart names. It must give a whole picture or an empty one, and
// stay within the memory the fuzzer allows (a header may claim any size).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "edit/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const beatloom::RgbPicture picture = beatloom::DecodeJpeg(std::vector<std::uint8_t>(data, data + size));
  if (picture.Empty()) {
    if (!picture.pixels.empty()) std::abort();
    return 0;
  }
  if (picture.width < 0 || picture.height < 0 ||
      picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3)
    std::abort();
  return 0;
}
