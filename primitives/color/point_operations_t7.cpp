// point_operations_t7.cpp - t7 variants of the point operations: written
// with their own instructions, the planar copy with AVX2 byte shuffles and
// the gamma tables with AVX2 byte shuffles; uniform noise from the generic
// kernel compiled for AVX2. The colour twist has its own file.
#include <immintrin.h>

#include <array>
#include <cstring>

#include "dispatch/primitives.h"
#include "primitives/color/gamma_tables.h"
#include "primitives/color/noise_generator.h"
#include "primitives/color/planar_copy.h"
#include "primitives/color/point_checks.h"
#include "primitives/variant.h"

FC_VARIANT_TARGET_BEGIN()
#include "primitives/color/uniform_noise_kernel.h"
FC_VARIANT_TARGET_END()

namespace fc::primitives {
namespace {

using ShuffleMask = std::array<Ipp8u, 16>;

__m128i loadMask(const ShuffleMask& mask) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask.data()));
}

/// Picks, for plane `plane`, the bytes of one 16-byte lane of a 48-byte
/// block of 16 pixels into their places among the plane's 16 bytes; places
/// fed from other lanes get 0x80 (zero).
constexpr ShuffleMask planeMask(int plane, int lane) {
  ShuffleMask mask{};
  for (int j = 0; j < 16; ++j) {
    const int position = 3 * j + plane;
    mask[j] = position / 16 == lane ? static_cast<Ipp8u>(position % 16) : 0x80;
  }
  return mask;
}

/// Plane `Plane` of 16 pixels in each 16-byte lane: a lane of lanes0, 1
/// and 2 holds bytes 0-15, 16-31 and 32-47 of its own 48-byte block, and
/// the same masks pick the plane's bytes out of each.
__attribute__((target("avx2"))) __m256i shuffleLanes(__m256i bytes, const ShuffleMask& mask) {
  return _mm256_shuffle_epi8(bytes, _mm256_broadcastsi128_si256(loadMask(mask)));
}

template <int Plane>
__attribute__((target("avx2"))) __m256i gatherPlane(__m256i lanes0, __m256i lanes1, __m256i lanes2) {
  static constexpr ShuffleMask masks[3] = {planeMask(Plane, 0), planeMask(Plane, 1), planeMask(Plane, 2)};
  return _mm256_or_si256(_mm256_or_si256(shuffleLanes(lanes0, masks[0]), shuffleLanes(lanes1, masks[1])),
                         shuffleLanes(lanes2, masks[2]));
}

/// Two 16-byte pieces, one per lane.
__attribute__((target("avx2"))) __m256i loadLanes(const Ipp8u* low, const Ipp8u* high) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low))),
                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)), 1);
}

/// Splits one row: 32 pixels per step, the first 16 from the low lanes and
/// the next 16 from the high ones, so each plane is one 32-byte store; the
/// rest pixel by pixel.
__attribute__((target("avx2"))) void splitRowAvx2(const Ipp8u* src, Ipp8u* const planes[3], int width) {
  int x = 0;
  for (; x + 32 <= width; x += 32) {
    const Ipp8u* s = src + static_cast<std::size_t>(x) * 3;
    const __m256i lanes0 = loadLanes(s, s + 48);
    const __m256i lanes1 = loadLanes(s + 16, s + 64);
    const __m256i lanes2 = loadLanes(s + 32, s + 80);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(planes[0] + x), gatherPlane<0>(lanes0, lanes1, lanes2));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(planes[1] + x), gatherPlane<1>(lanes0, lanes1, lanes2));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(planes[2] + x), gatherPlane<2>(lanes0, lanes1, lanes2));
  }
  splitRowGeneric(src, planes, x, width);
}

/// Looks up 32 bytes per step in a 256-entry table held as sixteen 16-entry
/// rows: every row is indexed by the low four bits of each byte, then bits
/// 4 to 7 choose among the sixteen results in four rounds of byte blends
/// (each round shifts its bit into the top bit of the byte, which the blend
/// reads; the bits a 16-bit shift carries in from the byte below stay out
/// of it).
__attribute__((target("avx2"))) void lookUpRowAvx2(const LookUpTable& table, const Ipp8u* src, Ipp8u* dst,
                                                   std::size_t n) {
  __m256i rows[16];
  for (int k = 0; k < 16; ++k)
    rows[k] = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table + 16 * k)));
  const __m256i lowBits = _mm256_set1_epi8(0x0F);
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i index = _mm256_and_si256(v, lowBits);
    __m256i level[16];
    for (int k = 0; k < 16; ++k) level[k] = _mm256_shuffle_epi8(rows[k], index);
    int count = 16;
    for (int bit = 4; bit < 8; ++bit) {
      const __m256i choose = _mm256_slli_epi16(v, 7 - bit);
      count /= 2;
      for (int k = 0; k < count; ++k) level[k] = _mm256_blendv_epi8(level[2 * k], level[2 * k + 1], choose);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), level[0]);
  }
  lookUpBytes(table, src + i, dst + i, n - i);
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus t7_ippiCopy_8u_C3P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* const pDst[3],
                                                 int dstStep, IppiSize roiSize) {
  return fc::primitives::copyToPlanes(fc::primitives::splitRowAvx2, pSrc, srcStep, pDst, dstStep, roiSize);
}

FC_DEFINE_GAMMA_VARIANTS(t7, fc::primitives::lookUpRowAvx2)

extern "C" FC_API IppStatus t7_ippiAddRandUniform_Direct_8u_C3IR FC_IN_PLACE_PARAMS(Ipp8u low, Ipp8u high,
                                                                                    unsigned int* pSeed) {
  return fc::primitives::addUniformNoise(pSrcDst, srcDstStep, roiSize, low, high, pSeed);
}
