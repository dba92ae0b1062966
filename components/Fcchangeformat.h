// Fcchangeformat.h - converts frames to a chosen pixel format.
#pragma once

#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Converts each frame to `Format` (starts vfRGB24) with the frame's own
/// conversion. The formats offered are the published ones a stream may
/// carry between components: vfRGB24 (0), vfYUY2 (1) and vfGray8 (2);
/// setting vfRGB32 (3) stores vfRGB24, so it reads back as 0.
class FC_COMPONENTS_API TFCChangeFormat : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCVideoFormat kFormatStart = vfRGB24;

  explicit TFCChangeFormat(TComponent* owner) : TFCCommonFilter(owner) {}

  TFCVideoFormat GetFormat() const;
  void SetFormat(TFCVideoFormat format);

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  /// Frames arrive as they are: the conversion goes straight to Format.
  void SetVideoFormat(TFCImageBuffer&) override {}
  TFCVideoFormat OutputFormat(TFCVideoFormat) override { return format_; }

private:
  TFCVideoFormat format_ = kFormatStart;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcchangeformat)
