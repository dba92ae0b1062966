// color_block_io_t7.h - the colour conversions' block reads and writes with
// AVX2 byte shuffles, eight pixels per step, for the t7 variant (included by
// color_conversion.h when color_conversions_t7.cpp asks for it). Steps read
// 28 bytes, so the last pixels of a block, and blocks too short, go the
// generic way. Conversions given as per-pixel formulas can also skip the
// block and convert pixels in registers.
#pragma once

#define FC_COLOR_PIXELS_IN_REGISTERS 1

namespace fc::color {
inline namespace FC_VARIANT_TAG {

/// 16-byte shuffle masks, repeated in both lanes of a 32-byte register.
struct BlockShuffles {
  /// Byte k of each of four pixels (12 bytes) into four 32-bit lanes.
  __m256i toPlane[3];
  /// The low bytes of four 32-bit lanes to byte k of four pixels.
  __m256i fromPlane[3];
  /// The 12 pixel bytes of each lane joined into the low 24 bytes.
  __m256i joinLanes = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);

  BlockShuffles() {
    alignas(16) Ipp8u to[16], from[16];
    for (int k = 0; k < 3; ++k) {
      for (int i = 0; i < 16; ++i) {
        to[i] = i % 4 == 0 ? static_cast<Ipp8u>(3 * (i / 4) + k) : 0x80;
        from[i] = i < 12 && i % 3 == k ? static_cast<Ipp8u>(4 * (i / 3)) : 0x80;
      }
      toPlane[k] = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(to)));
      fromPlane[k] = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(from)));
    }
  }
};

inline const BlockShuffles& blockShuffles() {
  static const BlockShuffles shuffles;
  return shuffles;
}

/// Eight pixels, one channel per vector of 32-bit lanes.
struct EightPixels {
  __m256i c0, c1, c2;
};

/// The bytes of eight pixels from 28 readable bytes: pixels 0-3 in the low
/// lane, 4-7 in the high one, each lane from its first pixel's first byte.
inline __m256i loadEightRaw(const Ipp8u* s) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s))),
                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 12)), 1);
}

/// Eight pixels from 28 readable bytes.
inline EightPixels loadEight(const Ipp8u* s, const BlockShuffles& shuffles) {
  const __m256i raw = loadEightRaw(s);
  return {_mm256_shuffle_epi8(raw, shuffles.toPlane[0]), _mm256_shuffle_epi8(raw, shuffles.toPlane[1]),
          _mm256_shuffle_epi8(raw, shuffles.toPlane[2])};
}

/// The low bytes of eight lanes per channel written as eight pixels (24 bytes).
inline void storeEight(const EightPixels& c, Ipp8u* d, const BlockShuffles& shuffles) {
  const __m256i pixels = _mm256_or_si256(
      _mm256_or_si256(_mm256_shuffle_epi8(c.c0, shuffles.fromPlane[0]), _mm256_shuffle_epi8(c.c1, shuffles.fromPlane[1])),
      _mm256_shuffle_epi8(c.c2, shuffles.fromPlane[2]));
  const __m256i joined = _mm256_permutevar8x32_epi32(pixels, shuffles.joinLanes);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(joined));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm256_extracti128_si256(joined, 1));
}

inline void loadBlock(const Ipp8u* src, int n, Block& in) {
  const BlockShuffles& shuffles = blockShuffles();
  int i = 0;
  for (; i + 10 <= n; i += 8) {
    const EightPixels c = loadEight(src + 3 * i, shuffles);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(in.c0 + i), c.c0);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(in.c1 + i), c.c1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(in.c2 + i), c.c2);
  }
  loadPixels(src, i, n, in);
}

inline void storeBlock(const Block& out, int n, Ipp8u* dst) {
  const BlockShuffles& shuffles = blockShuffles();
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    storeEight({_mm256_loadu_si256(reinterpret_cast<const __m256i*>(out.c0 + i)),
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out.c1 + i)),
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out.c2 + i))},
               dst + 3 * i, shuffles);
  }
  storePixels(out, i, n, dst);
}

/// Eight 32-bit lanes as the compiler's generic vector type, on which the
/// per-pixel formulas run unchanged.
using EightLanes = std::int32_t __attribute__((vector_size(32)));

/// A per-pixel formula (see convertEach) on eight pixels held in registers.
template <typename Formula>
inline EightPixels convertEight(const EightPixels& in) {
  const Channels<EightLanes> out = Formula{}(EightLanes(in.c0), EightLanes(in.c1), EightLanes(in.c2));
  return {__m256i(out.c0), __m256i(out.c1), __m256i(out.c2)};
}

/// Converts eight pixels from 28 readable bytes at `s` to 24 bytes at `d`,
/// reading before writing. A formula with a faster step of its own
/// specialises this.
template <typename Formula>
struct EightPixelStep {
  static void run(const Ipp8u* s, Ipp8u* d, const BlockShuffles& shuffles) {
    storeEight(convertEight<Formula>(loadEight(s, shuffles)), d, shuffles);
  }
};

/// Converts each row eight pixels at a time without passing through a block
/// in memory, while 28 bytes can be read inside the row; the last pixels go
/// the block way. Each step reads its pixels before it writes them, so source
/// and destination may coincide.
template <typename Formula>
void convertRowInRegisters(const Ipp8u* src, Ipp8u* dst, int width, Block& in, Block& out) {
  const BlockShuffles shuffles = blockShuffles();
  int x = 0;
  for (; x + 10 <= width; x += 8)
    EightPixelStep<Formula>::run(src + 3 * x, dst + 3 * x, shuffles);
  if (x == width) return;
  loadPixels(src + 3 * x, 0, width - x, in);
  convertEach<Formula>(in, out);
  storePixels(out, 0, width - x, dst + 3 * x);
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
