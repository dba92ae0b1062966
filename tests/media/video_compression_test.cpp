// The compressor and decompressor components between test pins: lossless
// round trips, the codec choice, pass-through, and the raw fallback.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dispatch/primitives.h"
#include "media/Fcvideocompressor.h"
#include "media/Fcvideodecompressor.h"
#include "platform/media/codec_manager.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

constexpr int kWidth = 64, kHeight = 48;

// Sends binary blocks into a component and collects what one sends.
class TBinaryHarness : public TComponent, public IPMPinDispatcher {
public:
  TBinaryHarness() : TComponent(nullptr), upstream(this, *this, "Upstream"), downstream(this, *this, "Downstream") {}
  ~TBinaryHarness() override {
    upstream.Retire();
    downstream.Retire();
  }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation& operation) override {
    received.push_back(operation);
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return true; }

  TWCPMBinarySourcePin upstream;
  TWCPMBinarySinkPin downstream;
  std::vector<TPMOperation> received;
};

TFCImageBuffer JaehneFrame(int shift = 0) {
  TFCImageBuffer frame(kWidth, kHeight);
  EXPECT_EQ(ippiImageJaehne_8u_C3R(frame.Write(), frame.Step(), frame.SizeRecord()), 0);
  Ipp8u* bytes = frame.Modify();
  for (std::size_t i = 0; i < frame.Size(); ++i) bytes[i] = static_cast<Ipp8u>(bytes[i] + shift);
  return frame;
}

double Psnr(const TFCImageBuffer& a, const TFCImageBuffer& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.Size(); ++i) sum += std::pow(double(a.Read()[i]) - b.Read()[i], 2);
  return sum == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * a.Size() / sum);
}

// Frames through a compressor (with `codes` listed) and a decompressor.
struct TRoundTrip {
  explicit TRoundTrip(std::initializer_list<const char*> codes, int quality = TFCVideoCompressionItem::kQualityDefault)
      : compressor(nullptr), decompressor(nullptr) {
    for (const char* code : codes) {
      auto& item = compressor.GetCompressions()->Add();
      item.SetFourCC(code);
      item.SetQuality(quality);
    }
    harness.Feed(*compressor.GetInputPin());
    compressor.GetOutputPin()->Connect(*decompressor.GetInputPin());
    compressor.GetOutputPin()->Connect(blocks.downstream);
    harness.Collect(*decompressor.GetOutputPin());
  }
  std::vector<TFCImageBuffer> Run(const std::vector<TFCImageBuffer>& frames) {
    harness.PushStart(kWidth, kHeight, 25);
    for (const auto& frame : frames) harness.PushFrame(frame);
    harness.PushStop();
    std::vector<TFCImageBuffer> out;
    for (const auto& frame : harness.Frames()) out.push_back(*frame);
    return out;
  }

  TFCVideoCompressor compressor;
  TFCVideoDecompressor decompressor;
  test::TComponentHarness harness;
  TBinaryHarness blocks;
};

TEST(VideoCompression, LosslessCodecsRoundTripBitExactWithTimeStampsAndKeyFrames) {
  for (const char* code : {"FFV1", "HFYU"}) {
    TRoundTrip trip({"QQQQ", code});
    std::vector<TFCImageBuffer> frames = {JaehneFrame(), JaehneFrame(50), test::CountingFrame(kWidth, kHeight)};
    for (int i = 0; i < 3; ++i) frames[i].SetTimeStamps({i * 400'000LL, (i + 1) * 400'000LL, true});
    const auto out = trip.Run(frames);
    ASSERT_EQ(out.size(), 3u) << code;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(test::BytesOf(out[i]), test::BytesOf(frames[i])) << code << " frame " << i;
      EXPECT_EQ(out[i].TimeStamps(), frames[i].TimeStamps());
    }
    const auto* start = trip.blocks.received.at(0)->As<TFCStartVideoCompressionOperation>();
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(FourCCText(start->FourCC()), code);
    EXPECT_EQ(start->InputHeader(), UncompressedHeader(kWidth, kHeight, vfRGB24));
    EXPECT_EQ(start->Rate(), 25);
    ASSERT_TRUE(BinaryOf(trip.blocks.received.at(1)));
    EXPECT_TRUE(BinaryOf(trip.blocks.received.at(1))->IsKeyFrame());
    EXPECT_EQ(trip.harness.LastStart()->Width(), kWidth);
  }
}

TEST(VideoCompression, MotionJpegStaysAbove35dBOnTheJaehnePattern) {
  TRoundTrip trip({"MJPG"}, 10000);
  const auto out = trip.Run({JaehneFrame()});
  ASSERT_EQ(out.size(), 1u);
  EXPECT_GT(Psnr(out[0], JaehneFrame()), 35.0);
}

TEST(VideoCompression, AnEmptyListUsesTheFirstInstalledCodecAndADisabledOnePassesFrames) {
  TRoundTrip any({});
  EXPECT_EQ(any.Run({JaehneFrame()}).size(), 1u);
  const auto* start = any.blocks.received.at(0)->As<TFCStartVideoCompressionOperation>();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(FourCCText(start->FourCC()), "MJPG");

  TRoundTrip disabled({"FFV1"});
  disabled.compressor.SetEnabled(false);
  const auto frame = test::CountingFrame(kWidth, kHeight);
  const auto out = disabled.Run({frame});
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(test::BytesOf(out[0]), test::BytesOf(frame));
  EXPECT_TRUE(disabled.blocks.received.at(0)->Is<TPMStartFrameOperation>());
  EXPECT_TRUE(FrameOf(disabled.blocks.received.at(1)));
}

// MJPG is found for the frames, but its encoder is then begun with a pixel
// format it refuses: the codec is closed and the stream passes uncompressed.
TEST(VideoCompression, ACodecThatFailsToBeginLetsTheFramesPassUncompressed) {
  const TFCFourCC mjpg = MakeFourCC("MJPG");
  struct TClearOption {
    ~TClearOption() { media::SetBeginOptionForTesting(0, "", ""); }
  } clear;
  media::SetBeginOptionForTesting(mjpg, "pixel_format", "rgb24");
  auto codec = media::TVideoCompressorCodec::Locate(mjpg, UncompressedHeader(kWidth, kHeight, vfRGB24));
  ASSERT_TRUE(codec);
  const media::TMediaStatus begun = codec->Begin(0);
  EXPECT_FALSE(begun);
  EXPECT_FALSE(codec->IsBegun());

  TRoundTrip trip({"MJPG"});
  const auto frame = test::CountingFrame(kWidth, kHeight);
  const auto out = trip.Run({frame, frame});
  EXPECT_EQ(trip.compressor.ActiveFourCC(), "");
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(test::BytesOf(out[1]), test::BytesOf(frame));
  ASSERT_GE(trip.blocks.received.size(), 3u);
  EXPECT_TRUE(trip.blocks.received[0]->Is<TPMStartFrameOperation>());
  EXPECT_TRUE(FrameOf(trip.blocks.received[1]));
  EXPECT_EQ(trip.compressor.CompressedFrames(), 0);
  EXPECT_EQ(trip.compressor.DroppedFrames(), 0);
}

TEST(VideoCompression, AFrameThatFailsToCompressIsDroppedAndCounted) {
  TRoundTrip trip({"FFV1"});
  const auto out = trip.Run({JaehneFrame(), TFCImageBuffer(kWidth / 2, kHeight), JaehneFrame(1)});
  EXPECT_EQ(out.size(), 2u);
  EXPECT_EQ(trip.compressor.DroppedFrames(), 1);
  EXPECT_EQ(trip.compressor.CompressedFrames(), 2);
}

TEST(VideoCompression, WithoutACodecBlocksAreRawFramesAndShortBlocksAreDropped) {
  TFCVideoDecompressor decompressor(nullptr);
  decompressor.SetWidth(4);
  decompressor.SetHeight(2);
  TBinaryHarness source;
  test::TComponentHarness sink;
  source.upstream.Connect(*decompressor.GetInputPin());
  sink.Collect(*decompressor.GetOutputPin());

  // A compressed start whose code no codec handles, then a plain start.
  TFCBitmapInfoHeader compressed = UncompressedHeader(4, 2, vfRGB24);
  compressed.compression = MakeFourCC("QQQQ");
  for (bool plain : {false, true}) {
    sink.ClearReceived();
    if (plain)
      source.upstream.Send(MakeOperation<TPMStartOperation>());
    else
      source.upstream.SendStartVideoCompression(UncompressedHeader(4, 2, vfRGB24), compressed, {}, compressed.compression, 24.6);
    EXPECT_EQ(decompressor.ActiveFourCC(), "");
    ASSERT_NE(sink.LastStart(), nullptr);
    EXPECT_EQ(sink.LastStart()->Width(), 4);
    EXPECT_EQ(sink.LastStart()->Rate(), plain ? 30 : 25);
    std::vector<std::uint8_t> raw(24);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i);
    source.upstream.SendBuffer(std::make_shared<TWCBinaryBuffer>(std::span<const std::uint8_t>(raw)));
    source.upstream.SendBuffer(std::make_shared<TWCBinaryBuffer>(std::span<const std::uint8_t>(raw).first(23)));
    ASSERT_EQ(sink.Frames().size(), 1u);
    EXPECT_EQ(test::BytesOf(*sink.Frames()[0]), raw);
  }
  EXPECT_EQ(decompressor.DroppedBlocks(), 2);
}

TEST(VideoCompression, APlainStartDecompressesWithTheListedCodec) {
  TFCVideoDecompressor decompressor(nullptr);
  decompressor.SetWidth(kWidth);
  decompressor.SetHeight(kHeight);
  decompressor.GetDecompressions()->Add().SetFourCC("FFV1");
  TBinaryHarness source;
  source.upstream.Connect(*decompressor.GetInputPin());
  source.upstream.Send(MakeOperation<TPMStartOperation>());
  EXPECT_EQ(decompressor.ActiveFourCC(), "FFV1");
}

}  // namespace
}  // namespace fc
