// video_compression.h - what compressed video streams carry besides their
// data: the start-video-compression operation, and the ordered codec lists
// the compressor and decompressor components choose from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contracts/pins/operations.h"
#include "contracts/video/bitmap_header.h"
#include "platform/runtime/collection.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A compressed video stream starts: the header of the uncompressed frames
/// that went in, the header of the compressed data (its compression is the
/// codec's four-character code), the codec's private setup bytes that
/// decoders of some codecs need (empty for most), the code and the rate in
/// frames per second.
class FC_COMPONENTS_API TFCStartVideoCompressionOperation : public TPMStartOperation {
public:
  TFCStartVideoCompressionOperation(const TFCBitmapInfoHeader& input, const TFCBitmapInfoHeader& output,
                                    std::vector<std::uint8_t> codecData, TFCFourCC fourCC, double rate)
      : input_(input), output_(output), codecData_(std::move(codecData)), fourCC_(fourCC), rate_(rate) {}
  std::string_view Name() const override { return "start-video-compression"; }

  const TFCBitmapInfoHeader& InputHeader() const { return input_; }
  const TFCBitmapInfoHeader& OutputHeader() const { return output_; }
  const std::vector<std::uint8_t>& CodecData() const { return codecData_; }
  TFCFourCC FourCC() const { return fourCC_; }
  double Rate() const { return rate_; }

private:
  TFCBitmapInfoHeader input_, output_;
  std::vector<std::uint8_t> codecData_;
  TFCFourCC fourCC_;
  double rate_;
};

/// One codec of a list: its four-character code ("MJPG", "FFV1" ...) and the
/// quality to compress with, 0 to 10000 (0: the codec's own default).
/// Change lists while no stream runs: components read them when a stream
/// starts.
class FC_COMPONENTS_API TFCVideoCompressionItem : public TCollectionItem {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::int32_t kQualityDefault = 7500;
  static constexpr std::int32_t kQualityMaximum = 10000;

  explicit TFCVideoCompressionItem(TCollection& collection) : TCollectionItem(collection) {}

  std::string GetFourCC() const { return fourCC_; }
  /// EFCError naming the item unless the text has one to four characters.
  void SetFourCC(std::string code);
  std::int32_t GetQuality() const { return quality_; }
  /// EFCError naming the item unless 0 to 10000.
  void SetQuality(std::int32_t quality);

private:
  std::string fourCC_;
  std::int32_t quality_ = kQualityDefault;
};

/// The ordered codec list of a compressor or decompressor.
class FC_COMPONENTS_API TFCVideoCompressionItems : public TTypedCollection<TFCVideoCompressionItem> {
  FC_DECLARE_CLASS_INFO()
public:
  using TTypedCollection::TTypedCollection;
};

/// One compressor stage of a graph, named by its moniker text
/// ("codec:mjpeg", "codec:ffv1" or a four-character code "fourcc:MJPG").
class FC_COMPONENTS_API TFCDSVideoCompressionItem : public TCollectionItem {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCDSVideoCompressionItem(TCollection& collection) : TCollectionItem(collection) {}

  std::string GetMoniker() const { return moniker_; }
  void SetMoniker(std::string moniker) { moniker_ = std::move(moniker); }

private:
  std::string moniker_;
};

/// The ordered compressor list of a graph-based compressor.
class FC_COMPONENTS_API TFCDSVideoCompressionItems : public TTypedCollection<TFCDSVideoCompressionItem> {
  FC_DECLARE_CLASS_INFO()
public:
  using TTypedCollection::TTypedCollection;
};

}  // namespace fc
