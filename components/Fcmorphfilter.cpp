// Fcmorphfilter.cpp - erosion or dilation of each frame's region over the
// structuring element (morph_shape.cpp).
#include "components/Fcmorphfilter.h"

#include "dispatch/primitives.h"

namespace fc {

const TEnumInfo& MorphTypeInfo() {
  static const TEnumInfo info("TFCMorphType", {"mtErode", "mtDilate"});
  return info;
}

const TClassInfo& TFCMorphFilter::StaticClassInfo() {
  using M = TFCMorphFilter;
  static const TClassInfo info =
      TClassBuilder<M>("TFCMorphFilter", &TFCCommonROIMatrixFilterIntermidiate::StaticClassInfo())
          .Enum("MorphType", &M::GetMorphType, &M::SetMorphType, MorphTypeInfo())
          .Object("MorphShape", &M::GetMorphShape)
          .Build();
  return info;
}

TFCMorphFilter::TFCMorphFilter(TComponent* owner) : TFCCommonROIMatrixFilterIntermidiate(owner), shape_(*this) {
  Changed();
}

TFCMorphType TFCMorphFilter::GetMorphType() const {
  auto section = ReadLock();
  return morphType_;
}

void TFCMorphFilter::SetMorphType(TFCMorphType type) {
  auto section = WriteLock();
  if (type == morphType_) return;
  morphType_ = type;
}

void TFCMorphFilter::Changed() {
  const IppiSize mask = GetMaskSize()->Get();
  shape_.RecalcArray(static_cast<std::uint32_t>(mask.width), static_cast<std::uint32_t>(mask.height));
}

void TFCMorphFilter::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonROIMatrixFilterIntermidiate::SetVideoFormat(Buffer);
}

void TFCMorphFilter::PerformFilter(const Ipp8u* Src, int SrcStep, Ipp8u* Dst, int DstStep, IppiSize RoiSize,
                                   IppiSize MaskSize, IppiPoint Anchor, int Format) {
  const Ipp8u* mask = shape_.MaskInUse();
  const bool erode = morphType_ == mtErode;
  if (Format == vfRGB24) {
    PrimitiveSucceeded((erode ? fc_entry(ippiErode_8u_C3R) : fc_entry(ippiDilate_8u_C3R))(
                           Src, SrcStep, Dst, DstStep, RoiSize, mask, MaskSize, Anchor),
                       erode ? "ippiErode_8u_C3R" : "ippiDilate_8u_C3R");
  } else if (Format == vfGray8) {
    PrimitiveSucceeded((erode ? fc_entry(ippiErode_8u_C1R) : fc_entry(ippiDilate_8u_C1R))(
                           Src, SrcStep, Dst, DstStep, RoiSize, mask, MaskSize, Anchor),
                       erode ? "ippiErode_8u_C1R" : "ippiDilate_8u_C1R");
  }
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcmorphfilter, TFCMorphFilter)
