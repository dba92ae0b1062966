#pragma once
// The picture layer's JPEG decoder, built for untrusted data: every fault in
// the data ends as EFCError, never as a crash or an exit, and the picture's
// size is held to the frame budget before any pixel buffer is allocated.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fc {

/// Decoded pixels: red, green, blue, alpha (255), rows top first, packed.
struct TDecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

/// True when the data starts with the JPEG start-of-image marker.
bool IsJpegData(const std::uint8_t* data, std::size_t size);

/// Decodes a baseline, progressive or arithmetic-coded JPEG in grey, YCbCr,
/// RGB, CMYK or YCCK. Data that ends early or holds damaged entropy-coded
/// segments still decodes; the missing parts come out grey, as viewers show
/// them. Errors name `owner`: "<owner>.Data: ... exceeds the frame budget"
/// for a size above the budget (checked before decoding), otherwise
/// "<owner>: not a valid JPEG picture (<reason>)".
TDecodedPicture DecodeJpeg(std::string_view owner, const std::uint8_t* data, std::size_t size);

}  // namespace fc
