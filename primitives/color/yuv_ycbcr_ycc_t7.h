// yuv_ycbcr_ycc_t7.h - the t7 steps of RGB to and from YUV, YCbCr and
// PhotoYCC: eight pixels per step, each formula rewritten as 16-bit pair
// multiplies (_mm256_madd_epi16) that give exactly the 32-bit sums of the
// generic kernels. Included by color_conversion_variants.h for the t7 variant
// (see color_conversions_t7.cpp).
//
// A pixel occupies one 32-bit lane; a "pair" holds two of its 16-bit values,
// low and high. madd multiplies both by 16-bit coefficients and adds the
// products, so a coefficient beyond 16 bits is split: into two halves on two
// pairs holding the same channel, or into a multiple of 65536 that moves out
// of the shift (floor((65536 k + x) / 65536) = k + floor(x / 65536)).
// A constant term rides on a pair whose high half is a fixed value, or on an
// offset taken from the bytes. Products shifted right by 16 whose operands fit
// 16 bits are single high multiplies (_mm256_mulhi_epi16).
#pragma once

namespace fc::color {
inline namespace FC_VARIANT_TAG {

/// A 32-byte shuffle mask, the same 16 bytes in both lanes.
struct ByteMask {
  alignas(32) char bytes[32];
};

/// Byte n of a lane of four pixels (12 bytes): channel i to the low and
/// channel j to the high half of the pixel's 32-bit lane, zero extended. A
/// negative channel gives zero.
constexpr char pairByte(int i, int j, int n) {
  const int slot = n % 4, channel = slot == 0 ? i : slot == 2 ? j : -1;
  return channel < 0 ? static_cast<char>(0x80) : static_cast<char>(3 * (n / 4) + channel);
}

constexpr ByteMask pairMask(int i, int j) {
  ByteMask m{};
  for (int n = 0; n < 32; ++n) m.bytes[n] = pairByte(i, j, n % 16);
  return m;
}

/// Gathers the low bytes of four channel lanes packed one after the other
/// (channel 0 of pixels 0-3, then channel 1, channel 2) into 12 pixel bytes.
constexpr ByteMask interleaveMask() {
  ByteMask m{};
  for (int n = 0; n < 32; ++n) {
    const int k = n % 16;
    m.bytes[n] = k < 12 ? static_cast<char>(4 * (k % 3) + k / 3) : static_cast<char>(0x80);
  }
  return m;
}

template <int I, int J>
inline constexpr ByteMask kPairMask = pairMask(I, J);
inline constexpr ByteMask kInterleaveMask = interleaveMask();

inline __m256i maskVector(const ByteMask& m) { return _mm256_load_si256(reinterpret_cast<const __m256i*>(m.bytes)); }

/// Channels i and j (j < 0: none) of eight loaded pixels as pairs.
template <int I, int J>
inline __m256i pairs(__m256i raw) {
  return _mm256_shuffle_epi8(raw, maskVector(kPairMask<I, J>));
}

/// Channel i of eight loaded pixels in the low half and `high` in the high one.
template <int I>
inline __m256i pairWith(__m256i raw, int high) {
  return _mm256_or_si256(pairs<I, -1>(raw), _mm256_set1_epi32(high << 16));
}

/// lo in the low and hi in the high half of every 32-bit lane.
inline __m256i halves(int lo, int hi) {
  return _mm256_set1_epi32(static_cast<int>((static_cast<unsigned>(hi) << 16) | (static_cast<unsigned>(lo) & 0xFFFFu)));
}

/// lo * pair.low + hi * pair.high in every 32-bit lane.
inline __m256i madd(__m256i pair, int lo, int hi) { return _mm256_madd_epi16(pair, halves(lo, hi)); }

/// (c * x) >> 16 for the 16-bit value x in the low half of every lane, with
/// 0 in the high half: the lane reads as the result where it is not negative.
inline __m256i mulHigh(__m256i x, int c) { return _mm256_mulhi_epi16(x, halves(c, 0)); }

/// c added to the low half of every lane alone: a result of mulHigh plus c
/// stays a lane that reads as its value when that lies within 0..32767.
inline __m256i addLow(__m256i x, int c) { return _mm256_add_epi16(x, halves(c, 0)); }

/// x >> s per lane, rounding toward minus infinity.
inline __m256i shr(__m256i x, int s) { return _mm256_srai_epi32(x, s); }
inline __m256i add(__m256i a, __m256i b) { return _mm256_add_epi32(a, b); }
inline __m256i sub(__m256i a, __m256i b) { return _mm256_sub_epi32(a, b); }
inline __m256i constant(int c) { return _mm256_set1_epi32(c); }

/// Every pair less (lo, hi): bytes as signed differences from an offset.
inline __m256i offset(__m256i pair, int lo, int hi) { return _mm256_sub_epi16(pair, halves(lo, hi)); }

/// Stores three channels of eight pixels, each limited to 0..255 (the
/// saturating packs), as 24 bytes.
inline void storeLimited(const EightPixels& c, Ipp8u* d, const BlockShuffles& shuffles) {
  const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(c.c0, c.c1), _mm256_packs_epi32(c.c2, c.c2));
  const __m256i pixels = _mm256_shuffle_epi8(bytes, maskVector(kInterleaveMask));
  const __m256i joined = _mm256_permutevar8x32_epi32(pixels, shuffles.joinLanes);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(joined));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm256_extracti128_si256(joined, 1));
}

/// A step that maps the loaded bytes of eight pixels to three channels by
/// `convert` and stores them limited to 0..255.
template <EightPixels (*convert)(__m256i raw)>
struct LimitedStep {
  static void run(const Ipp8u* s, Ipp8u* d, const BlockShuffles& shuffles) {
    storeLimited(convert(loadEightRaw(s)), d, shuffles);
  }
};

// s = 19595 r + 38470 g + 7471 b with g's coefficient in two halves;
// (65536 b - s + 32767) >> 16 = b + t with t = (32767 - s) >> 16, likewise r;
// 57475 dR = 65536 dR - 8061 dR.
inline EightPixels yuvPairs(__m256i raw) {
  const __m256i rg = pairs<0, 1>(raw), bg = pairs<2, 1>(raw);
  const __m256i sum = add(madd(rg, 19595, 19235), madd(bg, 7471, 19235));
  const __m256i t = shr(sub(constant(32767), sum), 16);
  const __m256i dB = add(madd(bg, 1, 0), t), dR = add(madd(rg, 1, 0), t);
  const __m256i u = addLow(mulHigh(dB, 32244), 128);
  const __m256i v = add(add(dR, shr(madd(dR, -8061, 0), 16)), constant(128));
  return {shr(sum, 16), u, v};
}
template <>
struct EightPixelStep<YuvFromRgb> : LimitedStep<yuvPairs> {};

// With u = c1 - 128 and v = c2 - 128: 74711 = 65536 + 9175,
// -38076 = -65536 + 27460, 133169 = 131072 + 2097.
inline EightPixels rgbFromYuvPairs(__m256i raw) {
  const __m256i y = pairs<0, -1>(raw), uv = offset(pairs<1, 2>(raw), 128, 128);
  const __m256i v = shr(uv, 16);
  const __m256i r = add(add(y, v), shr(madd(uv, 0, 9175), 16));
  const __m256i g = add(sub(y, v), shr(madd(uv, -25821, 27460), 16));
  const __m256i b = add(add(y, madd(uv, 2, 0)), shr(madd(uv, 2097, 0), 16));
  return {r, g, b};
}
template <>
struct EightPixelStep<RgbFromYuv> : LimitedStep<rgbFromYuvPairs> {};

// 33030 g = 65536 g - 32506 g, the 65536 g coming from the (r, g) pair read
// as one 32-bit value r + 65536 g. The offsets ride on b's pair with 512 in
// its high half: 1081344 = 512 * 2112, and the chroma offset
// -8355840 + 2^24 = 512 * 16448 gives each result plus 256, which has the
// same low byte and stays within 0..255.
inline EightPixels ycbcrPairs(__m256i raw) {
  const __m256i rg = pairs<0, 1>(raw), bk = pairWith<2>(raw, 512);
  const __m256i y = shr(add(add(madd(rg, 16842, -32506), rg), madd(bk, 6423, 2112)), 16);
  const __m256i cb = shr(add(madd(rg, -9699, -19071), madd(bk, 28770, 16448)), 16);
  const __m256i cr = shr(add(madd(rg, 28770, -24117), madd(bk, -4653, 16448)), 16);
  return {y, cb, cr};
}
template <>
struct EightPixelStep<YcbcrFromRgb> : LimitedStep<ycbcrPairs> {};

// With y = c0 - 16, cb = c1 - 128 and cr = c2 - 128 (-1220544 = -76284 * 16),
// each sum is 65536 L + x with L a whole combination of them:
// 76284 = 65536 + 10748, 104595 = 131072 - 26477, -53281 = -65536 + 12255,
// 132186 = 131072 + 1114.
inline EightPixels rgbFromYcbcrPairs(__m256i raw) {
  const __m256i yr = offset(pairs<0, 2>(raw), 16, 128), yb = offset(pairs<0, 1>(raw), 16, 128);
  const __m256i r = add(madd(yr, 1, 2), shr(madd(yr, 10748, -26477), 16));
  const __m256i g = add(madd(yr, 1, -1), shr(add(madd(yr, 10748, 12255), madd(yb, 0, -25690)), 16));
  const __m256i b = add(madd(yb, 1, 2), shr(madd(yb, 10748, 1114), 16));
  return {r, g, b};
}
template <>
struct EightPixelStep<RgbFromYcbcr> : LimitedStep<rgbFromYcbcrPairs> {};

// s = 4898 r + 9617 g + 1867 b with g's coefficient in two halves.
inline EightPixels yccPairs(__m256i raw) {
  const __m256i rg = pairs<0, 1>(raw), bg = pairs<2, 1>(raw);
  const __m256i sum = add(madd(rg, 4898, 4808), madd(bg, 1867, 4809));
  const __m256i dB = shr(sub(madd(bg, 16384, 0), sum), 10);
  const __m256i dR = shr(sub(madd(rg, 16384, 0), sum), 10);
  const __m256i y = mulHigh(shr(sum, 10), 2921);
  const __m256i c1 = addLow(mulHigh(dB, 1789), 156), c2 = addLow(mulHigh(dR, 2178), 137);
  return {y, c1, c2};
}
template <>
struct EightPixelStep<YccFromRgb> : LimitedStep<yccPairs> {};

// chroma1 = 9084 (c1 - 156) and chroma2 = 7460 (c2 - 137). chroma >> 8 is
// (128 d * 2 k) >> 16 for a difference d and coefficient k, one 16-bit high
// multiply on both differences of a pair (128 d and 2 k fit 16 bits).
inline EightPixels rgbFromYccPairs(__m256i raw) {
  const __m256i y1 = offset(pairs<0, 1>(raw), 0, 156), y2 = offset(pairs<0, 2>(raw), 0, 137);
  const __m256i d = _mm256_slli_epi16(offset(pairs<1, 2>(raw), 156, 137), 7);
  const __m256i e = _mm256_mulhi_epi16(d, halves(2 * 9084, 2 * 7460));
  const __m256i g = shr(add(_mm256_slli_epi32(madd(y1, 5564, 0), 4), madd(e, -794, -2084)), 16);
  return {shr(madd(y2, 5564, 7460), 12), g, shr(madd(y1, 5564, 9084), 12)};
}
template <>
struct EightPixelStep<RgbFromYcc> : LimitedStep<rgbFromYccPairs> {};

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
