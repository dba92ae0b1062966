#include "components/Fcimagegen.h"

namespace fc {

const TClassInfo& TFCImageGen::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TFCImageGen>("TFCImageGen", &TFCCommonGen::StaticClassInfo())
                                     .Object("Picture", &TFCImageGen::GetPicture)
                                     .Build();
  return info;
}

TFCImageGen::TFCImageGen(TComponent* owner) : TFCCommonGen(owner), picture_(this, "Picture") {
  picture_.SetOnChange([this] { PictureChanged(); });
}

void TFCImageGen::SetPicture(const TPicture& picture) {
  auto section = WriteLock();
  picture_.Assign(picture);
}

TFCSize* TFCImageGen::GetImageSize() {
  TFCSize* size = TFCCommonGen::GetImageSize();
  auto section = WriteLock();
  // The cached frame always has the picture's size.
  size->SetWidth(static_cast<std::uint32_t>(cached_.Width()));
  size->SetHeight(static_cast<std::uint32_t>(cached_.Height()));
  return size;
}

void TFCImageGen::GenerateFrame(TFCImageBuffer& Buffer, bool&, bool&) { Buffer.Copy(cached_); }

void TFCImageGen::PictureChanged() {
  auto section = WriteLock();
  bitmap_.SetSize(picture_.Width(), picture_.Height());
  bitmap_.Draw(picture_);
  cached_.SetSize(picture_.Width(), picture_.Height());
  if (!bitmap_.Empty())
    cached_.LoadFromBitmap({bitmap_.Pixels(), bitmap_.Width(), bitmap_.Height(), bitmap_.Stride(), 24, false});
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcimagegen, TFCImageGen)
