#include "components/Fcgammafilter.h"

#include "dispatch/primitives.h"

namespace fc {

const TEnumInfo& GammaTypeInfo() {
  static const TEnumInfo info("TFCGammaType", {"gtForward", "gtInverse"});
  return info;
}

const TClassInfo& TFCGammaFilter::StaticClassInfo() {
  using G = TFCGammaFilter;
  static const TClassInfo info = TClassBuilder<G>("TFCGammaFilter", &TFCCommonFilter::StaticClassInfo())
                                     .Enum("GammaType", &G::GetGammaType, &G::SetGammaType, GammaTypeInfo())
                                     .Build();
  return info;
}

TFCGammaType TFCGammaFilter::GetGammaType() const {
  auto section = ReadLock();
  return gammaType_;
}

void TFCGammaFilter::SetGammaType(TFCGammaType type) {
  auto section = WriteLock();
  if (type == gammaType_) return;
  gammaType_ = type;
}

void TFCGammaFilter::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  const bool forward = gammaType_ == gtForward;
  auto gamma = forward ? fc_entry(ippiGammaFwd_8u_C3R) : fc_entry(ippiGammaInv_8u_C3R);
  PrimitiveSucceeded(gamma(In.Read(), In.Step(), Out->Overwrite(), Out->Step(), In.SizeRecord()),
                     forward ? "ippiGammaFwd_8u_C3R" : "ippiGammaInv_8u_C3R");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcgammafilter, TFCGammaFilter)
