// Whole pipelines built in code from the bases: a generator, a filter and
// sinks, connected by their pins and run pumped or in real time.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "contracts/video/common_filter.h"
#include "contracts/video/generator.h"
#include "contracts/video/sink_filter.h"

namespace fc {
namespace {

using namespace std::chrono_literals;

// Frame n has every byte n.
class TRamp : public TFCCommonGen {
public:
  using TFCCommonGen::TFCCommonGen;
  ~TRamp() override { RetirePins(); }

protected:
  void GenerateFrame(TFCImageBuffer& buffer, bool&, bool&) override {
    std::fill_n(buffer.Write(), buffer.Size(), static_cast<Ipp8u>(++count_));
  }

private:
  int count_ = 0;
};

class TInvert : public TFCCommonFilter {
public:
  using TFCCommonFilter::TFCCommonFilter;

protected:
  void FilterInternalOperation(const TFCImageBuffer&, IFCImageBuffer& out) override {
    Ipp8u* p = out->Modify();
    for (std::size_t i = 0; i < out->Size(); ++i) p[i] = static_cast<Ipp8u>(255 - p[i]);
  }
};

// Keeps the first byte of every frame.
class TCollector : public TFCSinkFilter {
public:
  using TFCSinkFilter::TFCSinkFilter;
  ~TCollector() override { RetirePins(); }
  std::vector<int> Values() const {
    auto section = ReadLock();
    return values_;
  }
  bool Stopped() const {
    auto section = ReadLock();
    return stopped_;
  }
  IppiSize started{};

protected:
  void IntStart(int width, int height) override { started = {width, height}; }
  void ProcessImage(const TFCImageBuffer& buffer) override {
    auto section = WriteLock();
    values_.push_back(buffer.Read()[0]);
  }
  void Stop() override { stopped_ = true; }

private:
  std::vector<int> values_;
  bool stopped_ = false;
};

struct Pipeline {
  TComponent form{nullptr};
  TRamp* ramp = new TRamp(&form);
  TInvert* invert = new TInvert(&form);
  TCollector* sink = new TCollector(&form);
  Pipeline() {
    ramp->SetName("Ramp1");
    invert->SetName("Invert1");
    sink->SetName("Sink1");
    SetPropertyText(*ramp, "ImageSize.Width", "32");
    SetPropertyText(*ramp, "ImageSize.Height", "16");
    ramp->GetOutputPin()->Connect(*invert->GetInputPin());
    invert->GetOutputPin()->Connect(*sink->GetInputPin());
  }
};

TEST(Pipeline, ASinkPullsFramesThroughAFilterFromAPumpedGenerator) {
  Pipeline p;
  SetPropertyText(*p.ramp, "Pacing", "gpPump");
  p.ramp->Start();
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(p.sink->RequestFrame());
  p.ramp->Stop();
  EXPECT_EQ(p.sink->started.width, 32);
  EXPECT_EQ(p.sink->started.height, 16);
  EXPECT_EQ(p.sink->Values(), (std::vector<int>{254, 253, 252, 251}));
  EXPECT_TRUE(p.sink->Stopped());
}

TEST(Pipeline, AClockedGeneratorFeedsSinksInRealTime) {
  Pipeline p;
  TCollector* second = new TCollector(&p.form);  // a second branch, straight from the generator
  p.ramp->GetOutputPin()->Connect(*second->GetInputPin());
  p.ramp->SetFrameRate(200);
  p.ramp->Start();
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (p.sink->Values().size() < 5 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  p.ramp->Stop();
  const std::vector<int> inverted = p.sink->Values(), plain = second->Values();
  ASSERT_GE(inverted.size(), 5u);
  ASSERT_EQ(plain.size(), inverted.size());
  for (std::size_t i = 0; i < plain.size(); ++i) {
    EXPECT_EQ(plain[i], static_cast<int>(i + 1));
    EXPECT_EQ(inverted[i], 255 - plain[i]);
  }
  EXPECT_TRUE(second->Stopped());
}

}  // namespace
}  // namespace fc
