// Real-valued blocks, their pins and the integer-to-double conversion.
#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <vector>

#include "tests/contracts/pins/pin_test_support.h"
#include "platform/runtime/error.h"
#include "platform/signal/real_convert.h"
#include "tests/support/real_harness.h"

namespace fc {
namespace {

TEST(RealBuffer, CopiesShareUntilWrittenAndNewBlocksHoldZeros) {
  TWCRealBuffer first(4);
  EXPECT_EQ(std::vector<double>(first.Read(), first.Read() + 4), std::vector<double>(4, 0.0));
  first.Write()[2] = 7.5;

  TWCRealBuffer second(first);
  EXPECT_EQ(second.Read(), first.Read());
  EXPECT_TRUE(first.IsShared());

  second.Modify()[0] = 1.0;  // detaches, keeping the samples
  EXPECT_NE(second.Read(), first.Read());
  EXPECT_EQ(second.Read()[2], 7.5);
  EXPECT_EQ(first.Read()[0], 0.0);

  TWCRealBuffer third(first);
  third.Write()[1] = 3.0;  // detaches without keeping: zeros, never the shared samples
  EXPECT_EQ(third.Read()[2], 0.0);
  EXPECT_EQ(first.Read()[1], 0.0);

  TWCRealBuffer empty(-3);
  EXPECT_EQ(empty.Length(), 0);
  EXPECT_EQ(empty.Read(), nullptr);
}

TEST(RealBuffer, ReleasedSamplesAreReusedAndComeBackAsZeros) {
  const int length = 1237;  // a length no other test uses
  const double* address = nullptr;
  {
    TWCRealBuffer block(length);
    std::fill_n(block.Write(), length, 9.0);
    address = block.Read();
  }
  EXPECT_GE(RealPoolStats().blocks, 1u);
  TWCRealBuffer again(length);
  EXPECT_EQ(again.Read(), address);
  for (int i = 0; i < length; ++i) ASSERT_EQ(again.Read()[i], 0.0) << i;
}

TEST(RealBuffer, ThreadsChangingSharedCopiesSeeOnlyTheirOwn) {
  TWCRealBuffer shared(256);
  std::fill_n(shared.Write(), 256, 1.0);
  std::vector<std::thread> threads;
  std::vector<double> sums(4);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t, copy = TWCRealBuffer(shared)]() mutable {
      for (int round = 0; round < 200; ++round) {
        TWCRealBuffer mine(copy);
        mine.Modify()[0] = t;
        copy = mine;
      }
      double sum = 0;
      for (int i = 0; i < copy.Length(); ++i) sum += copy.Read()[i];
      sums[static_cast<std::size_t>(t)] = sum;
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(sums[static_cast<std::size_t>(t)], 255.0 + t);
  EXPECT_EQ(shared.Read()[0], 1.0);
}

TEST(RealConvert, ConvertsEveryIntegerExactlyAndChecksItsArguments) {
  const Ipp32s src[4] = {INT_MIN, -1, 0, INT_MAX};
  double dst[4] = {5, 5, 5, 5};
  EXPECT_EQ(ippsConvert_32s64f(nullptr, dst, 4), ippStsNullPtrErr);
  EXPECT_EQ(ippsConvert_32s64f(src, nullptr, 4), ippStsNullPtrErr);
  EXPECT_EQ(ippsConvert_32s64f(src, dst, 0), ippStsSizeErr);
  EXPECT_EQ(dst[0], 5.0);  // nothing written on failure
  ASSERT_EQ(ippsConvert_32s64f(src, dst, 4), ippStsNoErr);
  EXPECT_EQ(dst[0], -2147483648.0);
  EXPECT_EQ(dst[1], -1.0);
  EXPECT_EQ(dst[2], 0.0);
  EXPECT_EQ(dst[3], 2147483647.0);
}

TEST(RealPins, ComboSinkTakesBlocksAndSingleValuesFromRealSourcesOnly) {
  test::TRealFeeder feeder;
  test::TRealCollector collector;
  feeder.output.Connect(collector.input);

  test::TRecorder image("Image1");
  EXPECT_THROW(image.output.Connect(collector.input), EFCError);

  feeder.output.SendStartSampleRate(48000);
  feeder.PushSamples({1.5, -2.0});
  feeder.output.SendReal(3.25);
  feeder.output.SendSingle(0.5f);
  feeder.output.SendStop();

  EXPECT_EQ(collector.Names(),
            (std::vector<std::string>{"start-sample-rate", "supplied-buffer", "supplied-real", "supplied-single", "stop"}));
  ASSERT_EQ(collector.Blocks().size(), 3u);
  EXPECT_EQ(collector.Samples(0), (std::vector<double>{1.5, -2.0}));
  EXPECT_EQ(collector.Samples(1), (std::vector<double>{3.25}));
  EXPECT_EQ(collector.Samples(2), (std::vector<double>{0.5}));
  EXPECT_EQ(collector.First<TPMStartSampleRateOperation>()->SampleRate(), 48000.0);
}

}  // namespace
}  // namespace fc
