#include "tests/components/picture_files.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace fc::test {

namespace {

void Append(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* from = static_cast<const std::uint8_t*>(data);
  bytes->insert(bytes->end(), from, from + size);
}

}  // namespace

TRawPicture PatternPicture(int width, int height, int channels) {
  TRawPicture picture{width, height, channels, {}};
  for (int i = 0; i < width * height * channels; ++i) picture.pixels.push_back(static_cast<std::uint8_t>(i * 37 + 11));
  return picture;
}

std::vector<std::uint8_t> EncodePng(const TRawPicture& p) {
  std::vector<std::uint8_t> bytes;
  stbi_write_png_to_func(Append, &bytes, p.width, p.height, p.channels, p.pixels.data(), p.width * p.channels);
  return bytes;
}

std::vector<std::uint8_t> EncodeBmp(const TRawPicture& p) {
  std::vector<std::uint8_t> bytes;
  stbi_write_bmp_to_func(Append, &bytes, p.width, p.height, p.channels, p.pixels.data());
  return bytes;
}

std::vector<std::uint8_t> EncodeJpeg(const TRawPicture& p) {
  std::vector<std::uint8_t> bytes;
  stbi_write_jpg_to_func(Append, &bytes, p.width, p.height, p.channels, p.pixels.data(), 100);
  return bytes;
}

}  // namespace fc::test
