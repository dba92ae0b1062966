#include "components/Fccrop.h"

#include <algorithm>

#include "contracts/video/helper_primitives.h"

namespace fc {

const TClassInfo& TFCCrop::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TFCCrop>("TFCCrop", &TFCCommonFilter::StaticClassInfo())
                                     .Object("Region", &TFCCrop::GetRegion)
                                     .Build();
  return info;
}

std::optional<TFCImageRect> TFCCrop::CropRect(IppiSize frame) const {
  const int x = region_.GetX(), y = region_.GetY();
  if (y >= frame.height || x >= frame.width) return std::nullopt;
  return TFCImageRect{x, y, std::min<int>(region_.GetWidth(), frame.width - x),
                      std::min<int>(region_.GetHeight(), frame.height - y)};
}

void TFCCrop::SetSizeRate(int& Width, int& Height, int Rate) {
  if (const auto rect = CropRect({Width, Height})) {
    Width = rect->width;
    Height = rect->height;
  }
  TFCCommonFilter::SetSizeRate(Width, Height, Rate);
}

void TFCCrop::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonFilter::SetVideoFormat(Buffer);
}

void TFCCrop::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  const auto rect = CropRect(In.SizeRecord());
  if (!rect) return;
  Out->SetSize(rect->width, rect->height);
  const Ipp8u* src = In.Read() + static_cast<std::size_t>(In.Step()) * rect->y +
                     static_cast<std::size_t>(rect->x) * In.BytesPerPixel();
  auto copy = In.Format() == vfGray8 ? ippiCopy_8u_C1R : ippiCopy_8u_C3R;
  PrimitiveSucceeded(copy(src, In.Step(), Out->Overwrite(), Out->Step(), {rect->width, rect->height}),
                     In.Format() == vfGray8 ? "ippiCopy_8u_C1R" : "ippiCopy_8u_C3R");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fccrop, TFCCrop)
