// The sink base: start, frames as they arrive, stop, requests upstream.
#include <gtest/gtest.h>

#include "contracts/video/sink_filter.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

using test::CountingFrame;
using test::TComponentHarness;

// Records what it is given, and sends a copy of each frame on an output pin
// of its own from ProcessImage (which runs without the component lock).
class TRecordingSink : public TFCSinkFilter {
public:
  explicit TRecordingSink(TComponent* owner) : TFCSinkFilter(owner), output(this, *this, "Copy") {}
  ~TRecordingSink() override {
    RetirePins();
    output.Retire();
  }
  std::vector<std::string> calls;
  TFCPMImageSourcePin output;

protected:
  void IntStart(int width, int height) override {
    calls.push_back("IntStart " + std::to_string(width) + "x" + std::to_string(height));
  }
  void ProcessImage(const TFCImageBuffer& buffer) override {
    {
      auto section = WriteLock();
      calls.push_back("ProcessImage format " + std::to_string(buffer.Format()));
    }
    output.SendFrame(std::make_shared<TFCImageBuffer>(buffer));
  }
  void Stop() override { calls.push_back("Stop"); }
};

TEST(SinkFilter, ReceivesStartFramesAsTheyArriveAndStop) {
  TRecordingSink sink(nullptr);
  TComponentHarness h;
  h.Feed(*sink.GetInputPin());
  h.Collect(sink.output);
  h.PushStart(6, 4, 25, vfGray8);
  h.PushFrame(CountingFrame(6, 4, vfGray8));
  h.PushStop();
  EXPECT_EQ(sink.calls, (std::vector<std::string>{"IntStart 6x4", "ProcessImage format 2", "Stop"}));
  ASSERT_EQ(h.Frames().size(), 1u);
  EXPECT_EQ(h.Frames()[0]->Format(), vfGray8);

  // A request arriving at the sink's own output goes up through its input.
  EXPECT_TRUE(h.Pump());
  EXPECT_TRUE(sink.RequestFrame());
  EXPECT_EQ(h.RequestsReceived(), 2);
}

}  // namespace
}  // namespace fc
