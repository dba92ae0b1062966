#include "contracts/video/wiener_filter.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>

namespace fc {

namespace {

// The scratch buffer holds, for every column of the extended source row and
// every channel, the sum and the sum of squares of the window's rows.
constexpr std::size_t kAlignSlack = alignof(std::int64_t);

long long ScratchBytes(IppiSize roi, IppiSize mask, int channels) {
  const long long columns = static_cast<long long>(roi.width) + mask.width - 1;
  return 2 * columns * channels * static_cast<long long>(sizeof(std::int64_t)) + kAlignSlack;
}

bool LevelInRange(Ipp32f level) { return level >= 0.0f && level <= 1.0f; }

IppStatus Check(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep, IppiSize roi, IppiSize mask,
                IppiPoint anchor, const Ipp32f* noise, const Ipp8u* buffer, int channels) {
  if (!src || !dst || !noise || !buffer) return ippStsNullPtrErr;
  if (roi.width < 1 || roi.height < 1) return ippStsSizeErr;
  if (srcStep < 1 || dstStep < 1) return ippStsStepErr;
  if (mask.width < 1 || mask.height < 1) return ippStsMaskSizeErr;
  if (anchor.x < 0 || anchor.x >= mask.width || anchor.y < 0 || anchor.y >= mask.height) return ippStsAnchorErr;
  const long long srcRow = (static_cast<long long>(roi.width) + mask.width - 1) * channels;
  if (srcStep < srcRow || dstStep < static_cast<long long>(roi.width) * channels) return ippStsStrideErr;
  for (int c = 0; c < channels; ++c)
    if (!LevelInRange(noise[c])) return ippStsNoiseRangeErr;
  return ippStsNoErr;
}

// Walks the windows of a region row by row, keeping column sums of the
// window's rows and sliding a horizontal sum across them, and hands each
// pixel's channel window sums to `visit(x, y, c, S, Q)`.
class WindowSums {
public:
  WindowSums(const Ipp8u* top, int step, IppiSize roi, IppiSize mask, int channels, Ipp8u* buffer)
      : top_(top), step_(step), roi_(roi), mask_(mask), channels_(channels),
        rowValues_((roi.width + mask.width - 1) * channels) {
    void* aligned = buffer;
    std::size_t space = static_cast<std::size_t>(ScratchBytes(roi, mask, channels));
    std::align(alignof(std::int64_t), 2 * rowValues_ * sizeof(std::int64_t), aligned, space);
    sums_ = static_cast<std::int64_t*>(aligned);
    squares_ = sums_ + rowValues_;
  }

  template <class Visit> void ForEach(Visit&& visit) {
    for (int i = 0; i < rowValues_; ++i) sums_[i] = squares_[i] = 0;
    for (int r = 0; r < mask_.height; ++r) AddRow(r, 1);
    for (int y = 0; y < roi_.height; ++y) {
      if (y > 0) {
        AddRow(y - 1, -1);
        AddRow(y + mask_.height - 1, 1);
      }
      for (int c = 0; c < channels_; ++c) VisitRow(y, c, visit);
    }
  }

private:
  void AddRow(int row, int sign) {
    const Ipp8u* p = top_ + static_cast<std::ptrdiff_t>(row) * step_;
    for (int i = 0; i < rowValues_; ++i) {
      const std::int64_t v = p[i];
      sums_[i] += sign * v;
      squares_[i] += sign * v * v;
    }
  }

  template <class Visit> void VisitRow(int y, int c, Visit& visit) {
    std::int64_t s = 0, q = 0;
    for (int k = 0; k < mask_.width; ++k) {
      s += sums_[k * channels_ + c];
      q += squares_[k * channels_ + c];
    }
    for (int x = 0; x < roi_.width; ++x) {
      if (x > 0) {
        const int leaving = (x - 1) * channels_ + c, entering = (x + mask_.width - 1) * channels_ + c;
        s += sums_[entering] - sums_[leaving];
        q += squares_[entering] - squares_[leaving];
      }
      visit(x, y, c, s, q);
    }
  }

  const Ipp8u* top_;
  int step_;
  IppiSize roi_, mask_;
  int channels_;
  int rowValues_;
  std::int64_t* sums_ = nullptr;
  std::int64_t* squares_ = nullptr;
};

struct Moments {
  double mean, variance;
};

Moments MomentsOf(std::int64_t s, std::int64_t q, double n) {
  const double mean = static_cast<double>(s) / n;
  const double variance = static_cast<double>(q) / n - mean * mean;
  return {mean, variance > 0.0 ? variance : 0.0};
}

Ipp8u WienerValue(Ipp8u source, Moments m, double noise) {
  double value = m.mean;
  if (m.variance > noise) value += (m.variance - noise) / m.variance * (source - m.mean);
  const double rounded = std::floor(value + 0.5);
  return static_cast<Ipp8u>(rounded < 0.0 ? 0.0 : (rounded > 255.0 ? 255.0 : rounded));
}

IppStatus FilterWiener(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, IppiSize mask,
                       IppiPoint anchor, const Ipp32f* levels, Ipp8u* buffer, int channels) {
  if (IppStatus s = Check(src, srcStep, dst, dstStep, roi, mask, anchor, levels, buffer, channels);
      s != ippStsNoErr)
    return s;
  const Ipp8u* top = src - static_cast<std::ptrdiff_t>(anchor.y) * srcStep - anchor.x * channels;
  WindowSums windows(top, srcStep, roi, mask, channels, buffer);
  const double n = static_cast<double>(mask.width) * mask.height;

  double noise[3] = {};
  bool estimate = false;
  for (int c = 0; c < channels; ++c) {
    noise[c] = static_cast<double>(levels[c]) * 255.0 * 255.0;
    estimate = estimate || levels[c] == 0.0f;
  }
  if (estimate) {
    double total[3] = {};
    windows.ForEach([&](int, int, int c, std::int64_t s, std::int64_t q) { total[c] += MomentsOf(s, q, n).variance; });
    const double pixels = static_cast<double>(roi.width) * roi.height;
    for (int c = 0; c < channels; ++c)
      if (levels[c] == 0.0f) noise[c] = total[c] / pixels;
  }
  windows.ForEach([&](int x, int y, int c, std::int64_t s, std::int64_t q) {
    const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(x) * channels + c;
    const Ipp8u source = src[static_cast<std::ptrdiff_t>(y) * srcStep + at];
    dst[static_cast<std::ptrdiff_t>(y) * dstStep + at] = WienerValue(source, MomentsOf(s, q, n), noise[c]);
  });
  return ippStsNoErr;
}

}  // namespace

IppStatus ippiFilterWienerGetBufferSize(IppiSize roiSize, IppiSize maskSize, int channels, int* pBufferSize) {
  if (!pBufferSize) return ippStsNullPtrErr;
  if (roiSize.width < 1 || roiSize.height < 1) return ippStsSizeErr;
  if (maskSize.width < 1 || maskSize.height < 1) return ippStsMaskSizeErr;
  if (channels != 1 && channels != 3) return ippStsNumChannelsErr;
  const long long bytes = ScratchBytes(roiSize, maskSize, channels);
  if (bytes > INT_MAX) return ippStsSizeErr;
  *pBufferSize = static_cast<int>(bytes);
  return ippStsNoErr;
}

IppStatus ippiFilterWiener_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                                  IppiSize maskSize, IppiPoint anchor, const Ipp32f noise[1], Ipp8u* pBuffer) {
  return FilterWiener(pSrc, srcStep, pDst, dstStep, roiSize, maskSize, anchor, noise, pBuffer, 1);
}

IppStatus ippiFilterWiener_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                                  IppiSize maskSize, IppiPoint anchor, const Ipp32f noise[3], Ipp8u* pBuffer) {
  return FilterWiener(pSrc, srcStep, pDst, dstStep, roiSize, maskSize, anchor, noise, pBuffer, 3);
}

}  // namespace fc
