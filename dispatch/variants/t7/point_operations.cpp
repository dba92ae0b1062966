// point_operations.cpp - t7 variants of the point operations written with
// their own instructions: the planar copy with SSSE3 byte shuffles.
#include <tmmintrin.h>

#include <array>

#include "dispatch/primitives.h"
#include "primitives/color/planar_copy.h"

namespace fc::primitives {
namespace {

using ShuffleMask = std::array<Ipp8u, 16>;

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

template <int Plane>
__attribute__((target("ssse3"))) __m128i gatherPlane(__m128i lane0, __m128i lane1, __m128i lane2) {
  static constexpr ShuffleMask masks[3] = {planeMask(Plane, 0), planeMask(Plane, 1), planeMask(Plane, 2)};
  auto pick = [](__m128i lane, const ShuffleMask& mask) __attribute__((target("ssse3"))) {
    return _mm_shuffle_epi8(lane, _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask.data())));
  };
  return _mm_or_si128(_mm_or_si128(pick(lane0, masks[0]), pick(lane1, masks[1])), pick(lane2, masks[2]));
}

/// Splits one row: 16 pixels per step, the rest pixel by pixel.
__attribute__((target("ssse3"))) void splitRowSsse3(const Ipp8u* src, Ipp8u* const planes[3], int width) {
  int x = 0;
  for (; x + 16 <= width; x += 16) {
    const Ipp8u* s = src + static_cast<std::size_t>(x) * 3;
    const __m128i lane0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i lane1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
    const __m128i lane2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 32));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(planes[0] + x), gatherPlane<0>(lane0, lane1, lane2));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(planes[1] + x), gatherPlane<1>(lane0, lane1, lane2));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(planes[2] + x), gatherPlane<2>(lane0, lane1, lane2));
  }
  splitRowGeneric(src, planes, x, width);
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus t7_ippiCopy_8u_C3P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* const pDst[3],
                                                 int dstStep, IppiSize roiSize) {
  return fc::primitives::copyToPlanes(fc::primitives::splitRowSsse3, pSrc, srcStep, pDst, dstStep, roiSize);
}
