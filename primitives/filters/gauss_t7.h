// gauss_t7.h - the 3x3 and 5x5 Gauss filters with AVX2, for the t7 variant.
// Included by that variant's source between the target switches, before the
// entries, so the Gauss entry runs these routines. Both give the generic
// engine's bytes: their sums are exact integers, taken in another order.
//
// 3x3: the kernel is 1 2 1 by 1 2 1, so a vertical sum t = above + 2 centre +
// below per source column, then t-1 + 2 t0 + t+1, gives v (at most 4080) in
// 16-bit lanes, and v / 16 is rounded to even in them as well.
//
// 5x5: the kernel is symmetric both ways, so each destination byte needs only
// three vertical sums per source column: a = rows -2 and +2, b = rows -1 and
// +1, c = row 0. Grouped by weight, with columns at -2..+2 pixels:
//   v = 2 (a-2 + a+2) + 7 (a-1 + a+1 + b-2 + b+2) + 12 (a0 + c-2 + c+2)
//     + 31 (b-1 + b+1) + 52 (b0 + c-1 + c+1) + 127 c0
// Every group fits 16 bits; pairs of groups are weighed and added into 32-bit
// lanes by one multiply-add each. The result is the defined
// ((v + 286) * 29382) >> 24 in unsigned 32-bit arithmetic.
#pragma once

#include <immintrin.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "primitives/filters/fixed_kernel_engine.h"
#include "primitives/filters/fixed_kernels.h"

namespace fc::primitives {
inline namespace FC_VARIANT_TAG {
namespace gauss {

/// Byte distance of the neighbouring pixel of the same channel.
inline constexpr int kPixel = kFixedKernelChannels;

inline __m256i widenBytes(const Ipp8u* p) {
  return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}
inline __m256i load16(const Ipp16u* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void store16(Ipp16u* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

/// Stores two vectors of sixteen byte values held in 16-bit lanes as 32
/// bytes in order.
inline void storeBytes(Ipp8u* dst, __m256i first, __m256i second) {
  const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), 0xD8);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), bytes);
}

/// Calls block(i) for i = 0, Step, 2 Step ... while a block fits in n lanes,
/// then once for the block ending at lane n, which overlaps the one before
/// and writes the same values again; lane(i) for each lane when n is below
/// one block.
template <std::ptrdiff_t Step, class Block, class Lane>
void forEachBlock(std::ptrdiff_t n, Block block, Lane lane) {
  if (n < Step) {
    for (std::ptrdiff_t i = 0; i < n; ++i) lane(i);
    return;
  }
  std::ptrdiff_t i = 0;
  for (; i + Step <= n; i += Step) block(i);
  if (i < n) block(n - Step);
}

/// Destination bytes of a row filtered at a time. The work lanes of such a
/// stretch are combined while they are still in the first-level cache; a
/// whole 1920-pixel row's lanes would not fit there.
inline constexpr std::ptrdiff_t kStretchBytes = 1024;

/// Work lanes of one stretch: `stride` lanes per folded array.
struct Stretch {
  Ipp16u* work;
  std::ptrdiff_t stride;
};

/// Runs a filter over each row in stretches of at most kStretchBytes bytes,
/// with `arrays` folded arrays of 16-bit lanes per stretch: fold(leftmost
/// readable column of the stretch's centre row, lanes, stretch) then
/// combine(stretch, length, destination of the stretch), where a stretch of
/// `length` destination bytes has length + 2 * apron lanes.
template <class Fold, class Combine>
IppStatus filterRows(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize, int apron,
                     int arrays, Fold fold, Combine combine) {
  const std::ptrdiff_t rowLength = static_cast<std::ptrdiff_t>(roiSize.width) * kFixedKernelChannels;
  // A region whose rows of sums could not be counted in an int is refused
  // with nothing written, as the generic engine refuses one whose row sums
  // it cannot hold.
  if (arrays * (rowLength + 2 * apron) > INT_MAX) return ippStsMemAllocErr;
  const std::ptrdiff_t stride = std::min(rowLength, kStretchBytes) + 2 * apron;
  const Stretch stretch{ippsMalloc_16u(static_cast<int>(arrays * stride)), stride};
  if (stretch.work == nullptr) return ippStsMemAllocErr;
  for (std::ptrdiff_t y = 0; y < roiSize.height; ++y) {
    for (std::ptrdiff_t x = 0; x < rowLength; x += kStretchBytes) {
      const std::ptrdiff_t length = std::min(kStretchBytes, rowLength - x);
      fold(pSrc + y * srcStep + x - apron, length + 2 * apron, stretch);
      combine(stretch, length, pDst + y * dstStep + x);
    }
  }
  ippsFree(stretch.work);
  return ippStsNoErr;
}

namespace by3x3 {

/// Columns of a folded row on each side of the region: one pixel.
inline constexpr int kApron = kPixel;

/// t = above + 2 centre + below for `lanes` columns from `centre`.
inline void foldRows(const Ipp8u* centre, std::ptrdiff_t step, std::ptrdiff_t lanes, Ipp16u* t) {
  const Ipp8u* above = centre - step;
  const Ipp8u* below = centre + step;
  forEachBlock<16>(
      lanes,
      [&](std::ptrdiff_t j) {
        const __m256i outer = _mm256_add_epi16(widenBytes(above + j), widenBytes(below + j));
        store16(t + j, _mm256_add_epi16(outer, _mm256_slli_epi16(widenBytes(centre + j), 1)));
      },
      [&](std::ptrdiff_t j) { t[j] = static_cast<Ipp16u>(above[j] + 2 * centre[j] + below[j]); });
}

/// v / 16 rounded half to even: adding 7 plus bit 4 of v before the shift.
inline Ipp8u combineLane(const Ipp16u* t) {
  const int v = t[-kPixel] + 2 * t[0] + t[kPixel];
  return static_cast<Ipp8u>((v + 7 + ((v >> 4) & 1)) >> 4);
}

inline __m256i combine16(const Ipp16u* t) {
  const __m256i v = _mm256_add_epi16(_mm256_add_epi16(load16(t - kPixel), load16(t + kPixel)),
                                     _mm256_slli_epi16(load16(t), 1));
  const __m256i bit4 = _mm256_and_si256(_mm256_srli_epi16(v, 4), _mm256_set1_epi16(1));
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(v, _mm256_set1_epi16(7)), bit4), 4);
}

inline void combineRow(const Ipp16u* folded, std::ptrdiff_t rowLength, Ipp8u* dst) {
  const Ipp16u* t = folded + kApron;
  forEachBlock<32>(
      rowLength, [&](std::ptrdiff_t i) { storeBytes(dst + i, combine16(t + i), combine16(t + i + 16)); },
      [&](std::ptrdiff_t i) { dst[i] = combineLane(t + i); });
}

inline IppStatus filterRegion(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  return filterRows(
      pSrc, srcStep, pDst, dstStep, roiSize, kApron, 1,
      [&](const Ipp8u* centre, std::ptrdiff_t lanes, Stretch s) { foldRows(centre, srcStep, lanes, s.work); },
      [&](Stretch s, std::ptrdiff_t length, Ipp8u* dst) { combineRow(s.work, length, dst); });
}

}  // namespace by3x3

namespace by5x5 {

/// Columns of a folded row on each side of the region: two pixels.
inline constexpr int kApron = 2 * kPixel;

/// The three vertical sums of one destination row, each over the region's
/// columns and kApron columns on either side.
struct FoldedRow {
  Ipp16u* a;
  Ipp16u* b;
  Ipp16u* c;
};

/// Folds the five source rows around `centre` (lanes bytes from centre's
/// leftmost readable column) into a, b and c.
inline void foldRows(const Ipp8u* centre, std::ptrdiff_t step, std::ptrdiff_t lanes, const FoldedRow& out) {
  const Ipp8u* up2 = centre - 2 * step;
  const Ipp8u* up1 = centre - step;
  const Ipp8u* down1 = centre + step;
  const Ipp8u* down2 = centre + 2 * step;
  forEachBlock<16>(
      lanes,
      [&](std::ptrdiff_t j) {
        store16(out.a + j, _mm256_add_epi16(widenBytes(up2 + j), widenBytes(down2 + j)));
        store16(out.b + j, _mm256_add_epi16(widenBytes(up1 + j), widenBytes(down1 + j)));
        store16(out.c + j, widenBytes(centre + j));
      },
      [&](std::ptrdiff_t j) {
        out.a[j] = static_cast<Ipp16u>(up2[j] + down2[j]);
        out.b[j] = static_cast<Ipp16u>(up1[j] + down1[j]);
        out.c[j] = centre[j];
      });
}

/// The destination byte of lane i (a, b and c point at the lane's column).
inline Ipp8u combineLane(const Ipp16u* a, const Ipp16u* b, const Ipp16u* c) {
  const int v = 2 * (a[-6] + a[6]) + 7 * (a[-3] + a[3] + b[-6] + b[6]) + 12 * (a[0] + c[-6] + c[6]) +
                31 * (b[-3] + b[3]) + 52 * (b[0] + c[-3] + c[3]) + 127 * c[0];
  return static_cast<Ipp8u>((static_cast<std::uint32_t>(v + 286) * 29382u) >> 24);
}

/// Weight pairs for the multiply-adds: low half weighs the first group.
inline __m256i weightPair(int first, int second) { return _mm256_set1_epi32(first | (second << 16)); }

/// Sixteen destination values (one per 16-bit lane) at the lanes a, b and c
/// point at.
inline __m256i combine16(const Ipp16u* a, const Ipp16u* b, const Ipp16u* c) {
  const __m256i w2 = _mm256_add_epi16(load16(a - 6), load16(a + 6));
  const __m256i w7 = _mm256_add_epi16(_mm256_add_epi16(load16(a - 3), load16(a + 3)),
                                      _mm256_add_epi16(load16(b - 6), load16(b + 6)));
  const __m256i w12 = _mm256_add_epi16(load16(a), _mm256_add_epi16(load16(c - 6), load16(c + 6)));
  const __m256i w31 = _mm256_add_epi16(load16(b - 3), load16(b + 3));
  const __m256i w52 = _mm256_add_epi16(load16(b), _mm256_add_epi16(load16(c - 3), load16(c + 3)));
  const __m256i w127 = load16(c);
  const __m256i k2and7 = weightPair(2, 7), k12and31 = weightPair(12, 31), k52and127 = weightPair(52, 127);
  const __m256i rounding = _mm256_set1_epi32(286), scale = _mm256_set1_epi32(29382);
  // unpacklo/unpackhi take lanes 0-3 and 4-7 of each 128-bit half; the
  // final pack puts them back in order.
  const auto weigh = [&](__m256i p2and7, __m256i p12and31, __m256i p52and127) {
    const __m256i v = _mm256_add_epi32(_mm256_add_epi32(_mm256_madd_epi16(p2and7, k2and7),
                                                        _mm256_madd_epi16(p12and31, k12and31)),
                                       _mm256_madd_epi16(p52and127, k52and127));
    return _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_add_epi32(v, rounding), scale), 24);
  };
  const __m256i low = weigh(_mm256_unpacklo_epi16(w2, w7), _mm256_unpacklo_epi16(w12, w31),
                            _mm256_unpacklo_epi16(w52, w127));
  const __m256i high = weigh(_mm256_unpackhi_epi16(w2, w7), _mm256_unpackhi_epi16(w12, w31),
                             _mm256_unpackhi_epi16(w52, w127));
  return _mm256_packus_epi32(low, high);
}

/// Writes one destination row of rowLength bytes from the folded row.
inline void combineRow(const FoldedRow& folded, std::ptrdiff_t rowLength, Ipp8u* dst) {
  const Ipp16u* a = folded.a + kApron;
  const Ipp16u* b = folded.b + kApron;
  const Ipp16u* c = folded.c + kApron;
  forEachBlock<32>(
      rowLength,
      [&](std::ptrdiff_t i) {
        storeBytes(dst + i, combine16(a + i, b + i, c + i), combine16(a + i + 16, b + i + 16, c + i + 16));
      },
      [&](std::ptrdiff_t i) { dst[i] = combineLane(a + i, b + i, c + i); });
}

/// The three folded arrays of a stretch.
inline FoldedRow foldedRowOf(Stretch s) { return {s.work, s.work + s.stride, s.work + 2 * s.stride}; }

inline IppStatus filterRegion(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  return filterRows(
      pSrc, srcStep, pDst, dstStep, roiSize, kApron, 3,
      [&](const Ipp8u* centre, std::ptrdiff_t lanes, Stretch s) {
        foldRows(centre, srcStep, lanes, foldedRowOf(s));
      },
      [&](Stretch s, std::ptrdiff_t length, Ipp8u* dst) { combineRow(foldedRowOf(s), length, dst); });
}

}  // namespace by5x5
}  // namespace gauss

template <>
struct RegionFilter<kernels::Gauss3x3> {
  static IppStatus run(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
    return gauss::by3x3::filterRegion(pSrc, srcStep, pDst, dstStep, roiSize);
  }
};

template <>
struct RegionFilter<kernels::Gauss5x5> {
  static IppStatus run(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
    return gauss::by5x5::filterRegion(pSrc, srcStep, pDst, dstStep, roiSize);
  }
};

}  // namespace FC_VARIANT_TAG
}  // namespace fc::primitives
