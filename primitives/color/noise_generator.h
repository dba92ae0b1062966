// noise_generator.h - the generator behind both noise entries: a
// subtract-with-borrow generator combined with a congruential one. Shared by
// the generic and the vector variants. Internal to the library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dispatch/primitives.h"

namespace fc::primitives {

/// One congruential step: 69069 v + 1013904243 modulo 2^32.
constexpr std::uint32_t congruentialStep(std::uint32_t v) { return 69069u * v + 1013904243u; }

/// Several congruential steps as one: v goes to multiplier v + increment
/// modulo 2^32. With eight steps, the words of draws i and i + 8 are one
/// jump apart, so eight interleaved sequences advance independently.
struct CongruentialJump {
  std::uint32_t multiplier = 1, increment = 0;
};
constexpr CongruentialJump congruentialJump(int steps) {
  CongruentialJump jump;
  for (int i = 0; i < steps; ++i) jump = {69069u * jump.multiplier, 69069u * jump.increment + 1013904243u};
  return jump;
}
inline constexpr CongruentialJump kCongruentialJump8 = congruentialJump(8);

/// The generator state of one call: A newest, C oldest, K the borrow (0 or
/// all ones), M the congruential word, which restarts at the same value on
/// every call. A draw is the new subtract-with-borrow word plus the new M.
class NoiseGenerator {
 public:
  explicit NoiseGenerator(std::uint32_t seed)
      : a_(seed), b_(congruentialStep(a_)), c_(congruentialStep(b_)) {}

  /// One draw, read as a signed 32-bit value.
  std::int32_t draw() {
    m_ = congruentialStep(m_);
    return static_cast<std::int32_t>(nextWord() + m_);
  }

  /// The subtract-with-borrow words of the next `n` draws, in a loop that
  /// does nothing else; the caller adds the congruential words, which start
  /// after congruentialWord() and must be handed back with
  /// setCongruentialWord().
  void drawWords(std::uint32_t* words, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) words[i] = nextWord();
  }

  std::uint32_t congruentialWord() const { return m_; }
  void setCongruentialWord(std::uint32_t m) { m_ = m; }

  /// The seed that continues the sequence: the newest subtract-with-borrow word.
  std::uint32_t nextSeed() const { return a_; }

 private:
  std::uint32_t nextWord() {
    const std::uint32_t t = b_ - c_ + borrow_;
    borrow_ = (t & 0x80000000u) != 0 ? 0xFFFFFFFFu : 0u;
    const std::uint32_t y = t - (borrow_ & 18u);
    c_ = b_;
    b_ = a_;
    a_ = y;
    return y;
  }

  std::uint32_t a_, b_, c_;
  std::uint32_t borrow_ = 0xFFFFFFFFu;
  std::uint32_t m_ = 1131199209u;
};

/// Checks of the three-channel noise entries, in their order.
inline IppStatus checkNoiseArguments(const Ipp8u* image, int step, IppiSize roi, const unsigned int* seed) {
  if (roi.width < 1) return ippStsSizeErr;
  if (image == nullptr || seed == nullptr) return ippStsNullPtrErr;
  if (roi.height < 1) return ippStsSizeErr;
  if (step < 1) return ippStsStepErr;
  return ippStsNoErr;
}

}  // namespace fc::primitives
