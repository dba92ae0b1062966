// warps_t7.cpp - t7 variants of rotation, shear and the perspective and
// bilinear warps: the generic engines running AVX2 kernels for the nearest,
// linear and cubic interpolation and for the perspective positions.
//
// Four or eight destination pixels per step, one per vector lane. Every lane
// performs the generic kernel's operations in the same order (the same
// double operations, no fused multiply-add), so the bytes are the generic
// ones. A step whose pixels are only partly accepted, whose loads would reach
// past the source image, whose cubic taps are held at the image's edge, and
// the remainder of a row go to the generic kernels.
#include <immintrin.h>

#include <climits>
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

/// Byte offsets y * step + x * channels of four pixels at whole positions
/// inside the image. They are whole numbers far below 2^52, so the double
/// sums are exact, and adding 2^52 leaves each in the low bits of its lane.
/// They stay in a register: a vector store read back in 8-byte parts would
/// stall on the store forwarding.
__m256i pixelOffsets(const SourceImage& s, __m256d x, __m256d y) {
  const __m256d offsets =
      _mm256_add_pd(_mm256_mul_pd(y, _mm256_set1_pd(s.step)), _mm256_mul_pd(x, _mm256_set1_pd(s.channels)));
  const __m256d twoTo52 = _mm256_set1_pd(4503599627370496.0);
  return _mm256_sub_epi64(_mm256_castpd_si256(_mm256_add_pd(offsets, twoTo52)), _mm256_castpd_si256(twoTo52));
}

/// Whether none of four offsets exceeds `last`.
bool allAtMost(__m256i offsets, std::int64_t last) {
  return _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpgt_epi64(offsets, _mm256_set1_epi64x(last)))) == 0;
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
  if (_mm256_movemask_pd(atLast) == 0) return {index, fraction};
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


/// Four three-channel pixels, each channel's four samples (0 to 255) in
/// 32-bit lanes, stored as twelve bytes.
void storePixelsC3(const __m128i channel[3], Ipp8u* out) {
  const __m128i words = _mm_packus_epi32(channel[0], channel[1]);
  const __m128i bytes = _mm_packus_epi16(words, _mm_packus_epi32(channel[2], channel[2]));
  const __m128i pixels = _mm_shuffle_epi8(bytes, _mm_setr_epi8(0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7, 11, -1, -1, -1, -1));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), pixels);
  const std::uint32_t last = static_cast<std::uint32_t>(_mm_extract_epi32(pixels, 2));
  std::memcpy(out + 8, &last, 4);
}

/// Four one-channel pixels, their samples (0 to 255) in 32-bit lanes,
/// stored as four bytes.
void storePixelsC1(__m128i values, Ipp8u* out) {
  const __m128i words = _mm_packus_epi32(values, values);
  const __m128i bytes = _mm_packus_epi16(words, words);
  const std::uint32_t four = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
  std::memcpy(out, &four, 4);
}

/// One row of four three-channel cells, `below` bytes under the cells' first
/// row: 8 bytes each, its two pixels and two bytes beyond.
__m256i cellRowsC3(const Pointers& cells, std::ptrdiff_t below) {
  const auto at = [&](int lane) { return static_cast<long long>(load64(cells.at[lane] + below)); };
  return _mm256_set_epi64x(at(3), at(2), at(1), at(0));
}

/// Bytes held in 64-bit lanes as exact doubles: OR-ed into the bit pattern
/// of 2^52, each lane reads as 2^52 + v, from which 2^52 is taken exactly.
__m256d exactDoubles(__m256i bytes) {
  const __m256i twoTo52 = _mm256_set1_epi64x(0x4330000000000000);
  return _mm256_sub_pd(_mm256_castsi256_pd(_mm256_or_si256(bytes, twoTo52)), _mm256_castsi256_pd(twoTo52));
}

/// Byte `index` of each 64-bit lane as a double.
__m256d byteOfLanes(__m256i v, int index) {
  const char z = -1, i = static_cast<char>(index), j = static_cast<char>(8 + index);
  return exactDoubles(_mm256_shuffle_epi8(v, _mm256_setr_epi8(i, z, z, z, z, z, z, z, j, z, z, z, z, z, z, z,  //
                                                              i, z, z, z, z, z, z, z, j, z, z, z, z, z, z, z)));
}

/// Four linear pixels of three channels from their cells: each cell row is
/// one 64-bit lane, channel c's first sample its byte c, the second byte
/// 3 + c.
void linearStepC3(const Pointers& cells, int step, __m256d fx, __m256d fy, Ipp8u* out) {
  const __m256i upper = cellRowsC3(cells, 0), lower = cellRowsC3(cells, step);
  __m128i channel[3];
  for (int c = 0; c < 3; ++c) {
    channel[c] = samples(blendCell(byteOfLanes(upper, c), byteOfLanes(upper, 3 + c), byteOfLanes(lower, c),
                                   byteOfLanes(lower, 3 + c), fx, fy));
  }
  storePixelsC3(channel, out);
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
  const __m256i upper = _mm256_cvtepu32_epi64(cellRowsC1(cells, 0));
  const __m256i lower = _mm256_cvtepu32_epi64(cellRowsC1(cells, step));
  storePixelsC1(samples(blendCell(byteOfLanes(upper, 0), byteOfLanes(upper, 1), byteOfLanes(lower, 0),
                                  byteOfLanes(lower, 1), fx, fy)),
                out);
}

/// Pixels ahead of the current step whose source cells are fetched early. A
/// rotated or sheared row crosses a new source row every pixel or two, in an
/// order the processor's own prefetchers do not follow, so without this the
/// step waits on its loads.
constexpr int kPrefetchAhead = 64;

/// Asks for both source rows of the linear cells of the first and third of
/// the four positions at xy: two pixels of a row lie at most two source rows
/// apart under a rotation, so these cover nearly all of a step's rows, and
/// the next step's cover the rest. The addresses are hints: a position
/// outside the image names a wrong line and costs a useless fetch, never a
/// fault.
template <int C>
void prefetchCells(const SourceImage& s, const double* xy) {
  for (int lane = 0; lane < kLanes; lane += 2) {
    const double* at = xy + 2 * lane;
    const std::int64_t offset = static_cast<std::int64_t>(_mm_cvttsd_si32(_mm_set_sd(at[1]))) * s.step +
                                static_cast<std::int64_t>(_mm_cvttsd_si32(_mm_set_sd(at[0]))) * C;
    const char* cell = reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(s.data) + offset);
    _mm_prefetch(cell, _MM_HINT_T0);
    _mm_prefetch(cell + s.step, _MM_HINT_T0);
  }
}

/// One step of the linear kernel; false when its loads would reach past the
/// image (the caller then takes the generic kernel).
template <int C>
bool linearStep(const SourceImage& s, const Positions& p, std::int64_t lastLoadable, Ipp8u* out) {
  const LinearTaps tx = linearTaps(p.x, s.width);
  const LinearTaps ty = linearTaps(p.y, s.height);
  const __m256i offsets = pixelOffsets(s, tx.index, ty.index);
  if (!allAtMost(offsets, lastLoadable)) return false;
  const Pointers cells = pointersAt(s.data, offsets);
  if constexpr (C == 3)
    linearStepC3(cells, s.step, tx.fraction, ty.fraction, out);
  else
    linearStepC1(cells, s.step, tx.fraction, ty.fraction, out);
  return true;
}

/// Which of the `Lanes` positions at xy lie in `accept` (all when it is
/// null), one bit each.
template <int Lanes>
int acceptedOf(const double* xy, const PixelRect* accept) {
  constexpr int kAll = (1 << Lanes) - 1;
  if (accept == nullptr) return kAll;
  int lanes = 0;
  for (int k = 0; k < Lanes; k += kLanes) lanes |= acceptedLanes(loadPositions(xy + 2 * k), *accept) << k;
  return lanes;
}

/// The row loop of the vector kernels, `Lanes` pixels per step:
/// vectorStep(xy, out) interpolates the step's pixels, or declines (false)
/// when its loads would leave the image or its taps are held at the edge.
/// A declined or partly accepted step and the remainder of the row go to
/// the generic kernel; a step with no accepted pixel is skipped.
template <int C, int Lanes, typename VectorStep>
long long runRow(const SourceImage& s, Kernel kernel, const double* positions, int count, Ipp8u* dstRow,
                 const PixelRect* accept, VectorStep vectorStep) {
  long long written = 0;
  int i = 0;
  for (; i + Lanes <= count; i += Lanes) {
    const double* xy = positions + 2 * i;
    Ipp8u* out = dstRow + static_cast<std::ptrdiff_t>(i) * C;
    const int lanes = acceptedOf<Lanes>(xy, accept);
    if (lanes == 0) continue;
    if (lanes == (1 << Lanes) - 1 && vectorStep(xy, out))
      written += Lanes;
    else
      written += kGenericWarpKernels.interpolateRow(s, kernel, xy, Lanes, out, accept);
  }
  return written + kGenericWarpKernels.interpolateRow(s, kernel, positions + 2 * i, count - i,
                                                      dstRow + static_cast<std::ptrdiff_t>(i) * C, accept);
}

template <int C>
long long linearRowOf(const SourceImage& s, const double* positions, int count, Ipp8u* dstRow,
                      const PixelRect* accept) {
  // Offsets of an upper cell row whose loads (8 bytes for three channels, 4
  // for one, in the row below too) stay within the image.
  const std::int64_t lastLoadable = imageBytes(s) - s.step - (C == 3 ? 8 : 4);
  // The cells of a step this far ahead are asked for while the step is
  // blended; the last steps of a piece have none ahead.
  const std::ptrdiff_t lastAhead = 2 * (static_cast<std::ptrdiff_t>(count) - kLanes);
  return runRow<C, kLanes>(s, Kernel::linear, positions, count, dstRow, accept, [&](const double* xy, Ipp8u* out) {
    if (xy - positions + 2 * kPrefetchAhead <= lastAhead) prefetchCells<C>(s, xy + 2 * kPrefetchAhead);
    return linearStep<C>(s, loadPositions(xy), lastLoadable, out);
  });
}

/// Byte offsets y * step + x * channels of the nearest pixels of eight
/// positions, as 32-bit values (the caller checks that the image fits).
template <int C>
__m256i nearestOffsets(const SourceImage& s, const Positions& low, const Positions& high) {
  const __m256d half = _mm256_set1_pd(0.5);
  const __m256d xLimit = _mm256_set1_pd(s.width - 1), yLimit = _mm256_set1_pd(s.height - 1);
  // Held within 0..limit first, so the truncating conversion is the generic
  // heldIndex.
  const auto index = [&](__m256d v, __m256d limit) {
    return _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(_mm256_add_pd(v, half), _mm256_setzero_pd()), limit));
  };
  const __m256i x = _mm256_set_m128i(index(high.x, xLimit), index(low.x, xLimit));
  const __m256i y = _mm256_set_m128i(index(high.y, yLimit), index(low.y, yLimit));
  return _mm256_add_epi32(_mm256_mullo_epi32(y, _mm256_set1_epi32(s.step)),
                          _mm256_mullo_epi32(x, _mm256_set1_epi32(C)));
}

/// Eight nearest pixels from the four bytes gathered at each of their
/// offsets.
template <int C>
void storeNearest(__m256i gathered, Ipp8u* out) {
  if constexpr (C == 3) {
    const __m256i pick = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i packed =
        _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(gathered, pick), _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(packed, 1));
  } else {
    const __m256i pick = _mm256_setr_epi8(0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,  //
                                          0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m256i packed =
        _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(gathered, pick), _mm256_setr_epi32(0, 4, 1, 1, 1, 1, 1, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
  }
}

/// Nearest pixels, eight per step: the indices in vector lanes, the pixels
/// loaded four bytes each.
template <int C>
long long nearestRowOf(const SourceImage& s, const double* positions, int count, Ipp8u* dstRow,
                       const PixelRect* accept) {
  const std::int64_t lastLoadable = imageBytes(s) - 4;
  // Offsets are 32-bit lanes; a larger image takes the generic kernel.
  if (lastLoadable < 0 || lastLoadable > INT32_MAX)
    return kGenericWarpKernels.interpolateRow(s, Kernel::nearest, positions, count, dstRow, accept);
  const __m256i lastOffset = _mm256_set1_epi32(static_cast<int>(lastLoadable));
  return runRow<C, 2 * kLanes>(s, Kernel::nearest, positions, count, dstRow, accept, [&](const double* xy, Ipp8u* out) {
    const __m256i offsets = nearestOffsets<C>(s, loadPositions(xy), loadPositions(xy + 2 * kLanes));
    if (!_mm256_testz_si256(_mm256_cmpgt_epi32(offsets, lastOffset), _mm256_set1_epi32(-1))) return false;
    // Loaded one by one: a vector gather is no faster here.
    alignas(32) int at[2 * kLanes];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), offsets);
    const auto word = [&](int k) { return static_cast<int>(load32(s.data + at[k])); };
    storeNearest<C>(_mm256_setr_epi32(word(0), word(1), word(2), word(3), word(4), word(5), word(6), word(7)), out);
    return true;
  });
}

/// Catmull-Rom weights of the four taps around four positions along one
/// axis, and the index of each position's second tap (see the generic
/// cubicTaps): the same double operations in the same order.
struct CubicWeights {
  __m256d base, weight[4];
};

/// k * v for a constant k.
__m256d times(double k, __m256d v) { return _mm256_mul_pd(_mm256_set1_pd(k), v); }

CubicWeights cubicWeights(__m256d s, int size) {
  CubicWeights w;
  w.base = heldIndex(s, _mm256_set1_pd(size - 1));
  const __m256d t = _mm256_sub_pd(s, w.base);
  const __m256d t2 = _mm256_mul_pd(t, t);
  const __m256d t3 = _mm256_mul_pd(t2, t);
  const __m256d half = _mm256_set1_pd(0.5);
  const __m256d minusT3 = _mm256_xor_pd(t3, _mm256_set1_pd(-0.0));
  w.weight[0] = _mm256_mul_pd(half, _mm256_sub_pd(_mm256_add_pd(minusT3, times(2.0, t2)), t));
  w.weight[1] = _mm256_mul_pd(half, _mm256_add_pd(_mm256_sub_pd(times(3.0, t3), times(5.0, t2)), _mm256_set1_pd(2.0)));
  w.weight[2] = _mm256_mul_pd(half, _mm256_add_pd(_mm256_add_pd(times(-3.0, t3), times(4.0, t2)), t));
  w.weight[3] = _mm256_mul_pd(half, _mm256_sub_pd(t3, t2));
  return w;
}

/// Whether the four taps of every lane lie inside 0..size-1 without being
/// held at the edge: the base index is 1 to size - 3.
bool tapsInside(__m256d base, int size) {
  const __m256d inside = _mm256_and_pd(_mm256_cmp_pd(base, _mm256_set1_pd(1.0), _CMP_GE_OQ),
                                       _mm256_cmp_pd(base, _mm256_set1_pd(size - 3), _CMP_LE_OQ));
  return _mm256_movemask_pd(inside) == 0xF;
}

/// sum over k of weight[k] * tap k, added left to right as the generic
/// loop does. Its sum starts at 0.0; leaving that addition out changes at
/// most the sign of a zero, which the final rounding does not see.
__m256d weightedTaps(const __m256d weight[4], const __m256d taps[4]) {
  __m256d sum = _mm256_mul_pd(weight[0], taps[0]);
  for (int k = 1; k < 4; ++k) sum = _mm256_add_pd(sum, _mm256_mul_pd(weight[k], taps[k]));
  return sum;
}

/// The four taps of one channel of four pixels, from 32-bit lanes holding
/// each pixel's four tap bytes of that channel.
void tapsOfLanes(__m128i lanes, __m256d taps[4]) {
  for (int k = 0; k < 4; ++k) taps[k] = byteOf(lanes, k);
}

/// For each of the four lanes' 4x4 windows (rows `step` apart from the
/// pointers), the channel's tap bytes of row r, as 32-bit lanes.
template <int C>
void windowRow(const Pointers& window, std::ptrdiff_t below, __m128i rows[C]) {
  if constexpr (C == 1) {
    const auto at = [&](int lane) { return static_cast<int>(load32(window.at[lane] + below)); };
    rows[0] = _mm_setr_epi32(at(0), at(1), at(2), at(3));
  } else {
    // Twelve bytes per lane, reordered to the four taps of each channel in
    // turn, then transposed so that each vector holds one channel.
    const __m128i byChannel = _mm_setr_epi8(0, 3, 6, 9, 1, 4, 7, 10, 2, 5, 8, 11, -1, -1, -1, -1);
    __m128i lane[4];
    for (int l = 0; l < 4; ++l)
      lane[l] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(window.at[l] + below)), byChannel);
    const __m128i low01 = _mm_unpacklo_epi32(lane[0], lane[1]), low23 = _mm_unpacklo_epi32(lane[2], lane[3]);
    const __m128i high01 = _mm_unpackhi_epi32(lane[0], lane[1]), high23 = _mm_unpackhi_epi32(lane[2], lane[3]);
    rows[0] = _mm_unpacklo_epi64(low01, low23);
    rows[1] = _mm_unpackhi_epi64(low01, low23);
    rows[2] = _mm_unpacklo_epi64(high01, high23);
  }
}

/// Four cubic pixels whose windows lie inside the image.
template <int C>
void cubicStep(const SourceImage& s, const Pointers& window, const CubicWeights& wx, const CubicWeights& wy,
               Ipp8u* out) {
  __m256d sum[C];
  for (int r = 0; r < 4; ++r) {
    __m128i rows[C];
    windowRow<C>(window, static_cast<std::ptrdiff_t>(r) * s.step, rows);
    for (int c = 0; c < C; ++c) {
      __m256d taps[4];
      tapsOfLanes(rows[c], taps);
      const __m256d across = _mm256_mul_pd(wy.weight[r], weightedTaps(wx.weight, taps));
      sum[c] = r == 0 ? across : _mm256_add_pd(sum[c], across);
    }
  }
  __m128i values[C];
  for (int c = 0; c < C; ++c) values[c] = samples(_mm256_add_pd(sum[c], _mm256_set1_pd(0.5)));
  if constexpr (C == 3)
    storePixelsC3(values, out);
  else
    storePixelsC1(values[0], out);
}

/// Cubic pixels, four per step, one per double lane.
template <int C>
long long cubicRowOf(const SourceImage& s, const double* positions, int count, Ipp8u* dstRow,
                     const PixelRect* accept) {
  // Window offsets whose last row's load (16 bytes for three channels, 4
  // for one) stays within the image.
  const std::int64_t lastLoadable = imageBytes(s) - 3 * static_cast<std::int64_t>(s.step) - (C == 3 ? 16 : 4);
  return runRow<C, kLanes>(s, Kernel::cubic, positions, count, dstRow, accept, [&](const double* xy, Ipp8u* out) {
    const Positions p = loadPositions(xy);
    const CubicWeights wx = cubicWeights(p.x, s.width);
    const CubicWeights wy = cubicWeights(p.y, s.height);
    if (!tapsInside(wx.base, s.width) || !tapsInside(wy.base, s.height)) return false;
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256i offsets = pixelOffsets(s, _mm256_sub_pd(wx.base, one), _mm256_sub_pd(wy.base, one));
    if (!allAtMost(offsets, lastLoadable)) return false;
    cubicStep<C>(s, pointersAt(s.data, offsets), wx, wy, out);
    return true;
  });
}

long long interpolateRowAvx2(const SourceImage& src, Kernel kernel, const double* positions, int count,
                             Ipp8u* dstRow, const PixelRect* accept) {
  const bool three = src.channels == 3;
  switch (kernel) {
    case Kernel::nearest:
      return three ? nearestRowOf<3>(src, positions, count, dstRow, accept)
                   : nearestRowOf<1>(src, positions, count, dstRow, accept);
    case Kernel::linear:
      return three ? linearRowOf<3>(src, positions, count, dstRow, accept)
                   : linearRowOf<1>(src, positions, count, dstRow, accept);
    case Kernel::cubic:
      return three ? cubicRowOf<3>(src, positions, count, dstRow, accept)
                   : cubicRowOf<1>(src, positions, count, dstRow, accept);
  }
  return kGenericWarpKernels.interpolateRow(src, kernel, positions, count, dstRow, accept);
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
