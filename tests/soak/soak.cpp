// The soak run: frames stream through a chain of every registered filter
// kind for SOAK_SECONDS (default 600) while another thread attaches and
// detaches taps and side branches and toggles the filters. At the end every
// frame made must have reached the end of the chain, no component may have
// reported a failure, and resident memory at the end must lie within 5 % of
// what it was halfway through (judged for runs of 30 s or more).
// Exit status 0 when all held.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "contracts/video/common_filter.h"
#include "contracts/video/generator.h"
#include "package/catalogue.h"
#include "package/framecraft_package.h"
#include "tests/support/component_harness.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define FC_SOAK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define FC_SOAK_SANITIZED 1
#endif
#endif
#ifdef FC_SOAK_SANITIZED
// From the sanitizer runtime (GCC installs no header declaring it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace fc::soak {
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAllocatorHoldsFreedMemory = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAllocatorHoldsFreedMemory = true;
#else
constexpr bool kAllocatorHoldsFreedMemory = false;
#endif
#else
constexpr bool kAllocatorHoldsFreedMemory = false;
#endif

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kShortestMemoryRun = 30.0;

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The bytes of live heap blocks: unlike resident memory, this excludes what
// the allocator keeps after a free, so it tells growth from fragmentation.
long HeapInUseKiB() {
#ifdef FC_SOAK_SANITIZED
  return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
  const struct mallinfo2 heap = mallinfo2();
  return static_cast<long>((heap.uordblks + heap.hblkhd) / 1024);
#endif
}

// Resident memory and live heap at the quarters of the run.
struct TMemorySamples {
  long resident[4] = {};
  long heap[4] = {};
};

// Settings under which each filter makes one frame of every frame it gets.
void Configure(TComponent& filter) {
  const std::string& name = filter.ClassInfo().Name();
  if (name == "TFCMorphFilter") {
    SetPropertyText(filter, "MaskSize.Width", "5");
    SetPropertyText(filter, "MaskSize.Height", "5");
  }
  if (filter.ClassInfo().FindProperty("OutputSize")) {
    SetPropertyText(filter, "OutputSize.Width", "48");
    SetPropertyText(filter, "OutputSize.Height", "40");
  }
}

// True when the filter, alone, makes exactly one frame from one frame
// without a failure: those are the ones a frame count can follow.
bool OneFramePerFrame(TFCCommonFilter& filter) {
  test::TComponentHarness harness;
  harness.Feed(*filter.GetInputPin());
  harness.Collect(*filter.GetOutputPin());
  harness.PushStart(64, 48);
  harness.PushFrame(test::CountingFrame(64, 48));
  harness.PushFrame(test::CountingFrame(64, 48));
  harness.PushStop();
  filter.GetInputPin()->DisconnectAll();
  filter.GetOutputPin()->DisconnectAll();
  return harness.Frames().size() == 2 && filter.ErrorCount() == 0;
}

struct TChain {
  TComponent root;
  TFCCommonGen* generator = nullptr;
  std::vector<TFCCommonFilter*> filters;
  std::vector<std::string> left;  // registered filters that change the frame count
};

void Build(TChain& chain) {
  for (const TCatalogueItem& item : PackageCatalogue().Components()) {
    if (!item.classInfo->InheritsFrom(TFCCommonFilter::StaticClassInfo())) {
      if (!chain.generator && item.classInfo->Name() == "TFCJaehneGen")
        chain.generator = dynamic_cast<TFCCommonGen*>(item.classInfo->Create(&chain.root).release());
      continue;
    }
    auto* filter = dynamic_cast<TFCCommonFilter*>(item.classInfo->Create(&chain.root).release());
    filter->SetName(item.classInfo->Name().substr(3) + "1");
    Configure(*filter);
    if (OneFramePerFrame(*filter))
      chain.filters.push_back(filter);
    else
      chain.left.push_back(item.classInfo->Name());
  }
  if (!chain.generator) throw EFCError("soak: no TFCJaehneGen registered");
  SetPropertyText(*chain.generator, "ImageSize.Width", "64");
  SetPropertyText(*chain.generator, "ImageSize.Height", "48");
  chain.generator->SetPacing(gpPump);
  TPMPin* previous = chain.generator->GetOutputPin();
  for (TFCCommonFilter* filter : chain.filters) {
    previous->Connect(*filter->GetInputPin());
    previous = filter->GetOutputPin();
  }
}

// Counts the frames that reach it and keeps none.
class TFrameCounter : public TComponent, public IPMPinDispatcher {
public:
  TFrameCounter() : TComponent(nullptr), input_(this, *this, "InputPin") {}
  ~TFrameCounter() override { input_.Retire(); }
  TPMPin& Input() { return input_; }
  long Frames() const { return frames_; }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation& operation) override {
    if (FrameOf(operation)) ++frames_;
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

private:
  TFCPMImageSinkPin input_;
  std::atomic<long> frames_{0};
};

// Until `stop`: taps come and go on the chain's outputs, a spare filter is
// hung on and off it, and filters are switched off and on again.
void Churn(TChain& chain, const std::atomic<bool>& stop, std::atomic<long>& changes) {
  std::mt19937 random(12345);
  // The tap keeps nothing: a frame that reaches it while it is connected is
  // only counted, so the run's memory does not grow with its length.
  TFrameCounter tap;
  TFCCommonFilter* spare = nullptr;
  if (const TClassInfo* info = PackageCatalogue().FindClass("TFCMirror"))
    spare = dynamic_cast<TFCCommonFilter*>(info->Create(&chain.root).release());
  while (!stop) {
    TFCCommonFilter& filter = *chain.filters[random() % chain.filters.size()];
    switch (random() % 3) {
      case 0:
        filter.GetOutputPin()->Connect(tap.Input());
        filter.GetOutputPin()->Disconnect(tap.Input());
        break;
      case 1:
        if (spare) {
          filter.GetOutputPin()->Connect(*spare->GetInputPin());
          filter.GetOutputPin()->Disconnect(*spare->GetInputPin());
        }
        break;
      default:
        filter.SetEnabled(false);
        filter.SetEnabled(true);
        break;
    }
    ++changes;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

int ErrorsIn(const TChain& chain) {
  int errors = chain.generator->ErrorCount();
  for (const TFCCommonFilter* filter : chain.filters) errors += filter->ErrorCount();
  return errors;
}

int Run(double seconds) {
  TChain chain;
  Build(chain);
  TFrameCounter made, arrived;
  chain.generator->GetOutputPin()->Connect(made.Input());
  chain.filters.back()->GetOutputPin()->Connect(arrived.Input());
  std::printf("soak: %zu filters in the chain for %.0f s", chain.filters.size(), seconds);
  for (const std::string& name : chain.left) std::printf("; %s left out (not one frame per frame)", name.c_str());
  std::printf("\n");

  std::atomic<bool> stop{false};
  std::atomic<long> changes{0};
  chain.generator->Start();
  std::thread churn([&] { Churn(chain, stop, changes); });
  const auto begin = Clock::now();
  // Memory is sampled by time, not by frame count: a slow build (a thread
  // sanitizer on a loaded machine) may make only a hundred frames a run.
  TMemorySamples samples;
  int quarter = 0;
  while (Clock::now() - begin < std::chrono::duration<double>(seconds)) {
    chain.generator->GenerateNow();
    if (quarter < 3 && Clock::now() - begin >= std::chrono::duration<double>(seconds * (quarter + 1) / 4)) {
      samples.resident[quarter] = ResidentKiB();
      samples.heap[quarter++] = HeapInUseKiB();
    }
  }
  samples.resident[3] = ResidentKiB();
  samples.heap[3] = HeapInUseKiB();
  stop = true;
  churn.join();
  chain.generator->Stop();

  const int errors = ErrorsIn(chain);
  // AddressSanitizer holds freed blocks back in its quarantine, so resident
  // memory grows there by design: judge it only without it.
  // The first half of a run is its warm-up: the allocator's arenas, a
  // sanitizer's shadow and bookkeeping grow to their working size. Under
  // ThreadSanitizer resident memory rises by about 2 % over the first half
  // and then holds while the live heap stays flat. A leak keeps growing, so
  // the end is compared with the middle of the run.
  const bool judgeMemory = !kAllocatorHoldsFreedMemory && seconds >= kShortestMemoryRun;
  const long middle = samples.resident[1], end = samples.resident[3];
  const bool flat = !judgeMemory || (middle > 0 && end <= middle + middle / 20);
  std::printf("soak: %ld frames made, %ld arrived, %d failures, %ld connection and setting changes\n", made.Frames(),
              arrived.Frames(), errors, changes.load());
  std::printf("soak: resident memory at a quarter, half, three quarters and the end of the run: %ld, %ld, %ld, %ld KiB%s\n",
              samples.resident[0], samples.resident[1], samples.resident[2], samples.resident[3],
              judgeMemory ? "" : " (not judged)");
  std::printf("soak: heap in use at the same times: %ld, %ld, %ld, %ld KiB\n", samples.heap[0], samples.heap[1],
              samples.heap[2], samples.heap[3]);
  const bool passed = made.Frames() > 0 && made.Frames() == arrived.Frames() && errors == 0 && flat;
  std::printf("soak: %s\n", passed ? "passed" : "FAILED");
  return passed ? 0 : 1;
}

}  // namespace
}  // namespace fc::soak

int main() {
  const char* text = std::getenv("SOAK_SECONDS");
  const double seconds = text ? std::atof(text) : 600.0;
  fc::package::Initialize();
  fc::package::Register();
  int status = 1;
  try {
    status = fc::soak::Run(seconds > 0 ? seconds : 600.0);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "soak: %s\n", error.what());
  }
  fc::package::Finalize();
  return status;
}
