// resize_t7.cpp - t7 variants of the resize entries: the row loops of the
// linear, cubic and Lanczos kernels with AVX2.
// Every vector lane performs the generic loop's operations in the same
// order (exact integer arithmetic, or the same double operations without
// fused multiply-add), so the bytes are the generic ones. Remainders too
// short for a vector go to the generic loops.
#include <immintrin.h>

#include <cstring>

#include "dispatch/binding.h"
#include "dispatch/primitives.h"
#include "primitives/geometry/resize_rows.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::resize {
namespace {

constexpr int kOne = 16384;  // linear weight 1.0

const RowRoutines& generic() {
  static const RowRoutines routines = genericRowRoutines();
  return routines;
}

/// Columns, from the start, whose taps can be loaded `loadBytes` at a time
/// without reading past the source row. Column offsets never decrease.
int columnsLoadableWhole(const LinearSample* columns, int width, int rowSamples, int loadBytes) {
  while (width > 0 && columns[width - 1].first + loadBytes > rowSamples) --width;
  return width;
}

/// Eight table entries (offset, weight) split into eight offsets and eight
/// weights, in column order.
__attribute__((target("avx2"))) void splitEntries(const LinearSample* columns, __m256i& offsets,
                                                  __m256i& weights) {
  const __m256 a = _mm256_loadu_ps(reinterpret_cast<const float*>(columns));
  const __m256 b = _mm256_loadu_ps(reinterpret_cast<const float*>(columns + 4));
  const __m256i even = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
  const __m256i odd = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
  offsets = _mm256_permute4x64_epi64(even, _MM_SHUFFLE(3, 1, 2, 0));
  weights = _mm256_permute4x64_epi64(odd, _MM_SHUFFLE(3, 1, 2, 0));
}

/// Two neighbouring samples as one 16-bit value.
inline int loadPair(const Ipp8u* p) {
  Ipp16u pair;
  std::memcpy(&pair, p, 2);
  return pair;
}

/// One-channel linear row: eight columns per step; the eight tap pairs are
/// widened to 16 bits and weighted by one 16-bit multiply-add.
__attribute__((target("avx2"))) void linearRowC1(const Ipp8u* source, int rowSamples,
                                                 const LinearSample* columns, int width,
                                                 Ipp16u* out) {
  const __m256i one = _mm256_set1_epi32(kOne);
  const __m256i round = _mm256_set1_epi32(128);
  int c = 0;
  for (; c + 8 <= width; c += 8) {
    const LinearSample* e = columns + c;
    __m128i pairs = _mm_cvtsi32_si128(loadPair(source + e[0].first));
    pairs = _mm_insert_epi16(pairs, loadPair(source + e[1].first), 1);
    pairs = _mm_insert_epi16(pairs, loadPair(source + e[2].first), 2);
    pairs = _mm_insert_epi16(pairs, loadPair(source + e[3].first), 3);
    pairs = _mm_insert_epi16(pairs, loadPair(source + e[4].first), 4);
    pairs = _mm_insert_epi16(pairs, loadPair(source + e[5].first), 5);
    pairs = _mm_insert_epi16(pairs, loadPair(source + e[6].first), 6);
    pairs = _mm_insert_epi16(pairs, loadPair(source + e[7].first), 7);
    __m256i offsets, right;
    splitEntries(e, offsets, right);
    // Left tap in the low 16 bits, right tap in the high 16 bits.
    const __m256i weights = _mm256_or_si256(_mm256_sub_epi32(one, right), _mm256_slli_epi32(right, 16));
    const __m256i sums = _mm256_srli_epi32(
        _mm256_add_epi32(_mm256_madd_epi16(_mm256_cvtepu8_epi16(pairs), weights), round), 8);
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(sums, sums), _MM_SHUFFLE(3, 1, 2, 0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + c), _mm256_castsi256_si128(packed));
  }
  generic().linear.rowC1(source, rowSamples, columns + c, width - c, out + c);
}

/// Three-channel linear row: one pixel per step; its two neighbours' six
/// samples are loaded together and paired channel by channel. The fourth
/// value stored lands on the next pixel's slot, rewritten next step, or on
/// the row buffer's slack after the last pixel.
__attribute__((target("avx2"))) void linearRowC3(const Ipp8u* source, int rowSamples,
                                                 const LinearSample* columns, int width,
                                                 Ipp16u* out) {
  const int vectorWidth = columnsLoadableWhole(columns, width, rowSamples, 8);
  const __m128i pairChannels = _mm_setr_epi8(0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1);
  const __m128i round = _mm_set1_epi32(128);
  int c = 0;
  for (; c < vectorWidth; ++c) {
    const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + columns[c].first));
    const __m128i pairs = _mm_shuffle_epi8(_mm_cvtepu8_epi16(bytes), pairChannels);
    const int right = columns[c].weight;
    const __m128i weights = _mm_set1_epi32((right << 16) | (kOne - right));
    const __m128i sums = _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(pairs, weights), round), 8);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * c), _mm_packus_epi32(sums, sums));
  }
  generic().linear.rowC3(source, rowSamples, columns + c, width - c, out + 3 * c);
}

/// The Newton form on four lanes: whole-number taps give exact integer
/// differences, converted once, then the generic sum in the generic order.
__attribute__((target("avx2"))) __m256d newtonOfTaps(__m128i p0, __m128i p1, __m128i p2, __m128i p3,
                                                     __m256d a, __m256d b, __m256d c) {
  const __m128i d1 = _mm_sub_epi32(p1, p0);
  const __m128i d2 = _mm_sub_epi32(_mm_sub_epi32(p2, p1), d1);
  const __m128i three = _mm_set1_epi32(3);
  const __m128i d3 =
      _mm_sub_epi32(_mm_add_epi32(_mm_sub_epi32(p3, _mm_mullo_epi32(three, p2)), _mm_mullo_epi32(three, p1)), p0);
  const __m256d sum = _mm256_add_pd(_mm256_add_pd(_mm256_cvtepi32_pd(p0), _mm256_mul_pd(a, _mm256_cvtepi32_pd(d1))),
                                    _mm256_mul_pd(b, _mm256_cvtepi32_pd(d2)));
  return _mm256_add_pd(sum, _mm256_mul_pd(c, _mm256_cvtepi32_pd(d3)));
}

/// One-channel cubic row: four columns per step, each column's four taps
/// loaded as one 32-bit word (the window lies inside the image).
__attribute__((target("avx2"))) void cubicRowC1(const Ipp8u* source, int rowSamples,
                                                const CubicSample* columns, int width, Ipp32f* out) {
  const __m128i lowByte = _mm_set1_epi32(0xFF);
  int c = 0;
  for (; c + 4 <= width; c += 4) {
    const CubicSample* e = columns + c;
    int words[4];
    for (int k = 0; k < 4; ++k) std::memcpy(&words[k], source + e[k].first, 4);
    const __m128i taps = _mm_loadu_si128(reinterpret_cast<const __m128i*>(words));
    const __m256d a = _mm256_setr_pd(e[0].a, e[1].a, e[2].a, e[3].a);
    const __m256d b = _mm256_setr_pd(e[0].b, e[1].b, e[2].b, e[3].b);
    const __m256d cc = _mm256_setr_pd(e[0].c, e[1].c, e[2].c, e[3].c);
    const __m256d value = newtonOfTaps(_mm_and_si128(taps, lowByte), _mm_and_si128(_mm_srli_epi32(taps, 8), lowByte),
                                       _mm_and_si128(_mm_srli_epi32(taps, 16), lowByte), _mm_srli_epi32(taps, 24),
                                       a, b, cc);
    _mm_storeu_ps(out + c, _mm256_cvtpd_ps(value));
  }
  generic().cubic.rowC1(source, rowSamples, columns + c, width - c, out + c);
}

/// Three-channel cubic row: one pixel per step, its twelve tap samples
/// loaded together, the three channels in three lanes. The fourth float
/// stored lands on the next pixel's slot or the row buffer's slack.
__attribute__((target("avx2"))) void cubicRowC3(const Ipp8u* source, int rowSamples,
                                                const CubicSample* columns, int width, Ipp32f* out) {
  int vectorWidth = width;
  while (vectorWidth > 0 && columns[vectorWidth - 1].first + 16 > rowSamples) --vectorWidth;
  int c = 0;
  for (; c < vectorWidth; ++c) {
    const CubicSample& e = columns[c];
    const __m128i taps = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + e.first));
    const __m256d value = newtonOfTaps(_mm_cvtepu8_epi32(taps), _mm_cvtepu8_epi32(_mm_srli_si128(taps, 3)),
                                       _mm_cvtepu8_epi32(_mm_srli_si128(taps, 6)),
                                       _mm_cvtepu8_epi32(_mm_srli_si128(taps, 9)), _mm256_set1_pd(e.a),
                                       _mm256_set1_pd(e.b), _mm256_set1_pd(e.c));
    _mm_storeu_ps(out + 3 * c, _mm256_cvtpd_ps(value));
  }
  generic().cubic.rowC3(source, rowSamples, columns + c, width - c, out + 3 * c);
}

/// One-channel Lanczos row: four columns per step, tap by tap.
__attribute__((target("avx2"))) void lanczosRowC1(const Ipp8u* source, int rowSamples,
                                                  const LanczosSample* columns, int width, Ipp32f* out) {
  int c = 0;
  for (; c + 4 <= width; c += 4) {
    const LanczosSample* e = columns + c;
    __m256d sum = _mm256_setzero_pd();
    for (int k = 0; k < kLanczosTaps; ++k) {
      const __m128i taps = _mm_setr_epi32(source[e[0].taps[k]], source[e[1].taps[k]], source[e[2].taps[k]],
                                          source[e[3].taps[k]]);
      const __m256d weights = _mm256_setr_pd(e[0].weights[k], e[1].weights[k], e[2].weights[k], e[3].weights[k]);
      sum = _mm256_add_pd(sum, _mm256_mul_pd(weights, _mm256_cvtepi32_pd(taps)));
    }
    _mm_storeu_ps(out + c, _mm256_cvtpd_ps(sum));
  }
  generic().lanczos.rowC1(source, rowSamples, columns + c, width - c, out + c);
}

/// Three-channel Lanczos row: one pixel per step, the three channels in
/// three lanes. The fourth float stored lands on the next pixel's slot or
/// the row buffer's slack.
__attribute__((target("avx2"))) void lanczosRowC3(const Ipp8u* source, int rowSamples,
                                                  const LanczosSample* columns, int width, Ipp32f* out) {
  // Taps are loaded four bytes at a time; the last tap is the rightmost.
  int vectorWidth = width;
  while (vectorWidth > 0 && columns[vectorWidth - 1].taps[kLanczosTaps - 1] + 4 > rowSamples) --vectorWidth;
  int c = 0;
  for (; c < vectorWidth; ++c) {
    const LanczosSample& e = columns[c];
    __m256d sum = _mm256_setzero_pd();
    for (int k = 0; k < kLanczosTaps; ++k) {
      int word;
      std::memcpy(&word, source + e.taps[k], 4);
      const __m256d pixel = _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(word)));
      sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_set1_pd(e.weights[k]), pixel));
    }
    _mm_storeu_ps(out + 3 * c, _mm256_cvtpd_ps(sum));
  }
  generic().lanczos.rowC3(source, rowSamples, columns + c, width - c, out + 3 * c);
}

/// The rows of a combine call advanced by `x` values.
template <typename Value, int Taps>
void advanceRows(const Value* const* rows, int x, const Value** advanced) {
  for (int k = 0; k < Taps; ++k) advanced[k] = rows[k] + x;
}

/// Linear vertical pass: sixteen values per step, each pair of rows weighted
/// by one 16-bit multiply-add.
__attribute__((target("avx2"))) void linearCombine(const Ipp16u* const* rows, const LinearSample& row,
                                                   int length, Ipp8u* out) {
  const __m256i weights = _mm256_set1_epi32((row.weight << 16) | (kOne - row.weight));
  const __m256i round = _mm256_set1_epi32(524288);
  int x = 0;
  for (; x + 16 <= length; x += 16) {
    const __m256i upper = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[0] + x));
    const __m256i lower = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[1] + x));
    const __m256i low = _mm256_madd_epi16(_mm256_unpacklo_epi16(upper, lower), weights);
    const __m256i high = _mm256_madd_epi16(_mm256_unpackhi_epi16(upper, lower), weights);
    const __m256i words = _mm256_packs_epi32(_mm256_srli_epi32(_mm256_add_epi32(low, round), 20),
                                             _mm256_srli_epi32(_mm256_add_epi32(high, round), 20));
    const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), _MM_SHUFFLE(3, 1, 2, 0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm256_castsi256_si128(bytes));
  }
  const Ipp16u* rest[2];
  advanceRows<Ipp16u, 2>(rows, x, rest);
  generic().linear.combine(rest, row, length - x, out + x);
}

/// Four doubles, offset by just over a half, clamped to 0..255 and
/// truncated, stored as four bytes.
__attribute__((target("avx2"))) void storeRounded(__m256d values, Ipp8u* out) {
  const __m256d offset = _mm256_add_pd(values, _mm256_set1_pd(0.5000001));
  const __m256d clamped = _mm256_min_pd(_mm256_max_pd(offset, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
  const __m128i ints = _mm256_cvttpd_epi32(clamped);
  const __m128i bytes = _mm_packus_epi16(_mm_packus_epi32(ints, ints), _mm_setzero_si128());
  const int word = _mm_cvtsi128_si32(bytes);
  std::memcpy(out, &word, 4);
}

__attribute__((target("avx2"))) __m256d loadWide(const Ipp32f* row, int x) {
  return _mm256_cvtps_pd(_mm_loadu_ps(row + x));
}

/// Cubic vertical pass, four values per step.
__attribute__((target("avx2"))) void cubicCombine(const Ipp32f* const* rows, const CubicSample& row,
                                                  int length, Ipp8u* out) {
  const __m256d a = _mm256_set1_pd(row.a);
  const __m256d b = _mm256_set1_pd(row.b);
  const __m256d c = _mm256_set1_pd(row.c);
  const __m256d three = _mm256_set1_pd(3.0);
  int x = 0;
  for (; x + 4 <= length; x += 4) {
    const __m256d p0 = loadWide(rows[0], x);
    const __m256d p1 = loadWide(rows[1], x);
    const __m256d p2 = loadWide(rows[2], x);
    const __m256d p3 = loadWide(rows[3], x);
    const __m256d d1 = _mm256_sub_pd(p1, p0);
    const __m256d d2 = _mm256_sub_pd(_mm256_sub_pd(p2, p1), _mm256_sub_pd(p1, p0));
    const __m256d d3 = _mm256_sub_pd(
        _mm256_add_pd(_mm256_sub_pd(p3, _mm256_mul_pd(three, p2)), _mm256_mul_pd(three, p1)), p0);
    const __m256d sum = _mm256_add_pd(
        _mm256_add_pd(_mm256_add_pd(p0, _mm256_mul_pd(a, d1)), _mm256_mul_pd(b, d2)), _mm256_mul_pd(c, d3));
    storeRounded(sum, out + x);
  }
  const Ipp32f* rest[4];
  advanceRows<Ipp32f, 4>(rows, x, rest);
  generic().cubic.combine(rest, row, length - x, out + x);
}

/// Lanczos vertical pass, four values per step.
__attribute__((target("avx2"))) void lanczosCombine(const Ipp32f* const* rows, const LanczosSample& row,
                                                    int length, Ipp8u* out) {
  __m256d weights[kLanczosTaps];
  for (int k = 0; k < kLanczosTaps; ++k) weights[k] = _mm256_set1_pd(row.weights[k]);
  int x = 0;
  for (; x + 4 <= length; x += 4) {
    __m256d sum = _mm256_setzero_pd();
    for (int k = 0; k < kLanczosTaps; ++k)
      sum = _mm256_add_pd(sum, _mm256_mul_pd(weights[k], loadWide(rows[k], x)));
    storeRounded(sum, out + x);
  }
  const Ipp32f* rest[kLanczosTaps];
  advanceRows<Ipp32f, kLanczosTaps>(rows, x, rest);
  generic().lanczos.combine(rest, row, length - x, out + x);
}

/// Destination pixels of one nearest block: eight of one channel (8 bytes)
/// from one 16-byte source window, or four of three channels (12 bytes), the
/// first two from one window and the last two from a second.
template <int C>
constexpr int kBlockPixels = C == 1 ? 8 : 4;
template <int C>
constexpr int kBlockWindows = C == 1 ? 1 : 2;

/// A block of nearest pixels copied by byte shuffles of its windows.
struct alignas(16) NearestBlock {
  Ipp8u pick[2][16];  // per window, the window byte of each destination
                      // byte, or 0x80 for the bytes of the other window
  Ipp32s start[2];    // each window's sample offset; start[0] is -1 when the
                      // pixels lie too far apart or a window would leave the row
};

template <int C>
void planNearestBlock(const NearestCopy& copy, const Ipp32s* columns, NearestBlock& block) {
  constexpr int perWindow = kBlockPixels<C> / kBlockWindows<C>;
  std::memset(block.pick, 0x80, sizeof block.pick);
  for (int w = 0; w < kBlockWindows<C>; ++w) {
    const Ipp32s* own = columns + w * perWindow;
    block.start[w] = own[0];
    if (own[perWindow - 1] + C - own[0] > 16 || own[0] + 16 > copy.rowSamples) {
      block.start[0] = -1;
      return;
    }
    for (int k = 0; k < perWindow; ++k)
      for (int c = 0; c < C; ++c) block.pick[w][(w * perWindow + k) * C + c] = static_cast<Ipp8u>(own[k] - own[0] + c);
  }
}

template <int C>
void planNearestBlocks(const NearestCopy& copy, NearestBlock* blocks) {
  for (int b = 0; b < copy.width / kBlockPixels<C>; ++b)
    planNearestBlock<C>(copy, copy.columns + b * kBlockPixels<C>, blocks[b]);
}

/// `count` pixels from the sample offsets `columns`, one by one.
template <int C>
void copyPixels(const Ipp8u* source, const Ipp32s* columns, int count, Ipp8u* out) {
  for (int i = 0; i < count; ++i) std::memcpy(out + i * C, source + columns[i], C);
}

/// One nearest row, block by block. A three-channel block followed by two
/// more pixels stores 16 bytes, the last four rewritten by the next block.
template <int C>
__attribute__((target("avx2"))) void nearestRow(const Ipp8u* source, const NearestCopy& copy, Ipp8u* out,
                                                const void* plan) {
  constexpr int n = kBlockPixels<C>;
  const auto* blocks = static_cast<const NearestBlock*>(plan);
  const int whole = copy.width / n;
  for (int b = 0; b < whole; ++b) {
    const NearestBlock& block = blocks[b];
    Ipp8u* o = out + b * n * C;
    if (block.start[0] < 0) {
      copyPixels<C>(source, copy.columns + b * n, n, o);
      continue;
    }
    __m128i pixels = _mm_setzero_si128();
    for (int w = 0; w < kBlockWindows<C>; ++w) {
      const __m128i window = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + block.start[w]));
      pixels = _mm_or_si128(pixels,
                            _mm_shuffle_epi8(window, _mm_load_si128(reinterpret_cast<const __m128i*>(block.pick[w]))));
    }
    if (C == 3 && (b + 1) * n + 2 <= copy.width) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o), pixels);
    } else {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(o), pixels);
      if (C == 3) {
        const int last = _mm_extract_epi32(pixels, 2);
        std::memcpy(o + 8, &last, 4);
      }
    }
  }
  copyPixels<C>(source, copy.columns + whole * n, copy.width - whole * n, out + whole * n * C);
}

/// A nearest copy with its blocks planned once for every row; without the
/// plan's memory, the generic copy.
template <int C>
void nearestCopy(const NearestCopy& copy) {
  WorkBuffer<NearestBlock> blocks(copy.width / kBlockPixels<C>);
  if (!blocks) return (C == 3 ? generic().nearest.c3 : generic().nearest.c1)(copy);
  planNearestBlocks<C>(copy, blocks.get());
  copyNearestRows(copy, nearestRow<C>, blocks.get());
}

/// The AVX2 loops where the processor has AVX2, the generic ones elsewhere
/// (the entries stay callable by name on any processor).
const RowRoutines& avx2Routines() {
  static const RowRoutines routines = [] {
    RowRoutines r = genericRowRoutines();
    if (fc::dispatch::processorRuns(fc::dispatch::Variant::t7)) {
      r.nearest = {nearestCopy<1>, nearestCopy<3>};
      r.linear = {linearRowC1, linearRowC3, linearCombine};
      r.cubic = {cubicRowC1, cubicRowC3, cubicCombine};
      r.lanczos = {lanczosRowC1, lanczosRowC3, lanczosCombine};
    }
    return r;
  }();
  return routines;
}

}  // namespace
}  // namespace fc::primitives::resize

FC_DEFINE_RESIZE_ENTRIES(t7, fc::primitives::resize::avx2Routines())
