// picture_files.h - pictures encoded in memory, to load into components.
#pragma once

#include <cstdint>
#include <vector>

namespace fc::test {

/// A picture of width x height pixels, `channels` bytes each (3: red, green,
/// blue; 4: with alpha), rows top first.
struct TRawPicture {
  int width = 0, height = 0, channels = 3;
  std::vector<std::uint8_t> pixels;
};

/// A small picture whose every byte differs from its neighbours'.
TRawPicture PatternPicture(int width, int height, int channels);

/// The picture encoded as a PNG, BMP or JPEG file.
std::vector<std::uint8_t> EncodePng(const TRawPicture& picture);
std::vector<std::uint8_t> EncodeBmp(const TRawPicture& picture);
std::vector<std::uint8_t> EncodeJpeg(const TRawPicture& picture);

}  // namespace fc::test
