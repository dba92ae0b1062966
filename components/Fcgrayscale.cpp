#include "components/Fcgrayscale.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCGrayScale, TFCCommonFilter)

void TFCGrayScale::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  Out->Copy(In);
  Out->ConvertTo(vfGray8);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcgrayscale, TFCGrayScale)
