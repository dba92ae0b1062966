// Per-frame cost of the effect hosts on 1920x1080 frames, delivery
// included, beside calling the same effect directly on frames already in
// its layout: the installed Invert0r through TFCDMOEffect and through its
// update call on ready 32-bit frames, the example FreeFrame invert through
// TFCFreeFrame and through its process call. Rates are pixels per second.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "framecraft/freeframe.h"
#include "platform/media/effect_objects.h"
#include "platform/media/plugin_library.h"
#include "plugins/Fcdmoeffect.h"
#include "plugins/Fcfreeframe.h"
#include "tests/support/component_harness.h"

namespace {

using namespace fc;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr std::int64_t kFramePixels = std::int64_t{kWidth} * kHeight;

TFCImageBuffer RandomFrame() {
  TFCImageBuffer frame(kWidth, kHeight);
  std::mt19937 rng(1);
  Ipp8u* bytes = frame.Write();
  for (std::size_t i = 0; i < frame.Size(); ++i) bytes[i] = static_cast<Ipp8u>(rng());
  return frame;
}

void Stream(benchmark::State& state, TPMPin& input, TPMPin& output) {
  const TFCImageBuffer frame = RandomFrame();
  test::TComponentHarness harness;
  harness.Feed(input);
  harness.PushStart(kWidth, kHeight, 25);
  (void)output;
  for (auto _ : state) harness.PushFrame(frame);
  harness.PushStop();
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

void Invert0rHost(benchmark::State& state) {
  TFCDMOEffect effect(nullptr);
  effect.SetDmoName("Invert0r");
  Stream(state, *effect.GetInputPin(), *effect.GetOutputPin());
}

void Invert0rDirect(benchmark::State& state) {
  std::optional<TEffectInfo> info = FindEffectByName("Invert0r");
  std::string error;
  std::unique_ptr<TEffectInstance> effect = info ? TEffectInstance::Create(*info, kWidth, kHeight, error) : nullptr;
  if (!effect) return state.SkipWithError("Invert0r is not installed");
  std::vector<std::uint32_t> in(kFramePixels, 0xFF336699u), out(kFramePixels);
  double time = 0;
  for (auto _ : state) {
    effect->Update(time, in.data(), out.data());
    time += 0.04;
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

void FreeFrameHost(benchmark::State& state) {
  TFCFreeFrame host(nullptr);
  host.SetFilterFileName(FC_EXAMPLE_FF_INVERT);
  if (!host.IsLoaded()) return state.SkipWithError(host.LoadError().c_str());
  Stream(state, host.Input(0), *host.GetOutputPin());
  host.BeforeDestruction();
}

void FreeFrameDirect(benchmark::State& state) {
  std::unique_ptr<TPluginLibrary> library = TPluginLibrary::Load(FC_EXAMPLE_FF_INVERT);
  auto plugMain = library ? library->Function<fc_ff_plug_main>(FC_FF_ENTRY_NAME) : nullptr;
  if (!plugMain) return state.SkipWithError("the example invert plug-in is missing");
  plugMain(FC_FF_INITIALISE, fc_ff_uint(0), nullptr);
  fc_ff_video_info video{kWidth, kHeight, FC_FF_DEPTH_24BIT, FC_FF_ORIENTATION_BOTTOM_FIRST};
  void* instance = plugMain(FC_FF_INSTANTIATE, fc_ff_pointer(&video), nullptr).PointerValue;
  TFCImageBuffer frame = RandomFrame();
  for (auto _ : state) {
    plugMain(FC_FF_PROCESS_FRAME, fc_ff_pointer(frame.Modify()), instance);
    benchmark::DoNotOptimize(frame.Read());
  }
  plugMain(FC_FF_DEINSTANTIATE, fc_ff_uint(0), instance);
  plugMain(FC_FF_DEINITIALISE, fc_ff_uint(0), nullptr);
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

int RegisterAll() {
  benchmark::RegisterBenchmark("frei0r_invert0r/framecraft", Invert0rHost);
  benchmark::RegisterBenchmark("frei0r_invert0r/direct", Invert0rDirect);
  benchmark::RegisterBenchmark("freeframe_invert/framecraft", FreeFrameHost);
  benchmark::RegisterBenchmark("freeframe_invert/direct", FreeFrameDirect);
  return 0;
}

const int registered = RegisterAll();

}  // namespace
