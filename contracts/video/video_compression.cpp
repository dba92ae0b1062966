#include "contracts/video/video_compression.h"

#include "platform/runtime/error.h"

namespace fc {

const TClassInfo& TFCVideoCompressionItem::StaticClassInfo() {
  using I = TFCVideoCompressionItem;
  static const TClassInfo info = TClassBuilder<I>("TFCVideoCompressionItem", &TCollectionItem::StaticClassInfo())
                                     .Property("FourCC", &I::GetFourCC, &I::SetFourCC)
                                     .Property("Quality", &I::GetQuality, &I::SetQuality, kQualityDefault)
                                     .Build();
  return info;
}

void TFCVideoCompressionItem::SetFourCC(std::string code) {
  if (code.empty() || code.size() > 4)
    throw EFCError::ForProperty(NamePath(), "FourCC", "must have one to four characters, not '" + code + "'");
  fourCC_ = std::move(code);
}

void TFCVideoCompressionItem::SetQuality(std::int32_t quality) {
  if (quality < 0 || quality > kQualityMaximum)
    throw EFCError::ForProperty(NamePath(), "Quality", "must lie between 0 and 10000");
  quality_ = quality;
}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCVideoCompressionItems, TCollection)

const TClassInfo& TFCDSVideoCompressionItem::StaticClassInfo() {
  using I = TFCDSVideoCompressionItem;
  static const TClassInfo info = TClassBuilder<I>("TFCDSVideoCompressionItem", &TCollectionItem::StaticClassInfo())
                                     .Property("Moniker", &I::GetMoniker, &I::SetMoniker)
                                     .Build();
  return info;
}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCDSVideoCompressionItems, TCollection)

}  // namespace fc
