#include "contracts/video/failure_policy.h"

#include "contracts/video/wiener_filter.h"
#include "platform/runtime/log.h"

namespace fc {

namespace {

// Frame marks: a drop outranks a pass, so one failed call asking for a drop
// is enough to drop the frame.
constexpr int kNoFailure = 0, kPassMark = 1, kDropMark = 2;

int MarkOf(TFCFailedFrame action) { return action == TFCFailedFrame::Drop ? kDropMark : kPassMark; }

void RaiseMark(std::atomic<int>& mark, int value) {
  int current = mark.load(std::memory_order_relaxed);
  while (current < value && !mark.compare_exchange_weak(current, value, std::memory_order_relaxed)) {
  }
}

}  // namespace

std::string IppStatusName(IppStatus status) {
  switch (status) {
    case ippStsNoErr: return "ippStsNoErr";
    case ippStsWrongIntersectROI: return "ippStsWrongIntersectROI";
    case ippStsWrongIntersectQuad: return "ippStsWrongIntersectQuad";
    case ippStsSizeErr: return "ippStsSizeErr";
    case ippStsNullPtrErr: return "ippStsNullPtrErr";
    case ippStsMemAllocErr: return "ippStsMemAllocErr";
    case ippStsStepErr: return "ippStsStepErr";
    case ippStsThresholdErr: return "ippStsThresholdErr";
    case ippStsInterpolationErr: return "ippStsInterpolationErr";
    case ippStsResizeFactorErr: return "ippStsResizeFactorErr";
    case ippStsMaskSizeErr: return "ippStsMaskSizeErr";
    case ippStsAnchorErr: return "ippStsAnchorErr";
    case ippStsStrideErr: return "ippStsStrideErr";
    case ippStsCoeffErr: return "ippStsCoeffErr";
    case ippStsRectErr: return "ippStsRectErr";
    case ippStsQuadErr: return "ippStsQuadErr";
    case ippStsZeroMaskValuesErr: return "ippStsZeroMaskValuesErr";
    case ippStsHistoNofLevelsErr: return "ippStsHistoNofLevelsErr";
    case ippStsNumChannelsErr: return "ippStsNumChannelsErr";
    case ippStsNoiseRangeErr: return "ippStsNoiseRangeErr";
    case ippStsResizeNoOperationErr: return "ippStsResizeNoOperationErr";
    default: return "status " + std::to_string(status);
  }
}

std::string TFCFailure::Message() const { return component + ": " + entry + " failed with " + IppStatusName(status); }

void TFCFailurePolicy::SetOnError(TOnError handler) {
  std::lock_guard lock(mutex_);
  onError_ = std::move(handler);
}

bool TFCFailurePolicy::FirstReport(std::string_view what, IppStatus status) {
  std::lock_guard lock(mutex_);
  return reported_.emplace(std::string(what), status).second;
}

bool TFCFailurePolicy::PrimitiveSucceeded(IppStatus status, std::string_view entry, TFCFailedFrame action) {
  if (status == ippStsNoErr) return true;
  if (status > 0) {
    if (FirstReport(entry, status))
      LogDebug(TFCFailure{component_.NamePath(), std::string(entry), status}.Message() + " (a warning)");
    return true;
  }
  ReportFailure(entry, status, action);
  return false;
}

void TFCFailurePolicy::ReportFailure(std::string_view what, IppStatus status, TFCFailedFrame action) {
  errorCount_.fetch_add(1, std::memory_order_relaxed);
  RaiseMark(frameFailure_, MarkOf(action));
  if (!FirstReport(what, status)) return;
  const TFCFailure failure{component_.NamePath(), std::string(what), status};
  LogWarning(failure.Message());
  TOnError handler;
  {
    std::lock_guard lock(mutex_);
    handler = onError_;
  }
  if (handler) handler(failure);
}

std::optional<TFCFailedFrame> TFCFailurePolicy::TakeFrameFailure() {
  switch (frameFailure_.exchange(kNoFailure, std::memory_order_relaxed)) {
    case kDropMark: return TFCFailedFrame::Drop;
    case kPassMark: return TFCFailedFrame::PassInput;
    default: return std::nullopt;
  }
}

void TFCFailurePolicy::ForgetReportedFailures() {
  std::lock_guard lock(mutex_);
  reported_.clear();
}

}  // namespace fc
