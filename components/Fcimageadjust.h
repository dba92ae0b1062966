// Fcimageadjust.h - brightness, contrast, saturation, hue and lightness of
// frames, adjusted in HLS space.
#pragma once

#include "contracts/pins/state_pins.h"
#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Adjusts each frame through two colour matrices:
///
/// 1. the frame goes to red, green, blue order and into HLS (8-bit codes);
/// 2. the HLS matrix maps it: hue code + `Hue`, lightness code x `Lightness`
///    + `Brightness`, saturation code x `Saturation` (each saturated to
///    0..255, so the hue does not wrap);
/// 3. back to RGB, then the output matrix restores blue, green, red order and
///    multiplies every channel by `Contrast`.
///
/// With the start values (Brightness 0, Contrast 1, Saturation 1, Hue 0,
/// Lightness 1) a frame comes back as the HLS round trip leaves it. Each
/// value is also published on its state pin (`BrightnessPin` ...), and a
/// value arriving on a pin sets the property.
class FC_COMPONENTS_API TFCImageAdjust : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr float kStartBrightness = 0, kStartContrast = 1, kStartSaturation = 1, kStartHue = 0,
                         kStartLightness = 1;

  explicit TFCImageAdjust(TComponent* owner);
  ~TFCImageAdjust() override;

  float GetBrightness() const;
  float GetContrast() const;
  float GetSaturation() const;
  float GetHue() const;
  float GetLightness() const;
  /// Each setter stores the value and its matrix entries under the write
  /// lock, then publishes the value on its pin.
  void SetBrightness(float value);
  void SetContrast(float value);
  void SetSaturation(float value);
  void SetHue(float value);
  void SetLightness(float value);

  TPMFloatStatePin* GetBrightnessPin() { return &brightnessPin_; }
  TPMFloatStatePin* GetContrastPin() { return &contrastPin_; }
  TPMFloatStatePin* GetSaturationPin() { return &saturationPin_; }
  TPMFloatStatePin* GetHuePin() { return &huePin_; }
  TPMFloatStatePin* GetLightnessPin() { return &lightnessPin_; }

  /// Copies of the two matrices, for inspection.
  std::array<std::array<Ipp32f, 4>, 3> HlsMatrix() const;
  std::array<std::array<Ipp32f, 4>, 3> OutputMatrix() const;

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;

private:
  // Stores `value` and writes it into the listed matrix entries.
  void Store(float& field, float value, TPMFloatStatePin& pin, std::initializer_list<Ipp32f*> entries);

  float brightness_ = kStartBrightness, contrast_ = kStartContrast, saturation_ = kStartSaturation,
        hue_ = kStartHue, lightness_ = kStartLightness;
  Ipp32f hls_[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
  Ipp32f output_[3][4] = {{0, 0, 1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}};
  TFCImageBuffer work_;
  TPMFloatStatePin brightnessPin_, contrastPin_, saturationPin_, huePin_, lightnessPin_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcimageadjust)
