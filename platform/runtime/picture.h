// picture.h - pictures and bitmaps of the host's graphics layer.
//
// A TPicture holds a graphic loaded from a PNG, JPEG, BMP or GIF file (the
// first image of a GIF): the encoded bytes exactly as read, and the decoded
// pixels. Form files store the encoded bytes ("Picture.Data = {...}"), so a
// saved pipeline does not depend on the file staying where it was.
// A TBitmap is a canvas of 24-bit blue, green, red pixels a picture is drawn
// on.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/runtime/components_api.h"
#include "platform/runtime/form_defined_data.h"
#include "platform/runtime/persistent.h"

namespace fc {

/// A decoded graphic and the file bytes it came from. It publishes no
/// properties; its stored data is "Data", the encoded bytes (binary).
/// Every change (load, clear, assign) calls the change notification.
class FC_COMPONENTS_API TPicture : public TOwnedPersistent, public TFormDefinedData {
  FC_DECLARE_CLASS_INFO()
public:
  using TOwnedPersistent::TOwnedPersistent;

  /// Reads and decodes a picture file; EFCError when the file cannot be read
  /// or is no picture of a supported kind (the picture is left unchanged).
  void LoadFromFile(const std::filesystem::path& path);
  /// Decodes encoded file bytes; no bytes clear the picture. EFCError when
  /// they are no picture of a supported kind (the picture is left unchanged).
  void LoadFromData(std::vector<std::uint8_t> encoded);
  void Clear();

  bool Empty() const { return width_ == 0 || height_ == 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  /// The encoded bytes as loaded.
  const std::vector<std::uint8_t>& Data() const { return encoded_; }
  /// The decoded pixels: red, green, blue, alpha, rows top first, packed.
  const std::vector<std::uint8_t>& Pixels() const { return rgba_; }

  /// Called after every change of the picture.
  void SetOnChange(std::function<void()> changed) { changed_ = std::move(changed); }

  /// Copies another picture's bytes and pixels.
  void Assign(const TPersistent& source) override;
  void DefineProperties(TFormFiler& filer) override;

private:
  void Changed();

  std::vector<std::uint8_t> encoded_;
  std::vector<std::uint8_t> rgba_;
  int width_ = 0;
  int height_ = 0;
  std::function<void()> changed_;
};

/// A canvas of 24-bit pixels (blue, green, red), rows top first, packed.
class FC_COMPONENTS_API TBitmap {
public:
  /// Resizes the bitmap; every pixel becomes black. Negative sizes count as 0.
  void SetSize(int width, int height);
  /// Draws `picture` at (0, 0), clipped to the bitmap, blending each pixel
  /// over what the bitmap holds by the picture's alpha.
  void Draw(const TPicture& picture);
  /// Draws `picture` scaled to cover the whole bitmap, each bitmap pixel
  /// taking the nearest picture pixel (the one under its centre), blended
  /// by alpha like Draw.
  void StretchDraw(const TPicture& picture);

  bool Empty() const { return width_ == 0 || height_ == 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return width_ * 3; }
  const std::uint8_t* Pixels() const { return pixels_.data(); }

private:
  std::vector<std::uint8_t> pixels_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace fc
