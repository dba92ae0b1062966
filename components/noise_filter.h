// noise_filter.h - what the two noise filters share: a published seed, the
// running seed the noise primitive advances, and adding noise in place
// inside the region of interest.
#pragma once

#include <cstdint>

#include "contracts/video/roi_filters.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A region filter that adds pseudo-random noise to each frame in place.
/// Subclasses publish `Seed` (through GetSeed and SetSeed) beside their
/// own parameters and make the noise in `AddNoise`.
/// It is no published class of its own: the registry shows its subclasses
/// as region filters.
class FC_COMPONENTS_API TFCCommonNoiseFilter : public TFCCommonROIFilter {
public:
  static constexpr std::uint16_t kSeedDefault = 31192;

  explicit TFCCommonNoiseFilter(TComponent* owner) : TFCCommonROIFilter(owner) {}

  std::uint16_t GetSeed() const;
  /// Stores the seed the sequence restarts from at the next stream start;
  /// the running sequence goes on undisturbed.
  void SetSeed(std::uint16_t seed);
  /// The word the noise primitive reads and advances with every frame.
  std::uint32_t RunningSeed() const;

  /// Restarts the noise sequence from `Seed`.
  void Reset() override;

protected:
  /// Adds the noise to a region of roiSize pixels at `pixels`, advancing
  /// `seed`. Runs under the write lock.
  virtual void AddNoise(Ipp8u* pixels, int step, IppiSize roiSize, unsigned int* seed) = 0;

  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  bool CanInline() override { return true; }

private:
  std::uint16_t seed_ = kSeedDefault;
  unsigned int runningSeed_ = 0;
};

}  // namespace fc
