#include "components/Fcresize.h"

#include "components/geometry_call.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCResize, TFCCommonROISizeFilter)

void TFCResize::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonROISizeFilter::SetVideoFormat(Buffer);
}

void TFCResize::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  // The factors below take the region onto the whole output, so the
  // primitive writes every output pixel: nothing to make black first.
  const TGeometryCall call = PrepareGeometryCall(*this, In, *Out, true);
  const char* entry = EntryNameFor(call, "ippiResize_8u_C1R", "ippiResize_8u_C3R");
  if (!CanMap(*this, call, entry)) return;
  const double xFactor = static_cast<double>(call.OutWidth()) / call.RoiWidth();
  const double yFactor = static_cast<double>(call.OutHeight()) / call.RoiHeight();
  const IppStatus status = EntryFor(call, ippiResize_8u_C1R, ippiResize_8u_C3R)(
      call.src, call.srcSize, call.srcStep, call.srcRoi, call.dst, call.dstStep, {call.OutWidth(), call.OutHeight()},
      xFactor, yFactor, InterpolationArgument(InterpolationOrdinal()));
  PrimitiveSucceeded(status, entry);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcresize, TFCResize)
