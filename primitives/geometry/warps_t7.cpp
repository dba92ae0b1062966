// warps_t7.cpp - t7 variants of rotation, shear and the perspective and
// bilinear warps: the generic engines running AVX2 kernels for the linear
// interpolation and for the perspective positions.
//
// Four destination pixels per step, one per double lane. Every lane performs
// the generic kernel's operations in the same order (the same double
// operations, no fused multiply-add), so the bytes are the generic ones. A
// step whose pixels are only partly accepted, whose loads would reach past
// the source image, and the remainder of a row go to the generic kernels.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "dispatch/primitives.h"
#include "primitives/geometry/warp_engines.h"
#include "primitives/geometry/warp_entry.h"
#include "primitives/geometry/warp_kernels.h"
#include "primitives/variant.h"

FC_VARIANT_TARGET_BEGIN()

namespace fc::primitives::warp {
namespace {

constexpr int kLanes = 4;

/// The x and y of four interleaved (x, y) pairs.
struct Positions {
  __m256d x, y;
};

/// Lanes 0 2 1 3 of v, in the order 0 1 2 3.
__m256d laneOrder(__m256d v) { return _mm256_permute4x64_pd(v, _MM_SHUFFLE(3, 1, 2, 0)); }

Positions loadPositions(const double* xy) {
  const __m256d a = _mm256_loadu_pd(xy);      // x0 y0 x1 y1
  const __m256d b = _mm256_loadu_pd(xy + 4);  // x2 y2 x3 y3
  return {laneOrder(_mm256_unpacklo_pd(a, b)), laneOrder(_mm256_unpackhi_pd(a, b))};
}

/// Lanes whose position lies in `r`, bounds included, as four bits.
int acceptedLanes(const Positions& p, const PixelRect& r) {
  __m256d in = _mm256_and_pd(_mm256_cmp_pd(p.x, _mm256_set1_pd(r.x0), _CMP_GE_OQ),
                             _mm256_cmp_pd(p.x, _mm256_set1_pd(r.x1), _CMP_LE_OQ));
  in = _mm256_and_pd(in, _mm256_cmp_pd(p.y, _mm256_set1_pd(r.y0), _CMP_GE_OQ));
  in = _mm256_and_pd(in, _mm256_cmp_pd(p.y, _mm256_set1_pd(r.y1), _CMP_LE_OQ));
  return _mm256_movemask_pd(in);
}

/// v truncated toward zero and held within 0..limit, NaN giving 0: the
/// generic heldIndex, as a whole double.
__m256d heldIndex(__m256d v, __m256d limit) {
  const __m256d held = _mm256_min_pd(_mm256_max_pd(v, _mm256_setzero_pd()), limit);  // max takes 0 for NaN
  return _mm256_round_pd(held, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
}

/// Sample values truncated toward zero and limited to 0..255, NaN giving 0.
__m128i samples(__m256d v) {
  const __m256d held = _mm256_min_pd(_mm256_max_pd(v, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
  return _mm256_cvttpd_epi32(held);
}

/// Byte offsets y * step + x * channels of four pixels. They stay in a
/// register: a vector store read back in 8-byte parts would stall on the
/// store forwarding.
__m256i pixelOffsets(const SourceImage& s, __m256d x, __m256d y) {
  const __m256i x64 = _mm256_cvtepi32_epi64(_mm256_cvttpd_epi32(x));
  const __m256i y64 = _mm256_cvtepi32_epi64(_mm256_cvttpd_epi32(y));
  const __m256i rows = _mm256_mul_epi32(y64, _mm256_set1_epi64x(s.step));
  const __m256i columns = _mm256_mul_epi32(x64, _mm256_set1_epi64x(s.channels));
  return _mm256_add_epi64(rows, columns);
}

/// The pixels at four offsets.
struct Pointers {
  const Ipp8u* at[4];
};

Pointers pointersAt(const Ipp8u* data, __m256i offsets) {
  const __m128i low = _mm256_castsi256_si128(offsets);
  const __m128i high = _mm256_extracti128_si256(offsets, 1);
  return {{data + _mm_cvtsi128_si64(low), data + _mm_extract_epi64(low, 1), data + _mm_cvtsi128_si64(high),
           data + _mm_extract_epi64(high, 1)}};
}

/// Bytes from the start of the source image to the end of its last pixel.
std::int64_t imageBytes(const SourceImage& s) {
  return static_cast<std::int64_t>(s.height - 1) * s.step + static_cast<std::int64_t>(s.width) * s.channels;
}

std::uint64_t load64(const Ipp8u* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

std::uint32_t load32(const Ipp8u* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

/// First indices of the linear cells of four positions along one axis and
/// the weights of their second samples (see the generic linearTap).
struct LinearTaps {
  __m256d index, fraction;
};

LinearTaps linearTaps(__m256d s, int size) {
  const __m256d limit = _mm256_set1_pd(size - 1);
  __m256d index = heldIndex(_mm256_add_pd(s, _mm256_set1_pd(0.0000001)), limit);
  __m256d fraction = _mm256_sub_pd(s, index);
  const __m256d atLast = _mm256_cmp_pd(index, limit, _CMP_GE_OQ);
  index = _mm256_blendv_pd(index, _mm256_set1_pd(size - 2), atLast);
  fraction = _mm256_blendv_pd(fraction, _mm256_set1_pd(1.0), atLast);
  return {index, fraction};
}

/// top = a + (b - a) * fx per row, then top + 0.5 + (bottom - top) * fy.
__m256d blendCell(__m256d a, __m256d b, __m256d c, __m256d d, __m256d fx, __m256d fy) {
  const __m256d top = _mm256_add_pd(a, _mm256_mul_pd(_mm256_sub_pd(b, a), fx));
  const __m256d bottom = _mm256_add_pd(c, _mm256_mul_pd(_mm256_sub_pd(d, c), fx));
  return _mm256_add_pd(_mm256_add_pd(top, _mm256_set1_pd(0.5)), _mm256_mul_pd(_mm256_sub_pd(bottom, top), fy));
}

__m256d lowDoubles(__m256i v) { return _mm256_cvtepi32_pd(_mm256_castsi256_si128(v)); }
__m256d highDoubles(__m256i v) { return _mm256_cvtepi32_pd(_mm256_extracti128_si256(v, 1)); }

/// One row of four three-channel cells, `below` bytes under the cells' first
/// row: 8 bytes each, its two pixels and two bytes beyond.
__m256i cellRowsC3(const Pointers& cells, std::ptrdiff_t below) {
  const auto at = [&](int lane) { return static_cast<long long>(load64(cells.at[lane] + below)); };
  return _mm256_set_epi64x(at(3), at(2), at(1), at(0));
}

/// Four linear pixels of three channels from their cells.
void linearStepC3(const Pointers& cells, int step, __m256d fx, __m256d fy, Ipp8u* out) {
  const __m256i upper = cellRowsC3(cells, 0), lower = cellRowsC3(cells, step);
  // Per 128-bit lane (two pixels): the first and the second sample of
  // channel c of both, as 32-bit values; then the first samples of all four
  // pixels in the low half, the second in the high half.
  const __m256i gather = _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7);
  __m128i channel[3];
  for (int c = 0; c < 3; ++c) {
    const char z = -1;
    const __m256i pick = _mm256_setr_epi8(
        char(c), z, z, z, char(8 + c), z, z, z, char(3 + c), z, z, z, char(11 + c), z, z, z,
        char(c), z, z, z, char(8 + c), z, z, z, char(3 + c), z, z, z, char(11 + c), z, z, z);
    const __m256i u = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(upper, pick), gather);
    const __m256i l = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(lower, pick), gather);
    channel[c] = samples(blendCell(lowDoubles(u), highDoubles(u), lowDoubles(l), highDoubles(l), fx, fy));
  }
  const __m128i words = _mm_packus_epi32(channel[0], channel[1]);
  const __m128i bytes = _mm_packus_epi16(words, _mm_packus_epi32(channel[2], channel[2]));
  const __m128i pixels = _mm_shuffle_epi8(bytes, _mm_setr_epi8(0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7, 11, -1, -1, -1, -1));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), pixels);
  const std::uint32_t last = static_cast<std::uint32_t>(_mm_extract_epi32(pixels, 2));
  std::memcpy(out + 8, &last, 4);
}

/// One row of four one-channel cells: 4 bytes each, its two pixels and two
/// bytes beyond.
__m128i cellRowsC1(const Pointers& cells, std::ptrdiff_t below) {
  const auto at = [&](int lane) { return static_cast<int>(load32(cells.at[lane] + below)); };
  return _mm_setr_epi32(at(0), at(1), at(2), at(3));
}

/// The byte `index` (0 to 3) of each 32-bit value, as doubles.
__m256d byteOf(__m128i v, int index) {
  return _mm256_cvtepi32_pd(_mm_and_si128(_mm_srl_epi32(v, _mm_cvtsi32_si128(8 * index)), _mm_set1_epi32(0xFF)));
}

/// Four linear pixels of one channel from their cells.
void linearStepC1(const Pointers& cells, int step, __m256d fx, __m256d fy, Ipp8u* out) {
  const __m128i upper = cellRowsC1(cells, 0), lower = cellRowsC1(cells, step);
  const __m128i values = samples(blendCell(byteOf(upper, 0), byteOf(upper, 1), byteOf(lower, 0), byteOf(lower, 1), fx, fy));
  const __m128i words = _mm_packus_epi32(values, values);
  const __m128i bytes = _mm_packus_epi16(words, words);
  const std::uint32_t four = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
  std::memcpy(out, &four, 4);
}

/// One step of the linear kernel; false when its loads would reach past the
/// image (the caller then takes the generic kernel).
template <int C>
bool linearStep(const SourceImage& s, const Positions& p, std::int64_t lastLoadable, Ipp8u* out) {
  const LinearTaps tx = linearTaps(p.x, s.width);
  const LinearTaps ty = linearTaps(p.y, s.height);
  const __m256i offsets = pixelOffsets(s, tx.index, ty.index);
  if (_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpgt_epi64(offsets, _mm256_set1_epi64x(lastLoadable)))) != 0)
    return false;
  const Pointers cells = pointersAt(s.data, offsets);
  if constexpr (C == 3)
    linearStepC3(cells, s.step, tx.fraction, ty.fraction, out);
  else
    linearStepC1(cells, s.step, tx.fraction, ty.fraction, out);
  return true;
}

template <int C>
long long interpolateRowOf(const SourceImage& s, Kernel kernel, const double* positions, int count, Ipp8u* dstRow,
                           const PixelRect* accept) {
  // Offsets of an upper cell row whose loads (8 bytes for three channels, 4
  // for one, in the row below too) stay within the image.
  const std::int64_t lastLoadable = imageBytes(s) - s.step - (C == 3 ? 8 : 4);
  long long written = 0;
  int i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    const double* xy = positions + 2 * i;
    Ipp8u* out = dstRow + static_cast<std::ptrdiff_t>(i) * C;
    const Positions p = loadPositions(xy);
    if (accept != nullptr) {
      const int lanes = acceptedLanes(p, *accept);
      if (lanes == 0) continue;
      if (lanes != 0xF) {
        written += kGenericWarpKernels.interpolateRow(s, kernel, xy, kLanes, out, accept);
        continue;
      }
    }
    if (!linearStep<C>(s, p, lastLoadable, out))
      kGenericWarpKernels.interpolateRow(s, kernel, xy, kLanes, out, nullptr);
    written += kLanes;
  }
  return written + kGenericWarpKernels.interpolateRow(s, kernel, positions + 2 * i, count - i,
                                                      dstRow + static_cast<std::ptrdiff_t>(i) * C, accept);
}

long long interpolateRowAvx2(const SourceImage& src, Kernel kernel, const double* positions, int count,
                             Ipp8u* dstRow, const PixelRect* accept) {
  // Nearest and cubic pixels: the generic kernels (a nearest pixel is a
  // copy, which gains nothing from the vector lanes).
  if (kernel != Kernel::linear) return kGenericWarpKernels.interpolateRow(src, kernel, positions, count, dstRow, accept);
  return src.channels == 3 ? interpolateRowOf<3>(src, kernel, positions, count, dstRow, accept)
                           : interpolateRowOf<1>(src, kernel, positions, count, dstRow, accept);
}

/// (a x + b y) + c for the map row (a, b, c), left to right as in the
/// generic loop.
__m256d affineSum(const double* row, __m256d x, __m256d y) {
  return _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(row[0]), x), _mm256_mul_pd(_mm256_set1_pd(row[1]), y)),
                       _mm256_set1_pd(row[2]));
}

void projectRowAvx2(const double (*m)[3], int y, int first, int count, double* xy) {
  const __m256d py = _mm256_set1_pd(y);
  int i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    const __m256d px = _mm256_cvtepi32_pd(_mm_add_epi32(_mm_set1_epi32(first + i), _mm_setr_epi32(0, 1, 2, 3)));
    const __m256d w = affineSum(m[2], px, py);
    const __m256d x = _mm256_div_pd(affineSum(m[0], px, py), w);
    const __m256d yy = _mm256_div_pd(affineSum(m[1], px, py), w);
    const __m256d even = _mm256_unpacklo_pd(x, yy);  // x0 y0 x2 y2
    const __m256d odd = _mm256_unpackhi_pd(x, yy);   // x1 y1 x3 y3
    _mm256_storeu_pd(xy + 2 * i, _mm256_permute2f128_pd(even, odd, 0x20));
    _mm256_storeu_pd(xy + 2 * i + 4, _mm256_permute2f128_pd(even, odd, 0x31));
  }
  kGenericWarpKernels.projectRow(m, y, first + i, count - i, xy + 2 * i);
}

constinit const WarpKernels kAvx2WarpKernels{interpolateRowAvx2, projectRowAvx2};

}  // namespace
}  // namespace fc::primitives::warp

FC_VARIANT_TARGET_END()

#define FC_T7_WARP_ENTRY(name, channels, engine, params, args) \
  FC_DEFINE_WARP_VARIANT_ENTRY(t7, fc::primitives::warp::kAvx2WarpKernels, name, channels, engine, params, args)

FC_FOR_EACH_WARP_ENTRY(FC_T7_WARP_ENTRY)
