// noise.cpp - additive uniform and Gaussian noise on three-channel images,
// driven by the generator of noise_generator.h. The caller owns the seed: it
// is read at entry and replaced at exit, so consecutive calls continue one
// sequence.
#include <cmath>
#include <cstdint>

#include "dispatch/primitives.h"
#include "primitives/color/noise_generator.h"
#include "primitives/color/point_checks.h"
#include "primitives/color/uniform_noise_kernel.h"

namespace fc::primitives {
namespace {

Ipp8u addSaturated(Ipp8u byte, int noise) {
  const int sum = byte + noise;
  return static_cast<Ipp8u>(sum >= 255 ? 255 : sum <= 0 ? 0 : sum);
}

/// Calls op(byte) for every byte of the region, row by row, left to right.
template <typename ByteOp>
void forEachByteC3(Ipp8u* image, int step, IppiSize roi, ByteOp op) {
  const std::size_t bytes = rowBytesC3(roi);
  for (int y = 0; y < roi.height; ++y) {
    Ipp8u* row = rowAt(image, step, y);
    for (std::size_t i = 0; i < bytes; ++i) op(row[i]);
  }
}

/// Gaussian noise by the polar method. Values come in pairs; the second of a
/// pair is kept for the next byte.
class GaussianNoise {
 public:
  GaussianNoise(Ipp8u mean, Ipp8u stdDev) : mean_(mean), stdDev_(stdDev) {}

  int next(NoiseGenerator& generator) {
    if (hasSecond_) {
      hasSecond_ = false;
      return second_;
    }
    double u1 = 0, u2 = 0, s = 0;
    do {
      u1 = generator.draw() * 0x1p-31;
      u2 = generator.draw() * 0x1p-31;
      s = u1 * u1 + u2 * u2;
    } while (s >= 1.0 || s == 0.0);
    const double f = std::sqrt(-2.0 * std::log(s) / s);
    second_ = static_cast<int>(stdDev_ * f * u2 + mean_);
    hasSecond_ = true;
    return static_cast<int>(stdDev_ * f * u1 + mean_);
  }

 private:
  double mean_;
  double stdDev_;
  int second_ = 0;
  bool hasSecond_ = false;
};

/// Adds the noise source's values to every byte of the region and writes the
/// continuing seed back.
template <typename Noise>
IppStatus addNoise(Noise noise, Ipp8u* image, int step, IppiSize roi, unsigned int* seed) {
  if (const IppStatus status = checkNoiseArguments(image, step, roi, seed)) return status;
  NoiseGenerator generator(*seed);
  forEachByteC3(image, step, roi, [&](Ipp8u& byte) { byte = addSaturated(byte, noise.next(generator)); });
  *seed = generator.nextSeed();
  return ippStsNoErr;
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus px_ippiAddRandUniform_Direct_8u_C3IR FC_IN_PLACE_PARAMS(Ipp8u low, Ipp8u high,
                                                                                    unsigned int* pSeed) {
  return fc::primitives::addUniformNoise(pSrcDst, srcDstStep, roiSize, low, high, pSeed);
}

extern "C" FC_API IppStatus px_ippiAddRandGauss_Direct_8u_C3IR FC_IN_PLACE_PARAMS(Ipp8u mean, Ipp8u stdDev,
                                                                                  unsigned int* pSeed) {
  return fc::primitives::addNoise(fc::primitives::GaussianNoise(mean, stdDev), pSrcDst, srcDstStep, roiSize,
                                  pSeed);
}
