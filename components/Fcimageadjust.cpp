#include "components/Fcimageadjust.h"

#include "contracts/video/helper_primitives.h"
#include "dispatch/primitives.h"

namespace fc {

const TClassInfo& TFCImageAdjust::StaticClassInfo() {
  using A = TFCImageAdjust;
  static const TClassInfo info = TClassBuilder<A>("TFCImageAdjust", &TFCCommonFilter::StaticClassInfo())
                                     .Property("Brightness", &A::GetBrightness, &A::SetBrightness)
                                     .Property("Contrast", &A::GetContrast, &A::SetContrast)
                                     .Property("Saturation", &A::GetSaturation, &A::SetSaturation)
                                     .Property("Hue", &A::GetHue, &A::SetHue)
                                     .Property("Lightness", &A::GetLightness, &A::SetLightness)
                                     .Pin("BrightnessPin", &A::GetBrightnessPin)
                                     .Pin("ContrastPin", &A::GetContrastPin)
                                     .Pin("SaturationPin", &A::GetSaturationPin)
                                     .Pin("HuePin", &A::GetHuePin)
                                     .Pin("LightnessPin", &A::GetLightnessPin)
                                     .Build();
  return info;
}

TFCImageAdjust::TFCImageAdjust(TComponent* owner)
    : TFCCommonFilter(owner),
      brightnessPin_(this, "BrightnessPin", [this](auto&, const float& v) { SetBrightness(v); }),
      contrastPin_(this, "ContrastPin", [this](auto&, const float& v) { SetContrast(v); }),
      saturationPin_(this, "SaturationPin", [this](auto&, const float& v) { SetSaturation(v); }),
      huePin_(this, "HuePin", [this](auto&, const float& v) { SetHue(v); }),
      lightnessPin_(this, "LightnessPin", [this](auto&, const float& v) { SetLightness(v); }) {
  brightnessPin_.SetValue(kStartBrightness);
  contrastPin_.SetValue(kStartContrast);
  saturationPin_.SetValue(kStartSaturation);
  huePin_.SetValue(kStartHue);
  lightnessPin_.SetValue(kStartLightness);
}

TFCImageAdjust::~TFCImageAdjust() {
  RetirePins();
  for (TPMPin* pin : {&brightnessPin_, &contrastPin_, &saturationPin_, &huePin_, &lightnessPin_}) pin->Retire();
}

float TFCImageAdjust::GetBrightness() const {
  auto section = ReadLock();
  return brightness_;
}

float TFCImageAdjust::GetContrast() const {
  auto section = ReadLock();
  return contrast_;
}

float TFCImageAdjust::GetSaturation() const {
  auto section = ReadLock();
  return saturation_;
}

float TFCImageAdjust::GetHue() const {
  auto section = ReadLock();
  return hue_;
}

float TFCImageAdjust::GetLightness() const {
  auto section = ReadLock();
  return lightness_;
}

void TFCImageAdjust::Store(float& field, float value, TPMFloatStatePin& pin,
                           std::initializer_list<Ipp32f*> entries) {
  {
    auto section = WriteLock();
    field = value;
    for (Ipp32f* entry : entries) *entry = value;
  }
  pin.SetValue(value);
}

// Brightness shifts the lightness code only, so Hue keeps its own entry.
void TFCImageAdjust::SetBrightness(float value) { Store(brightness_, value, brightnessPin_, {&hls_[1][3]}); }
void TFCImageAdjust::SetHue(float value) { Store(hue_, value, huePin_, {&hls_[0][3]}); }
void TFCImageAdjust::SetLightness(float value) { Store(lightness_, value, lightnessPin_, {&hls_[1][1]}); }
void TFCImageAdjust::SetSaturation(float value) { Store(saturation_, value, saturationPin_, {&hls_[2][2]}); }
void TFCImageAdjust::SetContrast(float value) {
  Store(contrast_, value, contrastPin_, {&output_[0][2], &output_[1][1], &output_[2][0]});
}

std::array<std::array<Ipp32f, 4>, 3> TFCImageAdjust::HlsMatrix() const {
  auto section = ReadLock();
  std::array<std::array<Ipp32f, 4>, 3> copy;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) copy[r][c] = hls_[r][c];
  return copy;
}

std::array<std::array<Ipp32f, 4>, 3> TFCImageAdjust::OutputMatrix() const {
  auto section = ReadLock();
  std::array<std::array<Ipp32f, 4>, 3> copy;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) copy[r][c] = output_[r][c];
  return copy;
}

void TFCImageAdjust::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  static constexpr int kToRgb[3] = {2, 1, 0};
  const IppiSize size = In.SizeRecord();
  if (work_.Width() != size.width || work_.Height() != size.height) work_.SetSize(size.width, size.height);
  // Every step below writes its whole frame.
  Ipp8u* work = work_.Overwrite();
  Ipp8u* out = Out->Overwrite();
  const int step = In.Step();
  if (!PrimitiveSucceeded(ippiSwapChannels_8u_C3R(In.Read(), step, work, step, size, kToRgb),
                          "ippiSwapChannels_8u_C3R"))
    return;
  if (!PrimitiveSucceeded(fc_entry(ippiRGBToHLS_8u_C3R)(work, step, out, step, size), "ippiRGBToHLS_8u_C3R"))
    return;
  if (!PrimitiveSucceeded(fc_entry(ippiColorTwist32f_8u_C3R)(out, step, work, step, size, hls_),
                          "ippiColorTwist32f_8u_C3R"))
    return;
  if (!PrimitiveSucceeded(fc_entry(ippiHLSToRGB_8u_C3R)(work, step, out, step, size), "ippiHLSToRGB_8u_C3R"))
    return;
  PrimitiveSucceeded(ippiColorTwist32f_8u_C3IR(out, step, size, output_), "ippiColorTwist32f_8u_C3IR");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcimageadjust, TFCImageAdjust)
