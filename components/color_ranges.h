// color_ranges.h - colour ranges: a colour and a tolerance per component,
// and the collection of them that a colour key is made of.
#pragma once

#include <array>
#include <string>

#include "components/color_value.h"
#include "contracts/pins/lock.h"
#include "platform/runtime/collection.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A colour with a tolerance for each of its red, green and blue parts. It
/// keeps the inclusive byte bounds of each part, recomputed (CalcRange)
/// whenever the colour or a tolerance changes: for a part k with tolerance
/// t, lower = k - t if k > t else 0, upper = k + t if k < 255 - t else 255.
/// A negative tolerance makes the part's range empty. Setters store under
/// the owning component's write lock and do nothing when the value is
/// unchanged.
class FC_COMPONENTS_API TFCColorRange : public TCollectionItem {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TColor kColorDefault = 0x008000;
  static constexpr std::int32_t kToleranceDefault = 5;

  explicit TFCColorRange(TCollection& collection);

  TColor GetColor() const;
  void SetColor(TColor color);
  std::int32_t GetToleranceRed() const;
  std::int32_t GetToleranceGreen() const;
  std::int32_t GetToleranceBlue() const;
  void SetToleranceRed(std::int32_t v);
  void SetToleranceGreen(std::int32_t v);
  void SetToleranceBlue(std::int32_t v);

  /// True when a frame pixel lies within the range: `pixel` holds the
  /// pixel's bytes in memory order (byte 0 blue, 1 green, 2 red), each
  /// compared with its part's bounds. Call under the owner's lock.
  bool InRage(std::uint32_t pixel) const;
  /// The colour's name, a blank, and the red, green and blue tolerances
  /// joined by ':' ("clGreen 5:5:5").
  std::string DisplayName() const;

private:
  enum Part { kRed, kGreen, kBlue };
  void CalcRange();
  void SetTolerance(Part part, std::int32_t value);

  const TPMObject& lock_;
  TColor color_ = kColorDefault;
  std::array<std::int32_t, 3> tolerance_{kToleranceDefault, kToleranceDefault, kToleranceDefault};
  // Bounds by part: red, green, blue.
  std::array<int, 3> lower_{}, upper_{};
};

/// The colour ranges of a colour key. Items are guarded by the owning
/// component's lock; add and remove them while no stream runs.
class FC_COMPONENTS_API TFCColorRanges : public TTypedCollection<TFCColorRange> {
  FC_DECLARE_CLASS_INFO()
public:
  TFCColorRanges(TPersistent* owner, std::string propertyName, const TPMObject& lock)
      : TTypedCollection(owner, std::move(propertyName)), lock_(lock) {}

  const TPMObject& Lock() const { return lock_; }
  /// True when any range contains the pixel (see TFCColorRange::InRage).
  bool InRage(std::uint32_t pixel) const;

private:
  const TPMObject& lock_;
};

}  // namespace fc
