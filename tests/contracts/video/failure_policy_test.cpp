// The failure policy of the component bases: failed primitive calls are
// counted, reported once per cause and stream through the log and OnError,
// and no frame that depended on them goes on.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "contracts/pins/pin_graph.h"
#include "contracts/video/common_filter.h"
#include "contracts/video/generator.h"
#include "platform/runtime/log.h"
#include "platform/runtime/resource_budget.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

using test::TComponentHarness;

// Writes the frame's first byte, or fails with the status it is told to.
class TScriptedFilter : public TFCCommonFilter {
public:
  using TFCCommonFilter::TFCCommonFilter;
  ~TScriptedFilter() override { RetirePins(); }
  IppStatus status = ippStsNoErr;
  TFCFailedFrame onFailure = TFCFailedFrame::Drop;
  bool throwBadAlloc = false;

protected:
  void FilterInternalOperation(const TFCImageBuffer&, IFCImageBuffer& Out) override {
    if (throwBadAlloc) throw std::bad_alloc();
    Out->Modify()[0] = 99;  // what a primitive that fails half way must not leak
    PrimitiveSucceeded(status, "ippiScripted_8u_C3R", onFailure);
  }
};

class TScriptedGen : public TFCCommonGen {
public:
  using TFCCommonGen::TFCCommonGen;
  ~TScriptedGen() override { RetirePins(); }
  IppStatus status = ippStsNoErr;

protected:
  void GenerateFrame(TFCImageBuffer&, bool&, bool&) override { PrimitiveSucceeded(status, "ippiScripted"); }
};

// Captures the log while it lives, at the level given.
struct TLogCapture {
  explicit TLogCapture(TFCLogLevel level) : previousLevel(LogLevel()) {
    SetLogLevel(level);
    previous = SetLogHandler([this](TFCLogLevel, std::string_view text) { lines.emplace_back(text); });
  }
  ~TLogCapture() {
    SetLogHandler(previous);
    SetLogLevel(previousLevel);
  }
  TFCLogLevel previousLevel;
  TFCLogHandler previous;
  std::vector<std::string> lines;
};

struct FailureFixture : ::testing::Test {
  TScriptedFilter filter{nullptr};
  TComponentHarness harness;
  TFCImageBuffer frame{4, 3};
  std::vector<std::string> events;
  void SetUp() override {
    filter.SetName("Scripted1");
    filter.SetOnError([this](const TFCFailure& failure) { events.push_back(failure.Message()); });
    harness.Feed(*filter.GetInputPin());
    harness.Collect(*filter.GetOutputPin());
    std::fill_n(frame.Write(), frame.Size(), Ipp8u{7});
  }
};

TEST_F(FailureFixture, AnErrorDropsTheFrameAndIsReportedOncePerCausePerStream) {
  TLogCapture log(TFCLogLevel::Warning);
  harness.PushStart(4, 3);
  filter.status = ippStsSizeErr;
  harness.PushFrame(frame);
  harness.PushFrame(frame);
  filter.status = ippStsStepErr;
  harness.PushFrame(frame);
  filter.status = ippStsNoErr;
  harness.PushFrame(frame);
  EXPECT_EQ(harness.Frames().size(), 1u);
  EXPECT_EQ(filter.ErrorCount(), 3);
  const std::vector<std::string> expected{"Scripted1: ippiScripted_8u_C3R failed with ippStsSizeErr",
                                          "Scripted1: ippiScripted_8u_C3R failed with ippStsStepErr"};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(log.lines, expected);

  harness.PushStart(4, 3);  // a new stream reports its causes anew
  filter.status = ippStsSizeErr;
  harness.PushFrame(frame);
  EXPECT_EQ(events.size(), 3u);
}

TEST_F(FailureFixture, WarningsLetTheFrameGoOnAndAreOnlyDebugged) {
  TLogCapture log(TFCLogLevel::Warning);
  filter.status = ippStsWrongIntersectROI;
  harness.PushFrame(frame);
  EXPECT_EQ(harness.Frames().size(), 1u);
  EXPECT_EQ(filter.ErrorCount(), 0);
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(FailureFixture, TheLogIsQuietByDefault) {
  TLogCapture log(TFCLogLevel::Quiet);
  filter.status = ippStsSizeErr;
  harness.PushFrame(frame);
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(events.size(), 1u);
}

TEST_F(FailureFixture, PassInputSendsTheInputAsItCameNotTheHalfWrittenOutput) {
  filter.status = ippStsMaskSizeErr;
  filter.onFailure = TFCFailedFrame::PassInput;
  harness.PushFrame(frame);
  ASSERT_EQ(harness.Frames().size(), 1u);
  EXPECT_EQ(harness.Frames()[0]->Read()[0], 7);
  EXPECT_EQ(filter.ErrorCount(), 1);
}

TEST_F(FailureFixture, RunningOutOfMemoryNamesTheComponent) {
  filter.throwBadAlloc = true;
  try {
    harness.PushFrame(frame);
    FAIL() << "no error";
  } catch (const EFCError& error) {
    EXPECT_EQ(std::string(error.what()), "Scripted1: out of memory while processing a frame");
  }
}

TEST(GeneratorFailures, AFailedFrameIsNotSentAndAnOversizedImageIsRefusedAtStart) {
  TScriptedGen gen(nullptr);
  gen.SetName("Gen1");
  TComponentHarness harness;
  harness.Collect(*gen.GetOutputPin());
  gen.SetPacing(gpPump);
  gen.Start();
  gen.status = ippStsSizeErr;
  EXPECT_FALSE(gen.GenerateNow());
  gen.status = ippStsNoErr;
  EXPECT_TRUE(gen.GenerateNow());
  EXPECT_EQ(harness.Frames().size(), 1u);
  EXPECT_EQ(gen.ErrorCount(), 1);
  gen.Stop();

  SetMaxBufferBytes(1000);
  try {
    gen.Start();
    FAIL() << "no error";
  } catch (const EFCError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Gen1.ImageSize: 320 x 240 exceeds the frame budget", 0), 0u)
        << error.what();
  }
  SetMaxBufferBytes(0);
  EXPECT_FALSE(gen.IsRunning());
}

TEST(PinGraph, LoopsAreFoundBeforeAStartAndRefusedWhenAStartComesRoundOne) {
  TComponent root;
  auto* a = new TScriptedFilter(&root);
  auto* b = new TScriptedFilter(&root);
  auto* c = new TScriptedFilter(&root);
  a->SetName("A");
  b->SetName("B");
  c->SetName("C");
  a->GetOutputPin()->Connect(*b->GetInputPin());
  b->GetOutputPin()->Connect(*c->GetInputPin());
  a->GetOutputPin()->Connect(*c->GetInputPin());  // C now takes A, not B: no loop
  EXPECT_TRUE(FindLoop(root).empty());
  c->GetOutputPin()->Connect(*a->GetInputPin());
  EXPECT_EQ(LoopText(FindLoop(root)), "A > C > A");

  // A start sent into the loop from outside comes back to where it entered.
  TComponentHarness harness;
  harness.Collect(*c->GetOutputPin());
  try {
    c->GetOutputPin()->SendStartFrame(4, 3, 30.0, vfRGB24);
    FAIL() << "no error";
  } catch (const EFCError& error) {
    EXPECT_EQ(std::string(error.what()), "A > C > A: the stream comes back round a loop of connections");
  }
}

TEST(ResourceBudget, SidesAndBytesAreCheckedAndTheBudgetIsSettable) {
  EXPECT_EQ(MaxBufferBytes(), kDefaultMaxBufferBytes);
  EXPECT_TRUE(WithinFrameBudget(16384, 16384, 3));
  EXPECT_FALSE(WithinFrameBudget(16385, 1, 3));
  EXPECT_FALSE(WithinFrameBudget(-1, 1, 3));
  SetMaxBufferBytes(100);
  EXPECT_TRUE(WithinBufferBudget(100));
  EXPECT_FALSE(WithinFrameBudget(10, 4, 3));
  SetMaxBufferBytes(0);
  EXPECT_EQ(ParseBufferBytes("4096"), 4096u);
  for (const char* bad : {"", "0", "-1", "12k", "99999999999999999999999"}) EXPECT_FALSE(ParseBufferBytes(bad)) << bad;

  const TPMObject lock;
  TFCSize size(nullptr, "ImageSize", lock);
  EXPECT_THROW(size.SetWidth(100000), EFCError);
  EXPECT_EQ(size.GetWidth(), TFCSize::kStartWidth);
}

}  // namespace
}  // namespace fc
