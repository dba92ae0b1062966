// Fctransparentcolor.h - a colour key: one picture over another wherever its
// colour lies outside the transparent colour ranges.
#pragma once

#include "components/Fccommoncombine.h"
#include "components/color_ranges.h"
#include "contracts/pins/state_pins.h"
#include "package/registered_unit.h"

namespace fc {

/// A combiner with the foreground on `InputPin` (image 1) and the
/// background on `BackgroundInputPin` (image 2). Where the images overlap,
/// each output pixel is the background's where the foreground pixel lies in
/// any of `TransparentColors`, the foreground's otherwise.
///
/// `Enabled` (default true, also set through `EnablePin`) switches the key:
/// while it is false every output is the foreground frame unchanged.
class FC_COMPONENTS_API TFCTransparentColor : public TFCCommonCombine {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kEnabledDefault = true;

  explicit TFCTransparentColor(TComponent* owner);
  ~TFCTransparentColor() override;

  TFCPMQueuedImageSinkPin* GetInputPin() { return &Input(0); }
  TFCPMQueuedImageSinkPin* GetBackgroundInputPin() { return &Input(1); }
  TPMBoolStatePin* GetEnablePin() { return &enablePin_; }
  TFCColorRanges* GetTransparentColors() { return &colors_; }
  void SetTransparentColors(const TFCColorRanges& colors) { colors_.Assign(colors); }
  bool GetEnabled() const;
  /// Stores under the write lock, then publishes on EnablePin.
  void SetEnabled(bool enabled);

protected:
  void CalculateSendOutput() override;
  bool DoCombineOp(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst, int dstStep,
                   IppiSize roiSize, int channels) override;

private:
  TPMBoolStatePin enablePin_;
  TFCColorRanges colors_;
  bool enabled_ = kEnabledDefault;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fctransparentcolor)
