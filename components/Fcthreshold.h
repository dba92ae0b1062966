// Fcthreshold.h - replaces channel values above a top or below a bottom
// threshold.
#pragma once

#include "components/color_value.h"
#include "contracts/pins/locked_persistent.h"
#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A threshold colour, the colour that replaces what passes it, and whether
/// the threshold is used. Each of the three bytes of a colour in memory
/// order (red, green, blue) applies to the frame byte of the same position
/// (blue, green, red), as the primitives take them. Its descendants publish
/// `Threshold`, `Value` and `Enabled` (default true).
class FC_COMPONENTS_API TFCThresholdValue : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kEnabledDefault = true;

  TColor GetThreshold() const { return Load(threshold_); }
  void SetThreshold(TColor v) { Store(threshold_, v); }
  TColor GetValue() const { return Load(value_); }
  void SetValue(TColor v) { Store(value_, v); }
  bool GetEnabled() const { return Load(enabled_); }
  void SetEnabled(bool v) { Store(enabled_, v); }

protected:
  TFCThresholdValue(TPersistent* owner, std::string propertyName, const TPMObject& lock, TColor threshold)
      : TPMLockedPersistent(owner, std::move(propertyName), lock), threshold_(threshold) {}

  /// The description of a descendant: the three properties, with the
  /// descendant's stored default of `Threshold`, if it has one.
  template <class T> static TClassInfo DescendantInfo(const char* name, std::optional<TColor> thresholdDefault);

private:
  TColor threshold_;
  TColor value_ = 0;
  bool enabled_ = kEnabledDefault;
};

/// The top threshold: channels above it become its value. `Threshold`
/// starts at, and defaults to, 0x808080.
class FC_COMPONENTS_API TFCThresholdValueTop : public TFCThresholdValue {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TColor kThresholdDefault = 0x808080;

  TFCThresholdValueTop(TPersistent* owner, std::string propertyName, const TPMObject& lock)
      : TFCThresholdValue(owner, std::move(propertyName), lock, kThresholdDefault) {}
};

/// The bottom threshold: channels below it become its value. `Threshold`
/// starts 0 (no stored default).
class FC_COMPONENTS_API TFCThresholdValueBottom : public TFCThresholdValue {
  FC_DECLARE_CLASS_INFO()
public:
  TFCThresholdValueBottom(TPersistent* owner, std::string propertyName, const TPMObject& lock)
      : TFCThresholdValue(owner, std::move(propertyName), lock, 0) {}
};

/// Thresholds each channel of every pixel against `ThresholdTop` and
/// `ThresholdBottom`, whichever are enabled; with neither enabled frames
/// pass unchanged. A new component sets every channel above 128 to 0.
class FC_COMPONENTS_API TFCThreshold : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCThreshold(TComponent* owner)
      : TFCCommonFilter(owner), top_(this, "ThresholdTop", *this), bottom_(this, "ThresholdBottom", *this) {}

  TFCThresholdValueTop* GetThresholdTop() { return &top_; }
  void SetThresholdTop(const TFCThresholdValueTop& top) { top_.Assign(top); }
  TFCThresholdValueBottom* GetThresholdBottom() { return &bottom_; }
  void SetThresholdBottom(const TFCThresholdValueBottom& bottom) { bottom_.Assign(bottom); }

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;

private:
  TFCThresholdValueTop top_;
  TFCThresholdValueBottom bottom_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcthreshold)
