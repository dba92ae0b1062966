// Components under concurrent setters, frames and clocks. Run these under
// ThreadSanitizer too (ctest label "threading").
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "contracts/video/common_filter.h"
#include "contracts/video/generator.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

using test::BytesOf;
using test::CountingFrame;
using test::TComponentHarness;

// Writes its two gains into every frame; a setter changes both together.
class TGainPair : public TFCCommonFilter {
public:
  using TFCCommonFilter::TFCCommonFilter;
  ~TGainPair() override { RetirePins(); }
  void SetGains(Ipp8u value) {
    auto section = WriteLock();
    first_ = value;
    second_ = value;
  }

protected:
  void FilterInternalOperation(const TFCImageBuffer&, IFCImageBuffer& out) override {
    Ipp8u* p = out->Modify();
    p[0] = first_;
    p[1] = second_;
  }

private:
  Ipp8u first_ = 0, second_ = 0;
};

TEST(VideoThreading, SettersNeverTearWhatAFrameSees) {
  TGainPair filter(nullptr);
  TComponentHarness harness;
  harness.Feed(*filter.GetInputPin());
  harness.Collect(*filter.GetOutputPin());
  const TFCImageBuffer shared = CountingFrame(8, 8);  // every thread sends the same pixels
  std::atomic<bool> running{true};
  std::thread setter([&] {
    for (int i = 0; running; ++i) filter.SetGains(static_cast<Ipp8u>(i));
  });
  auto sender = [&] {
    for (int i = 0; i < 500; ++i) harness.PushFrame(shared);
  };
  std::thread a(sender), b(sender);
  a.join();
  b.join();
  running = false;
  setter.join();
  const auto frames = harness.Frames();
  ASSERT_EQ(frames.size(), 1000u);
  const std::vector<Ipp8u> input = BytesOf(CountingFrame(8, 8));
  for (const auto& f : frames) {
    ASSERT_EQ(f->Read()[0], f->Read()[1]);
    std::vector<Ipp8u> rest = BytesOf(*f);
    rest[0] = input[0];
    rest[1] = input[1];
    ASSERT_EQ(rest, input) << "the filter wrote only its two gains";
  }
  EXPECT_EQ(BytesOf(shared), input);  // the shared input was never written
}

class TFlatGen : public TFCCommonGen {
public:
  using TFCCommonGen::TFCCommonGen;
  ~TFlatGen() override { RetirePins(); }

protected:
  void GenerateFrame(TFCImageBuffer& buffer, bool&, bool&) override { buffer.Clear(); }
};

TEST(VideoThreading, GeneratorClockPumpsAndSettersRunTogether) {
  TFlatGen gen(nullptr);
  TComponentHarness harness;
  harness.Collect(*gen.GetOutputPin());
  gen.SetFrameRate(1000);
  std::atomic<bool> running{true};
  std::thread pumper([&] {
    while (running) harness.Pump();
  });
  std::thread setter([&] {
    for (std::uint32_t i = 1; running; ++i) {
      gen.GetImageSize()->SetWidth(1 + i % 16);
      gen.SetFrameRate(500 + i % 500);
    }
  });
  for (int round = 0; round < 20; ++round) {
    gen.SetPacing(round % 2 ? gpPump : gpInternalClock);
    gen.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    gen.Stop();
  }
  running = false;
  pumper.join();
  setter.join();
  const std::vector<std::string> names = harness.Names();
  EXPECT_EQ(std::count(names.begin(), names.end(), "start-frame"), 20);
  EXPECT_EQ(std::count(names.begin(), names.end(), "stop"), 20);
  EXPECT_EQ(names.back(), "stop");
  // Every frame has the size its stream announced, whatever the setter did
  // meanwhile.
  const TPMStartFrameOperation* start = nullptr;
  int frames = 0;
  for (const TPMOperation& op : harness.Received()) {
    if (const auto* s = op->As<TPMStartFrameOperation>()) start = s;
    const auto frame = FrameOf(op);
    if (!frame) continue;
    ++frames;
    ASSERT_NE(start, nullptr);
    ASSERT_EQ(frame->Width(), start->Width());
    ASSERT_EQ(frame->Height(), start->Height());
  }
  EXPECT_GT(frames, 0);
}

}  // namespace
}  // namespace fc
