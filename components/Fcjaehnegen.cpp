#include "components/Fcjaehnegen.h"

#include "dispatch/primitives.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCJaehneGen, TFCCommonGen)

void TFCJaehneGen::GenerateFrame(TFCImageBuffer& Buffer, bool&, bool&) {
  PrimitiveSucceeded(fc_entry(ippiImageJaehne_8u_C3R)(Buffer.Overwrite(), Buffer.Step(), Buffer.SizeRecord()),
                     "ippiImageJaehne_8u_C3R");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcjaehnegen, TFCJaehneGen)
