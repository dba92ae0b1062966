// The generator base in its three pacings.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "contracts/video/generator.h"
#include "platform/runtime/error.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

using namespace std::chrono_literals;
using test::TComponentHarness;

// Numbers its frames in the first byte; can skip frames or end the stream.
class TCounterGen : public TFCCommonGen {
public:
  using TFCCommonGen::TFCCommonGen;
  ~TCounterGen() override { RetirePins(); }
  int made = 0;
  int skipEvery = 0;  // do not send every n-th frame
  int endAfter = 0;   // end the stream with this frame

protected:
  void GenerateFrame(TFCImageBuffer& buffer, bool& send, bool& end) override {
    ++made;
    buffer.Write()[0] = static_cast<Ipp8u>(made);
    if (skipEvery && made % skipEvery == 0) send = false;
    if (endAfter && made == endAfter) end = true;
  }
};

// Polls `done` until it holds or `limit` passes; `pause` between polls (zero
// to spin, catching a state the moment it appears).
template <class Done>
bool Eventually(Done done, std::chrono::milliseconds limit = 5000ms, std::chrono::milliseconds pause = 1ms) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (pause.count() > 0)
      std::this_thread::sleep_for(pause);
    else
      std::this_thread::yield();
  }
  return true;
}

struct GenFixture : ::testing::Test {
  TCounterGen gen{nullptr};
  TComponentHarness harness;
  TPMClockSourcePin clock{nullptr, "Clock"};
  void SetUp() override {
    harness.Collect(*gen.GetOutputPin());
    clock.Connect(*gen.GetClockPin());
    SetPropertyText(gen, "ImageSize.Width", "4");
    SetPropertyText(gen, "ImageSize.Height", "2");
  }
  std::vector<int> FrameNumbers() {
    std::vector<int> numbers;
    for (const auto& f : harness.Frames()) numbers.push_back(f->Read()[0]);
    return numbers;
  }
};

TEST_F(GenFixture, PumpedGeneratorsMakeOneFramePerPumpRequest) {
  SetPropertyText(gen, "Pacing", "gpPump");
  EXPECT_FALSE(harness.Pump());  // not started: nothing
  gen.Start();
  const auto* start = harness.LastStart();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->Width(), 4);
  EXPECT_EQ(start->Height(), 2);
  EXPECT_EQ(start->Rate(), 30.0);
  EXPECT_EQ(start->PixelFormat(), vfRGB24);
  clock.Tick();  // ticks do not pace a pumped generator
  EXPECT_TRUE(harness.Pump());
  EXPECT_TRUE(harness.downstream.Request(MakeOperation<TPMMasterPumpOperation>()));
  EXPECT_EQ(FrameNumbers(), (std::vector<int>{1, 2}));
  EXPECT_EQ(harness.Frames()[0]->Width(), 4);
  // Numbered from 0 and stamped with their due times at 30 frames per second.
  EXPECT_EQ(harness.Frames()[1]->TimeCode().frameNumber, 1);
  EXPECT_EQ(harness.Frames()[1]->TimeStamps(), (TPMTimeStamps{333333, 666667, true}));
  gen.Stop();
  gen.Stop();  // once only
  const std::vector<std::string> names = harness.Names();
  EXPECT_EQ(names.back(), "stop");
  EXPECT_EQ(std::count(names.begin(), names.end(), "stop"), 1);
}

TEST_F(GenFixture, ClockPinGeneratorsMakeOneFramePerTickAndMayEndTheStream) {
  SetPropertyText(gen, "Pacing", "gpClockPin");
  gen.skipEvery = 2;
  gen.endAfter = 5;
  gen.Start();
  harness.Pump();  // pumps do not pace it
  for (int i = 0; i < 7; ++i) clock.Tick();
  EXPECT_EQ(FrameNumbers(), (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(harness.Names().back(), "stop");
  EXPECT_FALSE(gen.IsRunning());
}

TEST_F(GenFixture, InternalClockRunsInRealTimeUntilStopped) {
  gen.SetFrameRate(200);
  gen.Start();
  Eventually([&] { return harness.Frames().size() >= 3; });
  gen.Stop();
  const std::size_t afterStop = harness.Frames().size();
  EXPECT_GE(afterStop, 3u);
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(harness.Frames().size(), afterStop);  // nothing after the stop
  EXPECT_EQ(harness.Names().back(), "stop");
  EXPECT_EQ(harness.Received()[0]->As<TPMStartFrameOperation>()->Rate(), 200.0);
}

using Names = std::vector<std::string>;

TEST_F(GenFixture, AStreamEndedOnTheClockThreadStopsInOrderAndStartsAgain) {
  gen.SetFrameRate(500);
  gen.endAfter = 2;
  gen.Start();
  ASSERT_TRUE(Eventually([&] { return harness.Names().size() >= 4; })) << ::testing::PrintToString(harness.Names());
  EXPECT_EQ(harness.Names(), (Names{"start-frame", "supplied-buffer", "supplied-buffer", "stop"}));
  EXPECT_EQ(FrameNumbers(), (std::vector<int>{1, 2}));
  EXPECT_FALSE(gen.IsRunning());

  // The new stream's clock runs: the old one's end does not stop it.
  gen.Start();
  ASSERT_TRUE(Eventually([&] { return harness.Frames().size() >= 4; }));
  gen.Stop();
  const Names names = harness.Names();
  ASSERT_GE(names.size(), 8u);
  EXPECT_EQ(Names(names.begin(), names.begin() + 5),
            (Names{"start-frame", "supplied-buffer", "supplied-buffer", "stop", "start-frame"}));
  EXPECT_EQ(std::count(names.begin() + 5, names.end(), "supplied-buffer"), static_cast<long>(names.size()) - 6);
  EXPECT_EQ(names.back(), "stop");
}

// A sink that restarts the generator from inside the delivery of the last
// frame of the first stream and again from inside that stream's stop, as a
// looping player would: the restart made while the stream is still open is
// ignored, the one from the stop begins a second stream that runs on its
// own clock.
class TRestartingSink : public TComponentHarness {
public:
  explicit TRestartingSink(TFCCommonGen& gen) : gen_(gen) {}
  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override {
    TComponentHarness::SinkDispatch(pin, operation);
    const bool lastFrame = FrameOf(operation) && ++frames_ == 2;
    const bool firstStop = operation->Is<TPMStopOperation>() && ++stops_ == 1;
    if (lastFrame || firstStop) gen_.Start();
    return true;
  }

private:
  TFCCommonGen& gen_;
  int frames_ = 0, stops_ = 0;
};

TEST(CommonGenRestart, ASinkRestartingTheGeneratorFromItsLastDeliveriesGetsAWholeNewStream) {
  TCounterGen gen(nullptr);
  TRestartingSink sink(gen);
  sink.Collect(*gen.GetOutputPin());
  gen.SetFrameRate(500);
  gen.endAfter = 2;
  gen.Start();
  ASSERT_TRUE(Eventually([&] { return sink.Frames().size() >= 4; })) << ::testing::PrintToString(sink.Names());
  EXPECT_TRUE(gen.IsRunning());
  gen.Stop();
  const Names names = sink.Names();
  EXPECT_EQ(Names(names.begin(), names.begin() + 5),
            (Names{"start-frame", "supplied-buffer", "supplied-buffer", "stop", "start-frame"}));
  EXPECT_EQ(std::count(names.begin(), names.end(), "stop"), 2);
  EXPECT_EQ(names.back(), "stop");
}

// Ends its stream on every second frame.
class TPairGen : public TFCCommonGen {
public:
  using TFCCommonGen::TFCCommonGen;
  ~TPairGen() override { RetirePins(); }

protected:
  void GenerateFrame(TFCImageBuffer&, bool&, bool& end) override { end = ++made_ % 2 == 0; }

private:
  int made_ = 0;
};

// Restarting the moment the generator reports it no longer runs: every
// stream the sink sees is a start, two frames and one stop, never a stop of
// an old stream after the start of a new one.
TEST(CommonGenRestart, RestartedRightAfterEndingItselfEveryStreamIsWhole) {
  TPairGen gen(nullptr);
  TComponentHarness harness;
  harness.Collect(*gen.GetOutputPin());
  gen.SetFrameRate(1000);
  constexpr int kStreams = 30;
  for (int i = 0; i < kStreams; ++i) {
    gen.Start();
    ASSERT_TRUE(Eventually([&] { return !gen.IsRunning(); }, 5000ms, 0ms)) << "stream " << i << " never ended";
  }
  ASSERT_TRUE(Eventually([&] { return harness.Names().size() >= 4 * kStreams; }));
  const Names names = harness.Names();
  ASSERT_EQ(names.size(), 4u * kStreams);
  for (int i = 0; i < kStreams; ++i)
    ASSERT_EQ(Names(names.begin() + 4 * i, names.begin() + 4 * i + 4),
              (Names{"start-frame", "supplied-buffer", "supplied-buffer", "stop"}))
        << "stream " << i;
}

// Stamps the time each frame is made; one frame can be made slow.
class TTimedGen : public TFCCommonGen {
public:
  using TFCCommonGen::TFCCommonGen;
  ~TTimedGen() override { RetirePins(); }
  using Clock = std::chrono::steady_clock;
  int slowFrame = 0;
  std::chrono::milliseconds slowFor{0};
  std::vector<Clock::time_point> Stamps() const {
    std::lock_guard guard(mutex_);
    return stamps_;
  }
  Clock::time_point SlowEnded() const {
    std::lock_guard guard(mutex_);
    return slowEnded_;
  }

protected:
  void GenerateFrame(TFCImageBuffer&, bool&, bool&) override {
    std::lock_guard guard(mutex_);
    stamps_.push_back(Clock::now());
    if (static_cast<int>(stamps_.size()) != slowFrame) return;
    std::this_thread::sleep_for(slowFor);
    slowEnded_ = Clock::now();
  }

private:
  mutable std::mutex mutex_;
  std::vector<Clock::time_point> stamps_;
  Clock::time_point slowEnded_;
};

struct TimedFixture : ::testing::Test {
  TTimedGen gen{nullptr};
  void SetUp() override {
    SetPropertyText(gen, "ImageSize.Width", "4");
    SetPropertyText(gen, "ImageSize.Height", "2");
  }
  std::vector<TTimedGen::Clock::time_point> Run(double rate, std::size_t frames) {
    gen.SetFrameRate(rate);
    gen.Start();
    const bool made = Eventually([&] { return gen.Stamps().size() >= frames; }, 20000ms);
    gen.Stop();
    EXPECT_TRUE(made) << gen.Stamps().size() << " frames";
    return gen.Stamps();
  }
};

// Bounds rather than exact times, so a loaded machine passes: frames never
// come early, and the typical gap is the period. A 20 ms period keeps the
// scheduler's wake-up latency on a busy machine small beside it. Ticks keep
// to their schedule, so a first frame made late (a cold start on a busy
// machine) shortens the span by up to a period without any frame being early.
TEST_F(TimedFixture, FrameRatePacesTheFrames) {
  constexpr double kRate = 50;
  constexpr std::size_t kFrames = 50;
  constexpr auto kPeriod = std::chrono::duration<double>(1 / kRate);
  const auto stamps = Run(kRate, kFrames);
  ASSERT_GE(stamps.size(), kFrames);
  std::vector<double> gaps;
  for (std::size_t i = 1; i < kFrames; ++i)
    gaps.push_back(std::chrono::duration<double>(stamps[i] - stamps[i - 1]) / kPeriod);
  EXPECT_GE(std::chrono::duration<double>(stamps[kFrames - 1] - stamps[0]) / kPeriod, kFrames - 2);
  std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
  const double median = gaps[gaps.size() / 2];
  EXPECT_GT(median, 0.8);
  EXPECT_LT(median, 1.5);
}

// After a frame that took ten periods the clock goes on one period at a time
// instead of making up the missed ticks in a burst.
TEST_F(TimedFixture, ALateTickIsNotMadeUpByABurst) {
  constexpr auto kPeriod = 10ms;
  gen.slowFrame = 3;
  gen.slowFor = 10 * kPeriod;
  const auto stamps = Run(100, 10);
  const auto slowEnded = gen.SlowEnded();
  const auto soon = std::count_if(stamps.begin(), stamps.end(),
                                  [&](auto t) { return t >= slowEnded && t < slowEnded + 3 * kPeriod; });
  EXPECT_LE(soon, 4) << "frames within three periods after the slow one";
}

TEST(CommonGen, PublishesItsPropertiesAndRejectsRatesOfZero) {
  TCounterGen gen(nullptr);
  gen.SetName("Gen1");
  EXPECT_TRUE(PropertiesDifferingFromDefault(gen).empty());
  EXPECT_EQ(gen.ClassInfo().FindProperty("Pacing")->DefaultText(), "gpInternalClock");
  EXPECT_EQ(gen.ClassInfo().FindProperty("ImageSize")->TypeName(), "TFCSize");
  try {
    SetPropertyText(gen, "FrameRate", "0");
    FAIL();
  } catch (const EFCError& e) {
    EXPECT_STREQ(e.what(), "Gen1.FrameRate: must be above 0");
  }
  EXPECT_EQ(gen.GetFrameRate(), 30.0);
  EXPECT_FALSE(gen.GenerateNow());  // no stream
}

}  // namespace
}  // namespace fc
