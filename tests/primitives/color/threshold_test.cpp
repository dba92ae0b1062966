#include "tests/primitives/color/point_test_support.h"
#include "tests/support/entry_variants.h"

namespace {

using fc::test::rowImage;
using fc::test::TestImage;
using Bytes = std::vector<Ipp8u>;

const Ipp8u kLow[3] = {128, 10, 0}, kLowValue[3] = {1, 2, 3};
const Ipp8u kHigh[3] = {128, 200, 255}, kHighValue[3] = {251, 252, 253};

Bytes bothSides(const Bytes& bytes) {
  const TestImage src = rowImage(bytes);
  TestImage dst = rowImage(Bytes(bytes.size(), 77));
  EXPECT_EQ(ippiThreshold_LTValGTVal_8u_C3R(src.data(), src.step, dst.data(), dst.step, src.size(), kLow,
                                            kLowValue, kHigh, kHighValue),
            0);
  return dst.bytes;
}

TEST(Threshold, BothSidesCompareStrictlyPerChannel) {
  EXPECT_EQ(bothSides({128, 10, 0, 127, 9, 255, 129, 201, 254}),
            (Bytes{128, 10, 0, 1, 2, 255, 251, 252, 254}));
}

TEST(Threshold, OneSidedFormsReplaceOnlyTheirSideAndWorkInPlace) {
  const Ipp8u threshold[3] = {100, 0, 255}, value[3] = {7, 8, 9};
  TestImage below = rowImage({99, 0, 254, 100, 1, 255});
  TestImage above = below;
  ASSERT_EQ(ippiThreshold_LTVal_8u_C3R(below.data(), below.step, below.data(), below.step, below.size(),
                                       threshold, value),
            0);
  EXPECT_EQ(below.bytes, (Bytes{7, 0, 9, 100, 1, 255}));
  ASSERT_EQ(ippiThreshold_GTVal_8u_C3R(above.data(), above.step, above.data(), above.step, above.size(),
                                       threshold, value),
            0);
  EXPECT_EQ(above.bytes, (Bytes{99, 0, 254, 100, 8, 255}));
}

// Every byte value in every channel, in a row long enough for the vector
// loops, copied and in place, by every variant of the three entries.
TEST(Threshold, EveryVariantMatchesTheRuleOnEveryByteCopiedAndInPlace) {
  Bytes bytes;
  for (int v = 0; v < 256; ++v) bytes.insert(bytes.end(), {Ipp8u(v), Ipp8u(255 - v), Ipp8u(v ^ 0x55)});
  auto expect = [&](const Bytes& out, bool useLow, bool useHigh, const char* tag) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const int c = static_cast<int>(i % 3), v = bytes[i];
      const int want = useHigh && v > kHigh[c] ? kHighValue[c] : useLow && v < kLow[c] ? kLowValue[c] : v;
      ASSERT_EQ(out[i], want) << tag << " byte " << i;
    }
  };
  for (bool inPlace : {false, true}) {
    auto run = [&](auto call) {
      TestImage src = rowImage(bytes);
      TestImage dst = rowImage(Bytes(bytes.size(), 77));
      TestImage& target = inPlace ? src : dst;
      EXPECT_EQ(call(src.data(), src.step, target.data(), target.step, src.size()), 0);
      return target.bytes;
    };
    for (const auto& v : fc::test::variantsOf_ippiThreshold_LTValGTVal_8u_C3R())
      expect(run([&](auto... a) { return v.fn(a..., kLow, kLowValue, kHigh, kHighValue); }), true, true,
             v.tag.c_str());
    for (const auto& v : fc::test::variantsOf_ippiThreshold_LTVal_8u_C3R())
      expect(run([&](auto... a) { return v.fn(a..., kLow, kLowValue); }), true, false, v.tag.c_str());
    for (const auto& v : fc::test::variantsOf_ippiThreshold_GTVal_8u_C3R())
      expect(run([&](auto... a) { return v.fn(a..., kHigh, kHighValue); }), false, true, v.tag.c_str());
  }
}

// Thresholds at and next to the ends of the byte range, equal or apart, with
// replacement values that equal a threshold or an end: every byte value in
// every channel by every variant of the two-sided entry.
TEST(Threshold, BothSidesHoldAtTheEndsOfTheByteRange) {
  const int edges[] = {0, 1, 2, 127, 253, 254, 255};
  Bytes bytes;
  for (int v = 0; v < 256; ++v) bytes.insert(bytes.end(), {Ipp8u(v), Ipp8u(v), Ipp8u(v)});
  const TestImage src = rowImage(bytes);
  for (int low : edges) {
    for (int high : edges) {
      if (high < low) continue;
      const Ipp8u lt[3] = {Ipp8u(low), Ipp8u(low), Ipp8u(low)}, gt[3] = {Ipp8u(high), Ipp8u(high), Ipp8u(high)};
      const Ipp8u ltValue[3] = {0, Ipp8u(high), 255}, gtValue[3] = {255, Ipp8u(low), 0};
      for (const auto& variant : fc::test::variantsOf_ippiThreshold_LTValGTVal_8u_C3R()) {
        TestImage dst = rowImage(Bytes(bytes.size(), 77));
        ASSERT_EQ(variant.fn(src.data(), src.step, dst.data(), dst.step, src.size(), lt, ltValue, gt, gtValue), 0);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
          const int c = static_cast<int>(i % 3), v = bytes[i];
          const int want = v > high ? gtValue[c] : v < low ? ltValue[c] : v;
          ASSERT_EQ(dst.bytes[i], want) << variant.tag << " thresholds " << low << ".." << high << " byte " << i;
        }
      }
    }
  }
}

TEST(Threshold, ChecksArgumentsInOrderAndWritesNothing) {
  fc::test::expectTwoImageChecks([](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
    return ippiThreshold_LTValGTVal_8u_C3R(s, ss, d, ds, roi, nullptr, nullptr, nullptr, nullptr);
  });
  for (auto* oneSided : {ippiThreshold_LTVal_8u_C3R, ippiThreshold_GTVal_8u_C3R})
    fc::test::expectTwoImageChecks([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
      return oneSided(s, ss, d, ds, roi, nullptr, nullptr);
    });

  const TestImage src = rowImage({1, 2, 3});
  TestImage dst = rowImage({4, 5, 6});
  auto both = [&](const Ipp8u* lt, const Ipp8u* ltv, const Ipp8u* gt, const Ipp8u* gtv) {
    return ippiThreshold_LTValGTVal_8u_C3R(src.data(), src.step, dst.data(), dst.step, src.size(), lt, ltv,
                                           gt, gtv);
  };
  const Ipp8u crossed[3] = {0, 100, 0}, lowered[3] = {0, 101, 0};
  EXPECT_EQ(both(nullptr, kLowValue, crossed, kHighValue), ippStsNullPtrErr);
  EXPECT_EQ(both(lowered, kLowValue, crossed, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(both(lowered, kLowValue, crossed, kHighValue), ippStsThresholdErr);
  EXPECT_EQ(ippiThreshold_LTVal_8u_C3R(src.data(), 3, dst.data(), 3, {1, 1}, kLow, nullptr),
            ippStsNullPtrErr);
  EXPECT_EQ(ippiThreshold_GTVal_8u_C3R(src.data(), 3, dst.data(), 3, {1, 1}, nullptr, kLow),
            ippStsNullPtrErr);
  EXPECT_EQ(dst.bytes, (Bytes{4, 5, 6}));
}

}  // namespace
