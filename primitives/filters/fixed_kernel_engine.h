// fixed_kernel_engine.h - convolution of three-channel 8-bit images with a
// small fixed integer kernel, shared by the fixed-kernel filters.
//
// The kernel is described as a few horizontal row kernels ("kinds") and, for
// every row of the window, the weight of each kind's row sum in that row:
//   v = sum over dy, kind of kWeights[dy][kind] * (kTaps[kind] applied to row dy)
// Separable kernels need one kind; the symmetric 5x5 kernels need three.
// Each source row is reduced once per kind into a ring of 32-bit row sums
// (one slot per window row), and every destination row combines the ring's
// slots vertically, so the work per pixel does not grow with the image.
// Compiled once per code variant (see primitives/variant.h).
#pragma once

#include <climits>
#include <cstddef>
#include <utility>

#include "dispatch/primitives.h"
#include "primitives/color/point_checks.h"
#include "primitives/variant.h"

namespace fc::primitives {
inline namespace FC_VARIANT_TAG {

/// Bytes per pixel of the images the fixed-kernel filters work on.
inline constexpr int kFixedKernelChannels = 3;

/// Limits v to 0..255.
constexpr Ipp8u saturateToByte(int v) { return static_cast<Ipp8u>(v < 0 ? 0 : v > 255 ? 255 : v); }

/// Sums of the 3x3 and 5x5 neighbourhoods, centre included. Kernels built on
/// them add finish().
struct BoxSum3x3 {
  static constexpr int kRadius = 1;
  static constexpr int kKinds = 1;
  static constexpr int kTaps[1][3] = {{1, 1, 1}};
  static constexpr int kWeights[3][1] = {{1}, {1}, {1}};
};

struct BoxSum5x5 {
  static constexpr int kRadius = 2;
  static constexpr int kKinds = 1;
  static constexpr int kTaps[1][5] = {{1, 1, 1, 1, 1}};
  static constexpr int kWeights[5][1] = {{1}, {1}, {1}, {1}, {1}};
};

/// A 5x5 kernel symmetric in both directions whose rows -2..2 are the row
/// kernels A B C B A. Kernels built on it add kTaps (A, B, C) and finish().
struct SymmetricRows5x5 {
  static constexpr int kRadius = 2;
  static constexpr int kKinds = 3;
  static constexpr int kWeights[5][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
};

/// Requirements on Kernel:
///   static constexpr int kRadius;                        1 (3x3) or 2 (5x5)
///   static constexpr int kKinds;                         number of row kernels
///   static constexpr int kTaps[kKinds][2 * kRadius + 1]; dx = -kRadius..kRadius
///   static constexpr int kWeights[2 * kRadius + 1][kKinds]; dy = -kRadius..kRadius
///   static Ipp8u finish(int v, int centre);              destination byte from v
///                                                        and the source byte
template <class Kernel>
class FixedKernelFilter {
  static constexpr int kRadius = Kernel::kRadius;
  static constexpr int kSpan = 2 * kRadius + 1;
  static constexpr int kKinds = Kernel::kKinds;

 public:
  FixedKernelFilter(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize)
      : src_(pSrc), srcStep_(srcStep), dst_(pDst), dstStep_(dstStep), height_(roiSize.height),
        rowLength_(static_cast<std::ptrdiff_t>(roiSize.width) * kFixedKernelChannels) {}

  /// Filters the region; the arguments must have passed the checks.
  /// ippStsMemAllocErr (nothing written) when the row sums cannot be held.
  IppStatus run() {
    const std::ptrdiff_t ringLength = rowLength_ * kSpan * kKinds;
    if (ringLength > INT_MAX) return ippStsMemAllocErr;
    ring_ = ippsMalloc_32s(static_cast<int>(ringLength));
    if (ring_ == nullptr) return ippStsMemAllocErr;
    for (std::ptrdiff_t row = -kRadius; row < kRadius; ++row) sumRow(row);
    for (std::ptrdiff_t y = 0; y < height_; ++y) {
      sumRow(y + kRadius);
      combineRow(y);
    }
    ippsFree(ring_);
    ring_ = nullptr;
    return ippStsNoErr;
  }

 private:
  const Ipp8u* sourceRow(std::ptrdiff_t row) const { return src_ + row * srcStep_; }

  /// The ring slot of one kind's sums of source row `row` (row >= -kRadius).
  Ipp32s* rowSums(int kind, std::ptrdiff_t row) const {
    const std::ptrdiff_t slot = (row + kRadius) % kSpan;
    return ring_ + (kind * kSpan + slot) * rowLength_;
  }

  // The taps and weights are folded in at compile time, so zero terms vanish
  // and the multiplications by small constants can be vectorised.

  /// Applies every row kernel to source row `row`.
  void sumRow(std::ptrdiff_t row) { sumRowKinds(row, std::make_integer_sequence<int, kKinds>{}); }

  template <int... Kind>
  void sumRowKinds(std::ptrdiff_t row, std::integer_sequence<int, Kind...>) {
    (sumRowKind<Kind>(sourceRow(row), rowSums(Kind, row)), ...);
  }

  template <int Kind>
  void sumRowKind(const Ipp8u* src, Ipp32s* __restrict out) {
    for (std::ptrdiff_t i = 0; i < rowLength_; ++i)
      out[i] = applyTaps<Kind>(src + i, std::make_integer_sequence<int, kSpan>{});
  }

  template <int Kind, int... Tap>
  static int applyTaps(const Ipp8u* p, std::integer_sequence<int, Tap...>) {
    return (0 + ... + (Kernel::kTaps[Kind][Tap] * p[(Tap - kRadius) * kFixedKernelChannels]));
  }

  /// Weighs the ring's row sums for destination row y and writes the row.
  void combineRow(std::ptrdiff_t y) { combineRowTerms(y, std::make_integer_sequence<int, kSpan * kKinds>{}); }

  // Term t is row sum kind t % kKinds of window row t / kKinds.
  template <int... Term>
  void combineRowTerms(std::ptrdiff_t y, std::integer_sequence<int, Term...>) {
    const Ipp32s* const sums[] = {rowSums(Term % kKinds, y - kRadius + Term / kKinds)...};
    const Ipp8u* centre = sourceRow(y);
    Ipp8u* __restrict dst = dst_ + y * dstStep_;
    for (std::ptrdiff_t i = 0; i < rowLength_; ++i) {
      const int v = (0 + ... + (Kernel::kWeights[Term / kKinds][Term % kKinds] * sums[Term][i]));
      dst[i] = Kernel::finish(v, centre[i]);
    }
  }

  const Ipp8u* src_;
  std::ptrdiff_t srcStep_;
  Ipp8u* dst_;
  std::ptrdiff_t dstStep_;
  std::ptrdiff_t height_;
  std::ptrdiff_t rowLength_;
  Ipp32s* ring_ = nullptr;
};

/// Filters the region with Kernel. A variant with a routine of its own for a
/// kernel specialises this before the entries are defined.
template <class Kernel>
struct RegionFilter {
  static IppStatus run(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
    return FixedKernelFilter<Kernel>(pSrc, srcStep, pDst, dstStep, roiSize).run();
  }
};

/// Checks the arguments, then filters with Kernel.
template <class Kernel>
IppStatus filterWithKernel(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  const IppStatus status = checkTwoImages(pSrc, srcStep, pDst, dstStep, roiSize);
  if (status != ippStsNoErr) return status;
  return RegionFilter<Kernel>::run(pSrc, srcStep, pDst, dstStep, roiSize);
}

/// Checks the arguments, then filters with Kernel3x3 for mask code 33 and
/// Kernel5x5 for 55; any other code is ippStsMaskSizeErr, found before
/// anything is allocated.
template <class Kernel3x3, class Kernel5x5>
IppStatus filterWithMaskCode(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                             int mask) {
  const IppStatus status = checkTwoImages(pSrc, srcStep, pDst, dstStep, roiSize);
  if (status != ippStsNoErr) return status;
  switch (mask) {
    case ippMskSize3x3: return RegionFilter<Kernel3x3>::run(pSrc, srcStep, pDst, dstStep, roiSize);
    case ippMskSize5x5: return RegionFilter<Kernel5x5>::run(pSrc, srcStep, pDst, dstStep, roiSize);
    default: return ippStsMaskSizeErr;
  }
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::primitives
