#include "platform/runtime/picture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>

#include "platform/runtime/error.h"
#include "platform/runtime/picture_decoders.h"
#include "platform/runtime/resource_budget.h"

// The BMP and GIF decoder is compiled here, once, with internal linkage and
// only those formats; files are read by LoadFromFile, not by it. JPEG and PNG
// data go to their own decoders (picture_decoders.h) and never reach this one.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#ifndef __clang__
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <stb/stb_image.h>

namespace {
// Kept out of line so the decoder's code is compiled under the settings above.
[[gnu::noinline]] stbi_uc* DecodeRgba(const std::vector<std::uint8_t>& encoded, int& width, int& height) {
  int channels = 0;
  return stbi_load_from_memory(encoded.data(), static_cast<int>(encoded.size()), &width, &height, &channels, 4);
}
}  // namespace
#pragma GCC diagnostic pop

namespace fc {

namespace {

// A BMP or GIF picture; its header's size is held to the frame budget
// before the decoder allocates anything.
TDecodedPicture DecodeOther(const std::string& owner, const std::vector<std::uint8_t>& encoded) {
  int width = 0, height = 0, channels = 0;
  if (stbi_info_from_memory(encoded.data(), static_cast<int>(encoded.size()), &width, &height, &channels))
    CheckFrameBudget(owner, "Data", width, height, 4);
  std::unique_ptr<stbi_uc, void (*)(void*)> decoded(DecodeRgba(encoded, width, height), stbi_image_free);
  if (!decoded) throw EFCError(owner + ": not a PNG, JPEG, BMP or GIF picture (" + stbi_failure_reason() + ")");
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  return {width, height, std::vector<std::uint8_t>(decoded.get(), decoded.get() + bytes)};
}

// Chooses the decoder by the data's first bytes.
TDecodedPicture Decode(const std::string& owner, const std::vector<std::uint8_t>& encoded) {
  if (IsJpegData(encoded.data(), encoded.size())) return DecodeJpeg(owner, encoded.data(), encoded.size());
  if (IsPngData(encoded.data(), encoded.size())) return DecodePng(owner, encoded.data(), encoded.size());
  return DecodeOther(owner, encoded);
}

}  // namespace

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPicture, TPersistent)

void TPicture::LoadFromFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFCError(NamePath() + ": cannot open picture file '" + path.string() + "'");
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw EFCError(NamePath() + ": cannot read picture file '" + path.string() + "'");
  LoadFromData(std::move(bytes));
}

void TPicture::LoadFromData(std::vector<std::uint8_t> encoded) {
  if (encoded.empty()) {
    Clear();
    return;
  }
  if (encoded.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw EFCError(NamePath() + ": the picture data is too large");
  TDecodedPicture decoded = Decode(NamePath(), encoded);
  rgba_ = std::move(decoded.rgba);
  width_ = decoded.width;
  height_ = decoded.height;
  encoded_ = std::move(encoded);
  Changed();
}

void TPicture::Clear() {
  encoded_.clear();
  rgba_.clear();
  width_ = height_ = 0;
  Changed();
}

void TPicture::Assign(const TPersistent& source) {
  const auto* picture = dynamic_cast<const TPicture*>(&source);
  if (!picture) return TPersistent::Assign(source);  // refuses anything else
  if (picture == this) return;
  encoded_ = picture->encoded_;
  rgba_ = picture->rgba_;
  width_ = picture->width_;
  height_ = picture->height_;
  Changed();
}

void TPicture::DefineProperties(TFormFiler& filer) {
  filer.DefineProperty(
      "Data",
      [this](const FormValue& value) {
        if (!value.is(FormValue::Kind::Binary))
          throw EFCError(NamePath() + ".Data: expects binary data, not " + formKindName(value.kind()));
        LoadFromData(value.bytes());
      },
      [this] { return FormValue::binary(encoded_); }, !encoded_.empty());
}

void TPicture::Changed() {
  if (changed_) changed_();
}

void TBitmap::SetSize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 0);
}

namespace {

// Blends one picture pixel (red, green, blue, alpha) over a bitmap pixel
// (blue, green, red).
void BlendPixel(const std::uint8_t* from, std::uint8_t* to) {
  const unsigned alpha = from[3];
  for (int c = 0; c < 3; ++c) {
    const unsigned over = from[2 - c], under = to[c];
    to[c] = static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
  }
}

}  // namespace

void TBitmap::Draw(const TPicture& picture) {
  const int width = std::min(width_, picture.Width()), height = std::min(height_, picture.Height());
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* from = picture.Pixels().data() + static_cast<std::size_t>(y) * picture.Width() * 4;
    std::uint8_t* to = pixels_.data() + static_cast<std::size_t>(y) * Stride();
    for (int x = 0; x < width; ++x, from += 4, to += 3) BlendPixel(from, to);
  }
}

void TBitmap::StretchDraw(const TPicture& picture) {
  if (picture.Empty()) return;
  const auto source = [](int i, int to, int from) {
    return static_cast<int>((2 * static_cast<std::int64_t>(i) + 1) * from / (2 * static_cast<std::int64_t>(to)));
  };
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* row = picture.Pixels().data() +
                              static_cast<std::size_t>(source(y, height_, picture.Height())) * picture.Width() * 4;
    std::uint8_t* to = pixels_.data() + static_cast<std::size_t>(y) * Stride();
    for (int x = 0; x < width_; ++x, to += 3)
      BlendPixel(row + static_cast<std::size_t>(source(x, width_, picture.Width())) * 4, to);
  }
}

}  // namespace fc
