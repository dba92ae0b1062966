// morphology_rows.cpp - erosion and dilation of one row.
//
// The row is built cell by cell rather than pixel by pixel: the first
// non-zero cell's source bytes are copied, and every further non-zero cell
// folds its shifted source row into the destination with min or max. Each
// pass runs over contiguous bytes, so its cost does not depend on the mask's
// shape, only on its number of non-zero cells.
#include "primitives/filters/morphology_rows.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace fc::primitives {
namespace {

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

}  // namespace

void Erode_8u_C1S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask, int maskWidth,
                  int maskHeight) {
  extremeRow<1, Minimum>(pSrc, srcStep, pDst, width, pMask, maskWidth, maskHeight);
}

void Erode_8u_C3S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask, int maskWidth,
                  int maskHeight) {
  extremeRow<3, Minimum>(pSrc, srcStep, pDst, width, pMask, maskWidth, maskHeight);
}

void Dilate_8u_C1S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask, int maskWidth,
                   int maskHeight) {
  extremeRow<1, Maximum>(pSrc, srcStep, pDst, width, pMask, maskWidth, maskHeight);
}

void Dilate_8u_C3S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask, int maskWidth,
                   int maskHeight) {
  extremeRow<3, Maximum>(pSrc, srcStep, pDst, width, pMask, maskWidth, maskHeight);
}

}  // namespace fc::primitives
