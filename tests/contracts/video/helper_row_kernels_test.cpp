// The AVX2 row loops of the helper primitives against the plain ones: the
// same bytes for every pair of byte values, for random rows of every length
// around the vector widths, in place, and nothing written past the row.
// Sources are sized exactly, so a sanitizer build catches reads past them.
#include "contracts/video/helper_row_kernels.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace fc::helpers {
namespace {

constexpr std::size_t kMargin = 64;  // bytes after each row that must stay as they were

std::vector<Ipp8u> randomBytes(std::size_t n, std::mt19937& rng) {
  std::vector<Ipp8u> bytes(n);
  // Many small values, so zeros, equal bytes and division ties are common.
  for (auto& b : bytes) b = static_cast<Ipp8u>(rng() % 3 == 0 ? rng() % 4 : rng());
  return bytes;
}

// Row lengths around the 16- and 32-byte steps and their pixel counts.
std::vector<std::size_t> lengths() {
  std::vector<std::size_t> n;
  for (std::size_t i = 0; i <= 100; ++i) n.push_back(i);
  for (std::size_t i : {127, 128, 129, 1000, 1921}) n.push_back(i);
  return n;
}

class Avx2RowLoops : public ::testing::Test {
 protected:
  void SetUp() override {
    avx2 = avx2RowKernels();
    if (avx2 == nullptr) GTEST_SKIP() << "no AVX2 on this processor";
  }
  const HelperRowKernels& plain = plainRowKernels();
  const HelperRowKernels* avx2 = nullptr;
  std::mt19937 rng{2024};
};

struct NamedBinary {
  const char* name;
  BinaryRow HelperRowKernels::*row;
};
constexpr NamedBinary kBinary[] = {{"add", &HelperRowKernels::add},         {"sub", &HelperRowKernels::sub},
                                   {"mul", &HelperRowKernels::mul},         {"div", &HelperRowKernels::div},
                                   {"absdiff", &HelperRowKernels::absDiff}, {"or", &HelperRowKernels::bitOr},
                                   {"and", &HelperRowKernels::bitAnd},      {"xor", &HelperRowKernels::bitXor}};

TEST_F(Avx2RowLoops, BinaryLoopsAgreeOnEveryBytePair) {
  std::vector<Ipp8u> a(65536), b(65536);
  for (std::size_t i = 0; i < a.size(); ++i) {
    a[i] = static_cast<Ipp8u>(i & 0xFF);
    b[i] = static_cast<Ipp8u>(i >> 8);
  }
  for (const NamedBinary& op : kBinary) {
    std::vector<Ipp8u> expected(a.size()), actual(a.size());
    (plain.*op.row)(a.data(), b.data(), expected.data(), a.size());
    (avx2->*op.row)(a.data(), b.data(), actual.data(), a.size());
    ASSERT_EQ(actual, expected) << op.name;
  }
}

TEST_F(Avx2RowLoops, BinaryAndNotLoopsAgreeOnRandomRowsAndInPlace) {
  for (std::size_t n : lengths()) {
    const std::vector<Ipp8u> a = randomBytes(n, rng), b = randomBytes(n, rng);
    const std::vector<Ipp8u> before = randomBytes(n + kMargin, rng);
    for (const NamedBinary& op : kBinary) {
      std::vector<Ipp8u> expected = before, actual = before;
      (plain.*op.row)(a.data(), b.data(), expected.data(), n);
      (avx2->*op.row)(a.data(), b.data(), actual.data(), n);
      ASSERT_EQ(actual, expected) << op.name << " " << n;
      std::vector<Ipp8u> intoA = a, intoB = b;
      (avx2->*op.row)(intoA.data(), b.data(), intoA.data(), n);
      (avx2->*op.row)(a.data(), intoB.data(), intoB.data(), n);
      ASSERT_TRUE(std::equal(expected.begin(), expected.begin() + n, intoA.begin())) << op.name << " " << n;
      ASSERT_TRUE(std::equal(expected.begin(), expected.begin() + n, intoB.begin())) << op.name << " " << n;
    }
    std::vector<Ipp8u> expected = before, actual = before, inPlace = a;
    plain.bitNot(a.data(), expected.data(), n);
    avx2->bitNot(a.data(), actual.data(), n);
    avx2->bitNot(inPlace.data(), inPlace.data(), n);
    ASSERT_EQ(actual, expected) << "not " << n;
    ASSERT_TRUE(std::equal(expected.begin(), expected.begin() + n, inPlace.begin())) << "not " << n;
  }
}

TEST_F(Avx2RowLoops, PixelLoopsAgreeOnRandomRows) {
  const Ipp8u value[3] = {7, 200, 33};
  for (std::size_t pixels : lengths()) {
    const std::vector<Ipp8u> three = randomBytes(3 * pixels, rng), four = randomBytes(4 * pixels, rng);
    const std::vector<Ipp8u> before = randomBytes(4 * pixels + kMargin, rng);
    const auto expectSame = [&](auto run, const std::string& what) {
      std::vector<Ipp8u> expected = before, actual = before;
      run(plain, expected.data());
      run(*avx2, actual.data());
      ASSERT_EQ(actual, expected) << what << " " << pixels;
    };
    expectSame([&](const HelperRowKernels& k, Ipp8u* d) { k.setC3(value, d, pixels); }, "set");
    expectSame([&](const HelperRowKernels& k, Ipp8u* d) { k.c3ToAc4(three.data(), d, pixels); }, "c3 to ac4");
    expectSame([&](const HelperRowKernels& k, Ipp8u* d) { k.ac4ToC3(four.data(), d, pixels); }, "ac4 to c3");
  }
}

TEST_F(Avx2RowLoops, SwapLoopsAgreeInEveryOrderCopiedAndInPlace) {
  for (std::size_t pixels : lengths())
    for (int code = 0; code < 27; ++code) {
      const int order[3] = {code % 3, code / 3 % 3, code / 9};
      const std::vector<Ipp8u> src = randomBytes(3 * pixels, rng);
      std::vector<Ipp8u> expected = src, actual = src, copied(src.size() + kMargin);
      plain.swapC3(expected.data(), expected.data(), pixels, order);
      avx2->swapC3(actual.data(), actual.data(), pixels, order);
      ASSERT_EQ(actual, expected) << "in place " << pixels << " order " << code;
      // A copy leaves the bytes after the row as they were.
      avx2->swapC3(src.data(), copied.data(), pixels, order);
      ASSERT_TRUE(std::equal(expected.begin(), expected.begin() + 3 * pixels, copied.begin()))
          << pixels << " order " << code;
      ASSERT_TRUE(std::all_of(copied.begin() + 3 * pixels, copied.end(), [](Ipp8u b) { return b == 0; }));
    }
}

TEST(HelperRowKernelChoice, FollowsTheDispatchedPrimitivesProcessorClasses) {
  const HelperRowKernels* avx2 = avx2RowKernels();
  const HelperRowKernels& avx2OrPlain = avx2 != nullptr ? *avx2 : plainRowKernels();
  EXPECT_EQ(&rowKernelsFor(16), &avx2OrPlain);
  EXPECT_EQ(&rowKernelsFor(17), &avx2OrPlain);
  for (std::uint8_t code : {0, 5, 6, 7, 9, 18, 255}) EXPECT_EQ(&rowKernelsFor(code), &plainRowKernels()) << +code;
}

}  // namespace
}  // namespace fc::helpers
