#include "components/Fcwienerfilter.h"

#include <array>

#include "contracts/video/wiener_filter.h"
#include "dispatch/primitives.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

const TClassInfo& TFCWienerFilter::StaticClassInfo() {
  using W = TFCWienerFilter;
  static const TClassInfo info =
      TClassBuilder<W>("TFCWienerFilter", &TFCCommonROIMatrixFilterIntermidiate::StaticClassInfo())
          .Object("NoiseLevels", &W::GetNoiseLevels)
          .Build();
  return info;
}

TFCWienerFilter::~TFCWienerFilter() {
  RetirePins();
  Stop();
}

void TFCWienerFilter::Stop() {
  auto section = WriteLock();
  FreeScratch();
}

int TFCWienerFilter::ScratchSize() const {
  auto section = ReadLock();
  return scratchSize_;
}

void TFCWienerFilter::FreeScratch() {
  ippsFree(scratch_);
  scratch_ = nullptr;
  scratchSize_ = 0;
}

void TFCWienerFilter::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonROIMatrixFilterIntermidiate::SetVideoFormat(Buffer);
}

void TFCWienerFilter::PerformFilter(const Ipp8u* Src, int SrcStep, Ipp8u* Dst, int DstStep, IppiSize RoiSize,
                                    IppiSize MaskSize, IppiPoint Anchor, int Format) {
  // Sized for three channels, which also covers grey frames.
  int size = 0;
  if (!PrimitiveSucceeded(ippiFilterWienerGetBufferSize(RoiSize, MaskSize, 3, &size),
                          "ippiFilterWienerGetBufferSize"))
    return;
  if (size != scratchSize_) {
    FreeScratch();
    scratch_ = WithinBufferBudget(static_cast<std::uint64_t>(size)) ? ippsMalloc_8u(size) : nullptr;
    if (!scratch_) return ReportFailure("ippsMalloc_8u", ippStsMemAllocErr);
    scratchSize_ = size;
  }
  const std::array<float, 3> levels = noiseLevels_.Get();
  const Ipp32f noise[3] = {levels[0], levels[1], levels[2]};
  if (Format == vfGray8)
    PrimitiveSucceeded(ippiFilterWiener_8u_C1R(Src, SrcStep, Dst, DstStep, RoiSize, MaskSize, Anchor, noise, scratch_),
                       "ippiFilterWiener_8u_C1R");
  else
    PrimitiveSucceeded(ippiFilterWiener_8u_C3R(Src, SrcStep, Dst, DstStep, RoiSize, MaskSize, Anchor, noise, scratch_),
                       "ippiFilterWiener_8u_C3R");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcwienerfilter, TFCWienerFilter)
