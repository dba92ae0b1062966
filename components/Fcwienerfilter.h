// Fcwienerfilter.h - adaptive Wiener noise filter.
#pragma once

#include "contracts/video/matrix_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Smooths the region of each frame, three-byte or grey, with the Wiener
/// rule over `MaskSize` at `Anchor`: flat areas take their local mean, areas
/// whose variance stands above the noise keep their detail. Publishes the
/// owned `NoiseLevels`, one per channel (0 estimates the channel's noise
/// from the frame). Keeps a scratch buffer between frames, freed when the
/// stream stops. Primitive statuses are ignored: levels outside 0..1 leave
/// the frame as it came.
class FC_COMPONENTS_API TFCWienerFilter : public TFCCommonROIMatrixFilterIntermidiate {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCWienerFilter(TComponent* owner)
      : TFCCommonROIMatrixFilterIntermidiate(owner), noiseLevels_(this, "NoiseLevels", *this) {}
  ~TFCWienerFilter() override;

  TFCWienerNoiseLevels* GetNoiseLevels() { return &noiseLevels_; }
  /// Copies the levels of `levels` into the owned ones.
  void SetNoiseLevels(const TFCWienerNoiseLevels& levels) { noiseLevels_.Assign(levels); }

  /// Frees the scratch buffer.
  void Stop() override;

  /// Bytes of scratch buffer held (0 when none).
  int ScratchSize() const;

protected:
  void PerformFilter(const Ipp8u* Src, int SrcStep, Ipp8u* Dst, int DstStep, IppiSize RoiSize,
                     IppiSize MaskSize, IppiPoint Anchor, int Format) override;
  /// Grey frames stay grey.
  void SetVideoFormat(TFCImageBuffer& Buffer) override;

private:
  void FreeScratch();

  TFCWienerNoiseLevels noiseLevels_;
  Ipp8u* scratch_ = nullptr;
  int scratchSize_ = 0;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcwienerfilter)
