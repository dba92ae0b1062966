// Fccolortwist.h - an affine colour matrix applied to every pixel.
#pragma once

#include "contracts/pins/locked_persistent.h"
#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// One row of a colour twist matrix: the output channel it gives is
/// Red * s0 + Green * s1 + Blue * s2 + Offset, with s0, s1, s2 the pixel's
/// bytes in storage order. It reads and writes its row of the owning
/// matrix, under the owning component's lock. All four start 0.
class FC_COMPONENTS_API TFCColorChannelTwist : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  TFCColorChannelTwist(TPersistent* owner, std::string propertyName, const TPMObject& lock, Ipp32f (&row)[4])
      : TPMLockedPersistent(owner, std::move(propertyName), lock), row_(row) {}

  /// Column 0 to 3 of the row: Red, Green, Blue, Offset.
  Ipp32f Get(int column) const { return Load(row_[column]); }
  void Set(int column, Ipp32f value) { Store(row_[column], value); }

  Ipp32f GetRed() const { return Get(0); }
  void SetRed(Ipp32f v) { Set(0, v); }
  Ipp32f GetGreen() const { return Get(1); }
  void SetGreen(Ipp32f v) { Set(1, v); }
  Ipp32f GetBlue() const { return Get(2); }
  void SetBlue(Ipp32f v) { Set(2, v); }
  Ipp32f GetOffset() const { return Get(3); }
  void SetOffset(Ipp32f v) { Set(3, v); }

private:
  Ipp32f (&row_)[4];
};

/// A 3 x 4 colour matrix: `RedTwist` is row 0, `GreenTwist` row 1,
/// `BlueTwist` row 2. Starts all zero.
class FC_COMPONENTS_API TFCColorTwists : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  TFCColorTwists(TPersistent* owner, std::string propertyName, const TPMObject& lock);

  TFCColorChannelTwist* GetRedTwist() { return &red_; }
  TFCColorChannelTwist* GetGreenTwist() { return &green_; }
  TFCColorChannelTwist* GetBlueTwist() { return &blue_; }

  /// The matrix itself; read it under the owning component's lock.
  const Ipp32f (&Matrix() const)[3][4] { return matrix_; }

private:
  Ipp32f matrix_[3][4] = {};
  TFCColorChannelTwist red_, green_, blue_;
};

/// Applies the `ColorTwists` matrix to every pixel, each result saturated to
/// 0..255. A new component, whose matrix is zero, makes black frames.
class FC_COMPONENTS_API TFCColorTwist : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCColorTwist(TComponent* owner) : TFCCommonFilter(owner), twists_(this, "ColorTwists", *this) {}

  TFCColorTwists* GetColorTwists() { return &twists_; }
  /// Copies the matrix of `twists` into the owned one.
  void SetColorTwists(const TFCColorTwists& twists) { twists_.Assign(twists); }

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;

private:
  TFCColorTwists twists_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fccolortwist)
