#include "tools/framecraft/png_writer.h"

#include <vector>

#include "platform/runtime/error.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace fc::tool {

namespace {

// Frames store blue, green, red; PNG rows hold red, green, blue.
std::vector<unsigned char> RedGreenBlue(const TFCImageBuffer& frame) {
  TFCImageBuffer colour(frame);
  if (colour.Format() != vfRGB24) colour.ConvertTo(vfRGB24);
  const Ipp8u* bgr = colour.Read();
  std::vector<unsigned char> rgb(colour.Size());
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
    rgb[i] = bgr[i + 2];
    rgb[i + 1] = bgr[i + 1];
    rgb[i + 2] = bgr[i];
  }
  return rgb;
}

}  // namespace

void WritePng(const TFCImageBuffer& frame, const std::filesystem::path& path) {
  if (frame.Width() < 1 || frame.Height() < 1)
    throw EFCError("cannot write " + path.string() + ": the frame is empty");
  int written;
  if (frame.Format() == vfGray8) {
    written = stbi_write_png(path.c_str(), frame.Width(), frame.Height(), 1, frame.Read(), frame.Step());
  } else {
    std::vector<unsigned char> rgb = RedGreenBlue(frame);
    written = stbi_write_png(path.c_str(), frame.Width(), frame.Height(), 3, rgb.data(), frame.Width() * 3);
  }
  if (!written) throw EFCError("cannot write " + path.string());
}

}  // namespace fc::tool
