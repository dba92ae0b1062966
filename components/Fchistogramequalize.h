// Fchistogramequalize.h - spreads the levels of frames evenly over 0 to 255.
#pragma once

#include <array>

#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"

namespace fc {

/// Histogram equalisation. A grey frame (kept grey) has every byte replaced
/// through a table built from its own histogram: with s the number of pixels
/// at or below level i, level i becomes round(255 x s / pixels), ties to
/// even. A colour frame is converted to hue, lightness and saturation, its
/// lightness equalised the same way, and converted back; hue and saturation
/// stay as they were. No properties of its own.
class FC_COMPONENTS_API TFCHistogramEqualize : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCHistogramEqualize(TComponent* owner) : TFCCommonFilter(owner) {}
  ~TFCHistogramEqualize() override { RetirePins(); }

  /// One bin per byte value: levels 0, 1, ..., 256.
  static constexpr int kLevels = 257;

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  void SetVideoFormat(TFCImageBuffer& Buffer) override;
  void Stop() override { workFrame_ = TFCImageBuffer(); }

private:
  void EqualizeGrey(const TFCImageBuffer& In, TFCImageBuffer& Out);
  void EqualizeColor(const TFCImageBuffer& In, TFCImageBuffer& Out);
  void BuildTable(const Ipp32s* histogram, double pixels);

  std::array<Ipp8u, 256> table_{};
  std::array<std::array<Ipp32s, kLevels - 1>, 3> histograms_{};
  std::array<Ipp32s, kLevels> levels_{};
  TFCImageBuffer workFrame_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fchistogramequalize)
