// sub_objects.h - the small persistent sub-objects of the component bases:
// a region of interest, a frame size, a mask size and a mask anchor.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "contracts/pins/locked_persistent.h"
#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A region of interest: X, Y, Width, Height (16-bit) and whether it is used.
/// Starts at (0, 0), 100 x 100, disabled.
class FC_COMPONENTS_API TFCRectRegion : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::uint16_t kStartX = 0, kStartY = 0, kStartWidth = 100, kStartHeight = 100;
  static constexpr bool kStartEnabled = false;

  using TPMLockedPersistent::TPMLockedPersistent;

  std::uint16_t GetX() const { return Load(x_); }
  std::uint16_t GetY() const { return Load(y_); }
  std::uint16_t GetWidth() const { return Load(width_); }
  std::uint16_t GetHeight() const { return Load(height_); }
  bool GetEnabled() const { return Load(enabled_); }
  void SetX(std::uint16_t v) { Store(x_, v); }
  void SetY(std::uint16_t v) { Store(y_, v); }
  void SetWidth(std::uint16_t v) { Store(width_, v); }
  void SetHeight(std::uint16_t v) { Store(height_, v); }
  void SetEnabled(bool v) { Store(enabled_, v); }

  /// The region clipped to a frame of `frame` size: with the region enabled,
  /// x = min(X, width - 1), y = min(Y, height - 1), width' = min(Width,
  /// width - x), height' = min(Height, height - y); disabled, the whole
  /// frame at (0, 0). An empty frame gives an empty region at (0, 0).
  TFCImageRect Clip(IppiSize frame) const;

private:
  std::uint16_t x_ = kStartX, y_ = kStartY, width_ = kStartWidth, height_ = kStartHeight;
  bool enabled_ = kStartEnabled;
};

/// A frame size in pixels; starts 320 x 240.
class FC_COMPONENTS_API TFCSize : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::uint32_t kStartWidth = 320, kStartHeight = 240;

  using TPMLockedPersistent::TPMLockedPersistent;

  std::uint32_t GetWidth() const { return Load(width_); }
  std::uint32_t GetHeight() const { return Load(height_); }
  /// A side above the frame budget's kMaxFrameSide (resource_budget.h)
  /// raises EFCError naming the property.
  void SetWidth(std::uint32_t v);
  void SetHeight(std::uint32_t v);
  IppiSize Get() const;

private:
  std::uint32_t width_ = kStartWidth, height_ = kStartHeight;
};

/// The width and height of a filter mask (16-bit); starts 3 x 3. Changing it
/// calls the owner's notification (the matrix filter's `Changed`).
class FC_COMPONENTS_API TFCMaskSize : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::uint16_t kStartWidth = 3, kStartHeight = 3;

  TFCMaskSize(TPersistent* owner, std::string propertyName, const TPMObject& lock,
              std::function<void()> changed)
      : TPMLockedPersistent(owner, std::move(propertyName), lock), changed_(std::move(changed)) {}

  std::uint16_t GetWidth() const { return Load(width_); }
  std::uint16_t GetHeight() const { return Load(height_); }
  /// A side above the frame budget's kMaxFrameSide, or width x height cells
  /// above its buffer budget, raises EFCError.
  void SetWidth(std::uint16_t v);
  void SetHeight(std::uint16_t v);
  IppiSize Get() const;

private:
  void CheckCells(const char* property, std::uint16_t side, std::uint16_t otherSide) const;

  std::uint16_t width_ = kStartWidth, height_ = kStartHeight;
  std::function<void()> changed_;
};

/// The anchor of a mask: the mask cell placed on the pixel being computed;
/// starts (1, 1), the centre of a 3 x 3 mask.
class FC_COMPONENTS_API TFCMaskAnchor : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::uint16_t kStartX = 1, kStartY = 1;

  using TPMLockedPersistent::TPMLockedPersistent;

  std::uint16_t GetX() const { return Load(x_); }
  std::uint16_t GetY() const { return Load(y_); }
  void SetX(std::uint16_t v) { Store(x_, v); }
  void SetY(std::uint16_t v) { Store(y_, v); }
  IppiPoint Get() const;

private:
  std::uint16_t x_ = kStartX, y_ = kStartY;
};

/// The noise levels of a Wiener filter, one per channel in the frame's byte
/// order (Level1 for grey frames). A level of 0 leaves the noise to be
/// estimated from the frame. All start 0.
class FC_COMPONENTS_API TFCWienerNoiseLevels : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr float kStartLevel = 0.0f;

  using TPMLockedPersistent::TPMLockedPersistent;

  float GetLevel1() const { return Load(levels_[0]); }
  float GetLevel2() const { return Load(levels_[1]); }
  float GetLevel3() const { return Load(levels_[2]); }
  void SetLevel1(float v) { Store(levels_[0], v); }
  void SetLevel2(float v) { Store(levels_[1], v); }
  void SetLevel3(float v) { Store(levels_[2], v); }
  /// The three levels, read together.
  std::array<float, 3> Get() const { return Load(levels_); }

private:
  std::array<float, 3> levels_{kStartLevel, kStartLevel, kStartLevel};
};

}  // namespace fc
