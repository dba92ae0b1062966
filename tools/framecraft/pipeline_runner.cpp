#include "tools/framecraft/pipeline_runner.h"

#include <chrono>

#include "platform/runtime/error.h"

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

TRunResult TPipelineRunner::Run(int frames, const std::function<void(int done)>& afterStep) {
  for (TFCCommonGen* generator : generators_)
    if (generator->GetPacing() == gpInternalClock) generator->SetPacing(gpPump);
  TRunResult result;
  const auto begin = std::chrono::steady_clock::now();
  try {
    for (TFCCommonGen* generator : generators_) generator->Start();
    while (result.frames < frames && AnyRunning()) {
      for (TFCCommonGen* generator : generators_) generator->GenerateNow();
      ++result.frames;
      if (afterStep) afterStep(result.frames);
    }
  } catch (...) {
    StopAll();
    throw;
  }
  StopAll();
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  return result;
}

}  // namespace fc::tool
