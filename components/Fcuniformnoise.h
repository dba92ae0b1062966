// Fcuniformnoise.h - adds uniformly distributed noise to the region of
// interest of each frame.
#pragma once

#include "components/noise_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Publishes `Low` (default 0), `High` (default 255) and `Seed` (default
/// 31192). Low never exceeds High: a Low above High, or a High below Low,
/// raises EFCError naming the property and leaves both as they were (so
/// moving the range down sets Low first, moving it up sets High first).
class FC_COMPONENTS_API TFCUniformNoise : public TFCCommonNoiseFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::uint8_t kLowDefault = 0;
  static constexpr std::uint8_t kHighDefault = 255;

  explicit TFCUniformNoise(TComponent* owner) : TFCCommonNoiseFilter(owner) {}

  std::uint8_t GetLow() const;
  void SetLow(std::uint8_t low);
  std::uint8_t GetHigh() const;
  void SetHigh(std::uint8_t high);

protected:
  void AddNoise(Ipp8u* pixels, int step, IppiSize roiSize, unsigned int* seed) override;

private:
  std::uint8_t low_ = kLowDefault;
  std::uint8_t high_ = kHighDefault;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcuniformnoise)
