// offset.h - a displacement in pixels, the sub-object by which the warp
// moves each corner of its quadrilateral.
#pragma once

#include <cstdint>

#include "contracts/pins/locked_persistent.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A horizontal and a vertical displacement (X, Y), 32-bit signed pixels;
/// starts (0, 0). Guarded by its owner's component lock.
class FC_COMPONENTS_API TFCOffset : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::int32_t kStartX = 0, kStartY = 0;

  using TPMLockedPersistent::TPMLockedPersistent;

  std::int32_t GetX() const { return Load(x_); }
  std::int32_t GetY() const { return Load(y_); }
  void SetX(std::int32_t v) { Store(x_, v); }
  void SetY(std::int32_t v) { Store(y_, v); }

private:
  std::int32_t x_ = kStartX, y_ = kStartY;
};

}  // namespace fc
