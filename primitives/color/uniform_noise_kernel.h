// uniform_noise_kernel.h - additive uniform noise, written once and compiled
// per instruction set (see primitives/variant.h). The generator is
// sequential by definition: its subtract-with-borrow words are drawn in a
// tight loop a chunk at a time. Everything else runs over the whole chunk in
// loops the compiler vectorises: the congruential words as eight interleaved
// sequences, the conversion to noise values and the saturating adds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "primitives/color/noise_generator.h"
#include "primitives/color/point_checks.h"
#include "primitives/variant.h"

namespace fc::primitives {
inline namespace FC_VARIANT_TAG {

/// Bytes noised together; a row's last chunk may be partly filled.
inline constexpr std::size_t kNoiseChunk = 512;

/// The congruential words of the next `n` draws after `last` into `words`
/// (room for at least eight); returns the last of them.
inline std::uint32_t congruentialWords(std::uint32_t last, std::uint32_t* words, std::size_t n) {
  for (int j = 0; j < 8; ++j) words[j] = last = congruentialStep(last);
  const std::uint32_t multiplier = kCongruentialJump8.multiplier, increment = kCongruentialJump8.increment;
  for (std::size_t i = 8; i < n; ++i) words[i] = multiplier * words[i - 8] + increment;
  return words[n - 1];
}

/// Uniform noise between low and high: r (high - low) 2^-32 plus the
/// midpoint, truncated toward zero. Computed in double, which is exact here
/// and so gives the extended-precision result: r (high - low) is an integer
/// below 2^40, and the sum is a multiple of 2^-32 below 2^9 (41 bits).
inline void addUniformChunk(NoiseGenerator& generator, double scale, double offset, Ipp8u* bytes,
                            std::size_t n) {
  std::uint32_t words[kNoiseChunk], congruential[kNoiseChunk];
  generator.drawWords(words, n);
  generator.setCongruentialWord(congruentialWords(generator.congruentialWord(), congruential, n));
  for (std::size_t i = 0; i < n; ++i) {
    const auto r = static_cast<std::int32_t>(words[i] + congruential[i]);
    const int sum = bytes[i] + static_cast<int>(r * scale + offset);
    const int low = sum > 0 ? sum : 0;
    bytes[i] = static_cast<Ipp8u>(low < 255 ? low : 255);
  }
}

/// The uniform-noise entry: checks, then every byte of the region row by row,
/// left to right; the continuing seed is written back.
inline IppStatus addUniformNoise(Ipp8u* image, int step, IppiSize roi, Ipp8u low, Ipp8u high,
                                 unsigned int* seed) {
  if (const IppStatus status = checkNoiseArguments(image, step, roi, seed)) return status;
  NoiseGenerator generator(*seed);
  const double scale = (high - low) * 0x1p-32, offset = (low + high) * 0.5;
  const std::size_t bytes = rowBytesC3(roi);
  for (int y = 0; y < roi.height; ++y) {
    Ipp8u* row = rowAt(image, step, y);
    for (std::size_t done = 0; done < bytes; done += kNoiseChunk)
      addUniformChunk(generator, scale, offset, row + done, bytes - done < kNoiseChunk ? bytes - done : kNoiseChunk);
  }
  *seed = generator.nextSeed();
  return ippStsNoErr;
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::primitives
