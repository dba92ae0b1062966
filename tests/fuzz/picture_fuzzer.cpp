// Encoded picture bytes (PNG, JPEG, BMP, GIF) through the picture decoder
// and onto a bitmap: a file it cannot take must end as EFCError.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/runtime/error.h"
#include "platform/runtime/picture.h"
#include "platform/runtime/resource_budget.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fc::SetMaxBufferBytes(std::uint64_t{64} << 20);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fc::TPicture picture(nullptr, "Picture");
  try {
    picture.LoadFromData(std::vector<std::uint8_t>(data, data + size));
  } catch (const fc::EFCError&) {
    return 0;
  }
  fc::TBitmap bitmap;
  bitmap.SetSize(picture.Width() / 2 + 1, picture.Height() + 1);
  bitmap.Draw(picture);
  return 0;
}
