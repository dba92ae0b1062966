// morph_shape.h - the structuring element of the morphology filter: the
// sub-object "MorphShape" of unit Fcmorphfilter, with its generated shapes,
// its custom mask and their form-file data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contracts/pins/locked_persistent.h"
#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/form_defined_data.h"

namespace fc {

class TFCMorphFilter;

/// The structuring elements a shape generates, or the custom one it holds.
enum TFCMorphShapeType { stRect, stCross, stEllipse, stCustom };
FC_COMPONENTS_API const TEnumInfo& MorphShapeTypeInfo();

/// The structuring element of a morphology filter: a mask of the filter's
/// mask size, one byte per cell (1 in the element, 0 not), in rows of the
/// mask width. It holds a generated mask (rectangle, cross or ellipse by
/// `ShapeType`, which starts stRect) and a custom mask, and uses the custom
/// one for stCustom and the generated one otherwise.
///
/// Generated masks are rebuilt only for masks of at least 4 x 4; a smaller
/// generated mask keeps its previous cells (0 for cells new since the last
/// rebuild).
///
/// The custom mask is stored in form files as "MatrixData": a list of the
/// cell count followed by one integer per cell in row order (written when a
/// cell is set). The older "Matrix", binary data of a 4-byte cell count and
/// as many 4-byte cells of which the low byte counts, is read but never
/// written. A stored count must match the filter's mask size.
class FC_COMPONENTS_API TFCMorphShape : public TPMLockedPersistent, public TFormDefinedData {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCMorphShapeType kShapeTypeStart = stRect;

  explicit TFCMorphShape(TFCMorphFilter& filter);

  TFCMorphShapeType GetShapeType() const;
  /// Under the filter's write lock; when the value changes, rebuilds the
  /// mask in use and tells the filter.
  void SetShapeType(TFCMorphShapeType type);

  /// The custom mask's cell (x, y); false outside the mask.
  bool GetItem(int x, int y) const;
  /// Sets the custom mask's cell (x, y) under the filter's write lock; cells
  /// outside the mask are ignored.
  void SetItem(int x, int y, bool value);

  /// Reshapes both masks to W x H: the custom mask keeps the cells of the
  /// overlapping top-left part, new cells are 0; then rebuilds the mask in
  /// use. Called by the filter when its mask size changes.
  void RecalcArray(std::uint32_t W, std::uint32_t H);
  /// Makes the custom mask (stCustom) or the generated one the mask in use,
  /// rebuilding the generated one when the mask is at least 4 x 4.
  void SetDataPerShape();

  std::uint32_t Width() const { return Load(width_); }
  std::uint32_t Height() const { return Load(height_); }
  /// The mask in use, Width() x Height() bytes; read it under the filter's
  /// lock.
  const Ipp8u* MaskInUse() const { return inUse_->data(); }

  /// Copies ShapeType and both masks of a TFCMorphShape, fitted to this
  /// shape's mask size; other sources as TPersistent::Assign does.
  void Assign(const TPersistent& source) override;

  /// Runs the modal editor of the custom mask on the filter; returns whether
  /// it was confirmed.
  bool ShowDialog();

  void DefineProperties(TFormFiler& filer) override;

private:
  void BuildGenerated();
  void ReadCells(const std::vector<std::int64_t>& cells, const std::string& item);
  void ReadMatrixData(const FormValue& value);
  void ReadMatrix(const FormValue& value);
  FormValue WriteMatrixData() const;
  bool HasCustomCells() const;

  TFCMorphFilter& filter_;
  std::uint32_t width_ = 0, height_ = 0;
  TFCMorphShapeType shapeType_ = kShapeTypeStart;
  std::vector<Ipp8u> generated_, custom_;
  const std::vector<Ipp8u>* inUse_ = &generated_;
};

}  // namespace fc
