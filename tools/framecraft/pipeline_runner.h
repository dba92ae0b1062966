// pipeline_runner.h - streams frames through a loaded pipeline, as fast as
// its components allow and the same every time.
#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "contracts/video/generator.h"

namespace fc::tool {

struct TRunResult {
  int frames = 0;        ///< steps in which the generators made their frames
  double seconds = 0;    ///< wall time of the steps
};

/// Runs the generators of a pipeline: each one is switched from its own
/// clock to pumping (so no clock thread paces the run), started, and made to
/// generate one frame per step, in the order the pipeline holds them; after
/// the last step every generator is stopped, so the stop reaches every
/// component downstream. Generators are stopped also when a step throws.
///
/// In real time (`SetRealtime`) each generator instead makes its frames at
/// its own frame rate against a steady clock, as a live source would; a step
/// is done when every generator has made that many frames. Between
/// steps the run loop plays the main thread: work handed to it by
/// main-thread notifiers runs there.
class TPipelineRunner {
public:
  /// Collects the generators among `root` and the components it owns;
  /// EFCError when there is none.
  explicit TPipelineRunner(TComponent& root);

  /// Runs `frames` steps, or fewer when every generator ended its stream.
  /// `afterStep(done)` runs after each step (progress, failure checks); it
  /// may throw to end the run.
  TRunResult Run(int frames, const std::function<void(int done)>& afterStep);

  const std::vector<TFCCommonGen*>& Generators() const { return generators_; }
  void SetRealtime(bool realtime) { realtime_ = realtime; }
  /// The pipeline is paced by an output device (master pumps from its
  /// clock): the generators are started pumped and left to it, and a step
  /// is done when every generator has made that many frames. A run in which
  /// no frame comes for kDeviceStall is ended with EFCError.
  void SetPacedByDevice(bool paced) { pacedByDevice_ = paced; }
  static constexpr std::chrono::seconds kDeviceStall{10};

private:
  void StopAll();
  bool AnyRunning() const;
  // Makes each generator's frames at their due times, until every one has
  // made `frames` or all have ended.
  void RunRealtime(int frames, const std::function<void(int done)>& afterStep, TRunResult& result,
                   std::chrono::steady_clock::time_point begin);

  void RunPacedByDevice(int frames, const std::function<void(int done)>& afterStep, TRunResult& result);

  std::vector<TFCCommonGen*> generators_;
  bool realtime_ = false;
  bool pacedByDevice_ = false;
};

}  // namespace fc::tool
