#include "contracts/pins/state_pins.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMFloatStatePin, TPMPin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMBoolStatePin, TPMPin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMStringStatePin, TPMPin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMBoolSinkPin, TPMPin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMStringSinkPin, TPMPin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMClockSourcePin, TPMPin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMClockSinkPin, TPMPin)


bool TPMClockSinkPin::ReceiveFromUpstream(const TPMOperation& operation) {
  if (!operation->Is<TPMClockOperation>()) return false;
  if (onTick_) onTick_(*this);
  return true;
}

}  // namespace fc
