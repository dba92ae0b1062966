// filter_run.h - runs frames through one filter component between test pins.
#pragma once

#include <vector>

#include "contracts/video/common_filter.h"
#include "tests/support/component_harness.h"

namespace fc::test {

/// A filter with a harness on both sides. `Run` pushes a start announcing
/// the first frame's size and format, the frames and a stop, and returns
/// the frames that came out.
struct TFilterRun {
  explicit TFilterRun(TFCCommonFilter& filter) {
    harness.Feed(*filter.GetInputPin());
    harness.Collect(*filter.GetOutputPin());
  }

  std::vector<TFCImageBuffer> Run(const std::vector<TFCImageBuffer>& frames) {
    harness.ClearReceived();
    harness.PushStart(frames.at(0).Width(), frames.at(0).Height(), 30, frames.at(0).Format());
    for (const TFCImageBuffer& frame : frames) harness.PushFrame(frame);
    harness.PushStop();
    std::vector<TFCImageBuffer> out;
    for (const auto& frame : harness.Frames()) out.push_back(*frame);
    return out;
  }
  TFCImageBuffer RunOne(const TFCImageBuffer& frame) { return Run({frame}).at(0); }

  TComponentHarness harness;
};

}  // namespace fc::test
