#include "components/Fcwarp.h"

#include <cstdint>

#include "components/geometry_call.h"

namespace fc {

const TEnumInfo& WarpTypeInfo() {
  static const TEnumInfo info("TFCWarpType", {"wtBilinear", "wtPerspective"});
  return info;
}

const TClassInfo& TFCWarp::StaticClassInfo() {
  using W = TFCWarp;
  static const TClassInfo info = TClassBuilder<W>("TFCWarp", &TFCCommonROISizeFilter::StaticClassInfo())
                                     .Property("SmoothEdge", &W::GetSmoothEdge, &W::SetSmoothEdge)
                                     .Property("InverseTransform", &W::GetInverseTransform, &W::SetInverseTransform)
                                     .Object("LeftTopOffset", &W::GetLeftTopOffset)
                                     .Object("RightTopOffset", &W::GetRightTopOffset)
                                     .Object("LeftBottomOffset", &W::GetLeftBottomOffset)
                                     .Object("RightBottomOffset", &W::GetRightBottomOffset)
                                     .Enum("WarpType", &W::GetWarpType, &W::SetWarpType, WarpTypeInfo())
                                     .Build();
  return info;
}

TFCWarp::TFCWarp(TComponent* owner)
    : TFCCommonROISizeFilter(owner),
      leftTop_(this, "LeftTopOffset", *this),
      rightTop_(this, "RightTopOffset", *this),
      leftBottom_(this, "LeftBottomOffset", *this),
      rightBottom_(this, "RightBottomOffset", *this) {}

bool TFCWarp::GetSmoothEdge() const {
  auto section = ReadLock();
  return smoothEdge_;
}

bool TFCWarp::GetInverseTransform() const {
  auto section = ReadLock();
  return inverseTransform_;
}

TFCWarpType TFCWarp::GetWarpType() const {
  auto section = ReadLock();
  return warpType_;
}

void TFCWarp::SetSmoothEdge(bool smoothEdge) {
  auto section = WriteLock();
  if (smoothEdge == smoothEdge_) return;
  smoothEdge_ = smoothEdge;
}

void TFCWarp::SetInverseTransform(bool inverse) {
  auto section = WriteLock();
  if (inverse == inverseTransform_) return;
  inverseTransform_ = inverse;
}

void TFCWarp::SetWarpType(TFCWarpType type) {
  auto section = WriteLock();
  if (type == warpType_) return;
  warpType_ = type;
}

void TFCWarp::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonROISizeFilter::SetVideoFormat(Buffer);
}

namespace {

using TQuad = double[4][2];

// One corner of the quadrilateral: the corner of the region placed at
// (cornerX, cornerY) of the output, moved by its offset. Computed in 64
// bits, so large offsets cannot overflow.
void PlaceCorner(double corner[2], const TFCOffset& offset, std::int64_t cornerX, std::int64_t cornerY) {
  corner[0] = static_cast<double>(offset.GetX() + cornerX);
  corner[1] = static_cast<double>(offset.GetY() + cornerY);
}

}  // namespace

void TFCWarp::PlaceQuad(const TGeometryCall& call, double quad[4][2]) const {
  // The region centred in the output (rounded toward zero); corners are
  // pixel centres, so the last column and row lie at width - 1, height - 1
  // and four zero offsets place the region unchanged.
  const std::int64_t left = (static_cast<std::int64_t>(call.OutWidth()) - call.RoiWidth()) / 2;
  const std::int64_t top = (static_cast<std::int64_t>(call.OutHeight()) - call.RoiHeight()) / 2;
  const std::int64_t right = left + call.RoiWidth() - 1, bottom = top + call.RoiHeight() - 1;
  PlaceCorner(quad[0], leftTop_, left, top);
  PlaceCorner(quad[1], rightTop_, right, top);
  PlaceCorner(quad[2], rightBottom_, right, bottom);
  PlaceCorner(quad[3], leftBottom_, left, bottom);
}

void TFCWarp::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  const TGeometryCall call = PrepareGeometryCall(*this, In, *Out);
  const bool perspective = warpType_ == wtPerspective;
  const char* entry = perspective ? (inverseTransform_ ? EntryNameFor(call, "ippiWarpPerspectiveBack_8u_C1R",
                                                                      "ippiWarpPerspectiveBack_8u_C3R")
                                                      : EntryNameFor(call, "ippiWarpPerspective_8u_C1R",
                                                                      "ippiWarpPerspective_8u_C3R"))
                                  : (inverseTransform_ ? EntryNameFor(call, "ippiWarpBilinearBack_8u_C1R",
                                                                      "ippiWarpBilinearBack_8u_C3R")
                                                      : EntryNameFor(call, "ippiWarpBilinear_8u_C1R",
                                                                      "ippiWarpBilinear_8u_C3R"));
  if (!CanMap(*this, call, entry)) return;
  TQuad quad;
  PlaceQuad(call, quad);
  const int interpolation = InterpolationArgument(InterpolationOrdinal(), smoothEdge_);
  // A quadrilateral the getter refuses leaves no coefficients: the frame is
  // dropped and the refusal reported.
  auto warpWith = [&](auto& coeffs, auto getCoeffs, const char* getter, auto warp) {
    if (!PrimitiveSucceeded(getCoeffs(call.srcRoi, quad, coeffs), getter)) return;
    PrimitiveSucceeded(warp(call.src, call.srcSize, call.srcStep, call.srcRoi, call.dst, call.dstStep, call.dstRoi,
                            coeffs, interpolation),
                       entry);
  };
  if (perspective) {
    double coeffs[3][3];
    warpWith(coeffs, fc_entry(ippiGetPerspectiveTransform), "ippiGetPerspectiveTransform",
             inverseTransform_ ? EntryFor(call, ippiWarpPerspectiveBack_8u_C1R, ippiWarpPerspectiveBack_8u_C3R)
                               : EntryFor(call, ippiWarpPerspective_8u_C1R, ippiWarpPerspective_8u_C3R));
  } else {
    double coeffs[2][4];
    warpWith(coeffs, fc_entry(ippiGetBilinearTransform), "ippiGetBilinearTransform",
             inverseTransform_ ? EntryFor(call, ippiWarpBilinearBack_8u_C1R, ippiWarpBilinearBack_8u_C3R)
                               : EntryFor(call, ippiWarpBilinear_8u_C1R, ippiWarpBilinear_8u_C3R));
  }
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcwarp, TFCWarp)
