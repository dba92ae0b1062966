#include "components/Fctransparentcolor.h"

#include <cstring>

namespace fc {

const TClassInfo& TFCTransparentColor::StaticClassInfo() {
  using T = TFCTransparentColor;
  static const TClassInfo info =
      TClassBuilder<T>("TFCTransparentColor", &TFCCommonCombine::StaticClassInfo())
          .Pin("InputPin", &T::GetInputPin)
          .Pin("BackgroundInputPin", &T::GetBackgroundInputPin)
          .Pin("EnablePin", &T::GetEnablePin)
          .Collection("TransparentColors", &T::GetTransparentColors)
          .Property("Enabled", &T::GetEnabled, &T::SetEnabled, kEnabledDefault)
          .Build();
  return info;
}

TFCTransparentColor::TFCTransparentColor(TComponent* owner)
    : TFCCommonCombine(owner),
      enablePin_(this, "EnablePin", [this](TPMStatePin<bool>&, const bool& v) { SetEnabled(v); }),
      colors_(this, "TransparentColors", *this) {
  AddInputPin("InputPin");
  AddInputPin("BackgroundInputPin");
  enablePin_.SetValue(kEnabledDefault);
}

TFCTransparentColor::~TFCTransparentColor() {
  RetirePins();
  enablePin_.Retire();
}

bool TFCTransparentColor::GetEnabled() const {
  auto section = ReadLock();
  return enabled_;
}

void TFCTransparentColor::SetEnabled(bool enabled) {
  {
    auto section = WriteLock();
    enabled_ = enabled;
  }
  enablePin_.SetValue(enabled);
}

void TFCTransparentColor::CalculateSendOutput() {
  if (enabled_) {
    TFCCommonCombine::CalculateSendOutput();
    return;
  }
  if (const auto& foreground = Input(0).Frame()) SendFrame(foreground);
}

bool TFCTransparentColor::DoCombineOp(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst,
                                      int dstStep, IppiSize roiSize, int channels) {
  for (int y = 0; y < roiSize.height; ++y) {
    const Ipp8u* a = src1 + static_cast<std::ptrdiff_t>(y) * src1Step;
    const Ipp8u* b = src2 + static_cast<std::ptrdiff_t>(y) * src2Step;
    Ipp8u* d = dst + static_cast<std::ptrdiff_t>(y) * dstStep;
    for (int x = 0; x < roiSize.width; ++x, a += channels, b += channels, d += channels) {
      const std::uint32_t pixel = a[0] | (a[1] << 8) | (static_cast<std::uint32_t>(a[2]) << 16);
      std::memcpy(d, colors_.InRage(pixel) ? b : a, 3);
    }
  }
  return true;
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fctransparentcolor, TFCTransparentColor)
