// Statuses, their order, and how much of the destination a resize writes.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/primitives/geometry/resize_call.h"

namespace fc::test {
namespace {

constexpr int kAllModes[] = {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER,
                             IPPI_INTER_LANCZOS};

struct Fixture {
  TestImage src{10, 10, 3, 5, 2};
  TestImage dst{40, 40, 3, 7, 2};
  Fixture() {
    src.randomize(1);
    dst.randomize(2);
  }
  ResizeCall call() const { return {wholeOf(src), 0.5, 0.5, IPPI_INTER_LINEAR}; }
};

// Each case breaks one argument plus every later check, so only the right
// order of checks yields the expected status.
TEST(ResizeStatus, FirstFailingCheckDecides) {
  struct Case {
    const char* what;
    bool nullSrc, nullDst;
    IppiSize srcSize;
    TFCImageRect roi;
    IppiSize dstRoi;
    double xFactor;
    int interpolation;
    IppStatus expected;
  };
  const Case cases[] = {
      {"null source", true, false, {0, 0}, {-1, 0, 0, 0}, {0, 0}, 0, 3, ippStsNullPtrErr},
      {"null destination", false, true, {0, 0}, {-1, 0, 0, 0}, {0, 0}, 0, 3, ippStsNullPtrErr},
      {"source width", false, false, {0, 10}, {0, 0, 5, 5}, {0, 0}, 0, 3, ippStsSizeErr},
      {"rectangle origin", false, false, {10, 10}, {-1, 0, 5, 5}, {0, 0}, 0, 3, ippStsSizeErr},
      {"rectangle height", false, false, {10, 10}, {0, 0, 5, 0}, {0, 0}, 0, 3, ippStsSizeErr},
      {"origin right of image", false, false, {10, 10}, {10, 0, 5, 5}, {0, 0}, 0, 3,
       ippStsWrongIntersectROI},
      {"origin below image", false, false, {10, 10}, {0, 10, 5, 5}, {0, 0}, 0, 3,
       ippStsWrongIntersectROI},
      {"destination size", false, false, {10, 10}, {0, 0, 5, 5}, {40, 0}, 0, 3, ippStsSizeErr},
      {"factor before mode", false, false, {10, 10}, {0, 0, 5, 5}, {40, 40}, 0, 3,
       ippStsResizeFactorErr},
      {"NaN factor", false, false, {10, 10}, {0, 0, 5, 5}, {40, 40}, __builtin_nan(""), 3,
       ippStsResizeFactorErr},
      {"mode", false, false, {10, 10}, {0, 0, 5, 5}, {40, 40}, 0.5, 3, ippStsInterpolationErr},
      {"edge smoothing bit", false, false, {10, 10}, {0, 0, 5, 5}, {40, 40}, 0.5,
       IPPI_INTER_LINEAR | IPPI_SMOOTH_EDGE, ippStsInterpolationErr},
      {"supersampling enlarging", false, false, {10, 10}, {0, 0, 5, 5}, {40, 40}, 2.0,
       IPPI_INTER_SUPER, ippStsInterpolationErr},
  };
  for (int channels : {1, 3}) {
    TestImage src(10, 10, channels, 0, 1);
    TestImage dst(40, 40, channels, 0, 1);
    src.randomize(3);
    dst.randomize(4);
    const auto before = dst.bytes;
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      const IppStatus status = pxResizeFor(channels)(
          c.nullSrc ? nullptr : src.data(), c.srcSize, src.step, c.roi,
          c.nullDst ? nullptr : dst.data(), dst.step, c.dstRoi, c.xFactor, 0.5, c.interpolation);
      EXPECT_EQ(status, c.expected);
      EXPECT_EQ(dst.bytes, before);
    }
  }
}

TEST(ResizeStatus, SupersamplingChecksTheSameWayWithoutTheModeCheck) {
  Fixture f;
  const auto before = f.dst.bytes;
  ResizeCall call = f.call();
  call.interpolation = IPPI_INTER_SUPER;
  call.roi = {10, 0, 5, 5};
  EXPECT_EQ(call.run(f.src, f.dst), ippStsWrongIntersectROI);
  call.roi = {0, 0, 5, 5};
  call.xFactor = 0.0;
  EXPECT_EQ(call.run(f.src, f.dst), ippStsResizeFactorErr);
  call.xFactor = 0.5;
  call.dstRoi = {0, 5};
  EXPECT_EQ(call.run(f.src, f.dst), ippStsSizeErr);
  EXPECT_EQ(f.dst.bytes, before);
}

// A step of 0 or below would put rows onto or before the first: refused
// once every defined check has passed, so those keep their statuses.
TEST(ResizeStatus, StepsBelowOneAreRefusedAfterTheDefinedChecks) {
  for (int channels : {1, 3}) {
    TestImage src(10, 10, channels, 0, 1);
    TestImage dst(40, 40, channels, 0, 1);
    src.randomize(5);
    dst.randomize(6);
    const auto before = dst.bytes;
    auto resize = [&](int srcStep, int dstStep, double factor) {
      return pxResizeFor(channels)(src.data(), {10, 10}, srcStep, {0, 0, 10, 10}, dst.data(), dstStep, {40, 40},
                                   factor, factor, IPPI_INTER_LINEAR);
    };
    EXPECT_EQ(resize(0, dst.step, 2.0), ippStsStepErr);
    EXPECT_EQ(resize(src.step, -dst.step, 2.0), ippStsStepErr);
    EXPECT_EQ(resize(-1, dst.step, 0.0), ippStsResizeFactorErr);
    EXPECT_EQ(dst.bytes, before);
  }
}

// Writes `call` into a fresh random destination and returns how many columns
// and rows changed, after checking that everything else kept its bytes.
IppiSize writtenArea(const ResizeCall& call, const TestImage& src, int channels) {
  TestImage dst(40, 30, channels, 3, 2);
  dst.randomize(7);
  TestImage marker = dst;
  // Two different backgrounds tell written pixels from unchanged ones even
  // where a result happens to equal the background.
  for (auto& b : marker.bytes) b = static_cast<Ipp8u>(~b);
  EXPECT_EQ(call.run(src, dst), ippStsNoErr);
  EXPECT_EQ(call.run(src, marker), ippStsNoErr);
  IppiSize written{0, 0};
  for (std::size_t i = 0; i < dst.bytes.size(); ++i) {
    const std::size_t row = i / dst.step;
    const std::size_t column = (i % dst.step) / channels;
    const bool inArea = row >= 2 && column >= 2 && row < 2 + 30u && column < 2 + 40u;
    if (dst.bytes[i] == marker.bytes[i]) {
      EXPECT_TRUE(inArea) << "byte " << i << " written outside the destination area";
      written.width = std::max(written.width, static_cast<int>(column) - 1);
      written.height = std::max(written.height, static_cast<int>(row) - 1);
    }
  }
  return written;
}

TEST(ResizeDestinationSize, FollowsTheTruncatedExactSizeWithinTheArea) {
  for (int channels : {1, 3}) {
    TestImage src(10, 10, channels, 0, 0);
    src.randomize(5);
    for (int mode : kAllModes) {
      SCOPED_TRACE(mode);
      const bool reduces = mode == IPPI_INTER_SUPER;
      ResizeCall call{wholeOf(src), reduces ? 0.75 : 1.25, reduces ? 0.05 : 1.25, mode};
      // 10 * 1.25 = 12.5 columns: 12 written; 10 * 0.05 = 0.5 rows: 1 written.
      const IppiSize written = writtenArea(call, src, channels);
      EXPECT_EQ(written.width, reduces ? 7 : 12);
      EXPECT_EQ(written.height, reduces ? 1 : 12);
      call.dstRoi = {8, 30};
      EXPECT_EQ(writtenArea(call, src, channels).width, reduces ? 7 : 8);
    }
  }
}

TEST(ResizeDestinationSize, HalfAPixelRoundsUpToOne) {
  for (int channels : {1, 3}) {
    TestImage src(10, 10, channels, 0, 0);
    src.randomize(5);
    for (int mode : kAllModes) {
      const ResizeCall call{wholeOf(src), 0.05, 0.75, mode};
      const IppiSize written = writtenArea(call, src, channels);
      EXPECT_EQ(written.width, 1) << mode;
      EXPECT_EQ(written.height, 7) << mode;
    }
  }
}

TEST(ResizeDestinationSize, BelowHalfAPixelIsNoOperation) {
  Fixture f;
  const auto before = f.dst.bytes;
  for (int mode : kAllModes) {
    ResizeCall call = f.call();
    call.interpolation = mode;
    call.xFactor = 0.04;
    EXPECT_EQ(call.run(f.src, f.dst), ippStsResizeNoOperationErr) << mode;
    call.xFactor = 0.5;
    call.yFactor = 0.04;
    EXPECT_EQ(call.run(f.src, f.dst), ippStsResizeNoOperationErr) << mode;
  }
  EXPECT_EQ(f.dst.bytes, before);
}

TEST(ResizeDestinationSize, HugeFactorFillsTheAreaWithoutOverflow) {
  for (int mode : {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_LANCZOS}) {
    SCOPED_TRACE(mode);
    TestImage src(10, 10, 1, 0, 0);
    src.randomize(6);
    const ResizeCall call{wholeOf(src), 1e300, 1e12, mode};
    EXPECT_EQ(writtenArea(call, src, 1).width, 40);
  }
}

TEST(ResizeDestinationSize, RectangleIsClippedToTheImage) {
  TestImage src(10, 10, 1, 0, 0);
  src.randomize(8);
  // 6 of the 20 requested columns exist; twice that is written.
  const ResizeCall call{{4, 0, 20, 10}, 2.0, 1.0, IPPI_INTER_NN};
  EXPECT_EQ(writtenArea(call, src, 1).width, 12);
}

TEST(ResizeWorkBuffers, UnallocatableBuffersReportMemAllocErrAndWriteNothing) {
  Fixture f;
  const auto before = f.dst.bytes;
  ResizeCall call = f.call();
  // The row buffers of a destination INT_MAX pixels wide exceed the
  // allocator's range; allocation fails before any pixel is written.
  call.xFactor = 1e10;
  call.dstRoi = {INT_MAX, 4};
  for (int mode : {IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_LANCZOS}) {
    call.interpolation = mode;
    EXPECT_EQ(call.run(f.src, f.dst), ippStsMemAllocErr) << mode;
  }
  EXPECT_EQ(f.dst.bytes, before);
}

}  // namespace
}  // namespace fc::test
