// Frame differences: the ten operations against per-byte definitions, on
// three-byte and grey frames, and what the first frame does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "components/Fcframechange.h"
#include "tests/components/filter_run.h"

namespace fc {
namespace {

using test::BytesOf;
using test::CountingFrame;
using test::TFilterRun;

// The result of one operation on one byte of the new and the old frame.
int Expected(TFCFrameChangeOperation op, int now, int old) {
  auto divide = [](int num, int den) {
    if (den == 0) return num == 0 ? 0 : 255;
    return std::min(255, static_cast<int>(std::nearbyint(static_cast<double>(num) / den)));
  };
  switch (op) {
    case fcoAdd: return std::min(now + old, 255);
    case fcoSubtractOld: return std::max(old - now, 0);
    case fcoSubtractNew: return std::max(now - old, 0);
    case fcoMultiply: return std::min(now * old, 255);
    case fcoDivideOld: return divide(old, now);
    case fcoDivideNew: return divide(now, old);
    case fcoOr: return now | old;
    case fcoAnd: return now & old;
    case fcoXor: return now ^ old;
    case fcoAbsDiff: return std::abs(now - old);
  }
  return -1;
}

class FrameChangeOperations : public ::testing::TestWithParam<TFCVideoFormat> {};

TEST_P(FrameChangeOperations, EachOperationCombinesTheNewFrameWithTheOld) {
  // Odd width, so a row of a grey frame is no multiple of three bytes.
  const TFCImageBuffer old = CountingFrame(7, 5, GetParam(), 3);
  TFCImageBuffer now = CountingFrame(7, 5, GetParam(), 0);
  Ipp8u* bytes = now.Write();
  for (std::size_t i = 0; i < now.Size(); ++i) bytes[i] = static_cast<Ipp8u>((i * 37) % 256);
  bytes[0] = 0;  // a zero divisor for fcoDivideOld
  for (int op = fcoAdd; op <= fcoAbsDiff; ++op) {
    TFCFrameChange change(nullptr);
    change.SetFrameChangeOperation(static_cast<TFCFrameChangeOperation>(op));
    TFilterRun run(change);
    const std::vector<TFCImageBuffer> out = run.Run({old, now});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(BytesOf(out[0]), BytesOf(old));  // the first passes unchanged
    EXPECT_EQ(out[1].Format(), GetParam());
    std::vector<Ipp8u> expected(now.Size());
    for (std::size_t i = 0; i < now.Size(); ++i)
      expected[i] = static_cast<Ipp8u>(Expected(static_cast<TFCFrameChangeOperation>(op), now.Read()[i], old.Read()[i]));
    EXPECT_EQ(BytesOf(out[1]), expected) << FrameChangeOperationInfo().IdentifierOf(op);
  }
}

INSTANTIATE_TEST_SUITE_P(ThreeByteAndGrey, FrameChangeOperations, ::testing::Values(vfRGB24, vfGray8));

TEST(FrameChange, AStaticSceneGivesBlackFramesAfterTheFirst) {
  TFCFrameChange change(nullptr);
  TFilterRun run(change);
  const TFCImageBuffer scene = CountingFrame(6, 4, vfRGB24, 50);
  const std::vector<TFCImageBuffer> out = run.Run({scene, scene, scene});
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(BytesOf(out[0]), BytesOf(scene));
  EXPECT_EQ(BytesOf(out[1]), std::vector<Ipp8u>(scene.Size(), 0));
  EXPECT_EQ(BytesOf(out[2]), std::vector<Ipp8u>(scene.Size(), 0));
}

TEST(FrameChange, ResetAndSizeChangesStartAfresh) {
  TFCFrameChange change(nullptr);
  TFilterRun run(change);
  const TFCImageBuffer small = CountingFrame(2, 2), large = CountingFrame(5, 3);
  run.harness.PushStart(2, 2);
  run.harness.PushFrame(small);
  run.harness.PushFrame(large);  // another size: no predecessor
  change.Reset();
  run.harness.PushFrame(large);  // after a reset: no predecessor
  run.harness.PushFrame(large);
  const auto frames = run.harness.Frames();
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(BytesOf(*frames[1]), BytesOf(large));
  EXPECT_EQ(BytesOf(*frames[2]), BytesOf(large));
  EXPECT_EQ(BytesOf(*frames[3]), std::vector<Ipp8u>(large.Size(), 0));
}

}  // namespace
}  // namespace fc
