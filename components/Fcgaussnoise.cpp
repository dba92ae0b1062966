#include "components/Fcgaussnoise.h"

#include "dispatch/primitives.h"

namespace fc {

const TClassInfo& TFCGaussNoise::StaticClassInfo() {
  using G = TFCGaussNoise;
  static const TClassInfo info =
      TClassBuilder<G>("TFCGaussNoise", &TFCCommonROIFilter::StaticClassInfo())
          .Property("Mean", &G::GetMean, &G::SetMean, kMeanDefault)
          .Property("StDev", &G::GetStDev, &G::SetStDev, kStDevDefault)
          .Property<std::uint16_t, std::uint16_t>("Seed", &G::GetSeed, &G::SetSeed, kSeedDefault)
          .Build();
  return info;
}

std::uint8_t TFCGaussNoise::GetMean() const {
  auto section = ReadLock();
  return mean_;
}

void TFCGaussNoise::SetMean(std::uint8_t mean) {
  auto section = WriteLock();
  mean_ = mean;
}

std::uint8_t TFCGaussNoise::GetStDev() const {
  auto section = ReadLock();
  return stDev_;
}

void TFCGaussNoise::SetStDev(std::uint8_t stDev) {
  auto section = WriteLock();
  stDev_ = stDev;
}

void TFCGaussNoise::AddNoise(Ipp8u* pixels, int step, IppiSize roiSize, unsigned int* seed) {
  PrimitiveSucceeded(fc_entry(ippiAddRandGauss_Direct_8u_C3IR)(pixels, step, roiSize, mean_, stDev_, seed),
                     "ippiAddRandGauss_Direct_8u_C3IR");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcgaussnoise, TFCGaussNoise)
