// The pipeline runner in process: what reaches the components, and that
// every run ends with a stop, also when it fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/runtime/error.h"
#include "platform/signal/main_thread_notifier.h"
#include "tests/tools/tool_test_components.h"
#include "tools/framecraft/frame_dump.h"
#include "tools/framecraft/pipeline_runner.h"

namespace fc::test {
namespace {

namespace fs = std::filesystem;

struct TPipeline {
  TComponent root{nullptr};
  TTestPatternGen* gen = new TTestPatternGen(&root);
  TTestInvert* invert = new TTestInvert(&root);
  TPipeline() {
    gen->GetImageSize()->SetWidth(4);
    gen->GetImageSize()->SetHeight(2);
    gen->GetOutputPin()->Connect(*invert->GetInputPin());
  }
};

class PipelineRunner : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("fc_runner_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(PipelineRunner, StepsWithoutAClockAndStopsEveryComponent) {
  TPipeline p;
  tool::TFrameDump dump("Invert1.OutputPin", dir_);
  dump.Attach(*p.invert->GetOutputPin());
  tool::TPipelineRunner runner(p.root);
  std::vector<int> steps;
  tool::TRunResult result = runner.Run(5, [&](int done) { steps.push_back(done); });
  EXPECT_EQ(result.frames, 5);
  EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(dump.FramesWritten(), 5);
  EXPECT_EQ(p.gen->GetPacing(), gpPump);  // its own clock would race the steps
  EXPECT_FALSE(p.gen->IsRunning());
  EXPECT_EQ(p.invert->Stops(), 1);
  EXPECT_EQ(dump.StopsSeen(), 1);
}

TEST_F(PipelineRunner, AFailingStepStillStopsThePipeline) {
  TPipeline p;
  tool::TPipelineRunner runner(p.root);
  EXPECT_THROW(runner.Run(5, [](int done) {
    if (done == 2) throw EFCError("write failed");
  }), EFCError);
  EXPECT_FALSE(p.gen->IsRunning());
  EXPECT_EQ(p.invert->Stops(), 1);
}

TEST_F(PipelineRunner, DumpFailuresAreKeptNotThrownIntoThePipeline) {
  TPipeline p;
  fs::create_directories(dir_);
  tool::TFrameDump dump("Gen1.OutputPin", dir_);
  fs::create_directories(dir_ / "000000.png");  // a directory where the first file goes
  dump.Attach(*p.gen->GetOutputPin());
  tool::TPipelineRunner runner(p.root);
  runner.Run(2, nullptr);
  EXPECT_EQ(dump.FramesWritten(), 0);
  EXPECT_NE(dump.Failure().find("Gen1.OutputPin: cannot write"), std::string::npos) << dump.Failure();
}

TEST_F(PipelineRunner, InRealTimeGeneratorsKeepTheirRatesAndTheLoopPlaysTheMainThread) {
  TPipeline p;
  auto* slow = new TTestPatternGen(&p.root);
  p.gen->SetFrameRate(100);
  slow->SetFrameRate(25);
  int notified = 0;
  TWCMainThreadNotifier notifier([&] { ++notified; });
  std::thread([&] { notifier.Signal(); }).join();  // a status from a streaming thread
  tool::TPipelineRunner runner(p.root);
  runner.SetRealtime(true);
  const tool::TRunResult result = runner.Run(3, nullptr);
  EXPECT_EQ(result.frames, 3);
  EXPECT_GE(result.seconds, 2.0 / 25);  // the slower generator's third frame is due at 80 ms
  EXPECT_EQ(p.gen->GetPacing(), gpPump);
  EXPECT_EQ(notified, 1);  // handed to this thread by the run loop
}

TEST_F(PipelineRunner, RefusesPipelinesWithoutGenerator) {
  TComponent root(nullptr);
  root.SetName("Empty");
  new TTestInvert(&root);
  try {
    tool::TPipelineRunner runner(root);
    FAIL();
  } catch (const EFCError& error) {
    EXPECT_STREQ(error.what(), "Empty: the pipeline has no generator to run");
  }
}

}  // namespace
}  // namespace fc::test
