// The per-byte helpers (arithmetic, absolute difference, logic): every pair
// of byte values against a brute-force reference, scale factors, padded and
// odd-sized regions, the destination aliasing a source, argument checks.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "contracts/video/helper_primitives.h"
#include "tests/support/test_image.h"

namespace fc {
namespace {

using test::TestImage;

using TwoSource = IppStatus (*)(const Ipp8u*, int, const Ipp8u*, int, Ipp8u*, int, IppiSize);
using Scaled = IppStatus (*)(const Ipp8u*, int, const Ipp8u*, int, Ipp8u*, int, IppiSize, int);

// The exact value of an operation of a = src1 byte, b = src2 byte, as a
// double; infinity for a nonzero byte over 0.
double exactAdd(int a, int b) { return a + b; }
double exactSub(int a, int b) { return std::max(b - a, 0); }
double exactMul(int a, int b) { return a * b; }
double exactDiv(int a, int b) {
  if (a == 0) return b == 0 ? 0.0 : HUGE_VAL;
  return static_cast<double>(b) / a;
}

// Scaled by 2^-scale, rounded half to even (the default rounding mode),
// saturated. Exponents beyond +-1000 take any byte result to 0 or infinity.
Ipp8u referenceScaled(double exact, int scale) {
  const auto exponent = static_cast<int>(std::clamp(-static_cast<long long>(scale), -1000LL, 1000LL));
  const double value = std::nearbyint(std::ldexp(exact, exponent));
  return static_cast<Ipp8u>(std::clamp(value, 0.0, 255.0));
}

struct ArithmeticCase {
  std::string name;
  Scaled c3, c1;
  double (*exact)(int, int);
};

const std::vector<ArithmeticCase>& arithmeticCases() {
  static const std::vector<ArithmeticCase> cases = {{"add", ippiAdd_8u_C3RSfs, ippiAdd_8u_C1RSfs, exactAdd},
                                                    {"sub", ippiSub_8u_C3RSfs, ippiSub_8u_C1RSfs, exactSub},
                                                    {"mul", ippiMul_8u_C3RSfs, ippiMul_8u_C1RSfs, exactMul},
                                                    {"div", ippiDiv_8u_C3RSfs, ippiDiv_8u_C1RSfs, exactDiv}};
  return cases;
}

struct LogicCase {
  std::string name;
  TwoSource c3, c1;
  int (*reference)(int, int);
};

const std::vector<LogicCase>& logicCases() {
  static const std::vector<LogicCase> cases = {
      {"or", ippiOr_8u_C3R, ippiOr_8u_C1R, [](int a, int b) { return a | b; }},
      {"and", ippiAnd_8u_C3R, ippiAnd_8u_C1R, [](int a, int b) { return a & b; }},
      {"xor", ippiXor_8u_C3R, ippiXor_8u_C1R, [](int a, int b) { return a ^ b; }},
      {"absdiff", nullptr, ippiAbsDiff_8u_C1R, [](int a, int b) { return std::abs(a - b); }}};
  return cases;
}

// Two 256 x 256 grey images holding every pair (a, b) of byte values, a in
// src1 and b in src2; the rows padded differently.
struct AllPairs {
  TestImage src1{256, 256, 1, 3, 1}, src2{256, 256, 1, 9, 1};
  AllPairs() {
    for (int b = 0; b < 256; ++b)
      for (int a = 0; a < 256; ++a) {
        *src1.at(a, b) = static_cast<Ipp8u>(a);
        *src2.at(a, b) = static_cast<Ipp8u>(b);
      }
  }
};

// Runs `call` into a bordered destination and checks every region byte
// against reference(a, b) and every other byte for being untouched.
void expectAllPairs(const std::function<IppStatus(const AllPairs&, TestImage&)>& call,
                    const std::function<int(int, int)>& reference, const std::string& what) {
  const AllPairs pairs;
  TestImage dst(256, 256, 1, 5, 2);
  dst.randomize(7);
  TestImage expected = dst;
  for (int b = 0; b < 256; ++b)
    for (int a = 0; a < 256; ++a) *expected.at(a, b) = static_cast<Ipp8u>(reference(a, b));
  ASSERT_EQ(call(pairs, dst), ippStsNoErr) << what;
  for (std::size_t i = 0; i < dst.bytes.size(); ++i)
    ASSERT_EQ(dst.bytes[i], expected.bytes[i]) << what << " at byte " << i;
}

TEST(HelperByteOps, ArithmeticOfEveryBytePairAtEveryScale) {
  for (const ArithmeticCase& op : arithmeticCases())
    for (int scale : {0, 1, 3, 9, -1, -3, 40, -40, INT_MAX, INT_MIN})
      expectAllPairs(
          [&](const AllPairs& p, TestImage& d) {
            return op.c1(p.src1.data(), p.src1.step, p.src2.data(), p.src2.step, d.data(), d.step, {256, 256}, scale);
          },
          [&](int a, int b) { return referenceScaled(op.exact(a, b), scale); },
          op.name + " scale " + std::to_string(scale));
}

TEST(HelperByteOps, LogicAndAbsDiffOfEveryBytePair) {
  for (const LogicCase& op : logicCases())
    expectAllPairs(
        [&](const AllPairs& p, TestImage& d) {
          return op.c1(p.src1.data(), p.src1.step, p.src2.data(), p.src2.step, d.data(), d.step, {256, 256});
        },
        op.reference, op.name);
}

TEST(HelperByteOps, SourceOrderAndRoundingConventions) {
  const auto one = [](Scaled fn, Ipp8u a, Ipp8u b) {
    Ipp8u d = 77;
    EXPECT_EQ(fn(&a, 1, &b, 1, &d, 1, {1, 1}, 0), ippStsNoErr);
    return static_cast<int>(d);
  };
  EXPECT_EQ(one(ippiSub_8u_C1RSfs, 3, 10), 7);  // the second source minus the first
  EXPECT_EQ(one(ippiSub_8u_C1RSfs, 10, 3), 0);
  EXPECT_EQ(one(ippiDiv_8u_C1RSfs, 4, 200), 50);  // the second source over the first
  EXPECT_EQ(one(ippiDiv_8u_C1RSfs, 2, 1), 0);     // 0.5, halves to even
  EXPECT_EQ(one(ippiDiv_8u_C1RSfs, 2, 3), 2);     // 1.5
  EXPECT_EQ(one(ippiDiv_8u_C1RSfs, 2, 5), 2);     // 2.5
  EXPECT_EQ(one(ippiDiv_8u_C1RSfs, 0, 1), 255);
  EXPECT_EQ(one(ippiDiv_8u_C1RSfs, 0, 0), 0);
  EXPECT_EQ(one(ippiAdd_8u_C1RSfs, 200, 56), 255);
  EXPECT_EQ(one(ippiMul_8u_C1RSfs, 16, 16), 255);
}

// A random C3 operation over regions of many widths inside padded images:
// region bytes as the reference says, the rest untouched; then the same with
// the destination being the first and the second source.
void expectC3Regions(const std::function<IppStatus(const TestImage&, const TestImage&, TestImage&)>& call,
                     const std::function<int(int, int)>& reference, const std::string& what) {
  for (IppiSize size : {IppiSize{1, 1}, IppiSize{5, 3}, IppiSize{11, 4}, IppiSize{37, 3}, IppiSize{70, 2}}) {
    TestImage src1(size.width, size.height, 3, 2, 1), src2(size.width, size.height, 3, 7, 2);
    TestImage dst(size.width, size.height, 3, 1, 1);
    src1.randomize(size.width);
    src2.randomize(size.width + 100);
    dst.randomize(3);
    TestImage expected = dst;
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width * 3; ++x)
        expected.at(0, y)[x] = static_cast<Ipp8u>(reference(src1.at(0, y)[x], src2.at(0, y)[x]));
    ASSERT_EQ(call(src1, src2, dst), ippStsNoErr);
    ASSERT_EQ(dst.bytes, expected.bytes) << what << " width " << size.width;

    // In place: src1 and dst share the layout of `expected`.
    TestImage inPlace1 = src1, inPlace2 = src2;
    call(inPlace1, src2, inPlace1);
    call(src1, inPlace2, inPlace2);
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width * 3; ++x) {
        ASSERT_EQ(inPlace1.at(0, y)[x], expected.at(0, y)[x]) << what << " into src1";
        ASSERT_EQ(inPlace2.at(0, y)[x], expected.at(0, y)[x]) << what << " into src2";
      }
  }
}

TEST(HelperByteOps, ThreeByteRegionsInPaddedImagesAndInPlace) {
  for (const ArithmeticCase& op : arithmeticCases())
    expectC3Regions(
        [&](const TestImage& a, const TestImage& b, TestImage& d) {
          return op.c3(a.data(), a.step, b.data(), b.step, d.data(), d.step, a.size(), 0);
        },
        [&](int a, int b) { return referenceScaled(op.exact(a, b), 0); }, op.name);
  for (const LogicCase& op : logicCases()) {
    if (op.c3 == nullptr) continue;
    expectC3Regions([&](const TestImage& a, const TestImage& b,
                        TestImage& d) { return op.c3(a.data(), a.step, b.data(), b.step, d.data(), d.step, a.size()); },
                    op.reference, op.name);
  }
  // The in-place forms, pSrcDst = pSrc op pSrcDst, on a copy of the second
  // source whose region then goes to the destination.
  using InPlace = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize);
  for (auto [fn, reference, name] : {std::tuple<InPlace, int (*)(int, int), const char*>{
                                         ippiAnd_8u_C3IR, [](int a, int b) { return a & b; }, "and in place"},
                                     {ippiOr_8u_C3IR, [](int a, int b) { return a | b; }, "or in place"}})
    expectC3Regions(
        [fn](const TestImage& a, const TestImage& b, TestImage& d) {
          TestImage work = b;
          const IppStatus status = fn(a.data(), a.step, work.data(), work.step, a.size());
          ippiCopy_8u_C3R(work.data(), work.step, d.data(), d.step, a.size());
          return status;
        },
        reference, name);
}

TEST(HelperByteOps, NotInvertsTheRegionOnly) {
  TestImage image(13, 3, 3, 4, 1);
  image.randomize(9);
  TestImage expected = image;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 13 * 3; ++x) expected.at(0, y)[x] = static_cast<Ipp8u>(~expected.at(0, y)[x]);
  ASSERT_EQ(ippiNot_8u_C3IR(image.data(), image.step, image.size()), ippStsNoErr);
  EXPECT_EQ(image.bytes, expected.bytes);
}

TEST(HelperByteOps, ChecksArgumentsInOrderAndWritesNothing) {
  TestImage a(4, 2, 3), b(4, 2, 3), d(4, 2, 3);
  a.randomize(1);
  b.randomize(2);
  const auto untouched = d.bytes;
  const int s = a.step;
  for (const ArithmeticCase& op : arithmeticCases()) {
    EXPECT_EQ(op.c3(a.data(), s, nullptr, s, d.data(), s, {0, 2}, 0), ippStsNullPtrErr) << op.name;
    EXPECT_EQ(op.c3(a.data(), s, b.data(), s, d.data(), 0, {-1, 2}, 0), ippStsSizeErr) << op.name;
    EXPECT_EQ(op.c3(a.data(), s, b.data(), -12, d.data(), 11, {4, 2}, 0), ippStsStepErr) << op.name;
    EXPECT_EQ(op.c3(a.data(), s, b.data(), s, d.data(), 11, {4, 2}, 0), ippStsStrideErr) << op.name;
    EXPECT_EQ(op.c1(a.data(), 3, b.data(), s, d.data(), s, {4, 2}, 5), ippStsStrideErr) << op.name;
  }
  for (const LogicCase& op : logicCases()) {
    EXPECT_EQ(op.c1(nullptr, s, b.data(), s, d.data(), s, {4, 2}), ippStsNullPtrErr) << op.name;
    EXPECT_EQ(op.c1(a.data(), s, b.data(), s, d.data(), s, {4, 0}), ippStsSizeErr) << op.name;
    EXPECT_EQ(op.c1(a.data(), s, b.data(), s, d.data(), 0, {4, 2}), ippStsStepErr) << op.name;
  }
  EXPECT_EQ(ippiNot_8u_C3IR(nullptr, s, {4, 2}), ippStsNullPtrErr);
  EXPECT_EQ(ippiNot_8u_C3IR(d.data(), 11, {4, 2}), ippStsStrideErr);
  EXPECT_EQ(ippiAnd_8u_C3IR(nullptr, s, d.data(), s, {4, 2}), ippStsNullPtrErr);
  EXPECT_EQ(ippiOr_8u_C3IR(a.data(), s, d.data(), 0, {4, 2}), ippStsStepErr);
  EXPECT_EQ(d.bytes, untouched);
}

}  // namespace
}  // namespace fc
