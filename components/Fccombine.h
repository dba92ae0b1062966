// Fccombine.h - two frames combined by an arithmetic or logical operation
// where they overlap.
#pragma once

#include "components/Fccommoncombine.h"
#include "package/registered_unit.h"

namespace fc {

/// What the combine computes per byte where the images overlap (a first,
/// b second, saturated to 0..255). Based on int, so a value outside the list
/// is still a value: the combine leaves the background where it is asked
/// for one.
enum TFCCombineOperation : int {
  coAdd,       ///< a + b
  coSubtract,  ///< b - a
  coMultiply,  ///< a * b
  coDivide,    ///< b / a, rounded to nearest even; 255 where a = 0 < b, 0 where both are 0
  coOr,
  coAnd,
  coXor,
  coAbsDiff,   ///< |a - b|
  coCopy,      ///< b
};
FC_COMPONENTS_API const TEnumInfo& CombineOperationInfo();

/// A combiner with two inputs in its `InputPins` list (index 0 image 1,
/// index 1 image 2) and a `CombineOperation` (starts coAdd) applied to the
/// pane both images cover. An operation outside the enumeration leaves that
/// pane in the background colour.
class FC_COMPONENTS_API TFCCombine : public TFCCommonCombine {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCCombineOperation kStartOperation = coAdd;

  explicit TFCCombine(TComponent* owner);
  ~TFCCombine() override { RetirePins(); }

  TFCCombineOperation GetCombineOperation() const;
  void SetCombineOperation(TFCCombineOperation operation);

protected:
  bool DoCombineOp(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst, int dstStep,
                   IppiSize roiSize, int channels) override;

private:
  TFCCombineOperation operation_ = kStartOperation;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fccombine)
