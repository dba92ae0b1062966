// Codecs by four-character code: lossless codecs give frames back bit for
// bit, MJPG stays close, "any codec" follows the documented order, and
// what no codec takes is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

extern "C" {
#include <libavutil/error.h>
}

#include "dispatch/primitives.h"
#include "platform/media/codec_manager.h"

namespace fc::media {
namespace {

constexpr int kWidth = 64, kHeight = 48;

std::vector<std::uint8_t> Jaehne() {
  std::vector<std::uint8_t> pixels(std::size_t{kWidth} * kHeight * 3);
  EXPECT_EQ(ippiImageJaehne_8u_C3R(pixels.data(), kWidth * 3, {kWidth, kHeight}), 0);
  return pixels;
}

std::vector<std::uint8_t> Shifted(std::vector<std::uint8_t> pixels, int by) {
  for (auto& p : pixels) p = static_cast<std::uint8_t>(p + by);
  return pixels;
}

double Psnr(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * double(a[i] - b[i]);
  return sum == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * a.size() / sum);
}

// Compresses the frames with `code` and decompresses them again.
std::vector<std::vector<std::uint8_t>> RoundTrip(const char* code, int quality,
                                                 const std::vector<std::vector<std::uint8_t>>& frames) {
  const TFCBitmapInfoHeader input = UncompressedHeader(kWidth, kHeight, vfRGB24);
  auto compressor = TVideoCompressorCodec::Locate(MakeFourCC(code), input);
  EXPECT_TRUE(compressor) << code;
  if (!compressor) return {};
  EXPECT_TRUE(compressor->Begin(quality));
  auto decompressor = TVideoDecompressorCodec::Locate(compressor->OutputFormat(), &input);
  EXPECT_TRUE(decompressor) << code;
  if (!decompressor) return {};
  EXPECT_TRUE(decompressor->Begin());
  std::vector<std::vector<std::uint8_t>> out;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    TCompressedChunk chunk;
    EXPECT_TRUE(compressor->Compress(frames[i].data(), static_cast<std::int64_t>(i), chunk));
    EXPECT_LE(chunk.bytes.size(), compressor->MaxCompressedSize());
    if (i == 0) {
      EXPECT_EQ(chunk.flags, kChunkKeyFrame) << code;
    }
    std::vector<std::uint8_t> pixels(decompressor->OutputHeader().sizeImage);
    EXPECT_TRUE(decompressor->Decompress(chunk.bytes, pixels.data()));
    out.push_back(std::move(pixels));
  }
  compressor->End();
  decompressor->End();
  return out;
}

TEST(CodecManager, LosslessCodecsRoundTripBitExact) {
  const std::vector<std::vector<std::uint8_t>> frames = {Jaehne(), Shifted(Jaehne(), 40), Shifted(Jaehne(), 99)};
  for (const char* code : {"FFV1", "HFYU", "FFVH"}) EXPECT_TRUE(RoundTrip(code, 0, frames) == frames) << code;
}

TEST(CodecManager, MotionJpegAtHighQualityStaysAbove35dB) {
  const auto frames = RoundTrip("MJPG", 10000, {Jaehne()});
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_GT(Psnr(frames[0], Jaehne()), 35.0);
}

TEST(CodecManager, AnyCodecIsTheFirstKnownCodeThatTakesTheFormat) {
  auto any = TVideoCompressorCodec::Locate(0, UncompressedHeader(kWidth, kHeight, vfRGB24));
  ASSERT_TRUE(any);
  EXPECT_EQ(FourCCText(any->FourCC()), KnownFourCCs().front());
  EXPECT_EQ(any->OutputFormat().header.compression, any->FourCC());

  // DV takes only its own frame sizes; at 720x576 it is found by its code.
  EXPECT_FALSE(TVideoCompressorCodec::Locate(MakeFourCC("DVSD"), UncompressedHeader(kWidth, kHeight, vfRGB24)));
  EXPECT_TRUE(TVideoCompressorCodec::Locate(MakeFourCC("DVSD"), UncompressedHeader(720, 576, vfYUY2)));

  const auto installed = InstalledCodecs();
  ASSERT_FALSE(installed.empty());
  EXPECT_EQ(installed.front().fourCC, "MJPG");
  EXPECT_EQ(installed.front().encoder, "mjpeg");
}

TEST(CodecManager, RefusesUnknownCodesFormatsAndChunks) {
  const TFCBitmapInfoHeader input = UncompressedHeader(kWidth, kHeight, vfRGB24);
  EXPECT_FALSE(TVideoCompressorCodec::Locate(MakeFourCC("QQQQ"), input));
  TFCBitmapInfoHeader odd = input;
  odd.bitCount = 12;
  EXPECT_FALSE(TVideoCompressorCodec::Locate(0, odd));
  EXPECT_FALSE(TVideoCompressorCodec::Locate(0, UncompressedHeader(0, kHeight, vfRGB24)));

  TCompressedFormat unknown{input, {}};
  unknown.header.compression = MakeFourCC("QQQQ");
  EXPECT_FALSE(TVideoDecompressorCodec::Locate(unknown, nullptr));

  auto compressor = TVideoCompressorCodec::Locate(MakeFourCC("MJPG"), input);
  ASSERT_TRUE(compressor);
  TCompressedChunk chunk;
  const auto pixels = Jaehne();
  EXPECT_FALSE(compressor->Compress(pixels.data(), 0, chunk));  // not begun

  // A decompressor asked for another size than the stream's is refused; a
  // chunk of garbage fails and writes nothing.
  const TFCBitmapInfoHeader other = UncompressedHeader(kWidth / 2, kHeight, vfRGB24);
  EXPECT_FALSE(TVideoDecompressorCodec::Locate(compressor->OutputFormat(), &other));
  auto decompressor = TVideoDecompressorCodec::Locate(compressor->OutputFormat(), nullptr);
  ASSERT_TRUE(decompressor);
  EXPECT_EQ(decompressor->OutputHeader(), input);
  ASSERT_TRUE(decompressor->Begin());
  std::vector<std::uint8_t> out(input.sizeImage, 7);
  const std::vector<std::uint8_t> garbage(100, 0x55);
  EXPECT_FALSE(decompressor->Decompress(garbage, out.data()));
  EXPECT_FALSE(decompressor->Decompress({}, out.data()));
  EXPECT_EQ(out, std::vector<std::uint8_t>(input.sizeImage, 7));
}

}  // namespace
}  // namespace fc::media

namespace fc::media {
namespace {

// Frames of narrow widths decompressed into each of our formats (YUY2 from
// planar 4:2:0 pictures is where libswscale writes past a row's end): the
// decompressor writes the output header's image size and not a byte more
// (the bytes after it keep their guard value).
TEST(CodecManager, DecompressionWritesNoFurtherThanTheFrame) {
  constexpr std::size_t kGuard = 64;
  for (const char* code : {"MJPG", "MP43"}) {
    for (const int width : {10, 18, 30}) {
      const TFCBitmapInfoHeader input = UncompressedHeader(width, 16, vfRGB24);
      auto compressor = TVideoCompressorCodec::Locate(MakeFourCC(code), input);
      ASSERT_TRUE(compressor && compressor->Begin(0)) << code << " " << width;
      const std::vector<std::uint8_t> frame(input.sizeImage, 0x60);
      TCompressedChunk chunk;
      ASSERT_TRUE(compressor->Compress(frame.data(), 0, chunk));
      for (const TFCVideoFormat format : {vfRGB24, vfRGB32, vfGray8, vfYUY2}) {
        const TFCBitmapInfoHeader output = UncompressedHeader(width, 16, format);
        auto decompressor = TVideoDecompressorCodec::Locate(compressor->OutputFormat(), &output);
        ASSERT_TRUE(decompressor && decompressor->Begin());
        std::vector<std::uint8_t> pixels(output.sizeImage + kGuard, 0xA5);
        EXPECT_TRUE(decompressor->Decompress(chunk.bytes, pixels.data()));
        const std::vector<std::uint8_t> after(pixels.end() - kGuard, pixels.end());
        EXPECT_EQ(after, std::vector<std::uint8_t>(kGuard, 0xA5))
            << code << " width " << width << ", format " << format;
      }
    }
  }
}

}  // namespace
}  // namespace fc::media
