#include "components/Fcmirror.h"

#include "contracts/video/helper_primitives.h"

namespace fc {

const TEnumInfo& MirrorTypeInfo() {
  static const TEnumInfo info("TFCMirrorType", {"mtHorizontal", "mtVertical", "mtBoth"});
  return info;
}

const TClassInfo& TFCMirror::StaticClassInfo() {
  using M = TFCMirror;
  static const TClassInfo info = TClassBuilder<M>("TFCMirror", &TFCCommonFilter::StaticClassInfo())
                                     .Enum("MirrorType", &M::GetMirrorType, &M::SetMirrorType, MirrorTypeInfo())
                                     .Build();
  return info;
}

TFCMirrorType TFCMirror::GetMirrorType() const {
  auto section = ReadLock();
  return mirrorType_;
}

void TFCMirror::SetMirrorType(TFCMirrorType type) {
  auto section = WriteLock();
  if (type == mirrorType_) return;
  mirrorType_ = type;
}

void TFCMirror::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonFilter::SetVideoFormat(Buffer);
}

namespace {
IppiAxis AxisOf(TFCMirrorType type) {
  switch (type) {
    case mtVertical: return ippAxsVertical;
    case mtBoth: return ippAxsBoth;
    default: return ippAxsHorizontal;
  }
}
}  // namespace

void TFCMirror::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  Out->Copy(In);
  const bool grey = In.Format() == vfGray8;
  auto mirror = grey ? ippiMirror_8u_C1R : ippiMirror_8u_C3R;
  const int step = Out->Step();
  PrimitiveSucceeded(mirror(In.Read(), step, Out->Overwrite(), step, In.SizeRecord(), AxisOf(mirrorType_)),
                     grey ? "ippiMirror_8u_C1R" : "ippiMirror_8u_C3R");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcmirror, TFCMirror)
