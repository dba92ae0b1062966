// Fcapplymask.h - overlays a picture on every frame, except where the
// picture shows its transparent colour.
#pragma once

#include "components/color_value.h"
#include "contracts/video/roi_filters.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/picture.h"

namespace fc {

/// Where the transparent colour of the overlay comes from: a corner pixel
/// of the drawn picture, or `TransparentColor`.
enum TFCTransparentSource { tsTopLeft, tsTopRight, tsBottomLeft, tsBottomRight, tsCustom };
FC_COMPONENTS_API const TEnumInfo& TransparentSourceInfo();

/// Overlays `Picture` on each frame. The picture is drawn at its own size,
/// or stretched to the frame size when `Stretched` is set and a stream has
/// announced its size; pixels of the transparent colour let the frame show
/// through, all others replace it. The overlay starts at the origin of the
/// region of interest (the whole frame while the region is disabled) and
/// covers the part of the region it reaches. With an empty picture frames
/// pass unchanged.
///
/// The drawn picture is turned into a mask M (255 where transparent, 0
/// elsewhere) and the picture P with its transparent pixels black whenever
/// the picture, `Stretched`, `TransparentSource`, `TransparentColor` or the
/// stream's frame size changes; each frame then becomes (frame AND M) OR P.
class FC_COMPONENTS_API TFCApplyMask : public TFCCommonROIFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TColor kStartTransparentColor = 0;
  static constexpr bool kStartStretched = false;
  static constexpr TFCTransparentSource kStartTransparentSource = tsTopLeft;

  explicit TFCApplyMask(TComponent* owner);
  ~TFCApplyMask() override { RetirePins(); }

  TPicture* GetPicture() { return &picture_; }
  /// Copies `picture` into the owned one under the write lock.
  void SetPicture(const TPicture& picture);
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor color);
  bool GetStretched() const;
  void SetStretched(bool stretched);
  TFCTransparentSource GetTransparentSource() const;
  void SetTransparentSource(TFCTransparentSource source);

  /// The mask and the masked picture as last built (empty without a
  /// picture); for inspection.
  TFCImageBuffer Mask() const;
  TFCImageBuffer MaskedPicture() const;

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  void SetSizeRate(int& Width, int& Height, int Rate) override;

private:
  void PictureChanged();
  void DrawPicture();
  TColorBytes KeyColorBgr() const;
  IppStatus BuildMask();

  TPicture picture_;
  TColor transparentColor_ = kStartTransparentColor;
  bool stretched_ = kStartStretched;
  TFCTransparentSource source_ = kStartTransparentSource;
  bool frameSizeKnown_ = false;
  IppiSize frameSize_{0, 0};
  TBitmap bitmap_;
  TFCImageBuffer mask_, masked_;
  IppStatus buildStatus_ = ippStsNoErr;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcapplymask)
