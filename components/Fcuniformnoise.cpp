#include "components/Fcuniformnoise.h"

#include <string>

#include "dispatch/primitives.h"
#include "platform/runtime/error.h"

namespace fc {

const TClassInfo& TFCUniformNoise::StaticClassInfo() {
  using U = TFCUniformNoise;
  static const TClassInfo info =
      TClassBuilder<U>("TFCUniformNoise", &TFCCommonROIFilter::StaticClassInfo())
          .Property("Low", &U::GetLow, &U::SetLow, kLowDefault)
          .Property("High", &U::GetHigh, &U::SetHigh, kHighDefault)
          .Property<std::uint16_t, std::uint16_t>("Seed", &U::GetSeed, &U::SetSeed, kSeedDefault)
          .Build();
  return info;
}

std::uint8_t TFCUniformNoise::GetLow() const {
  auto section = ReadLock();
  return low_;
}

void TFCUniformNoise::SetLow(std::uint8_t low) {
  auto section = WriteLock();
  if (low > high_)
    throw EFCError::ForProperty(NamePath(), "Low",
                                std::to_string(low) + " lies above High (" + std::to_string(high_) + ")");
  low_ = low;
}

std::uint8_t TFCUniformNoise::GetHigh() const {
  auto section = ReadLock();
  return high_;
}

void TFCUniformNoise::SetHigh(std::uint8_t high) {
  auto section = WriteLock();
  if (high < low_)
    throw EFCError::ForProperty(NamePath(), "High",
                                std::to_string(high) + " lies below Low (" + std::to_string(low_) + ")");
  high_ = high;
}

void TFCUniformNoise::AddNoise(Ipp8u* pixels, int step, IppiSize roiSize, unsigned int* seed) {
  PrimitiveSucceeded(fc_entry(ippiAddRandUniform_Direct_8u_C3IR)(pixels, step, roiSize, low_, high_, seed),
                     "ippiAddRandUniform_Direct_8u_C3IR");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcuniformnoise, TFCUniformNoise)
