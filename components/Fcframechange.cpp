#include "components/Fcframechange.h"

#include "contracts/video/helper_arithmetic.h"
#include "contracts/video/helper_logic.h"

namespace fc {

const TEnumInfo& FrameChangeOperationInfo() {
  static const TEnumInfo info("TFCFrameChangeOperation",
                              {"fcoAdd", "fcoSubtractOld", "fcoSubtractNew", "fcoMultiply", "fcoDivideOld",
                               "fcoDivideNew", "fcoOr", "fcoAnd", "fcoXor", "fcoAbsDiff"});
  return info;
}

const TClassInfo& TFCFrameChange::StaticClassInfo() {
  using F = TFCFrameChange;
  static const TClassInfo info = TClassBuilder<F>("TFCFrameChange", &TFCCommonFilter::StaticClassInfo())
                                     .Enum("FrameChangeOperation", &F::GetFrameChangeOperation,
                                           &F::SetFrameChangeOperation, FrameChangeOperationInfo(), kOperationDefault)
                                     .Build();
  return info;
}

TFCFrameChangeOperation TFCFrameChange::GetFrameChangeOperation() const {
  auto section = ReadLock();
  return operation_;
}

void TFCFrameChange::SetFrameChangeOperation(TFCFrameChangeOperation operation) {
  auto section = WriteLock();
  operation_ = operation;
}

void TFCFrameChange::Reset() {
  auto section = WriteLock();
  hasPrevious_ = false;
  previous_ = TFCImageBuffer();
}

void TFCFrameChange::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonFilter::SetVideoFormat(Buffer);
}

namespace {

using TwoSourceCall = IppStatus (*)(const Ipp8u*, int, const Ipp8u*, int, Ipp8u*, int, IppiSize);
using ScaledCall = IppStatus (*)(const Ipp8u*, int, const Ipp8u*, int, Ipp8u*, int, IppiSize, int);

// One operation: its primitives and whether the new frame is the first
// source (the arithmetic primitives compute src2 - src1 and src2 / src1).
struct TOperationCall {
  ScaledCall scaledC3 = nullptr, scaledC1 = nullptr;
  TwoSourceCall plainC3 = nullptr, plainC1 = nullptr;
  const char* nameC3;
  const char* nameC1;
  bool newFirst = true;
};

TOperationCall CallOf(TFCFrameChangeOperation operation) {
  switch (operation) {
    case fcoAdd: return {ippiAdd_8u_C3RSfs, ippiAdd_8u_C1RSfs, {}, {}, "ippiAdd_8u_C3RSfs", "ippiAdd_8u_C1RSfs"};
    case fcoSubtractOld:
      return {ippiSub_8u_C3RSfs, ippiSub_8u_C1RSfs, {}, {}, "ippiSub_8u_C3RSfs", "ippiSub_8u_C1RSfs"};
    case fcoSubtractNew:
      return {ippiSub_8u_C3RSfs, ippiSub_8u_C1RSfs, {}, {}, "ippiSub_8u_C3RSfs", "ippiSub_8u_C1RSfs", false};
    case fcoMultiply:
      return {ippiMul_8u_C3RSfs, ippiMul_8u_C1RSfs, {}, {}, "ippiMul_8u_C3RSfs", "ippiMul_8u_C1RSfs"};
    case fcoDivideOld:
      return {ippiDiv_8u_C3RSfs, ippiDiv_8u_C1RSfs, {}, {}, "ippiDiv_8u_C3RSfs", "ippiDiv_8u_C1RSfs"};
    case fcoDivideNew:
      return {ippiDiv_8u_C3RSfs, ippiDiv_8u_C1RSfs, {}, {}, "ippiDiv_8u_C3RSfs", "ippiDiv_8u_C1RSfs", false};
    case fcoOr: return {{}, {}, ippiOr_8u_C3R, ippiOr_8u_C1R, "ippiOr_8u_C3R", "ippiOr_8u_C1R"};
    case fcoAnd: return {{}, {}, ippiAnd_8u_C3R, ippiAnd_8u_C1R, "ippiAnd_8u_C3R", "ippiAnd_8u_C1R"};
    case fcoXor: return {{}, {}, ippiXor_8u_C3R, ippiXor_8u_C1R, "ippiXor_8u_C3R", "ippiXor_8u_C1R"};
    case fcoAbsDiff: break;
  }
  // Absolute difference has only a one-byte form: rows are passed as runs
  // of width x bytes-per-pixel bytes.
  return {{}, {}, ippiAbsDiff_8u_C1R, ippiAbsDiff_8u_C1R, "ippiAbsDiff_8u_C1R", "ippiAbsDiff_8u_C1R"};
}

bool SameLayout(const TFCImageBuffer& a, const TFCImageBuffer& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Format() == b.Format();
}

}  // namespace

void TFCFrameChange::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  if (!hasPrevious_ || !SameLayout(previous_, In)) {
    previous_ = In;  // Out already holds the frame: it passes unchanged
    hasPrevious_ = true;
    return;
  }
  const TOperationCall call = CallOf(operation_);
  const bool grey = In.Format() == vfGray8;
  const int step = In.Step();
  IppiSize size = In.SizeRecord();
  if (operation_ == fcoAbsDiff) size.width *= In.BytesPerPixel();
  const Ipp8u* first = call.newFirst ? In.Read() : previous_.Read();
  const Ipp8u* second = call.newFirst ? previous_.Read() : In.Read();
  Ipp8u* dst = Out->Write();
  const IppStatus status =
      call.scaledC3 ? (grey ? call.scaledC1 : call.scaledC3)(first, step, second, step, dst, step, size, 0)
                    : (grey ? call.plainC1 : call.plainC3)(first, step, second, step, dst, step, size);
  previous_ = In;
  PrimitiveSucceeded(status, grey ? call.nameC1 : call.nameC3);  // on failure the base sends nothing
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcframechange, TFCFrameChange)
