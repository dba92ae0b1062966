#include "components/Fcapplymask.h"

#include <algorithm>
#include <cstring>

#include "contracts/video/helper_primitives.h"

namespace fc {

const TEnumInfo& TransparentSourceInfo() {
  static const TEnumInfo info("TFCTransparentSource",
                              {"tsTopLeft", "tsTopRight", "tsBottomLeft", "tsBottomRight", "tsCustom"});
  return info;
}

const TClassInfo& TFCApplyMask::StaticClassInfo() {
  using M = TFCApplyMask;
  static const TClassInfo info =
      TClassBuilder<M>("TFCApplyMask", &TFCCommonROIFilter::StaticClassInfo())
          .Object("Picture", &M::GetPicture)
          .Property<TColor, TColor>("TransparentColor", &M::GetTransparentColor, &M::SetTransparentColor,
                                    std::nullopt, kColorTypeName)
          .Property("Stretched", &M::GetStretched, &M::SetStretched)
          .Enum("TransparentSource", &M::GetTransparentSource, &M::SetTransparentSource, TransparentSourceInfo())
          .Build();
  return info;
}

TFCApplyMask::TFCApplyMask(TComponent* owner) : TFCCommonROIFilter(owner), picture_(this, "Picture") {
  picture_.SetOnChange([this] { PictureChanged(); });
}

void TFCApplyMask::SetPicture(const TPicture& picture) {
  auto section = WriteLock();
  picture_.Assign(picture);
}

TColor TFCApplyMask::GetTransparentColor() const {
  auto section = ReadLock();
  return transparentColor_;
}

void TFCApplyMask::SetTransparentColor(TColor color) {
  auto section = WriteLock();
  transparentColor_ = color;
  PictureChanged();
}

bool TFCApplyMask::GetStretched() const {
  auto section = ReadLock();
  return stretched_;
}

void TFCApplyMask::SetStretched(bool stretched) {
  auto section = WriteLock();
  stretched_ = stretched;
  PictureChanged();
}

TFCTransparentSource TFCApplyMask::GetTransparentSource() const {
  auto section = ReadLock();
  return source_;
}

void TFCApplyMask::SetTransparentSource(TFCTransparentSource source) {
  auto section = WriteLock();
  source_ = source;
  PictureChanged();
}

TFCImageBuffer TFCApplyMask::Mask() const {
  auto section = ReadLock();
  return mask_;
}

TFCImageBuffer TFCApplyMask::MaskedPicture() const {
  auto section = ReadLock();
  return masked_;
}

void TFCApplyMask::SetSizeRate(int& Width, int& Height, int) {
  frameSizeKnown_ = true;
  frameSize_ = {Width, Height};
  PictureChanged();
}

void TFCApplyMask::PictureChanged() {
  auto section = WriteLock();
  DrawPicture();
  buildStatus_ = BuildMask();
}

void TFCApplyMask::DrawPicture() {
  const bool stretch = stretched_ && frameSizeKnown_ && !picture_.Empty();
  bitmap_.SetSize(stretch ? frameSize_.width : picture_.Width(), stretch ? frameSize_.height : picture_.Height());
  if (stretch)
    bitmap_.StretchDraw(picture_);
  else
    bitmap_.Draw(picture_);
}

// The transparent colour as the bitmap stores it: blue, green, red.
TColorBytes TFCApplyMask::KeyColorBgr() const {
  const int right = bitmap_.Width() - 1, bottom = bitmap_.Height() - 1;
  auto pixel = [&](int x, int y) {
    const Ipp8u* p = bitmap_.Pixels() + static_cast<std::size_t>(y) * bitmap_.Stride() + x * 3;
    return TColorBytes{{p[0], p[1], p[2]}};
  };
  switch (source_) {
    case tsTopLeft: return pixel(0, 0);
    case tsTopRight: return pixel(right, 0);
    case tsBottomLeft: return pixel(0, bottom);
    case tsBottomRight: return pixel(right, bottom);
    case tsCustom: break;
  }
  const TColorBytes rgb = ColorBytes(transparentColor_);
  return {{rgb.bytes[2], rgb.bytes[1], rgb.bytes[0]}};
}

IppStatus TFCApplyMask::BuildMask() {
  mask_.SetSize(bitmap_.Width(), bitmap_.Height());
  masked_.SetSize(0, 0);
  if (bitmap_.Empty()) return ippStsNoErr;
  const TColorBytes key = KeyColorBgr();
  const Ipp8u* from = bitmap_.Pixels();
  Ipp8u* mask = mask_.Write();
  for (std::size_t i = 0; i < mask_.Size(); i += 3)
    std::memset(mask + i, std::memcmp(from + i, key.bytes, 3) == 0 ? 255 : 0, 3);
  masked_.LoadFromBitmap({bitmap_.Pixels(), bitmap_.Width(), bitmap_.Height(), bitmap_.Stride(), 24, false});
  // The picture keeps its pixels where the mask is 0: P = P AND NOT M.
  const IppiSize size = mask_.SizeRecord();
  const int step = mask_.Step();
  Ipp8u* picture = masked_.Modify();
  IppStatus status = ippiNot_8u_C3IR(mask, step, size);
  if (status == ippStsNoErr) status = ippiAnd_8u_C3IR(mask, step, picture, step, size);
  if (status == ippStsNoErr) status = ippiNot_8u_C3IR(mask, step, size);
  return status;
}

void TFCApplyMask::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  if (!PrimitiveSucceeded(buildStatus_, "building the mask")) return;
  if (mask_.Size() == 0) return;  // no picture: the frame passes unchanged
  IppiSize size = In.SizeRecord();
  Ipp8u* start = ReclaculateRoiAndOffsetI(size, *Out, Out->Modify());
  size.width = std::min(size.width, mask_.Width());
  size.height = std::min(size.height, mask_.Height());
  if (size.width <= 0 || size.height <= 0) return;
  const int step = Out->Step();
  if (!PrimitiveSucceeded(ippiAnd_8u_C3IR(mask_.Read(), mask_.Step(), start, step, size), "ippiAnd_8u_C3IR"))
    return;
  PrimitiveSucceeded(ippiOr_8u_C3IR(masked_.Read(), masked_.Step(), start, step, size), "ippiOr_8u_C3IR");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcapplymask, TFCApplyMask)
