#include "components/Fccolortwist.h"

#include "dispatch/primitives.h"

namespace fc {

const TClassInfo& TFCColorChannelTwist::StaticClassInfo() {
  using C = TFCColorChannelTwist;
  static const TClassInfo info = TClassBuilder<C>("TFCColorChannelTwist", &TPersistent::StaticClassInfo())
                                     .Property("Red", &C::GetRed, &C::SetRed)
                                     .Property("Green", &C::GetGreen, &C::SetGreen)
                                     .Property("Blue", &C::GetBlue, &C::SetBlue)
                                     .Property("Offset", &C::GetOffset, &C::SetOffset)
                                     .Build();
  return info;
}

const TClassInfo& TFCColorTwists::StaticClassInfo() {
  using T = TFCColorTwists;
  static const TClassInfo info = TClassBuilder<T>("TFCColorTwists", &TPersistent::StaticClassInfo())
                                     .Object("RedTwist", &T::GetRedTwist)
                                     .Object("GreenTwist", &T::GetGreenTwist)
                                     .Object("BlueTwist", &T::GetBlueTwist)
                                     .Build();
  return info;
}

TFCColorTwists::TFCColorTwists(TPersistent* owner, std::string propertyName, const TPMObject& lock)
    : TPMLockedPersistent(owner, std::move(propertyName), lock),
      red_(this, "RedTwist", lock, matrix_[0]),
      green_(this, "GreenTwist", lock, matrix_[1]),
      blue_(this, "BlueTwist", lock, matrix_[2]) {}

const TClassInfo& TFCColorTwist::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TFCColorTwist>("TFCColorTwist", &TFCCommonFilter::StaticClassInfo())
                                     .Object("ColorTwists", &TFCColorTwist::GetColorTwists)
                                     .Build();
  return info;
}

void TFCColorTwist::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  PrimitiveSucceeded(fc_entry(ippiColorTwist32f_8u_C3R)(In.Read(), In.Step(), Out->Overwrite(), Out->Step(),
                                                        In.SizeRecord(), twists_.Matrix()),
                     "ippiColorTwist32f_8u_C3R");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fccolortwist, TFCColorTwist)
