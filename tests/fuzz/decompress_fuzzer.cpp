// Compressed video chunks from outside through the codec manager's
// decompressor: a code of the known list, a small frame size, an output
// format, the codec's setup bytes and a few chunks, all chosen by the input.
// Whatever the bytes, a decompressor answers a status and writes within the
// frame it was given.
//
// Input: code index, width, height, output format, setup length, the setup
// bytes, then chunks, each a little-endian 16-bit length and its bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/media/codec_manager.h"
#include "platform/runtime/log.h"

namespace {

constexpr int kMaxSide = 64;
constexpr int kMaxChunks = 8;
constexpr fc::TFCVideoFormat kOutputs[] = {fc::vfRGB24, fc::vfRGB32, fc::vfGray8, fc::vfYUY2};

// The input, read front to back.
struct TReader {
  std::span<const std::uint8_t> rest;
  std::uint8_t Byte() {
    if (rest.empty()) return 0;
    const std::uint8_t b = rest.front();
    rest = rest.subspan(1);
    return b;
  }
  std::span<const std::uint8_t> Bytes(std::size_t count) {
    const auto taken = rest.first(std::min(count, rest.size()));
    rest = rest.subspan(taken.size());
    return taken;
  }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fc::SetLogLevel(fc::TFCLogLevel::Quiet);  // decoders complain of every bad chunk
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TReader in{{data, size}};
  const auto& codes = fc::media::KnownFourCCs();
  fc::media::TCompressedFormat compressed;
  compressed.header.compression = fc::MakeFourCC(codes[in.Byte() % codes.size()]);
  compressed.header.width = 1 + in.Byte() % kMaxSide;
  compressed.header.height = 1 + in.Byte() % kMaxSide;
  compressed.header.planes = 1;
  compressed.header.bitCount = 24;
  const fc::TFCVideoFormat output = kOutputs[in.Byte() % std::size(kOutputs)];
  const auto setup = in.Bytes(in.Byte());
  compressed.codecData.assign(setup.begin(), setup.end());

  const fc::TFCBitmapInfoHeader uncompressed =
      fc::UncompressedHeader(compressed.header.width, compressed.header.height, output);
  auto codec = fc::media::TVideoDecompressorCodec::Locate(compressed, &uncompressed);
  if (!codec || !codec->Begin()) return 0;
  std::vector<std::uint8_t> pixels(codec->OutputHeader().sizeImage);
  for (int i = 0; i < kMaxChunks && !in.rest.empty(); ++i) {
    const std::size_t length = in.Byte() | (std::size_t{in.Byte()} << 8);
    (void)codec->Decompress(in.Bytes(length), pixels.data());
  }
  codec->End();
  return 0;
}
