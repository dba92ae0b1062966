// The channel helpers: filling, a plane into one channel, channel orders,
// three and four bytes per pixel, the colour twist in place; regions inside
// padded images and argument checks.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "contracts/video/helper_primitives.h"
#include "dispatch/primitives.h"
#include "tests/support/test_image.h"

namespace fc {
namespace {

using test::TestImage;

constexpr IppiSize kSizes[] = {{1, 1}, {5, 3}, {17, 2}, {43, 3}};

TEST(HelperChannelOps, SetFillsTheRegionOnly) {
  const Ipp8u value[3] = {1, 128, 255};
  for (IppiSize size : kSizes) {
    TestImage image(size.width, size.height, 3, 5, 1);
    image.randomize(2);
    TestImage expected = image;
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x)
        for (int c = 0; c < 3; ++c) expected.at(x, y)[c] = value[c];
    ASSERT_EQ(ippiSet_8u_C3R(value, image.data(), image.step, size), ippStsNoErr);
    EXPECT_EQ(image.bytes, expected.bytes) << size.width;
  }
}

TEST(HelperChannelOps, PlaneGoesIntoOneChannelOnly) {
  for (IppiSize size : kSizes)
    for (int channel = 0; channel < 3; ++channel) {
      TestImage plane(size.width, size.height, 1, 3, 1), image(size.width, size.height, 3, 2, 1);
      plane.randomize(5);
      image.randomize(6);
      TestImage expected = image;
      for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) expected.at(x, y)[channel] = *plane.at(x, y);
      ASSERT_EQ(ippiCopy_8u_C1C3R(plane.data(), plane.step, image.data() + channel, image.step, size), ippStsNoErr);
      EXPECT_EQ(image.bytes, expected.bytes) << size.width << " channel " << channel;
    }
}

TEST(HelperChannelOps, SwapChannelsInEveryOrderCopiedAndInPlace) {
  const std::vector<std::array<int, 3>> orders = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0},
                                                  {2, 0, 1}, {2, 1, 0}, {1, 1, 1}, {2, 2, 0}};
  for (IppiSize size : kSizes)
    for (const auto& order : orders) {
      TestImage src(size.width, size.height, 3, 4, 1), dst(size.width, size.height, 3, 1, 2);
      src.randomize(8);
      dst.randomize(9);
      TestImage expected = dst, inPlaceExpected = src;
      for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
          for (int c = 0; c < 3; ++c) {
            expected.at(x, y)[c] = src.at(x, y)[order[c]];
            inPlaceExpected.at(x, y)[c] = src.at(x, y)[order[c]];
          }
      ASSERT_EQ(ippiSwapChannels_8u_C3R(src.data(), src.step, dst.data(), dst.step, size, order.data()), ippStsNoErr);
      EXPECT_EQ(dst.bytes, expected.bytes) << size.width << " " << order[0] << order[1] << order[2];
      ASSERT_EQ(ippiSwapChannels_8u_C3IR(src.data(), src.step, size, order.data()), ippStsNoErr);
      EXPECT_EQ(src.bytes, inPlaceExpected.bytes) << size.width << " " << order[0] << order[1] << order[2];
    }
}

TEST(HelperChannelOps, ThreeToFourBytesAndBackKeepTheFourthByte) {
  for (IppiSize size : kSizes) {
    TestImage three(size.width, size.height, 3, 3, 1), four(size.width, size.height, 4, 5, 1);
    three.randomize(10);
    four.randomize(11);
    TestImage expectedFour = four;
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x)
        for (int c = 0; c < 3; ++c) expectedFour.at(x, y)[c] = three.at(x, y)[c];
    ASSERT_EQ(ippiCopy_8u_C3AC4R(three.data(), three.step, four.data(), four.step, size), ippStsNoErr);
    EXPECT_EQ(four.bytes, expectedFour.bytes) << size.width;

    four.randomize(12);
    TestImage back(size.width, size.height, 3, 2, 2);
    back.randomize(13);
    TestImage expectedBack = back;
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x)
        for (int c = 0; c < 3; ++c) expectedBack.at(x, y)[c] = four.at(x, y)[c];
    ASSERT_EQ(ippiCopy_8u_AC4C3R(four.data(), four.step, back.data(), back.step, size), ippStsNoErr);
    EXPECT_EQ(back.bytes, expectedBack.bytes) << size.width;
  }
}

TEST(HelperChannelOps, ColorTwistInPlaceMatchesTheTwoImageTwist) {
  const Ipp32f twist[3][4] = {{0.25f, 0.5f, 0.25f, 10.5f}, {-1.0f, 0.0f, 2.0f, 0.0f}, {0.0f, 1.5f, 0.0f, -20.0f}};
  TestImage image(29, 4, 3, 6, 1);
  image.randomize(14);
  TestImage expected = image;
  ASSERT_EQ(
      fc_entry(ippiColorTwist32f_8u_C3R)(image.data(), image.step, expected.data(), expected.step, image.size(), twist),
      ippStsNoErr);
  ASSERT_EQ(ippiColorTwist32f_8u_C3IR(image.data(), image.step, image.size(), twist), ippStsNoErr);
  EXPECT_EQ(image.bytes, expected.bytes);
}

TEST(HelperChannelOps, ChecksArgumentsInOrderAndWritesNothing) {
  TestImage src(4, 2, 4), dst(4, 2, 4);
  src.randomize(1);
  const auto untouched = dst.bytes;
  const Ipp8u value[3] = {1, 2, 3};
  const int order[3] = {2, 1, 0}, badOrder[3] = {0, 3, 1};
  const Ipp32f twist[3][4] = {};
  const int s = src.step;  // 16 bytes: four pixels of four bytes

  EXPECT_EQ(ippiSet_8u_C3R(nullptr, dst.data(), s, {0, 0}), ippStsNullPtrErr);
  EXPECT_EQ(ippiSet_8u_C3R(value, dst.data(), 0, {4, -2}), ippStsSizeErr);
  EXPECT_EQ(ippiSet_8u_C3R(value, dst.data(), 0, {4, 2}), ippStsStepErr);
  EXPECT_EQ(ippiSet_8u_C3R(value, dst.data(), 11, {4, 2}), ippStsStrideErr);

  EXPECT_EQ(ippiCopy_8u_C1C3R(src.data(), s, nullptr, s, {4, 2}), ippStsNullPtrErr);
  EXPECT_EQ(ippiCopy_8u_C1C3R(src.data(), 3, dst.data(), s, {4, 2}), ippStsStrideErr);
  EXPECT_EQ(ippiCopy_8u_C1C3R(src.data(), s, dst.data(), 11, {4, 2}), ippStsStrideErr);

  EXPECT_EQ(ippiSwapChannels_8u_C3R(src.data(), s, dst.data(), s, {4, 2}, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(ippiSwapChannels_8u_C3R(src.data(), s, dst.data(), s, {0, 2}, badOrder), ippStsSizeErr);
  EXPECT_EQ(ippiSwapChannels_8u_C3R(src.data(), -1, dst.data(), s, {4, 2}, badOrder), ippStsStepErr);
  EXPECT_EQ(ippiSwapChannels_8u_C3R(src.data(), s, dst.data(), s, {4, 2}, badOrder), ippStsChannelOrderErr);
  EXPECT_EQ(ippiSwapChannels_8u_C3IR(dst.data(), s, {4, 2}, badOrder), ippStsChannelOrderErr);
  EXPECT_EQ(ippiSwapChannels_8u_C3IR(nullptr, s, {4, 2}, order), ippStsNullPtrErr);

  EXPECT_EQ(ippiCopy_8u_C3AC4R(src.data(), s, dst.data(), 15, {4, 2}), ippStsStrideErr);
  EXPECT_EQ(ippiCopy_8u_AC4C3R(src.data(), 15, dst.data(), s, {4, 2}), ippStsStrideErr);
  EXPECT_EQ(ippiCopy_8u_AC4C3R(src.data(), s, dst.data(), s, {4, 0}), ippStsSizeErr);

  EXPECT_EQ(ippiColorTwist32f_8u_C3IR(dst.data(), s, {4, 2}, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(ippiColorTwist32f_8u_C3IR(dst.data(), 11, {4, 2}, twist), ippStsStrideErr);
  EXPECT_EQ(ippiColorTwist32f_8u_C3IR(dst.data(), 0, {4, 2}, twist), ippStsStepErr);
  EXPECT_EQ(dst.bytes, untouched);
}

}  // namespace
}  // namespace fc
