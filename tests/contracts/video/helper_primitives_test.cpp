// The copy and mirror helpers: argument checks, regions inside padded
// images, every axis, in place.
#include <gtest/gtest.h>

#include "contracts/video/helper_primitives.h"
#include "tests/support/test_image.h"

namespace fc {
namespace {

using test::TestImage;

// The expected mirror, pixel by pixel.
TestImage ReferenceMirror(const TestImage& src, int dstPadding, IppiAxis flip) {
  TestImage dst(src.width, src.height, src.channels, dstPadding, 1);
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      const int sx = flip == ippAxsHorizontal ? x : src.width - 1 - x;
      const int sy = flip == ippAxsVertical ? y : src.height - 1 - y;
      for (int c = 0; c < src.channels; ++c) dst.at(x, y)[c] = src.bytes[src.offset(sx, sy) + c];
    }
  return dst;
}

TEST(HelperPrimitives, MirrorEveryAxisInPaddedImagesAndInPlace) {
  for (int channels : {1, 3})
    for (IppiAxis flip : {ippAxsHorizontal, ippAxsVertical, ippAxsBoth})
      for (IppiSize size : {IppiSize{1, 1}, IppiSize{7, 5}, IppiSize{4, 6}}) {
        TestImage src(size.width, size.height, channels, 3, 1);
        src.randomize(17);
        TestImage expected = ReferenceMirror(src, 5, flip);
        TestImage dst(size.width, size.height, channels, 5, 1);
        auto mirror = channels == 3 ? ippiMirror_8u_C3R : ippiMirror_8u_C1R;
        ASSERT_EQ(mirror(src.data(), src.step, dst.data(), dst.step, size, flip), ippStsNoErr);
        // Equal region; the border (zero in both) shows nothing was written outside.
        EXPECT_EQ(dst.bytes, expected.bytes) << channels << " " << flip << " " << size.width;

        TestImage inPlace = src;
        mirror(inPlace.data(), inPlace.step, inPlace.data(), inPlace.step, size, flip);
        TestImage inPlaceExpected = ReferenceMirror(src, 3, flip);
        for (int y = 0; y < size.height; ++y)
          for (int x = 0; x < size.width * channels; ++x)
            ASSERT_EQ(inPlace.at(0, y)[x], inPlaceExpected.at(0, y)[x]);
      }
}

TEST(HelperPrimitives, CopyWritesTheRegionOnly) {
  TestImage src(6, 4, 3, 2, 2), dst(6, 4, 3, 7, 2);
  src.randomize(3);
  dst.randomize(4);
  TestImage before = dst;
  ASSERT_EQ(ippiCopy_8u_C3R(src.data(), src.step, dst.data(), dst.step, {6, 4}), ippStsNoErr);
  for (int y = -2; y < 6; ++y)
    for (int x = -2; x < 8; ++x) {
      const bool inside = x >= 0 && x < 6 && y >= 0 && y < 4;
      for (int c = 0; c < 3; ++c)
        ASSERT_EQ(dst.bytes[dst.offset(x, y) + c],
                  inside ? src.bytes[src.offset(x, y) + c] : before.bytes[dst.offset(x, y) + c]);
    }
  TestImage grey(5, 3, 1), greyDst(5, 3, 1);
  grey.randomize(5);
  ASSERT_EQ(ippiCopy_8u_C1R(grey.data(), grey.step, greyDst.data(), greyDst.step, {5, 3}), ippStsNoErr);
  EXPECT_EQ(greyDst.bytes, grey.bytes);
}

TEST(HelperPrimitives, BadArgumentsReturnTheFirstFailingCheckAndWriteNothing) {
  TestImage src(4, 4, 3), dst(4, 4, 3);
  src.randomize(1);
  const auto untouched = dst.bytes;
  EXPECT_EQ(ippiCopy_8u_C3R(nullptr, 12, dst.data(), 12, {0, 0}), ippStsNullPtrErr);
  EXPECT_EQ(ippiCopy_8u_C3R(src.data(), 0, dst.data(), 12, {0, 4}), ippStsSizeErr);
  EXPECT_EQ(ippiCopy_8u_C3R(src.data(), 0, dst.data(), 12, {4, 4}), ippStsStepErr);
  EXPECT_EQ(ippiCopy_8u_C3R(src.data(), 12, dst.data(), 11, {4, 4}), ippStsStrideErr);
  EXPECT_EQ(ippiMirror_8u_C1R(src.data(), 12, nullptr, 12, {4, 4}, ippAxsBoth), ippStsNullPtrErr);
  EXPECT_EQ(ippiMirror_8u_C3R(src.data(), 12, dst.data(), 12, {4, 4}, static_cast<IppiAxis>(3)),
            ippStsMirrorFlipErr);
  EXPECT_EQ(dst.bytes, untouched);
}

}  // namespace
}  // namespace fc
