#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tests/primitives/color/point_test_support.h"
#include "tests/support/entry_variants.h"

namespace {

using fc::test::TestImage;

// The noise generator written out plainly: the whole history of words, 64-bit
// arithmetic reduced modulo 2^32 by hand, a signed borrow.
class ReferenceGenerator {
 public:
  explicit ReferenceGenerator(std::uint32_t seed) {
    history_ = {next(next(seed)), next(seed), seed};  // oldest first
  }

  std::int32_t draw() {
    m_ = next(m_);
    const std::uint64_t n = history_.size();
    std::int64_t t =
        static_cast<std::int64_t>(history_[n - 2]) - static_cast<std::int64_t>(history_[n - 3]) + borrow_;
    t = ((t % kModulus) + kModulus) % kModulus;
    borrow_ = t >= kModulus / 2 ? -1 : 0;
    const std::uint64_t y = borrow_ ? (t + kModulus - 18) % kModulus : t;
    history_.push_back(y);
    const std::int64_t r = static_cast<std::int64_t>((y + m_) % kModulus);
    return static_cast<std::int32_t>(r >= kModulus / 2 ? r - kModulus : r);
  }

  std::uint32_t seed() const { return static_cast<std::uint32_t>(history_.back()); }

 private:
  static constexpr std::int64_t kModulus = std::int64_t{1} << 32;
  static std::uint64_t next(std::uint64_t v) { return (69069 * v + 1013904243) % kModulus; }

  std::vector<std::uint64_t> history_;
  std::int64_t borrow_ = -1;
  std::uint64_t m_ = 1131199209;
};

Ipp8u saturate(int v) { return static_cast<Ipp8u>(v < 0 ? 0 : v > 255 ? 255 : v); }

// Region bytes in visiting order.
std::vector<Ipp8u*> regionBytes(TestImage& image) {
  std::vector<Ipp8u*> bytes;
  for (int y = 0; y < image.height; ++y)
    for (int i = 0; i < image.width * 3; ++i) bytes.push_back(image.at(0, y) + i);
  return bytes;
}

// Small regions, and rows longer than the chunks the draws are made in, by
// every variant.
TEST(UniformNoise, FollowsTheReferenceGeneratorAndRewritesTheSeed) {
  const int ranges[][2] = {{0, 0}, {10, 60}, {200, 100}, {0, 255}};
  const IppiSize sizes[] = {{5, 3}, {1, 1}, {401, 3}};
  for (const auto& variant : fc::test::variantsOf_ippiAddRandUniform_Direct_8u_C3IR()) {
    for (const IppiSize size : sizes) {
      for (const auto& range : ranges) {
        TestImage image(size.width, size.height, 3, 2, 1);
        image.randomize(21);
        TestImage expected = image;
        ReferenceGenerator reference(12345);
        for (Ipp8u* byte : regionBytes(expected)) {
          const double noise = std::trunc(reference.draw() * ((range[1] - range[0]) / 4294967296.0) +
                                          (range[0] + range[1]) * 0.5);
          *byte = saturate(*byte + static_cast<int>(noise));
        }
        unsigned int seed = 12345;
        ASSERT_EQ(variant.fn(image.data(), image.step, image.size(), static_cast<Ipp8u>(range[0]),
                             static_cast<Ipp8u>(range[1]), &seed),
                  0);
        EXPECT_EQ(image.bytes, expected.bytes) << variant.tag << " " << size.width << " " << range[0];
        EXPECT_EQ(seed, reference.seed());
        EXPECT_NE(seed, 12345u);
      }
    }
  }
}

// Gaussian noise by the polar method, pairs spanning rows, the last second
// value dropped.
void addReferenceGauss(TestImage& image, Ipp8u mean, Ipp8u stdDev, ReferenceGenerator& reference) {
  const std::vector<Ipp8u*> bytes = regionBytes(image);
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    double u1, u2, s;
    do {
      u1 = std::ldexp(reference.draw(), -31);
      u2 = std::ldexp(reference.draw(), -31);
      s = u1 * u1 + u2 * u2;
    } while (s >= 1 || s == 0);
    const double f = std::sqrt(-2 * std::log(s) / s);
    *bytes[i] = saturate(*bytes[i] + static_cast<int>(stdDev * f * u1 + mean));
    if (i + 1 < bytes.size())
      *bytes[i + 1] = saturate(*bytes[i + 1] + static_cast<int>(stdDev * f * u2 + mean));
  }
}

TEST(GaussNoise, PairsSpanRowsAndTheLastSecondValueIsDropped) {
  const IppiSize sizes[] = {{1, 1}, {3, 3}, {7, 2}};
  for (const IppiSize size : sizes) {
    TestImage image(size.width, size.height, 3, 1, 1);
    image.randomize(31);
    TestImage expected = image;
    ReferenceGenerator reference(777);
    addReferenceGauss(expected, 100, 40, reference);
    unsigned int seed = 777;
    ASSERT_EQ(ippiAddRandGauss_Direct_8u_C3IR(image.data(), image.step, size, 100, 40, &seed), 0);
    EXPECT_EQ(image.bytes, expected.bytes) << size.width << "x" << size.height;
    EXPECT_EQ(seed, reference.seed());
  }
}

// First bytes written onto black by each generator, worked out by hand from
// the generator's definition, with the seed word each call leaves behind.
TEST(Noise, FirstValuesOfTwoSeedsAreTheKnownOnes) {
  struct Known {
    unsigned int seed;
    std::vector<Ipp8u> uniform;
    unsigned int uniformSeedAfter;
    std::vector<Ipp8u> gauss;
    unsigned int gaussSeedAfter;
  };
  const Known known[] = {
      {1, {227, 33, 25, 131, 61, 245}, 4052771753u, {99, 128, 186, 167, 119, 109}, 2168518457u},
      {12345, {76, 237, 130, 230, 217, 239}, 3961485150u, {122, 140, 128, 155, 139, 81}, 2808928734u},
  };
  for (const Known& k : known) {
    TestImage uniform(2, 1, 3), gauss(2, 1, 3);
    unsigned int uniformSeed = k.seed, gaussSeed = k.seed;
    ASSERT_EQ(ippiAddRandUniform_Direct_8u_C3IR(uniform.data(), uniform.step, uniform.size(), 0, 255, &uniformSeed),
              0);
    ASSERT_EQ(ippiAddRandGauss_Direct_8u_C3IR(gauss.data(), gauss.step, gauss.size(), 128, 30, &gaussSeed), 0);
    EXPECT_EQ(uniform.bytes, k.uniform) << "seed " << k.seed;
    EXPECT_EQ(uniformSeed, k.uniformSeedAfter) << "seed " << k.seed;
    EXPECT_EQ(gauss.bytes, k.gauss) << "seed " << k.seed;
    EXPECT_EQ(gaussSeed, k.gaussSeedAfter) << "seed " << k.seed;
  }
}

struct Spread {
  int low = 255, high = 0;
  double mean = 0, deviation = 0;
};

Spread spreadOf(const std::vector<Ipp8u>& bytes) {
  Spread s;
  double sum = 0, squares = 0;
  for (const Ipp8u b : bytes) {
    s.low = std::min<int>(s.low, b);
    s.high = std::max<int>(s.high, b);
    sum += b;
    squares += static_cast<double>(b) * b;
  }
  s.mean = sum / bytes.size();
  s.deviation = std::sqrt(squares / bytes.size() - s.mean * s.mean);
  return s;
}

// Over a large black frame the noise alone shows: uniform noise on 0..255
// truncates to 0..254 with mean 127 and deviation 255 / sqrt(12); Gaussian
// noise truncated toward zero has its mean half a level below the requested
// one and the requested deviation.
TEST(Noise, LargeFramesHaveTheDefinedRangeMeanAndSpread) {
  TestImage uniform(256, 256, 3), gauss(256, 256, 3);
  unsigned int seed = 7;
  ASSERT_EQ(ippiAddRandUniform_Direct_8u_C3IR(uniform.data(), uniform.step, uniform.size(), 0, 255, &seed), 0);
  const Spread u = spreadOf(uniform.bytes);
  EXPECT_EQ(u.low, 0);
  EXPECT_EQ(u.high, 254);
  EXPECT_NEAR(u.mean, 127.0, 0.5);
  EXPECT_NEAR(u.deviation, 255 / std::sqrt(12.0), 0.5);

  seed = 7;
  ASSERT_EQ(ippiAddRandGauss_Direct_8u_C3IR(gauss.data(), gauss.step, gauss.size(), 128, 20, &seed), 0);
  const Spread g = spreadOf(gauss.bytes);
  EXPECT_NEAR(g.mean, 127.5, 0.3);
  EXPECT_NEAR(g.deviation, 20.0, 0.3);
  EXPECT_GT(g.low, 128 - 6 * 20);
  EXPECT_LT(g.high, 128 + 6 * 20);
}

TEST(Noise, ChecksArgumentsInOrderLeavingImageAndSeedAlone) {
  TestImage image(3, 2, 3);
  image.randomize(41);
  const auto before = image.bytes;
  unsigned int seed = 5;
  for (auto* noise : {ippiAddRandUniform_Direct_8u_C3IR, ippiAddRandGauss_Direct_8u_C3IR}) {
    EXPECT_EQ(noise(nullptr, 0, {0, 0}, 1, 2, nullptr), ippStsSizeErr);
    EXPECT_EQ(noise(nullptr, 9, {3, 2}, 1, 2, &seed), ippStsNullPtrErr);
    EXPECT_EQ(noise(image.data(), 0, {3, 0}, 1, 2, nullptr), ippStsNullPtrErr);
    EXPECT_EQ(noise(image.data(), 0, {3, 0}, 1, 2, &seed), ippStsSizeErr);
    EXPECT_EQ(noise(image.data(), 0, {3, 2}, 1, 2, &seed), ippStsStepErr);
  }
  EXPECT_EQ(image.bytes, before);
  EXPECT_EQ(seed, 5u);
}

}  // namespace
