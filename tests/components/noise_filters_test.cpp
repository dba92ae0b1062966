// The Gaussian and uniform noise filters: the noise they add, where, and how
// their seeds behave.
#include <gtest/gtest.h>

#include "components/Fcgaussnoise.h"
#include "components/Fcuniformnoise.h"
#include "dispatch/primitives.h"
#include "platform/runtime/error.h"
#include "tests/components/filter_run.h"

namespace fc {
namespace {

using test::BytesOf;
using test::CountingFrame;
using test::TFilterRun;

std::vector<TFCImageBuffer> ThreeFrames() {
  return {CountingFrame(9, 5, vfRGB24, 0), CountingFrame(9, 5, vfRGB24, 7), CountingFrame(9, 5, vfRGB24, 7)};
}

TEST(NoiseFilters, TwoGaussFiltersWithTheSameSeedAddTheSameNoiseOnceReset) {
  TFCGaussNoise first(nullptr), second(nullptr);
  first.SetSeed(1234);
  second.SetSeed(1234);
  TFilterRun runFirst(first), runSecond(second);
  runFirst.Run(ThreeFrames());  // advances the first one's sequence; the next start resets it

  const auto a = runFirst.Run(ThreeFrames()), b = runSecond.Run(ThreeFrames());
  ASSERT_EQ(a.size(), 3u);
  ASSERT_EQ(b.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(BytesOf(a[i]), BytesOf(b[i])) << "frame " << i;
  EXPECT_NE(BytesOf(a[0]), BytesOf(ThreeFrames()[0]));
  EXPECT_NE(BytesOf(a[1]), BytesOf(a[2])) << "the noise goes on from frame to frame";

  second.SetSeed(1235);
  EXPECT_NE(BytesOf(runSecond.Run(ThreeFrames())[0]), BytesOf(a[0]));
}

// Adds the noise the filter should add with the primitive itself: from the
// filter's seed, frame after frame, inside `region`.
template <class Add>
std::vector<std::vector<Ipp8u>> ExpectedNoise(const std::vector<TFCImageBuffer>& frames, TFCImageRect region,
                                              unsigned int seed, Add add) {
  std::vector<std::vector<Ipp8u>> expected;
  for (TFCImageBuffer frame : frames) {
    Ipp8u* start = frame.Modify() + region.y * frame.Step() + region.x * 3;
    add(start, frame.Step(), IppiSize{region.width, region.height}, &seed);
    expected.push_back(BytesOf(frame));
  }
  return expected;
}

std::vector<std::vector<Ipp8u>> BytesOfAll(const std::vector<TFCImageBuffer>& frames) {
  std::vector<std::vector<Ipp8u>> bytes;
  for (const auto& frame : frames) bytes.push_back(BytesOf(frame));
  return bytes;
}

TEST(NoiseFilters, NoiseFollowsTheRunningSeedInsideTheRegionOnly) {
  TFCGaussNoise gauss(nullptr);
  gauss.SetMean(20);
  gauss.SetStDev(40);
  SetPropertyText(gauss, "Region.Enabled", "True");
  SetPropertyText(gauss, "Region.X", "2");
  SetPropertyText(gauss, "Region.Y", "1");
  SetPropertyText(gauss, "Region.Width", "30");  // clipped to the frame: 7 wide
  SetPropertyText(gauss, "Region.Height", "3");
  TFilterRun run(gauss);
  const auto frames = ThreeFrames();
  EXPECT_EQ(BytesOfAll(run.Run(frames)),
            ExpectedNoise(frames, {2, 1, 7, 3}, TFCCommonNoiseFilter::kSeedDefault,
                          [](Ipp8u* p, int step, IppiSize size, unsigned int* seed) {
                            fc_entry(ippiAddRandGauss_Direct_8u_C3IR)(p, step, size, 20, 40, seed);
                          }));

  TFCUniformNoise uniform(nullptr);
  uniform.SetLow(10);
  uniform.SetHigh(60);
  uniform.SetSeed(77);
  TFilterRun runUniform(uniform);
  EXPECT_EQ(BytesOfAll(runUniform.Run(frames)),
            ExpectedNoise(frames, {0, 0, 9, 5}, 77, [](Ipp8u* p, int step, IppiSize size, unsigned int* seed) {
              fc_entry(ippiAddRandUniform_Direct_8u_C3IR)(p, step, size, 10, 60, seed);
            }));
}

// The first bytes each filter adds to a black frame from a given seed, known
// independently of the primitive.
TEST(NoiseFilters, FirstFrameFromASeedCarriesTheKnownNoise) {
  TFCUniformNoise uniform(nullptr);
  uniform.SetLow(0);
  uniform.SetHigh(255);
  uniform.SetSeed(12345);
  EXPECT_EQ(BytesOf(TFilterRun(uniform).RunOne(TFCImageBuffer(2, 1))),
            (std::vector<Ipp8u>{76, 237, 130, 230, 217, 239}));

  TFCGaussNoise gauss(nullptr);
  gauss.SetMean(128);
  gauss.SetStDev(30);
  gauss.SetSeed(1);
  EXPECT_EQ(BytesOf(TFilterRun(gauss).RunOne(TFCImageBuffer(2, 1))),
            (std::vector<Ipp8u>{99, 128, 186, 167, 119, 109}));
}

TEST(NoiseFilters, TheSentFrameIsNotChangedUnderItsSender) {
  TFCUniformNoise uniform(nullptr);
  TFilterRun run(uniform);
  const TFCImageBuffer frame = CountingFrame(6, 4);
  const auto before = BytesOf(frame);
  run.RunOne(frame);
  EXPECT_EQ(BytesOf(frame), before);
}

TEST(NoiseFilters, GeneratingNeverChangesThePublishedSeedAndSettingItDoesNotRestartTheNoise) {
  TFCGaussNoise reference(nullptr), changed(nullptr);
  const auto expected = TFilterRun(reference).Run(ThreeFrames());
  EXPECT_EQ(reference.GetSeed(), TFCCommonNoiseFilter::kSeedDefault);
  EXPECT_NE(reference.RunningSeed(), TFCCommonNoiseFilter::kSeedDefault);

  TFilterRun run(changed);
  run.harness.PushStart(9, 5);
  run.harness.PushFrame(ThreeFrames()[0]);
  changed.SetSeed(5);
  run.harness.PushFrame(ThreeFrames()[1]);
  run.harness.PushStop();
  const auto frames = run.harness.Frames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(BytesOf(*frames[1]), BytesOf(expected[1]));
  EXPECT_EQ(changed.GetSeed(), 5);

  // The next stream starts from the new seed.
  TFCGaussNoise fromFive(nullptr);
  fromFive.SetSeed(5);
  EXPECT_EQ(BytesOf(run.RunOne(ThreeFrames()[0])), BytesOf(TFilterRun(fromFive).RunOne(ThreeFrames()[0])));
}

TEST(NoiseFilters, UniformNoiseRefusesALowAboveHighAndKeepsBoth) {
  TFCUniformNoise uniform(nullptr);
  uniform.SetName("Noise1");
  uniform.SetHigh(100);
  EXPECT_THROW(uniform.SetLow(200), EFCError);
  uniform.SetLow(100);  // equal is a range of one value
  try {
    SetPropertyText(uniform, "High", "50");  // the registry goes through the same setters
    FAIL() << "no error";
  } catch (const EFCError& error) {
    EXPECT_EQ(std::string(error.what()), "Noise1.High: 50 lies below Low (100)");
  }
  EXPECT_EQ(uniform.GetLow(), 100);
  EXPECT_EQ(uniform.GetHigh(), 100);
}

}  // namespace
}  // namespace fc
