// The graph holder: stage order, sources that deliver what they hold at
// stop, errors raised or handled, errors from streaming threads kept.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern "C" {
#include <libavutil/error.h>
}

#include "platform/media/graph.h"
#include "platform/media/graph_stages.h"
#include "platform/runtime/error.h"

namespace fc {
namespace {

// A stage that records its starts, stops and samples, and refuses samples
// when asked to.
class TRecordingStage : public TDSGraphStage, public IDSSampleInput {
public:
  TRecordingStage(std::string name, std::vector<std::string>& journal)
      : TDSGraphStage(std::move(name)), journal_(journal) {}

  media::TMediaStatus Start() override {
    journal_.push_back("start " + Name());
    if (failStart) return media::TMediaStatus::Failure(AVERROR(EIO), "refused");
    return {};
  }
  void Stop() override { journal_.push_back("stop " + Name()); }
  media::TMediaStatus Receive(const TDSMediaSample& sample) override {
    std::this_thread::yield();  // a slow consumer: the queue fills
    std::lock_guard guard(mutex);
    if (refuse) return media::TMediaStatus::Failure(AVERROR(EINVAL), "refused");
    firstBytes.push_back(sample.bytes.at(0));
    return {};
  }

  bool failStart = false;
  bool refuse = false;
  std::mutex mutex;
  std::vector<int> firstBytes;

private:
  std::vector<std::string>& journal_;
};

std::vector<std::uint8_t> Frame(int value) { return std::vector<std::uint8_t>(4 * 2 * 3, static_cast<std::uint8_t>(value)); }

TEST(DSGraph, SourcesStartLastStopFirstAndDeliverEverythingQueuedBeforeTheStop) {
  std::vector<std::string> journal;
  TDSGraph graph(nullptr, "Graph");
  auto* sink = static_cast<TRecordingStage*>(graph.AddStage(std::make_unique<TRecordingStage>("Sink", journal)));
  auto* source = static_cast<TDSVideoSourceFilter*>(
      graph.AddStage(std::make_unique<TDSVideoSourceFilter>("VideoSource", vfRGB24, 4, 2)));
  source->Connect(sink);
  EXPECT_EQ(graph.AddStage(std::make_unique<TRecordingStage>("Sink", journal)), nullptr);
  EXPECT_EQ(graph.StageNames(), (std::vector<std::string>{"Sink", "VideoSource"}));

  ASSERT_TRUE(graph.Run());
  for (int i = 0; i < 40; ++i) {
    const auto frame = Frame(i);
    ASSERT_TRUE(source->SendRGB(frame.data(), frame.size(), i, i + 1));
  }
  const auto wrongSize = Frame(0);
  EXPECT_FALSE(source->SendRGB(wrongSize.data(), wrongSize.size() - 3, 0, 1));
  EXPECT_FALSE(source->SendYUY2(wrongSize.data(), wrongSize.size(), 0, 1));
  graph.Stop();
  graph.Stop();
  EXPECT_EQ(journal, (std::vector<std::string>{"start Sink", "stop Sink"}));
  std::vector<int> expected;
  for (int i = 0; i < 40; ++i) expected.push_back(i);
  EXPECT_EQ(sink->firstBytes, expected);
  const auto late = Frame(1);
  EXPECT_FALSE(source->SendRGB(late.data(), late.size(), 0, 1));
}

TEST(DSGraph, AFailedStartStopsWhatStartedAndNothingRuns) {
  std::vector<std::string> journal;
  TDSGraph graph(nullptr, "Graph");
  graph.AddStage(std::make_unique<TRecordingStage>("First", journal));
  auto* second = static_cast<TRecordingStage*>(graph.AddStage(std::make_unique<TRecordingStage>("Second", journal)));
  second->failStart = true;
  EXPECT_EQ(graph.Run().code, AVERROR(EIO));
  EXPECT_FALSE(graph.IsRunning());
  EXPECT_EQ(journal, (std::vector<std::string>{"start First", "start Second", "stop First"}));
}

TEST(DSGraph, ErrorsRaiseUnlessHandledAndStreamErrorsAreKeptForTheComponent) {
  TDSGraph graph(nullptr, "Graph");
  try {
    graph.Error("Can't create ASF writer.", AVERROR(ENOENT));
    FAIL() << "not raised";
  } catch (const EFCError& error) {
    EXPECT_NE(std::string(error.what()).find("Can't create ASF writer."), std::string::npos);
    EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos);
  }

  std::vector<std::pair<std::string, std::uint32_t>> errors;
  graph.SetOnError([&](TDSGraph&, const std::string& message, std::uint32_t code, bool& handled) {
    errors.emplace_back(message, code);
    handled = true;
  });
  EXPECT_NO_THROW(graph.Error("Can't start logger.", AVERROR(EIO)));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].first, "Can't start logger.");
  EXPECT_EQ(errors[0].second, static_cast<std::uint32_t>(AVERROR(EIO)));
  graph.SetOnError({});

  std::vector<std::string> journal;
  auto* sink = static_cast<TRecordingStage*>(graph.AddStage(std::make_unique<TRecordingStage>("Sink", journal)));
  sink->refuse = true;
  auto* source = static_cast<TDSVideoSourceFilter*>(
      graph.AddStage(std::make_unique<TDSVideoSourceFilter>("VideoSource", vfRGB24, 4, 2)));
  source->Connect(sink);
  ASSERT_TRUE(graph.Run());
  const auto frame = Frame(0);
  for (int i = 0; i < 3; ++i) source->SendRGB(frame.data(), frame.size(), i, i + 1);
  graph.Stop();
  EXPECT_EQ(source->Dropped(), 3);
  const auto kept = graph.TakeStreamError();
  ASSERT_TRUE(kept.has_value());
  EXPECT_NE(kept->find("Can't write video sample."), std::string::npos);
  EXPECT_FALSE(graph.TakeStreamError().has_value());
}

}  // namespace
}  // namespace fc
