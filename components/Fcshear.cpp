#include "components/Fcshear.h"

#include "components/geometry_call.h"

namespace fc {

const TClassInfo& TFCShear::StaticClassInfo() {
  using S = TFCShear;
  static const TClassInfo info = TClassBuilder<S>("TFCShear", &TFCCommonROISizeFilter::StaticClassInfo())
                                     .Property("SmoothEdge", &S::GetSmoothEdge, &S::SetSmoothEdge)
                                     .Property("XShear", &S::GetXShear, &S::SetXShear)
                                     .Property("YShear", &S::GetYShear, &S::SetYShear)
                                     .Build();
  return info;
}

bool TFCShear::GetSmoothEdge() const {
  auto section = ReadLock();
  return smoothEdge_;
}

std::int32_t TFCShear::GetXShear() const {
  auto section = ReadLock();
  return xShear_;
}

std::int32_t TFCShear::GetYShear() const {
  auto section = ReadLock();
  return yShear_;
}

void TFCShear::SetSmoothEdge(bool smoothEdge) {
  auto section = WriteLock();
  if (smoothEdge == smoothEdge_) return;
  smoothEdge_ = smoothEdge;
}

void TFCShear::SetXShear(std::int32_t pixels) {
  auto section = WriteLock();
  if (pixels == xShear_) return;
  xShear_ = pixels;
}

void TFCShear::SetYShear(std::int32_t pixels) {
  auto section = WriteLock();
  if (pixels == yShear_) return;
  yShear_ = pixels;
}

void TFCShear::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonROISizeFilter::SetVideoFormat(Buffer);
}

void TFCShear::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  const TGeometryCall call = PrepareGeometryCall(*this, In, *Out);
  const char* entry = EntryNameFor(call, "ippiShear_8u_C1R", "ippiShear_8u_C3R");
  if (!CanMap(*this, call, entry)) return;
  // The displacements span the whole input; half of each (rounded toward
  // zero) is taken back so the sheared picture stays centred.
  const double xShear = static_cast<double>(xShear_) / In.Height();
  const double yShear = static_cast<double>(yShear_) / In.Width();
  const double xShift = (call.OutWidth() - In.Width()) / 2.0 - xShear_ / 2;
  const double yShift = (call.OutHeight() - In.Height()) / 2.0 - yShear_ / 2;
  const IppStatus status = EntryFor(call, ippiShear_8u_C1R, ippiShear_8u_C3R)(
      call.src, call.srcSize, call.srcStep, call.srcRoi, call.dst, call.dstStep, call.dstRoi, xShear, yShear, xShift,
      yShift, InterpolationArgument(InterpolationOrdinal(), smoothEdge_));
  PrimitiveSucceeded(status, entry);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcshear, TFCShear)
