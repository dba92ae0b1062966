// noise.cpp - additive uniform and Gaussian noise on three-channel images,
// driven by a subtract-with-borrow generator combined with a congruential
// one. The caller owns the seed: it is read at entry and replaced at exit, so
// consecutive calls continue one sequence.
#include <cmath>
#include <cstdint>

#include "dispatch/primitives.h"
#include "primitives/color/point_checks.h"

namespace fc::primitives {
namespace {

std::uint32_t congruentialStep(std::uint32_t v) { return 69069u * v + 1013904243u; }

/// The generator state of one call: A newest, C oldest, K the borrow (0 or
/// all ones), M the congruential word, which restarts at the same value on
/// every call.
class NoiseGenerator {
 public:
  explicit NoiseGenerator(std::uint32_t seed)
      : a_(seed), b_(congruentialStep(a_)), c_(congruentialStep(b_)) {}

  /// One draw, read as a signed 32-bit value.
  std::int32_t draw() {
    m_ = congruentialStep(m_);
    const std::uint32_t t = b_ - c_ + borrow_;
    const bool negative = (t & 0x80000000u) != 0;
    borrow_ = negative ? 0xFFFFFFFFu : 0u;
    const std::uint32_t y = negative ? t - 18u : t;
    c_ = b_;
    b_ = a_;
    a_ = y;
    return static_cast<std::int32_t>(y + m_);
  }

  /// The seed that continues the sequence: the newest subtract-with-borrow word.
  std::uint32_t nextSeed() const { return a_; }

 private:
  std::uint32_t a_, b_, c_;
  std::uint32_t borrow_ = 0xFFFFFFFFu;
  std::uint32_t m_ = 1131199209u;
};

Ipp8u addSaturated(Ipp8u byte, int noise) {
  const int sum = byte + noise;
  return static_cast<Ipp8u>(sum >= 255 ? 255 : sum <= 0 ? 0 : sum);
}

/// Checks of the three-channel noise entries, in their order.
IppStatus checkNoiseArguments(const Ipp8u* image, int step, IppiSize roi, const unsigned int* seed) {
  if (roi.width < 1) return ippStsSizeErr;
  if (image == nullptr || seed == nullptr) return ippStsNullPtrErr;
  if (roi.height < 1) return ippStsSizeErr;
  if (step < 1) return ippStsStepErr;
  return ippStsNoErr;
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

/// Uniform noise between low and high: r * (high - low) * 2^-32 plus the
/// midpoint, truncated toward zero. Computed in double, which is exact here
/// and so gives the extended-precision result: r * (high - low) is an integer
/// below 2^40, and the sum is a multiple of 2^-32 below 2^9 (41 bits).
class UniformNoise {
 public:
  UniformNoise(Ipp8u low, Ipp8u high) : scale_((high - low) * 0x1p-32), offset_((low + high) * 0.5) {}

  int next(NoiseGenerator& generator) const { return static_cast<int>(generator.draw() * scale_ + offset_); }

 private:
  double scale_;
  double offset_;
};

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
  using namespace fc::primitives;
  return addNoise(UniformNoise(low, high), pSrcDst, srcDstStep, roiSize, pSeed);
}

extern "C" FC_API IppStatus px_ippiAddRandGauss_Direct_8u_C3IR FC_IN_PLACE_PARAMS(Ipp8u mean, Ipp8u stdDev,
                                                                                  unsigned int* pSeed) {
  using namespace fc::primitives;
  return addNoise(GaussianNoise(mean, stdDev), pSrcDst, srcDstStep, roiSize, pSeed);
}
