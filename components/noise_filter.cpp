#include "components/noise_filter.h"

namespace fc {

std::uint16_t TFCCommonNoiseFilter::GetSeed() const {
  auto section = ReadLock();
  return seed_;
}

void TFCCommonNoiseFilter::SetSeed(std::uint16_t seed) {
  auto section = WriteLock();
  seed_ = seed;
}

std::uint32_t TFCCommonNoiseFilter::RunningSeed() const {
  auto section = ReadLock();
  return runningSeed_;
}

void TFCCommonNoiseFilter::Reset() {
  TFCCommonROIFilter::Reset();
  auto section = WriteLock();
  runningSeed_ = seed_;
}

void TFCCommonNoiseFilter::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  IppiSize size = In.SizeRecord();
  Ipp8u* pixels = ReclaculateRoiAndOffsetI(size, *Out, Out->Modify());
  AddNoise(pixels, In.Step(), size, &runningSeed_);
}

}  // namespace fc
