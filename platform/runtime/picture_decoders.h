#pragma once
// The picture layer's decoders for JPEG and PNG, built for untrusted data:
// every fault in the data ends as EFCError, never as a crash or an exit, and
// the picture's size is held to the frame budget before any pixel buffer is
// allocated. Errors name `owner`: "<owner>.Data: ... exceeds the frame
// budget" for a size above the budget, otherwise "<owner>: not a valid JPEG
// picture (<reason>)" or the same for PNG.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fc {

/// Decoded pixels: red, green, blue, alpha, rows top first, packed.
struct TDecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

/// True when the data starts with the JPEG start-of-image marker.
bool IsJpegData(const std::uint8_t* data, std::size_t size);

/// Decodes a baseline, progressive or arithmetic-coded JPEG in grey, YCbCr,
/// RGB, CMYK or YCCK; alpha is 255. Data that ends early or holds damaged
/// entropy-coded segments still decodes; the missing parts come out grey, as
/// viewers show them. The whole-picture buffers of progressive files are
/// held to the buffer budget, and more than 256 scans are refused.
TDecodedPicture DecodeJpeg(std::string_view owner, const std::uint8_t* data, std::size_t size);

/// True when the data starts with the PNG signature.
bool IsPngData(const std::uint8_t* data, std::size_t size);

/// Decodes a PNG of any colour type, bit depth and interlacing: 16-bit
/// samples keep their high byte, grey of 1, 2 or 4 bits is scaled to 0..255,
/// a transparent colour or palette entries become alpha, and pictures without
/// alpha get 255. Gamma and colour profiles are not applied. Data that ends
/// early or fails a checksum of an essential chunk is refused.
TDecodedPicture DecodePng(std::string_view owner, const std::uint8_t* data, std::size_t size);

}  // namespace fc
