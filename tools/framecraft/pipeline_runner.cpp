#include "tools/framecraft/pipeline_runner.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/runtime/error.h"
#include "platform/signal/main_thread_notifier.h"

namespace fc::tool {

namespace {

void CollectGenerators(TComponent& component, std::vector<TFCCommonGen*>& out) {
  if (auto* generator = dynamic_cast<TFCCommonGen*>(&component)) out.push_back(generator);
  for (int i = 0; i < component.ComponentCount(); ++i) CollectGenerators(*component.Components(i), out);
}

}  // namespace

TPipelineRunner::TPipelineRunner(TComponent& root) {
  CollectGenerators(root, generators_);
  if (generators_.empty()) throw EFCError(root.NamePath() + ": the pipeline has no generator to run");
}

bool TPipelineRunner::AnyRunning() const {
  for (TFCCommonGen* generator : generators_)
    if (generator->IsRunning()) return true;
  return false;
}

void TPipelineRunner::StopAll() {
  for (TFCCommonGen* generator : generators_) generator->Stop();
}

void TPipelineRunner::RunRealtime(int frames, const std::function<void(int done)>& afterStep, TRunResult& result,
                                  std::chrono::steady_clock::time_point begin) {
  using Clock = std::chrono::steady_clock;
  // Frame n of a generator at r frames per second is due n / r seconds after
  // the start; the generator whose next frame is due first goes next.
  std::vector<int> made(generators_.size(), 0);
  auto due = [&](std::size_t g) {
    return begin + std::chrono::duration_cast<Clock::duration>(
                       std::chrono::duration<double>(made[g] / generators_[g]->GetFrameRate()));
  };
  while (result.frames < frames && AnyRunning()) {
    std::size_t next = 0;
    for (std::size_t g = 1; g < generators_.size(); ++g)
      if (made[g] < frames && (made[next] >= frames || due(g) < due(next))) next = g;
    std::this_thread::sleep_until(due(next));
    generators_[next]->GenerateNow();
    ++made[next];
    TWCMainThreadNotifier::ProcessMessages();
    const int done = *std::min_element(made.begin(), made.end());
    if (done > result.frames) {
      result.frames = done;
      if (afterStep) afterStep(done);
    }
  }
}

void TPipelineRunner::RunPacedByDevice(int frames, const std::function<void(int done)>& afterStep,
                                       TRunResult& result) {
  using Clock = std::chrono::steady_clock;
  auto lastProgress = Clock::now();
  while (result.frames < frames && AnyRunning()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    TWCMainThreadNotifier::ProcessMessages();
    std::int64_t done = frames;
    for (TFCCommonGen* generator : generators_) done = std::min(done, generator->FramesMade());
    if (done > result.frames) {
      result.frames = static_cast<int>(done);
      lastProgress = Clock::now();
      if (afterStep) afterStep(result.frames);
    } else if (Clock::now() - lastProgress > kDeviceStall) {
      throw EFCError("the output device asked for no frame for " + std::to_string(kDeviceStall.count()) +
                     " s; its stream stopped");
    }
  }
}

TRunResult TPipelineRunner::Run(int frames, const std::function<void(int done)>& afterStep) {
  for (TFCCommonGen* generator : generators_)
    if (generator->GetPacing() == gpInternalClock) generator->SetPacing(gpPump);
  TRunResult result;
  const auto begin = std::chrono::steady_clock::now();
  try {
    for (TFCCommonGen* generator : generators_)
      generator->NamingOutOfMemory("starting its pipeline", [&] { generator->Start(); });
    if (pacedByDevice_)
      RunPacedByDevice(frames, afterStep, result);
    else if (realtime_)
      RunRealtime(frames, afterStep, result, begin);
    while (result.frames < frames && AnyRunning()) {
      for (TFCCommonGen* generator : generators_)
        generator->NamingOutOfMemory("running its pipeline", [&] { generator->GenerateNow(); });
      ++result.frames;
      TWCMainThreadNotifier::ProcessMessages();
      if (afterStep) afterStep(result.frames);
    }
  } catch (...) {
    StopAll();
    throw;
  }
  StopAll();
  TWCMainThreadNotifier::ProcessMessages();
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  return result;
}

}  // namespace fc::tool
