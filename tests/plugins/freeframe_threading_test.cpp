// Parameter changes from one thread while frames stream through the host on
// another: every call into the plug-in is serialised by the component lock,
// so the plug-in never sees a value written during a frame.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/plugins/plugin_test_support.h"

namespace fc::test {
namespace {

TEST(FreeFrameThreading, ParameterChangesWhileFramesStream) {
  TRecorder recorder(FC_PLUGIN_ff_parameters);
  THostRun run(FC_PLUGIN_ff_parameters);
  TFCFreeFrameParameters& list = *run.host.GetParameters();
  run.harness.PushStart(16, 8);
  std::atomic<bool> streaming{true};
  // The parameter objects are looked up again after the reload, which
  // rebuilds them.
  std::thread setter([&] {
    for (int i = 0; streaming.load(); ++i) {
      if (i == 50) run.host.SetFilterFileName(FC_PLUGIN_ff_parameters);  // a reload mid-stream
      list.Items(i % 2 ? 7 : 2).SetAsInteger(i % 2);
      list.Items(8).SetAsString(i % 2 ? "odd" : "even");
      (void)list.Items(5).GetDisplayValue();
      std::this_thread::yield();
    }
  });
  const TFCImageBuffer frame = CountingFrame(16, 8);
  for (int i = 0; i < 200; ++i) run.harness.PushFrame(frame);
  streaming = false;
  setter.join();
  run.harness.PushStop();
  EXPECT_EQ(run.harness.Frames().size(), 200u);
  EXPECT_EQ(BytesOf(*run.harness.Frames().back()), Inverted(frame));
}

}  // namespace
}  // namespace fc::test
