// rate_blend.h - the byte blend of the rate changer: two frames mixed with
// one weight, byte by byte, rounded as the double formula rounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// out = round((previous (1 - w) + current w) / ((1 - w) + w)), limited to
/// 0..255, with round() taking halves away from zero, computed in double.
///
/// Weights 0 and 1 are copies. For most others the same bytes come from
/// 16-bit fixed point: with shares A + B = 2^16 of the two frames,
/// (hi16(256 previous A) + hi16(256 current B) + 128) >> 8, eight products
/// to a vector register. That form is used only for a weight where it gives
/// the double formula's byte for all 65,536 pairs, checked the first time
/// the weight is seen. Other weights (blends that come within the fixed
/// point's error of a half) take a table of all pairs. A rate change
/// repeats a few weights, so the verdicts of the last few are kept. Not
/// thread-safe: one per component.
class FC_COMPONENTS_API TRateBlend {
public:
  void Blend(const Ipp8u* previous, const Ipp8u* current, Ipp8u* out, std::size_t count, double w);

  /// The byte of the double formula for one pair.
  static Ipp8u ExactByte(int previous, int current, double w);
  /// True when fixed point gives every byte of weight w (0 < w < 1).
  bool UsesFixedPoint(double w) { return Plan(w).fixedPoint; }

private:
  struct TPlan {
    double w;
    std::uint32_t currentShare;  // B; A is 2^16 - B
    bool fixedPoint;
    std::vector<Ipp8u> table;  // every pair's byte, previous * 256 + current; empty with fixedPoint
  };
  static constexpr std::size_t kKeptPlans = 16;

  const TPlan& Plan(double w);
  static TPlan MakePlan(double w);

  std::vector<TPlan> plans_;  // oldest first
};

}  // namespace fc
