// codec_manager.h - video codecs by four-character code: each code is found
// through libavformat's table of RIFF video codes and served by FFmpeg's
// encoder and decoder of that codec. A compressor turns frames into one
// compressed chunk each (key frames flagged), a decompressor turns chunks
// back into frames.
//
// Both follow the order of a classic compression manager: locate a codec
// for a format (which also tells whether the codec accepts it), read its
// output format and sizes, begin, process frame by frame, end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "contracts/video/bitmap_header.h"
#include "platform/media/media_status.h"
#include "platform/runtime/components_api.h"

namespace fc::media {

/// The codes a request for "any installed compressor" tries, in this order:
/// MJPG, FFV1, HFYU, FFVH, XVID, DIVX, DX50, FMP4, MP42, MP43, WMV1, WMV2,
/// DVSD, MPG1, MPG2, H264, VP80.
FC_COMPONENTS_API const std::vector<std::string>& KnownFourCCs();

/// One code with FFmpeg's encoder and decoder of it (empty when missing).
struct FC_COMPONENTS_API TCodecDescription {
  std::string fourCC;
  std::string encoder;
  std::string decoder;
};
/// The known codes with an encoder or a decoder, in the order above.
FC_COMPONENTS_API std::vector<TCodecDescription> InstalledCodecs();

/// The format of a compressed stream: its header (compression = the code,
/// image size = the largest chunk) and the codec's setup bytes that its
/// decoder needs (empty for most codecs).
struct FC_COMPONENTS_API TCompressedFormat {
  TFCBitmapInfoHeader header;
  std::vector<std::uint8_t> codecData;
};

/// For tests of a codec that refuses to begin: while set, Begin of a
/// compressor of `fourCC` also sets FFmpeg's encoder option `name` to
/// `value` before opening the encoder, so a value the encoder refuses (such
/// as a pixel format it does not take) makes its open, and so Begin, fail.
/// Locate is unaffected. An empty `name` clears it.
FC_COMPONENTS_API void SetBeginOptionForTesting(TFCFourCC fourCC, std::string name, std::string value);

/// The chunk flag of a key frame.
inline constexpr std::uint32_t kChunkKeyFrame = 0x10;

/// One compressed frame.
struct FC_COMPONENTS_API TCompressedChunk {
  std::vector<std::uint8_t> bytes;
  std::uint32_t flags = 0;  ///< kChunkKeyFrame for a key frame
};

/// A compressor of one codec for frames of one uncompressed header.
class FC_COMPONENTS_API TVideoCompressorCodec {
public:
  /// A compressor of the code `fourCC` whose encoder accepts frames of
  /// `input` (an uncompressed header: 24, 32, 8 bits or 16-bit YUY2), or
  /// null. With `fourCC` 0, the first of KnownFourCCs that does.
  static std::unique_ptr<TVideoCompressorCodec> Locate(TFCFourCC fourCC, const TFCBitmapInfoHeader& input);
  /// The same by a code of up to four characters or FFmpeg's encoder name
  /// ("mjpeg", "ffv1"); null also for an encoder without a code.
  static std::unique_ptr<TVideoCompressorCodec> LocateByName(std::string_view codeOrName,
                                                             const TFCBitmapInfoHeader& input);
  ~TVideoCompressorCodec();

  /// The code of the codec found (what its information record names).
  TFCFourCC FourCC() const;
  const std::string& EncoderName() const;
  /// The compressed format; after Begin it carries the setup bytes of the
  /// encoder that was begun.
  const TCompressedFormat& OutputFormat() const;
  /// Bytes of the largest chunk a frame can give.
  std::size_t MaxCompressedSize() const;

  /// Opens the encoder at `quality` (1 to 10000, higher is better; 0 the
  /// codec's default). Codecs without a quality setting ignore it.
  TMediaStatus Begin(int quality);
  /// Compresses one frame of the input header's size and format (`pixels`
  /// holds its image size). Frame 0 is a key frame; later ones are where the
  /// codec makes them. Fails when not begun or when the chunk would exceed
  /// MaxCompressedSize.
  TMediaStatus Compress(const std::uint8_t* pixels, std::int64_t frameNumber, TCompressedChunk& chunk);
  void End();
  bool IsBegun() const;

private:
  struct Impl;
  explicit TVideoCompressorCodec(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

/// A decompressor of one compressed format into frames of one uncompressed
/// header.
class FC_COMPONENTS_API TVideoDecompressorCodec {
public:
  /// A decompressor of `compressed` whose output is `uncompressed` (24, 32,
  /// 8 bits or YUY2, of the compressed size), or, without one, three-byte
  /// pixels of the compressed size; null when no decoder takes the format.
  static std::unique_ptr<TVideoDecompressorCodec> Locate(const TCompressedFormat& compressed,
                                                         const TFCBitmapInfoHeader* uncompressed);
  ~TVideoDecompressorCodec();

  TFCFourCC FourCC() const;
  const TFCBitmapInfoHeader& OutputHeader() const;

  TMediaStatus Begin();
  /// Decompresses one chunk into `pixels` (the output header's image size).
  /// A codec that needs more chunks before its first picture answers
  /// AVERROR(EAGAIN) (a negative code) and writes nothing.
  TMediaStatus Decompress(std::span<const std::uint8_t> chunk, std::uint8_t* pixels);
  void End();
  bool IsBegun() const;

private:
  struct Impl;
  explicit TVideoDecompressorCodec(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace fc::media
