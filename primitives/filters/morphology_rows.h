// morphology_rows.h - row routines of erosion and dilation with an arbitrary
// structuring element. Compiled once per code variant that includes them (see
// primitives/variant.h), so each such variant has its own routines of these
// names.
//
// Each writes one destination row of `width` pixels: for every pixel and
// channel, the minimum (Erode) or maximum (Dilate) of the source bytes under
// the mask cells whose byte is non-zero; cells with a zero byte are ignored.
// pSrc is the top-left of the first pixel's window; the window of pixel x
// starts x pixels further right. The mask is maskHeight rows of maskWidth
// bytes. A mask without any non-zero byte writes nothing. Source and
// destination must not overlap.
//
// The row is built cell by cell rather than pixel by pixel: the first
// non-zero cell's source bytes are copied, and every further non-zero cell
// folds its shifted source row into the destination with min or max. Each
// pass runs over contiguous bytes, so its cost does not depend on the mask's
// shape, only on its number of non-zero cells.
#pragma once

#include <cstddef>
#include <cstring>

#include "dispatch/Fcimagedefs.h"
#include "primitives/variant.h"

namespace fc::primitives {
inline namespace FC_VARIANT_TAG {
namespace morphology {

struct Minimum {
  static Ipp8u pick(Ipp8u a, Ipp8u b) { return a < b ? a : b; }
};

struct Maximum {
  static Ipp8u pick(Ipp8u a, Ipp8u b) { return a > b ? a : b; }
};

template <class Extreme>
void foldRow(const Ipp8u* __restrict src, Ipp8u* __restrict dst, std::ptrdiff_t length) {
  for (std::ptrdiff_t i = 0; i < length; ++i) dst[i] = Extreme::pick(dst[i], src[i]);
}

template <int Channels, class Extreme>
void extremeRow(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask, int maskWidth,
                int maskHeight) {
  const std::ptrdiff_t length = static_cast<std::ptrdiff_t>(width) * Channels;
  bool started = false;
  for (int row = 0; row < maskHeight; ++row) {
    const Ipp8u* maskRow = pMask + static_cast<std::ptrdiff_t>(row) * maskWidth;
    const Ipp8u* srcRow = pSrc + static_cast<std::ptrdiff_t>(row) * srcStep;
    for (int column = 0; column < maskWidth; ++column) {
      if (maskRow[column] == 0) continue;
      const Ipp8u* cell = srcRow + static_cast<std::ptrdiff_t>(column) * Channels;
      if (started) {
        foldRow<Extreme>(cell, pDst, length);
      } else {
        std::memcpy(pDst, cell, static_cast<std::size_t>(length));
        started = true;
      }
    }
  }
}

}  // namespace morphology

inline void Erode_8u_C1S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask,
                         int maskWidth, int maskHeight) {
  morphology::extremeRow<1, morphology::Minimum>(pSrc, srcStep, pDst, width, pMask, maskWidth, maskHeight);
}

inline void Erode_8u_C3S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask,
                         int maskWidth, int maskHeight) {
  morphology::extremeRow<3, morphology::Minimum>(pSrc, srcStep, pDst, width, pMask, maskWidth, maskHeight);
}

inline void Dilate_8u_C1S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask,
                          int maskWidth, int maskHeight) {
  morphology::extremeRow<1, morphology::Maximum>(pSrc, srcStep, pDst, width, pMask, maskWidth, maskHeight);
}

inline void Dilate_8u_C3S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask,
                          int maskWidth, int maskHeight) {
  morphology::extremeRow<3, morphology::Maximum>(pSrc, srcStep, pDst, width, pMask, maskWidth, maskHeight);
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::primitives
