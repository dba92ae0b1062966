// failure_policy.h - how a component reports a primitive that refused its
// call: never silently, never by sending bytes nobody wrote.
//
// Every component base (filter, generator, sink) derives from
// TFCFailurePolicy, and so does any component that calls primitives from a
// dispatch of its own. The policy:
//
// - A negative status (an error: the primitive wrote nothing) is counted
//   (ErrorCount) and reported once per distinct cause - (entry, status) -
//   per stream: the message "<component>: <entry> failed with <status name>"
//   goes to the library log at warning level (see platform/runtime/log.h,
//   quiet unless FRAMECRAFT_LOG=warning|debug) and to the OnError handler.
// - The frame that depended on the call is not sent: the filter and
//   generator bases drop it; a component whose definition passes its input on
//   when the primitive fails asks for TFCFailedFrame::PassInput instead.
// - A positive status (a warning: nothing or part written, the caller's
//   black or copied pixels stand) is not an error; it goes to the debug log
//   once per cause and the frame goes on.
//
// Usage inside FilterInternalOperation (the base drops Out on failure):
//
//   const IppStatus status = fc_entry(ippiFilterBox_8u_C3R)(src, ...);
//   if (!PrimitiveSucceeded(status, "ippiFilterBox_8u_C3R")) return;
//
// A component with its own dispatch (several inputs, its own output pins)
// checks the same way and, when TakeFrameFailure() answers a failure, sends
// nothing for that input.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/component.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/error.h"

namespace fc {

/// The name of a status constant ("ippStsMaskSizeErr"), or "status <n>" for
/// a value without a name.
FC_COMPONENTS_API std::string IppStatusName(IppStatus status);

/// One failure as reported: which component, which entry point (or other
/// operation), which status.
struct FC_COMPONENTS_API TFCFailure {
  std::string component;
  std::string entry;
  IppStatus status = ippStsNoErr;

  /// "<component>: <entry> failed with <status name>".
  std::string Message() const;
};

/// What happens to the frame whose primitive failed.
enum class TFCFailedFrame {
  Drop,       ///< nothing is sent for this input (the default)
  PassInput,  ///< the input goes on unchanged, where the component is defined so
};

/// The failure reporting of one component: a mixin of the component bases.
class FC_COMPONENTS_API TFCFailurePolicy {
public:
  /// Called once per distinct cause per stream, on the streaming thread and
  /// while the component holds its lock: record or print, never call into
  /// other components of the pipeline from it.
  using TOnError = std::function<void(const TFCFailure& failure)>;

  explicit TFCFailurePolicy(const TComponent& component) : component_(component) {}
  virtual ~TFCFailurePolicy() = default;
  TFCFailurePolicy(const TFCFailurePolicy&) = delete;
  TFCFailurePolicy& operator=(const TFCFailurePolicy&) = delete;

  /// Failed calls since the component was made (every dropped frame counts).
  int ErrorCount() const { return errorCount_.load(std::memory_order_relaxed); }
  /// The OnError event; an empty handler removes it.
  void SetOnError(TOnError handler);

  /// True for success and warnings. An error is counted, reported (once per
  /// distinct cause) and marks the current frame for `action`; then false.
  bool PrimitiveSucceeded(IppStatus status, std::string_view entry,
                          TFCFailedFrame action = TFCFailedFrame::Drop);
  /// Reports a failure that is not a primitive's status (a buffer over the
  /// budget, a frame the component cannot take): counted, reported once per
  /// (what, status), the frame marked for `action`.
  void ReportFailure(std::string_view what, IppStatus status, TFCFailedFrame action = TFCFailedFrame::Drop);

  /// What the failures since the last call ask of the current frame
  /// (PassInput only when every failure asked for it); nothing when no call
  /// failed. Clears the mark. Bases call it after each frame's work.
  std::optional<TFCFailedFrame> TakeFrameFailure();
  /// Whether a call has failed the current frame; the mark stays.
  bool FrameFailing() const { return frameFailure_.load(std::memory_order_relaxed) != 0; }
  /// Forgets which causes were reported, so a new stream reports them again.
  /// The bases call it when a stream starts.
  void ForgetReportedFailures();

  /// Runs `work`; a std::bad_alloc from it becomes EFCError naming the
  /// component and `during` ("Box1: out of memory while processing a frame").
  template <class Work>
  decltype(auto) NamingOutOfMemory(std::string_view during, Work&& work) {
    try {
      return std::forward<Work>(work)();
    } catch (const std::bad_alloc&) {
      throw EFCError(component_.NamePath() + ": out of memory while " + std::string(during));
    }
  }

private:
  bool FirstReport(std::string_view what, IppStatus status);

  const TComponent& component_;
  std::atomic<int> errorCount_{0};
  // 0 no failure this frame; else 1 + the TFCFailedFrame asked for.
  std::atomic<int> frameFailure_{0};
  std::mutex mutex_;  // guards what follows
  std::set<std::pair<std::string, IppStatus>> reported_;
  TOnError onError_;
};

}  // namespace fc
