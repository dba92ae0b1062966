// The filter base driven harness-style: a component between test pins.
#include <gtest/gtest.h>

#include "contracts/video/common_filter.h"
#include "platform/runtime/error.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

using test::CountingFrame;
using test::TComponentHarness;

// Inverts every byte; records the calls the base makes.
class TInverter : public TFCCommonFilter {
public:
  explicit TInverter(TComponent* owner = nullptr) : TFCCommonFilter(owner) { SetName("Inverter1"); }
  ~TInverter() override { RetirePins(); }

  std::vector<std::string> calls;
  int halveOutput = 0;           // SetSizeRate halves the announced size
  bool suppress = false;         // send nothing for a frame
  bool extraCopy = false;        // also send a copy of the input first
  bool keepGrey = false;         // SetVideoFormat leaves grey frames alone
  IppiSize seenInputSize{};
  TFCVideoFormat seenFormat = vfRGB32;
  bool outHeldInput = false;

  void Reset() override { calls.push_back("Reset"); }
  void Stop() override { calls.push_back("Stop"); }

protected:
  void SetVideoFormat(TFCImageBuffer& buffer) override {
    if (!(keepGrey && buffer.Format() == vfGray8)) TFCCommonFilter::SetVideoFormat(buffer);
  }
  void SetSizeRate(int& width, int& height, int rate) override {
    calls.push_back("SetSizeRate " + std::to_string(rate));
    if (halveOutput) width /= 2, height /= 2;
  }
  void FilterInternalOperation(const TFCImageBuffer& in, IFCImageBuffer& out) override {
    seenInputSize = in.SizeRecord();
    seenFormat = in.Format();
    outHeldInput = out->Read() == in.Read() && out->Format() == in.Format();
    if (extraCopy) SendAfterProcessing(std::make_shared<TFCImageBuffer>(in));
    if (suppress) {
      out.reset();
      return;
    }
    Ipp8u* p = out->Modify();
    for (std::size_t i = 0; i < out->Size(); ++i) p[i] = static_cast<Ipp8u>(255 - p[i]);
  }
};

struct FilterFixture : ::testing::Test {
  TInverter filter;
  TComponentHarness harness;
  void SetUp() override {
    harness.Feed(*filter.GetInputPin());
    harness.Collect(*filter.GetOutputPin());
  }
};

TEST_F(FilterFixture, StartFramesStopTravelThroughTheBaseInOrder) {
  filter.halveOutput = 1;
  harness.PushStart(8, 6, 24.6);
  const TFCImageBuffer input = CountingFrame(8, 6);
  harness.PushFrame(input);
  harness.PushStop();
  EXPECT_EQ(filter.calls, (std::vector<std::string>{"Reset", "SetSizeRate 25", "Stop"}));
  EXPECT_EQ(harness.Names(), (std::vector<std::string>{"start-frame", "supplied-buffer", "stop"}));
  const auto* start = harness.Received()[0]->As<TPMStartFrameOperation>();
  EXPECT_EQ(start->Width(), 4);  // the answered size
  EXPECT_EQ(start->Height(), 3);
  EXPECT_EQ(start->Rate(), 24.6);
  EXPECT_EQ(start->PixelFormat(), vfRGB24);

  // Out started as the input; the sender's frame is untouched.
  EXPECT_TRUE(filter.outHeldInput);
  const auto out = harness.Frames().at(0);
  EXPECT_EQ(out->Read()[5], 255 - 5);
  EXPECT_EQ(input.Read()[5], 5);
}

TEST_F(FilterFixture, FramesAreConvertedToThreeBytesUnlessTheComponentKeepsGrey) {
  harness.PushStart(4, 2, 30, vfGray8);
  EXPECT_EQ(harness.LastStart()->PixelFormat(), vfRGB24);
  harness.PushFrame(CountingFrame(4, 2, vfGray8, 10));
  EXPECT_EQ(filter.seenFormat, vfRGB24);
  EXPECT_EQ(harness.Frames().back()->Read()[0], 255 - 10);  // grey 10 became 10,10,10
  EXPECT_EQ(harness.Frames().back()->Read()[2], 255 - 10);

  filter.keepGrey = true;
  harness.PushStart(4, 2, 30, vfGray8);
  EXPECT_EQ(harness.LastStart()->PixelFormat(), vfGray8);
  harness.PushFrame(CountingFrame(4, 2, vfGray8, 10));
  EXPECT_EQ(filter.seenFormat, vfGray8);
  EXPECT_EQ(harness.Frames().back()->Size(), 8u);
}

TEST_F(FilterFixture, OutputsCanBeSuppressedOrAddedTo) {
  filter.suppress = true;
  filter.extraCopy = true;
  harness.PushFrame(CountingFrame(2, 2));
  ASSERT_EQ(harness.Frames().size(), 1u);
  EXPECT_EQ(harness.Frames()[0]->Read()[1], 1);  // the queued copy only
  filter.suppress = false;
  harness.ClearReceived();
  harness.PushFrame(CountingFrame(2, 2));
  ASSERT_EQ(harness.Frames().size(), 2u);  // queued frames first, then Out
  EXPECT_EQ(harness.Frames()[1]->Read()[1], 254);
}

TEST_F(FilterFixture, DisabledFiltersPassFramesUnchangedAndEnablePinDrivesEnabled) {
  TPMBoolStatePin control(nullptr, "Control");
  control.Connect(*filter.GetEnablePin());
  control.SetValue(false);
  EXPECT_FALSE(filter.GetEnabled());
  harness.PushFrame(CountingFrame(3, 1, vfRGB32));
  EXPECT_EQ(harness.Frames().back()->Format(), vfRGB32);  // not even converted
  EXPECT_EQ(harness.Frames().back()->Read()[1], 1);

  std::vector<bool> published;
  TPMBoolSinkPin watcher(nullptr, "Watcher", [&](TPMValueSinkPin<bool>&, const bool& v) { published.push_back(v); });
  filter.GetEnablePin()->Connect(watcher);  // gets the current value at once
  filter.SetEnabled(true);                  // setters publish on the pin
  EXPECT_EQ(published, (std::vector<bool>{false, true}));
  harness.PushFrame(CountingFrame(3, 1));
  EXPECT_EQ(harness.Frames().back()->Read()[1], 254);
}

TEST_F(FilterFixture, RequestsGoUpstreamAndOtherOperationsDownstream) {
  EXPECT_TRUE(harness.Pump());
  EXPECT_EQ(harness.RequestsReceived(), 1);
  harness.upstream.Send(MakeOperation<TPMPauseOperation>());
  EXPECT_EQ(harness.Names(), (std::vector<std::string>{"pause"}));
}

// A filter that may work in place gets one frame object as In and Out.
class TInPlace : public TFCCommonFilter {
public:
  using TFCCommonFilter::TFCCommonFilter;
  bool sameObject = false;

protected:
  bool CanInline() override { return true; }
  void FilterInternalOperation(const TFCImageBuffer& in, IFCImageBuffer& out) override {
    sameObject = &in == out.get();
    out->Modify()[0] = 99;
  }
};

TEST(CommonFilter, InPlaceFiltersShareOneFrameObjectButNeverTheSendersPixels) {
  TInPlace filter(nullptr);
  TComponentHarness harness;
  harness.Feed(*filter.GetInputPin());
  harness.Collect(*filter.GetOutputPin());
  const TFCImageBuffer input = CountingFrame(2, 2);
  harness.PushFrame(input);
  EXPECT_TRUE(filter.sameObject);
  EXPECT_EQ(harness.Frames().at(0)->Read()[0], 99);
  EXPECT_EQ(input.Read()[0], 0);
}

TEST(CommonFilter, PublishesPinsAndEnabledWithDefaults) {
  TInverter filter;
  const TClassInfo& info = filter.ClassInfo();
  for (const char* pin : {"InputPin", "OutputPin", "EnablePin"}) {
    ASSERT_NE(info.FindProperty(pin), nullptr) << pin;
    EXPECT_EQ(info.FindProperty(pin)->Kind(), TPropertyKind::Pin);
    EXPECT_EQ(info.FindProperty(pin)->GetObject(filter)->NamePath(), std::string("Inverter1.") + pin);
  }
  EXPECT_EQ(info.FindProperty("Enabled")->DefaultText(), "True");
  EXPECT_TRUE(PropertiesDifferingFromDefault(filter).empty());
  SetPropertyText(filter, "Enabled", "False");
  EXPECT_FALSE(filter.GetEnabled());
}

}  // namespace
}  // namespace fc
