#include "components/Fcjaehnegen.h"

#include "dispatch/primitives.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCJaehneGen, TFCCommonGen)

void TFCJaehneGen::GenerateFrame(TFCImageBuffer& Buffer, bool&, bool&) {
  fc_entry(ippiImageJaehne_8u_C3R)(Buffer.Write(), Buffer.Step(), Buffer.SizeRecord());
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcjaehnegen, TFCJaehneGen)
