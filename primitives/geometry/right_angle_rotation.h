// right_angle_rotation.h - rotation by an exact right angle with whole-pixel
// shifts: pure pixel moves, no interpolation.
#pragma once

#include "primitives/geometry/warp_types.h"

namespace fc::primitives::warp {

/// Rotates by `degrees` (90, 180 or 270) with whole shifts: source pixel
/// (x, y) goes to (y + xShift, yShift - x), (xShift - x, yShift - y) or
/// (xShift - y, x + yShift). Only the pixels of the destination rectangle
/// that receive a source pixel are written, all channels. The interpolation
/// argument plays no part. Checks in order: null images (ippStsNullPtrErr),
/// sizes and origins (ippStsSizeErr), steps (ippStsStepErr), a source origin
/// outside the image or nothing left in the destination rectangle
/// (ippStsWrongIntersectROI).
IppStatus rotateRightAngle(const GeometricArgs& args, int channels, int degrees, double xShift, double yShift);

}  // namespace fc::primitives::warp
