// Fcgaussnoise.h - adds Gaussian noise to the region of interest of each
// frame.
#pragma once

#include "components/noise_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Publishes `Mean` (default 0), `StDev` (default 100) and `Seed` (default
/// 31192). Each stream start restarts the noise from `Seed`; the noise goes
/// on from frame to frame through the running seed.
class FC_COMPONENTS_API TFCGaussNoise : public TFCCommonNoiseFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::uint8_t kMeanDefault = 0;
  static constexpr std::uint8_t kStDevDefault = 100;

  explicit TFCGaussNoise(TComponent* owner) : TFCCommonNoiseFilter(owner) {}

  std::uint8_t GetMean() const;
  void SetMean(std::uint8_t mean);
  std::uint8_t GetStDev() const;
  void SetStDev(std::uint8_t stDev);

protected:
  void AddNoise(Ipp8u* pixels, int step, IppiSize roiSize, unsigned int* seed) override;

private:
  std::uint8_t mean_ = kMeanDefault;
  std::uint8_t stDev_ = kStDevDefault;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcgaussnoise)
