// Frame-interval jitter of the null output paced by its reference clock, at
// 25 and 60 frames per second over 1,000 frames, beside the naive pacing
// that sleeps one period after each frame ("sleep", which drifts).
//
// Counters: mean interval, its standard deviation (the jitter), the largest
// deviation of one interval, and the drift: how far the last frame came
// after its ideal time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "contracts/video/image_pins.h"
#include "media/Fcdsvideoout.h"

namespace fc {
namespace {

using Clock = std::chrono::steady_clock;

// Answers each master pump with a frame and notes when the pump came.
class TPumpedSource : public TComponent, public IPMPinDispatcher {
public:
  explicit TPumpedSource(int frames) : TComponent(nullptr), pin_(this, *this), frames_(frames) {}
  ~TPumpedSource() override { pin_.Retire(); }

  TFCPMImageSourcePin& Pin() { return pin_; }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation&) override { return false; }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation& operation) override {
    if (!operation->Is<TPMMasterPumpOperation>()) return false;
    {
      std::lock_guard guard(mutex_);
      if (static_cast<int>(times_.size()) >= frames_) return true;
      times_.push_back(Clock::now());
      if (static_cast<int>(times_.size()) == frames_) done_.notify_all();
    }
    pin_.SendFrame(frame_);
    return true;
  }
  std::vector<Clock::time_point> WaitForAll() {
    std::unique_lock guard(mutex_);
    done_.wait(guard, [&] { return static_cast<int>(times_.size()) >= frames_; });
    return times_;
  }

private:
  TFCPMImageSourcePin pin_;
  int frames_;
  std::shared_ptr<const TFCImageBuffer> frame_ = std::make_shared<const TFCImageBuffer>(64, 48);
  std::mutex mutex_;
  std::condition_variable done_;
  std::vector<Clock::time_point> times_;
};

void ReportIntervals(benchmark::State& state, const std::vector<Clock::time_point>& times, double period) {
  std::vector<double> intervals;
  for (std::size_t i = 1; i < times.size(); ++i)
    intervals.push_back(std::chrono::duration<double>(times[i] - times[i - 1]).count());
  double mean = 0, variance = 0, worst = 0;
  for (double v : intervals) mean += v;
  mean /= static_cast<double>(intervals.size());
  for (double v : intervals) {
    variance += (v - mean) * (v - mean);
    worst = std::max(worst, std::abs(v - period));
  }
  const double drift =
      std::chrono::duration<double>(times.back() - times.front()).count() - period * static_cast<double>(intervals.size());
  state.counters["mean_ms"] = mean * 1e3;
  state.counters["jitter_ms"] = std::sqrt(variance / static_cast<double>(intervals.size())) * 1e3;
  state.counters["worst_ms"] = worst * 1e3;
  state.counters["drift_ms"] = drift * 1e3;
}

void BM_NullOutputPacing(benchmark::State& state) {
  const double rate = static_cast<double>(state.range(0));
  const int frames = static_cast<int>(state.range(1));
  for (auto _ : state) {
    TPumpedSource source(frames);
    TFCDSVideoOut out(nullptr);
    out.GetVideoOutputDevice()->SetDeviceName("Null Output");
    source.Pin().Connect(*out.GetInputPin());
    source.Pin().SendStartFrame(64, 48, rate, vfRGB24);
    const auto times = source.WaitForAll();
    source.Pin().SendStop();
    ReportIntervals(state, times, 1.0 / rate);
  }
}

// The pacing that re-arms from "now": each frame one period after the last
// one was done, so every late wake-up moves all later frames.
void BM_SleepPacing(benchmark::State& state) {
  const double rate = static_cast<double>(state.range(0));
  const int frames = static_cast<int>(state.range(1));
  const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
  for (auto _ : state) {
    std::vector<Clock::time_point> times;
    for (int i = 0; i < frames; ++i) {
      times.push_back(Clock::now());
      std::this_thread::sleep_for(period);
    }
    ReportIntervals(state, times, 1.0 / rate);
  }
}

BENCHMARK(BM_NullOutputPacing)->Args({25, 1000})->Args({60, 1000})->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_SleepPacing)->Args({25, 1000})->Args({60, 1000})->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace fc
