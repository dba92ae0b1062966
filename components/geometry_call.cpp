#include "components/geometry_call.h"

#include "platform/runtime/resource_budget.h"

namespace fc {

bool TGeometryCall::Empty() const {
  return srcRoi.width <= 0 || srcRoi.height <= 0 || dstRoi.width <= 0 || dstRoi.height <= 0;
}

bool CanMap(TFCCommonROISizeFilter& filter, const TGeometryCall& call, const char* entry) {
  if (call.refused) return false;
  if (!call.Empty()) return true;
  filter.ReportFailure(entry, ippStsSizeErr);
  return false;
}

TGeometryCall PrepareGeometryCall(TFCCommonROISizeFilter& filter, const TFCImageBuffer& In, TFCImageBuffer& Out,
                                  bool writesWholeOutput) {
  const IppiSize out = filter.GetOutputSize()->Get();
  if (!WithinFrameBudget(out.width, out.height, In.BytesPerPixel())) {
    filter.ReportFailure("OutputSize", ippStsMemAllocErr);
    TGeometryCall refused;
    refused.refused = true;
    return refused;
  }
  Out.SetSize(out.width, out.height);
  IppiSize roi = In.SizeRecord();
  Ipp8u* dst = filter.ReclaculateRoiAndOffsetI(roi, Out, writesWholeOutput ? Out.Overwrite() : Out.Write());
  TGeometryCall call;
  call.src = In.Read();
  call.srcSize = In.SizeRecord();
  call.srcStep = In.Step();
  call.srcRoi = filter.SourceRoi(In.SizeRecord());
  call.srcRoi.width = roi.width;
  call.srcRoi.height = roi.height;
  call.dst = dst;
  call.dstStep = Out.Step();
  call.dstRoi = {0, 0, Out.Width(), Out.Height()};
  call.grey = In.Format() == vfGray8;
  return call;
}

int InterpolationArgument(int ordinal, bool smoothEdge) {
  return (1 << ordinal) | (smoothEdge ? IPPI_SMOOTH_EDGE : 0);
}

}  // namespace fc
