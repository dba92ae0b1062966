// geometry_call.h - what the resize, rotate, shear and warp filters share:
// the output frame sized to the filter's output size, and the frame
// arguments of the geometric primitive worked out from the region of
// interest.
#pragma once

#include "contracts/video/roi_filters.h"
#include "dispatch/primitives.h"

namespace fc {

/// The frame arguments of one geometric primitive call.
struct TGeometryCall {
  const Ipp8u* src = nullptr;
  IppiSize srcSize{0, 0};    ///< the whole input frame
  int srcStep = 0;
  TFCImageRect srcRoi{};     ///< the clipped region: (X, Y, w, h), or (0, 0, w, h) when disabled
  Ipp8u* dst = nullptr;
  int dstStep = 0;
  TFCImageRect dstRoi{};     ///< the whole output frame
  bool grey = false;         ///< one-byte frames take the C1R primitives
  bool refused = false;      ///< the output size was over the budget (reported already)

  int RoiWidth() const { return srcRoi.width; }
  int RoiHeight() const { return srcRoi.height; }
  int OutWidth() const { return dstRoi.width; }
  int OutHeight() const { return dstRoi.height; }
  /// True when there is nothing to map from or to: the primitives would
  /// refuse the call, and the factors and shears would divide by zero.
  bool Empty() const;
};

/// Sets Out to the filter's output size (a new frame is black) and works
/// out the arguments for mapping In's region of interest onto all of Out.
/// A filter whose primitive writes every output pixel passes
/// `writesWholeOutput`, and Out's pixels are then not made black first.
/// An output size over the frame budget is reported as a failure of
/// "OutputSize" and allocates nothing (the call comes back refused).
/// Runs under the filter's write lock.
TGeometryCall PrepareGeometryCall(TFCCommonROISizeFilter& filter, const TFCImageBuffer& In, TFCImageBuffer& Out,
                                  bool writesWholeOutput = false);

/// The interpolation argument of the geometric primitives: 1 shifted left
/// by the interpolation ordinal, with the edge-smoothing bit when asked.
int InterpolationArgument(int ordinal, bool smoothEdge = false);

/// The entry for the frame's layout: `c1` for one-byte frames, else `c3`.
template <class Fn> Fn* EntryFor(const TGeometryCall& call, Fn*& c1, Fn*& c3) {
  return fc_entry(call.grey ? c1 : c3);
}

/// The name of the entry EntryFor picks, for failure reports.
inline const char* EntryNameFor(const TGeometryCall& call, const char* c1, const char* c3) {
  return call.grey ? c1 : c3;
}

/// True when the call has something to map; otherwise reports the size
/// error the primitive `entry` would answer, so the frame is dropped.
bool CanMap(TFCCommonROISizeFilter& filter, const TGeometryCall& call, const char* entry);

}  // namespace fc
