#include "components/Fcrotate.h"

#include "components/geometry_call.h"

namespace fc {

const TClassInfo& TFCRotate::StaticClassInfo() {
  using R = TFCRotate;
  static const TClassInfo info = TClassBuilder<R>("TFCRotate", &TFCCommonROISizeFilter::StaticClassInfo())
                                     .Property("Angle", &R::GetAngle, &R::SetAngle)
                                     .Property("SmoothEdge", &R::GetSmoothEdge, &R::SetSmoothEdge)
                                     .Build();
  return info;
}

double TFCRotate::GetAngle() const {
  auto section = ReadLock();
  return angle_;
}

void TFCRotate::SetAngle(double angle) {
  auto section = WriteLock();
  if (angle == angle_) return;
  angle_ = angle;
}

bool TFCRotate::GetSmoothEdge() const {
  auto section = ReadLock();
  return smoothEdge_;
}

void TFCRotate::SetSmoothEdge(bool smoothEdge) {
  auto section = WriteLock();
  if (smoothEdge == smoothEdge_) return;
  smoothEdge_ = smoothEdge;
}

void TFCRotate::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonROISizeFilter::SetVideoFormat(Buffer);
}

void TFCRotate::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  const TGeometryCall call = PrepareGeometryCall(*this, In, *Out);
  const char* entry = EntryNameFor(call, "ippiRotate_8u_C1R", "ippiRotate_8u_C3R");
  if (!CanMap(*this, call, entry)) return;
  // Turn about the input's centre (whole pixels), then move the turned
  // picture so that centre stays in the middle of an output of another size.
  double xShift = 0, yShift = 0;
  const IppStatus shifted = fc_entry(ippiGetRotateShift)(In.Width() / 2, In.Height() / 2, angle_, &xShift, &yShift);
  if (!PrimitiveSucceeded(shifted, "ippiGetRotateShift")) return;
  xShift += (call.OutWidth() - In.Width()) / 2.0;
  yShift += (call.OutHeight() - In.Height()) / 2.0;
  const IppStatus status = EntryFor(call, ippiRotate_8u_C1R, ippiRotate_8u_C3R)(
      call.src, call.srcSize, call.srcStep, call.srcRoi, call.dst, call.dstStep, call.dstRoi, angle_, xShift, yShift,
      InterpolationArgument(InterpolationOrdinal(), smoothEdge_));
  PrimitiveSucceeded(status, entry);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcrotate, TFCRotate)
