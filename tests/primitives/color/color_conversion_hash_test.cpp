// Every 8-bit input of each colour conversion, through every variant this
// processor runs, hashed and compared with the hash the conversion has always
// given: any change to a kernel's arithmetic that moves a single byte of any
// of the 2^24 results shows here. The 16,777,216 inputs are one 4096 x 4096
// image, pixel i holding (i >> 16, i >> 8, i).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/primitives/color/color_conversion_cases.h"

namespace fc::test {
namespace {

constexpr int kSide = kCubeSide;
constexpr int kStep = kCubeStep;

/// 64-bit FNV-1a taken over 8-byte words (the size is a multiple of 8).
std::uint64_t hashOf(const std::vector<Ipp8u>& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (std::size_t i = 0; i < bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    hash = (hash ^ word) * 1099511628211ull;
  }
  return hash;
}

// Hashes of the results over all inputs, in the order of allConversions():
// to and from YUV, YCbCr, YCC, XYZ, HSV, HLS, LUV and Lab.
constexpr std::uint64_t kHashes[16] = {
    0xa856cb8e6f0f5e52ull, 0x8fddb24570d8679full,
    0xfb8b24ab1cc06d28ull, 0x76570dafccb36a4aull,
    0x959493e4f8925484ull, 0xb8fb44db9ed5f29bull,
    0x66612db2514413caull, 0xbb14797b1c057db9ull,
    0xc7fb7bdd6734c7bbull, 0x6664f3eccc049d74ull,
    0x3f5e35b70bb1d106ull, 0x451b585bc0f0f556ull,
    0x77a81dfc385a142bull, 0x196b3231c1ec5841ull,
    0xcce25b64f6c8d4feull, 0x05e53676c43217cdull,
};

TEST(ColourConversionHashes, EveryInputGivesTheResultsItAlwaysGave) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "64 conversions of 2^24 pixels take minutes under a sanitizer; the optimised build runs them";
#endif
  const auto conversions = allConversions();
  ASSERT_EQ(conversions.size(), std::size(kHashes));
  std::vector<Ipp8u> out(everyColourImage().size());
  for (std::size_t k = 0; k < conversions.size(); ++k) {
    for (const auto& v : conversions[k].variants) {
      ASSERT_EQ(v.fn(everyColourImage().data(), kStep, out.data(), kStep, {kSide, kSide}), ippStsNoErr);
      const std::uint64_t hash = hashOf(out);
      EXPECT_EQ(hash, kHashes[k]) << conversions[k].name << " [" << v.tag << "]";
    }
  }
}

}  // namespace
}  // namespace fc::test
