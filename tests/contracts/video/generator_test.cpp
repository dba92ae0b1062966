// The generator base in its three pacings.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

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
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (harness.Frames().size() < 3 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  gen.Stop();
  const std::size_t afterStop = harness.Frames().size();
  EXPECT_GE(afterStop, 3u);
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(harness.Frames().size(), afterStop);  // nothing after the stop
  EXPECT_EQ(harness.Names().back(), "stop");
  EXPECT_EQ(harness.Received()[0]->As<TPMStartFrameOperation>()->Rate(), 200.0);
}

TEST_F(GenFixture, GeneratorsEndingTheirOwnStreamOnTheClockThreadStopCleanly) {
  gen.SetFrameRate(500);
  gen.endAfter = 2;
  gen.Start();
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (gen.IsRunning() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  EXPECT_FALSE(gen.IsRunning());
  EXPECT_EQ(FrameNumbers(), (std::vector<int>{1, 2}));
  gen.Start();  // and can start again
  gen.Stop();
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
