// Fcgrayscale.h - turns frames into one-byte grey frames.
#pragma once

#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Converts each frame to the grey format (vfGray8, one byte per pixel) with
/// the frame's own conversion. No properties of its own.
class FC_COMPONENTS_API TFCGrayScale : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCGrayScale(TComponent* owner) : TFCCommonFilter(owner) {}

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  TFCVideoFormat OutputFormat(TFCVideoFormat) override { return vfGray8; }
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcgrayscale)
