// helper_row_kernels_avx2.cpp - the AVX2 row loops of the helper primitives.
// This file alone is compiled for AVX2; its loops run only after the
// processor check in helper_row_kernels.cpp. Each loop handles whole vectors
// and leaves the last bytes or pixels to the plain loop, so both compute the
// same bytes. It includes no library templates, so no AVX2 copy of shared
// inline code can reach the rest of the program.
#include <immintrin.h>

#include "contracts/video/helper_row_kernels.h"

namespace fc::helpers {

namespace {

__m256i load32(const Ipp8u* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
void store32(Ipp8u* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
__m128i load16(const Ipp8u* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void store16(Ipp8u* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// 32 bytes per step with `op`, the rest with the plain loop `tail`.
template <typename Op>
void binaryLoop(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n, Op op, BinaryRow tail) {
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) store32(d + i, op(load32(a + i), load32(b + i)));
  if (i < n) tail(a + i, b + i, d + i, n - i);
}

void addRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryLoop(
      a, b, d, n, [](__m256i x, __m256i y) { return _mm256_adds_epu8(x, y); }, plainRowKernels().add);
}

void subRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryLoop(
      a, b, d, n, [](__m256i x, __m256i y) { return _mm256_subs_epu8(y, x); }, plainRowKernels().sub);
}

void absDiffRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryLoop(
      a, b, d, n, [](__m256i x, __m256i y) { return _mm256_or_si256(_mm256_subs_epu8(x, y), _mm256_subs_epu8(y, x)); },
      plainRowKernels().absDiff);
}

// Products in 16 bits (at most 255 * 255), capped at 255, packed back; the
// unpack and the pack both work per 128-bit lane, so the order is kept.
void mulRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryLoop(
      a, b, d, n,
      [](__m256i x, __m256i y) {
        const __m256i zero = _mm256_setzero_si256(), cap = _mm256_set1_epi16(255);
        const __m256i lo = _mm256_mullo_epi16(_mm256_unpacklo_epi8(x, zero), _mm256_unpacklo_epi8(y, zero));
        const __m256i hi = _mm256_mullo_epi16(_mm256_unpackhi_epi8(x, zero), _mm256_unpackhi_epi8(y, zero));
        return _mm256_packus_epi16(_mm256_min_epu16(lo, cap), _mm256_min_epu16(hi, cap));
      },
      plainRowKernels().mul);
}

// Eight quotients b / a as 32-bit integers. The single-precision quotient is
// correctly rounded, and a quotient of bytes that is not a half-integer lies
// at least 1/510 from one, far beyond its rounding error, so rounding it to
// the nearest integer with halves to even gives the exact result. A zero
// divisor gives 255, or 0 over 0.
__m256i quotients8(__m128i a8, __m128i b8) {
  const __m256i ai = _mm256_cvtepu8_epi32(a8), bi = _mm256_cvtepu8_epi32(b8);
  const __m256 q = _mm256_div_ps(_mm256_cvtepi32_ps(bi), _mm256_cvtepi32_ps(ai));
  const __m256i rounded = _mm256_cvttps_epi32(_mm256_round_ps(q, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC));
  const __m256i zero = _mm256_setzero_si256();
  const __m256i overZero = _mm256_andnot_si256(_mm256_cmpeq_epi32(bi, zero), _mm256_set1_epi32(255));
  return _mm256_blendv_epi8(rounded, overZero, _mm256_cmpeq_epi32(ai, zero));
}

// 16 quotients per step.
void divRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i a16 = load16(a + i), b16 = load16(b + i);
    const __m256i first = quotients8(a16, b16);
    const __m256i second = quotients8(_mm_srli_si128(a16, 8), _mm_srli_si128(b16, 8));
    // The 32-bit pack interleaves 128-bit lanes; the permute restores order.
    const __m256i words = _mm256_permute4x64_epi64(_mm256_packus_epi32(first, second), 0xD8);
    store16(d + i, _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1)));
  }
  if (i < n) plainRowKernels().div(a + i, b + i, d + i, n - i);
}

void orRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryLoop(
      a, b, d, n, [](__m256i x, __m256i y) { return _mm256_or_si256(x, y); }, plainRowKernels().bitOr);
}

void andRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryLoop(
      a, b, d, n, [](__m256i x, __m256i y) { return _mm256_and_si256(x, y); }, plainRowKernels().bitAnd);
}

void xorRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryLoop(
      a, b, d, n, [](__m256i x, __m256i y) { return _mm256_xor_si256(x, y); }, plainRowKernels().bitXor);
}

void notRow(const Ipp8u* s, Ipp8u* d, std::size_t n) {
  const __m256i ones = _mm256_set1_epi8(-1);
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) store32(d + i, _mm256_xor_si256(load32(s + i), ones));
  if (i < n) plainRowKernels().bitNot(s + i, d + i, n - i);
}

// 32 pixels (96 bytes, three vectors of the repeating pattern) per step.
void setC3Row(const Ipp8u v[3], Ipp8u* d, std::size_t pixels) {
  alignas(32) Ipp8u pattern[96];
  for (int i = 0; i < 96; ++i) pattern[i] = v[i % 3];
  const __m256i p0 = load32(pattern), p1 = load32(pattern + 32), p2 = load32(pattern + 64);
  std::size_t p = 0;
  for (; p + 32 <= pixels; p += 32, d += 96) {
    store32(d, p0);
    store32(d + 32, p1);
    store32(d + 64, p2);
  }
  if (p < pixels) plainRowKernels().setC3(v, d, pixels - p);
}

// The shuffle masks of a channel order over 48-byte blocks of 16 pixels:
// masks[k][j] picks, for output lane k (bytes 16k to 16k + 15), the bytes
// that lie in source lane j; the others it zeroes. A pixel's bytes lie in
// its own lane or the neighbouring one, so lane k reads lanes k - 1 to k + 1.
struct SwapMasks {
  __m256i masks[3][3];
  explicit SwapMasks(const int order[3]) {
    for (int k = 0; k < 3; ++k)
      for (int j = 0; j < 3; ++j) {
        alignas(16) Ipp8u mask[16];
        for (int i = 0; i < 16; ++i) {
          const int out = 16 * k + i, from = out - out % 3 + order[out % 3];
          mask[i] = from / 16 == j ? static_cast<Ipp8u>(from % 16) : 0x80;
        }
        masks[k][j] = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(mask)));
      }
  }
};

// Loads 16 bytes at p into the low lane and 16 at p + 48 into the high one.
__m256i loadTwoLanes(const Ipp8u* p) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(load16(p)), load16(p + 48), 1);
}
void storeTwoLanes(Ipp8u* p, __m256i v) {
  store16(p, _mm256_castsi256_si128(v));
  store16(p + 48, _mm256_extracti128_si256(v, 1));
}

// 32 pixels per step: two 48-byte blocks side by side in the two halves of
// the registers. Every step reads its 96 bytes before writing them and
// writes nothing else, so the loop also runs in place (and no load waits on
// a store it partly overlaps).
void swapC3Row(const Ipp8u* s, Ipp8u* d, std::size_t pixels, const int order[3]) {
  const SwapMasks m(order);
  std::size_t p = 0;
  for (; p + 32 <= pixels; p += 32, s += 96, d += 96) {
    const __m256i l0 = loadTwoLanes(s), l1 = loadTwoLanes(s + 16), l2 = loadTwoLanes(s + 32);
    const __m256i o0 = _mm256_or_si256(_mm256_shuffle_epi8(l0, m.masks[0][0]), _mm256_shuffle_epi8(l1, m.masks[0][1]));
    const __m256i o1 =
        _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(l0, m.masks[1][0]), _mm256_shuffle_epi8(l1, m.masks[1][1])),
                        _mm256_shuffle_epi8(l2, m.masks[1][2]));
    const __m256i o2 = _mm256_or_si256(_mm256_shuffle_epi8(l1, m.masks[2][1]), _mm256_shuffle_epi8(l2, m.masks[2][2]));
    storeTwoLanes(d, o0);
    storeTwoLanes(d + 16, o1);
    storeTwoLanes(d + 32, o2);
  }
  if (p < pixels) plainRowKernels().swapC3(s, d, pixels - p, order);
}

// Eight pixels per step: two 12-byte groups (read as 16 bytes at 0 and 12,
// so ten pixels must remain) spread into four-byte pixels, and the fourth
// bytes taken from the destination as it was.
void c3ToAc4Row(const Ipp8u* s, Ipp8u* d, std::size_t pixels) {
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                          0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m256i fourth = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  std::size_t p = 0;
  for (; p + 10 <= pixels; p += 8, s += 24, d += 32) {
    const __m256i both = _mm256_inserti128_si256(_mm256_castsi128_si256(load16(s)), load16(s + 12), 1);
    store32(d, _mm256_blendv_epi8(_mm256_shuffle_epi8(both, spread), load32(d), fourth));
  }
  if (p < pixels) plainRowKernels().c3ToAc4(s, d, pixels - p);
}

// Eight pixels per step: the first three bytes of each four packed into the
// low 12 bytes of each lane, the two lanes' 12 bytes joined, 24 bytes stored.
void ac4ToC3Row(const Ipp8u* s, Ipp8u* d, std::size_t pixels) {
  const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                        0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
  std::size_t p = 0;
  for (; p + 8 <= pixels; p += 8, s += 32, d += 24) {
    const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(load32(s), pack), join);
    store16(d, _mm256_castsi256_si128(packed));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm256_extracti128_si256(packed, 1));
  }
  if (p < pixels) plainRowKernels().ac4ToC3(s, d, pixels - p);
}

}  // namespace

const HelperRowKernels* avx2RowKernelTable() {
  static constexpr HelperRowKernels kernels FC_HELPER_ROW_KERNELS;
  return &kernels;
}

}  // namespace fc::helpers
