// color_block_io_t7.h - the colour conversions' block reads and writes with
// AVX2 byte shuffles, eight pixels per step, for the t7 variant (included by
// color_conversion.h when color_conversions_t7.cpp asks for it). Steps read
// 28 bytes, so the last pixels of a block, and blocks too short, go the
// generic way.
#pragma once

namespace fc::color {
inline namespace FC_VARIANT_TAG {

/// 16-byte shuffle masks, repeated in both lanes of a 32-byte register.
struct BlockShuffles {
  /// Byte k of each of four pixels (12 bytes) into four 32-bit lanes.
  __m256i toPlane[3];
  /// The low bytes of four 32-bit lanes to byte k of four pixels.
  __m256i fromPlane[3];

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

inline void loadBlock(const Ipp8u* src, int n, Block& in) {
  const BlockShuffles& shuffles = blockShuffles();
  int i = 0;
  for (; i + 10 <= n; i += 8) {
    const Ipp8u* s = src + 3 * i;
    // Pixels 0-3 in the low lane, 4-7 in the high one, each from its first byte.
    const __m256i raw = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 12)), 1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(in.c0 + i), _mm256_shuffle_epi8(raw, shuffles.toPlane[0]));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(in.c1 + i), _mm256_shuffle_epi8(raw, shuffles.toPlane[1]));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(in.c2 + i), _mm256_shuffle_epi8(raw, shuffles.toPlane[2]));
  }
  loadPixels(src, i, n, in);
}

inline void storeBlock(const Block& out, int n, Ipp8u* dst) {
  const BlockShuffles& shuffles = blockShuffles();
  const __m256i joinLanes = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i c0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out.c0 + i));
    const __m256i c1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out.c1 + i));
    const __m256i c2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out.c2 + i));
    const __m256i pixels = _mm256_or_si256(
        _mm256_or_si256(_mm256_shuffle_epi8(c0, shuffles.fromPlane[0]), _mm256_shuffle_epi8(c1, shuffles.fromPlane[1])),
        _mm256_shuffle_epi8(c2, shuffles.fromPlane[2]));
    const __m256i joined = _mm256_permutevar8x32_epi32(pixels, joinLanes);
    Ipp8u* d = dst + 3 * i;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(joined));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm256_extracti128_si256(joined, 1));
  }
  storePixels(out, i, n, dst);
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
