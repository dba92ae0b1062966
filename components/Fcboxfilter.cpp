#include "components/Fcboxfilter.h"

#include "dispatch/primitives.h"

namespace fc {

const TEnumInfo& BoxFilterModeInfo() {
  static const TEnumInfo info("TFCBoxFilterMode", {"bfmAverage", "bfmMin", "bfmMax", "bfmMedian"});
  return info;
}

const TClassInfo& TFCBoxFilter::StaticClassInfo() {
  using B = TFCBoxFilter;
  static const TClassInfo info =
      TClassBuilder<B>("TFCBoxFilter", &TFCCommonROIMatrixFilterIntermidiate::StaticClassInfo())
          .Enum("FilterMode", &B::GetFilterMode, &B::SetFilterMode, BoxFilterModeInfo())
          .Build();
  return info;
}

TFCBoxFilterMode TFCBoxFilter::GetFilterMode() const {
  auto section = ReadLock();
  return filterMode_;
}

void TFCBoxFilter::SetFilterMode(TFCBoxFilterMode mode) {
  auto section = WriteLock();
  if (mode == filterMode_) return;
  filterMode_ = mode;
}

bool TFCBoxFilter::FiltersByWindow(IppiSize MaskSize) const {
  // Above this many pixels the box filter averages in single precision.
  constexpr long long kLargestIntegerMask = 8100;
  return filterMode_ != bfmAverage ||
         static_cast<long long>(MaskSize.width) * MaskSize.height <= kLargestIntegerMask;
}

void TFCBoxFilter::PerformFilter(const Ipp8u* Src, int SrcStep, Ipp8u* Dst, int DstStep, IppiSize RoiSize,
                                 IppiSize MaskSize, IppiPoint Anchor, int /*Format*/) {
  switch (filterMode_) {
    case bfmAverage:
      PrimitiveSucceeded(fc_entry(ippiFilterBox_8u_C3R)(Src, SrcStep, Dst, DstStep, RoiSize, MaskSize, Anchor),
                         "ippiFilterBox_8u_C3R");
      break;
    case bfmMin:
      PrimitiveSucceeded(fc_entry(ippiFilterMin_8u_C3R)(Src, SrcStep, Dst, DstStep, RoiSize, MaskSize, Anchor),
                         "ippiFilterMin_8u_C3R");
      break;
    case bfmMax:
      PrimitiveSucceeded(fc_entry(ippiFilterMax_8u_C3R)(Src, SrcStep, Dst, DstStep, RoiSize, MaskSize, Anchor),
                         "ippiFilterMax_8u_C3R");
      break;
    case bfmMedian:
      PrimitiveSucceeded(fc_entry(ippiFilterMedian_8u_C3R)(Src, SrcStep, Dst, DstStep, RoiSize, MaskSize, Anchor),
                         "ippiFilterMedian_8u_C3R");
      break;
  }
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcboxfilter, TFCBoxFilter)
