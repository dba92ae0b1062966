#include "components/Fcchangeformat.h"

namespace fc {

const TClassInfo& TFCChangeFormat::StaticClassInfo() {
  using C = TFCChangeFormat;
  static const TClassInfo info = TClassBuilder<C>("TFCChangeFormat", &TFCCommonFilter::StaticClassInfo())
                                     .Enum("Format", &C::GetFormat, &C::SetFormat, VideoFormatInfo())
                                     .Build();
  return info;
}

TFCVideoFormat TFCChangeFormat::GetFormat() const {
  auto section = ReadLock();
  return format_;
}

void TFCChangeFormat::SetFormat(TFCVideoFormat format) {
  auto section = WriteLock();
  format_ = format == vfRGB32 || !IsVideoFormat(format) ? vfRGB24 : format;
}

void TFCChangeFormat::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  Out->Copy(In);
  Out->ConvertTo(format_);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcchangeformat, TFCChangeFormat)
