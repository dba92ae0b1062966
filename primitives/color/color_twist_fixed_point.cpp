// color_twist_fixed_point.cpp - choosing the scale, integer coefficients and
// margin of a colour-twist row (see color_twist_fixed_point.h for the bound).
#include "primitives/color/color_twist_fixed_point.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace fc::primitives {
namespace {

constexpr int kNarrowestShift = 12;
constexpr std::int64_t kInt32Limit = std::int64_t{1} << 31;

/// Whether Q + 2^(shift-1) + margin stays inside the 32-bit range.
bool fitsInt32(std::int64_t reach, int shift, std::int32_t margin) {
  return reach + (std::int64_t{1} << (shift - 1)) + margin + 1 < kInt32Limit;
}

/// The row at one scale, or an unusable row when it does not fit.
TwistFixedRow planAtShift(const Ipp32f row[4], int shift) {
  TwistFixedRow plan;
  double rho[4];
  std::int64_t reachInUnits = 0;  // the largest |Q| for bytes 0..255
  for (int k = 0; k < 4; ++k) {
    const double scaled = std::ldexp(static_cast<double>(row[k]), shift);  // exact: a float times 2^shift
    if (!(std::fabs(scaled) < 0x1p31)) return plan;
    const std::int64_t q = std::llround(scaled);
    plan.q[k] = static_cast<std::int32_t>(q);
    // Exact: q 2^-shift is within a factor of two of t, or q is 0.
    rho[k] = static_cast<double>(row[k]) - std::ldexp(static_cast<double>(q), -shift);
    reachInUnits += std::llabs(q) * (k < 3 ? 255 : 1);
  }
  plan.exact = rho[0] == 0 && rho[1] == 0 && rho[2] == 0 && rho[3] == 0;
  if (!plan.exact) {
    // Each 255 |rho| is exact; the additions round by at most 2^-53 each.
    const double integerError =
        (255.0 * (std::fabs(rho[0]) + std::fabs(rho[1]) + std::fabs(rho[2])) + std::fabs(rho[3])) *
        (1.0 + 0x1p-50);
    const double reach =
        255.0 * (std::fabs(row[0]) + std::fabs(row[1]) + std::fabs(row[2])) + std::fabs(row[3]);
    const double bound = std::ldexp(integerError + reach * 0x1p-59, shift);
    if (!(bound < std::ldexp(1.0, shift - 3))) return plan;  // margins of 1/8 or more decide too little
    plan.margin = static_cast<std::int32_t>(std::floor(bound)) + 1;
  }
  if (!fitsInt32(reachInUnits, shift, plan.margin)) return plan;
  plan.reach = reachInUnits;
  plan.shift = shift;
  plan.usable = true;
  return plan;
}

}  // namespace

TwistFixedRow planFixedRow(const Ipp32f row[4], int widestShift) {
  for (int k = 0; k < 4; ++k)
    if (!std::isfinite(row[k])) return {};
  for (int shift = widestShift; shift >= kNarrowestShift; --shift) {
    const TwistFixedRow plan = planAtShift(row, shift);
    if (plan.usable) return plan;
  }
  return {};
}

}  // namespace fc::primitives

namespace fc::primitives {

void shareScaleAndMargin(const Ipp32f twist[3][4], TwistFixedRow* plans[3]) {
  // A row planned again at a smaller scale has a smaller reach but may need
  // a larger margin (coefficients exact at one scale are not at the next),
  // so scale and margin are taken again until every row agrees and fits;
  // scales only decrease.
  std::int32_t margin = 0;
  for (bool replanned = true; replanned;) {
    replanned = false;
    int shift = 64;
    margin = 0;
    for (int c = 0; c < 3; ++c) {
      if (!plans[c]->usable) return;
      shift = std::min(shift, plans[c]->shift);
      if (!plans[c]->exact) margin = std::max(margin, plans[c]->margin);
    }
    for (int c = 0; c < 3; ++c) {
      TwistFixedRow& plan = *plans[c];
      const bool fits = plan.exact || fitsInt32(plan.reach, plan.shift, margin);
      if (plan.shift != shift || !fits) {
        plan = planFixedRow(twist[c], fits ? shift : shift - 1);
        replanned = true;
      }
    }
  }
  for (int c = 0; c < 3; ++c)
    if (!plans[c]->exact) plans[c]->margin = margin;
}

}  // namespace fc::primitives
