// The graph compressor between test pins: chunks delivered from its own
// thread, every one of them by the stop, a single start-pump, the
// compressor list tried in order, and times starting at 0.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>

#include "media/Fcdsvideocompressor.h"
#include "media/Fcvideodecompressor.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

constexpr int kWidth = 64, kHeight = 48;

// Collects what arrives on a binary pin, from any thread.
class TBinaryCollector : public TComponent, public IPMPinDispatcher {
public:
  TBinaryCollector() : TComponent(nullptr), input(this, *this, "Input") {}
  ~TBinaryCollector() override { input.Retire(); }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation& operation) override {
    std::lock_guard guard(mutex_);
    received_.push_back(operation);
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return true; }
  std::vector<TPMOperation> Received() const {
    std::lock_guard guard(mutex_);
    return received_;
  }
  int Count(std::string_view name) const {
    int n = 0;
    for (const auto& op : Received()) n += op->Name() == name;
    return n;
  }
  TWCPMBinarySinkPin input;

private:
  mutable std::mutex mutex_;
  std::vector<TPMOperation> received_;
};

struct TRig {
  explicit TRig(std::initializer_list<const char*> monikers) : compressor(nullptr), decompressor(nullptr) {
    compressor.SetName("DSCompressor1");
    for (const char* moniker : monikers) compressor.GetCompressions()->Add().SetMoniker(moniker);
    harness.Feed(*compressor.GetInputPin());
    compressor.GetOutputPin()->Connect(blocks.input);
    compressor.GetOutputPin()->Connect(*decompressor.GetInputPin());
    harness.Collect(*decompressor.GetOutputPin());
  }
  std::vector<TFCImageBuffer> Frames(int count) {
    std::vector<TFCImageBuffer> frames;
    for (int i = 0; i < count; ++i) frames.push_back(test::CountingFrame(kWidth, kHeight, vfRGB24, i * 13));
    return frames;
  }
  TFCDSVideoCompressor compressor;
  TFCVideoDecompressor decompressor;
  test::TComponentHarness harness;
  TBinaryCollector blocks;
};

TEST(DSVideoCompressor, DeliversEveryChunkByTheStopWithOneStartPumpAndLosslessFrames) {
  TRig rig({"codec:ffv1"});
  const auto frames = rig.Frames(14);
  rig.harness.PushStart(kWidth, kHeight, 25);
  for (const auto& frame : frames) rig.harness.PushFrame(frame);
  rig.harness.PushStop();
  const auto out = rig.harness.Frames();
  ASSERT_EQ(out.size(), frames.size());
  for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(test::BytesOf(*out[i]), test::BytesOf(frames[i]));
  EXPECT_EQ(rig.blocks.Count("start-pump"), 1);
  const auto received = rig.blocks.Received();
  ASSERT_FALSE(received.empty());
  const auto* start = received.front()->As<TFCStartVideoCompressionOperation>();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(FourCCText(start->FourCC()), "FFV1");
  EXPECT_TRUE(received.back()->Is<TPMStopOperation>());
  EXPECT_EQ(rig.compressor.GetGraph()->StageNames().size(), 0u);
}

TEST(DSVideoCompressor, TriesTheListInOrderAndWithoutOneSendsRawFrames) {
  TRig rig({"codec:no-such-encoder", "codec:mjpeg"});
  std::vector<std::string> warnings;
  rig.compressor.GetGraph()->SetOnWarning(
      [&](TDSGraph&, const std::string& message, std::uint32_t) { warnings.push_back(message); });
  rig.harness.PushStart(kWidth, kHeight, 25);
  EXPECT_EQ(rig.compressor.GetGraph()->StageNames(),
            (std::vector<std::string>{"VideoSource", "SampleGrabler", "VideoCompressor"}));
  rig.harness.PushStop();
  EXPECT_EQ(warnings, std::vector<std::string>{"Can't render video output."});
  EXPECT_EQ(FourCCText(rig.blocks.Received().front()->As<TFCStartVideoCompressionOperation>()->FourCC()), "MJPG");

  TRig raw({});
  raw.harness.PushStart(kWidth, kHeight, 25);
  raw.harness.PushFrame(raw.Frames(1)[0]);
  raw.harness.PushStop();
  const auto received = raw.blocks.Received();
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[0]->As<TFCStartVideoCompressionOperation>()->FourCC(), 0u);
  EXPECT_EQ(BinaryOf(received[1])->Size(), std::size_t{kWidth} * kHeight * 3);
}

TEST(DSVideoCompressor, TimesStartAtZeroAndKeepTheirDistances) {
  TRig rig({"codec:ffv1"});
  auto frames = rig.Frames(3);
  for (int i = 0; i < 3; ++i) frames[i].SetTimeStamps({50'000'000LL + i * 800'000LL, 50'400'000LL + i * 800'000LL, true});
  rig.harness.PushStart(kWidth, kHeight, 25);
  for (const auto& frame : frames) rig.harness.PushFrame(frame);
  rig.harness.PushStop();
  std::vector<std::int64_t> begins;
  for (const auto& op : rig.blocks.Received())
    if (auto block = BinaryOf(op)) begins.push_back(block->TimeStamps().begin);
  EXPECT_EQ(begins, (std::vector<std::int64_t>{0, 800'000, 1'600'000}));
}

// An inter-frame codec: the chunks leave the graph flagged exactly as the
// codec marks them, the first one and one per key-frame interval.
TEST(DSVideoCompressor, KeyFramesKeepTheirFlagThroughTheGraph) {
  constexpr int kFrames = 26;
  TRig rig({"codec:mpeg4"});
  std::vector<TFCImageBuffer> frames;
  for (int i = 0; i < kFrames; ++i) frames.push_back(test::CountingFrame(kWidth, kHeight, vfRGB24, i));
  rig.harness.PushStart(kWidth, kHeight, 25);
  for (const auto& frame : frames) rig.harness.PushFrame(frame);
  rig.harness.PushStop();
  std::vector<int> keyFrames;
  int index = 0;
  for (const auto& op : rig.blocks.Received())
    if (auto block = BinaryOf(op)) {
      if (block->IsKeyFrame()) keyFrames.push_back(index);
      ++index;
    }
  ASSERT_EQ(index, kFrames);

  auto codec = media::TVideoCompressorCodec::LocateByName("mpeg4", UncompressedHeader(kWidth, kHeight, vfRGB24));
  ASSERT_TRUE(codec);
  ASSERT_TRUE(codec->Begin(0));
  std::vector<int> codecKeyFrames;
  for (int i = 0; i < kFrames; ++i) {
    media::TCompressedChunk chunk;
    ASSERT_TRUE(codec->Compress(frames[i].Read(), i, chunk));
    if (chunk.flags & media::kChunkKeyFrame) codecKeyFrames.push_back(i);
  }
  EXPECT_EQ(keyFrames, codecKeyFrames);
  EXPECT_EQ(keyFrames, (std::vector<int>{0, 12, 24}));  // the encoder's interval of 12
}

TEST(DSVideoCompressor, DisabledItPassesTheStreamAndDestructionWhileBusyEndsCleanly) {
  TRig disabled({"codec:ffv1"});
  disabled.compressor.SetEnabled(false);
  disabled.harness.PushStart(kWidth, kHeight, 25);
  disabled.harness.PushFrame(disabled.Frames(1)[0]);
  EXPECT_EQ(disabled.harness.Frames().size(), 1u);
  EXPECT_TRUE(disabled.blocks.Received().front()->Is<TPMStartFrameOperation>());

  auto busy = std::make_unique<TRig>(std::initializer_list<const char*>{"codec:mjpeg"});
  busy->harness.PushStart(kWidth, kHeight, 25);
  for (const auto& frame : busy->Frames(20)) busy->harness.PushFrame(frame);
  busy.reset();  // no stop: the destructor stops the graph and its threads
}

}  // namespace
}  // namespace fc
