// jaehne.cpp - the Jaehne test pattern: concentric rings whose frequency grows
// with the distance from the centre of the region, written to all three bytes
// of every pixel.
#include <cmath>
#include <cstring>
#include <numbers>

#include "dispatch/primitives.h"
#include "primitives/color/point_checks.h"

namespace fc::primitives {
namespace {

/// Value of the pattern at squared distance d2 from the centre, for a region
/// of the given height: (sin(2 pi d2 / (4 height)) + 1) * 127.99999, truncated
/// toward zero into 0..255.
Ipp8u jaehneValue(double d2, double fourHeight) {
  const double phase = 2.0 * std::numbers::pi * d2 / fourHeight;
  return static_cast<Ipp8u>(static_cast<int>((std::sin(phase) + 1.0) * 127.99999));
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus px_ippiImageJaehne_8u_C3R(Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  using namespace fc::primitives;
  if (pDst == nullptr) return ippStsNullPtrErr;
  if (dstStep < 1) return ippStsStepErr;
  if (isEmpty(roiSize)) return ippStsSizeErr;
  const double cx = 0.5 * (roiSize.width - 1.0);
  const double cy = 0.5 * (roiSize.height - 1.0);
  const double fourHeight = 4.0 * roiSize.height;
  const std::size_t rowBytes = rowBytesC3(roiSize);
  // Mirrored columns and rows have exactly the same squared distance from the
  // centre (x - cx is exact), so the left half of the top rows is computed
  // and the rest mirrored.
  for (int y = 0; y < (roiSize.height + 1) / 2; ++y) {
    Ipp8u* row = rowAt(pDst, dstStep, y);
    const double dy = y - cy;
    for (int x = 0; x < (roiSize.width + 1) / 2; ++x) {
      const double dx = x - cx;
      const Ipp8u v = jaehneValue(dx * dx + dy * dy, fourHeight);
      std::memset(row + static_cast<std::size_t>(x) * 3, v, 3);
      std::memset(row + static_cast<std::size_t>(roiSize.width - 1 - x) * 3, v, 3);
    }
    const int mirroredRow = roiSize.height - 1 - y;
    if (mirroredRow != y) std::memmove(rowAt(pDst, dstStep, mirroredRow), row, rowBytes);
  }
  return ippStsNoErr;
}
