#include "components/Fccombine.h"

#include "contracts/video/helper_primitives.h"

namespace fc {

const TEnumInfo& CombineOperationInfo() {
  static const TEnumInfo info("TFCCombineOperation", {"coAdd", "coSubtract", "coMultiply", "coDivide", "coOr",
                                                      "coAnd", "coXor", "coAbsDiff", "coCopy"});
  return info;
}

const TClassInfo& TFCCombine::StaticClassInfo() {
  using C = TFCCombine;
  static const TClassInfo info =
      TClassBuilder<C>("TFCCombine", &TFCCommonCombine::StaticClassInfo())
          .Enum("CombineOperation", &C::GetCombineOperation, &C::SetCombineOperation, CombineOperationInfo())
          .PinList<TPMPinList>("InputPins", &C::GetInputPins)
          .Build();
  return info;
}

TFCCombine::TFCCombine(TComponent* owner) : TFCCommonCombine(owner) {
  AddInputPin("InputPin1");
  AddInputPin("InputPin2");
}

TFCCombineOperation TFCCombine::GetCombineOperation() const {
  auto section = ReadLock();
  return operation_;
}

void TFCCombine::SetCombineOperation(TFCCombineOperation operation) {
  auto section = WriteLock();
  operation_ = operation;
  InvalidateLayout();
}

bool TFCCombine::DoCombineOp(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst,
                             int dstStep, IppiSize roiSize, int channels) {
  switch (operation_) {
    case coAdd:
      return PrimitiveSucceeded(ippiAdd_8u_C3RSfs(src1, src1Step, src2, src2Step, dst, dstStep, roiSize, 0),
                                "ippiAdd_8u_C3RSfs");
    case coSubtract:
      return PrimitiveSucceeded(ippiSub_8u_C3RSfs(src1, src1Step, src2, src2Step, dst, dstStep, roiSize, 0),
                                "ippiSub_8u_C3RSfs");
    case coMultiply:
      return PrimitiveSucceeded(ippiMul_8u_C3RSfs(src1, src1Step, src2, src2Step, dst, dstStep, roiSize, 0),
                                "ippiMul_8u_C3RSfs");
    case coDivide:
      return PrimitiveSucceeded(ippiDiv_8u_C3RSfs(src1, src1Step, src2, src2Step, dst, dstStep, roiSize, 0),
                                "ippiDiv_8u_C3RSfs");
    case coOr:
      return PrimitiveSucceeded(ippiOr_8u_C3R(src1, src1Step, src2, src2Step, dst, dstStep, roiSize),
                                "ippiOr_8u_C3R");
    case coAnd:
      return PrimitiveSucceeded(ippiAnd_8u_C3R(src1, src1Step, src2, src2Step, dst, dstStep, roiSize),
                                "ippiAnd_8u_C3R");
    case coXor:
      return PrimitiveSucceeded(ippiXor_8u_C3R(src1, src1Step, src2, src2Step, dst, dstStep, roiSize),
                                "ippiXor_8u_C3R");
    case coAbsDiff:
      // Per byte, so the three channels are one row of width x channels bytes.
      return PrimitiveSucceeded(ippiAbsDiff_8u_C1R(src1, src1Step, src2, src2Step, dst, dstStep,
                                                   {roiSize.width * channels, roiSize.height}),
                                "ippiAbsDiff_8u_C1R");
    case coCopy:
      return PrimitiveSucceeded(ippiCopy_8u_C3R(src2, src2Step, dst, dstStep, roiSize), "ippiCopy_8u_C3R");
  }
  return true;  // another value keeps the background fill
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fccombine, TFCCombine)
