// The framework's own pixel work on 1920x1080 frames beside its nearest
// peers, single threaded: the copy and mirror helpers, the frame's grey
// conversion, and a frame passing through a filter component (delivery,
// copy-on-write detach and an inversion). Rates count pixels.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>

#include "contracts/video/common_filter.h"
#include "contracts/video/helper_primitives.h"

namespace {

using namespace fc;

constexpr int kWidth = 1920, kHeight = 1080;

cv::Mat RandomFrame(int channels) {
  cv::Mat frame(kHeight, kWidth, channels == 3 ? CV_8UC3 : CV_8UC1);
  std::mt19937 rng(1);
  for (int y = 0; y < frame.rows; ++y)
    for (int x = 0; x < frame.cols * channels; ++x) frame.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  return frame;
}

void CountPixels(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kWidth) * kHeight);
}

void CopyFramecraft(benchmark::State& state) {
  const cv::Mat src = RandomFrame(3);
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    ippiCopy_8u_C3R(src.data, static_cast<int>(src.step), dst.data, static_cast<int>(dst.step), {kWidth, kHeight});
    benchmark::DoNotOptimize(dst.data);
  }
  CountPixels(state);
}

void CopyMemcpy(benchmark::State& state) {
  const cv::Mat src = RandomFrame(3);
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    std::memcpy(dst.data, src.data, src.total() * src.elemSize());
    benchmark::DoNotOptimize(dst.data);
  }
  CountPixels(state);
}

void MirrorFramecraft(benchmark::State& state, int channels, IppiAxis axis) {
  const cv::Mat src = RandomFrame(channels);
  cv::Mat dst(src.size(), src.type());
  auto mirror = channels == 3 ? ippiMirror_8u_C3R : ippiMirror_8u_C1R;
  for (auto _ : state) {
    mirror(src.data, static_cast<int>(src.step), dst.data, static_cast<int>(dst.step), {kWidth, kHeight}, axis);
    benchmark::DoNotOptimize(dst.data);
  }
  CountPixels(state);
}

// cv::flip codes: 0 about the horizontal axis, 1 the vertical, -1 both.
void MirrorOpenCv(benchmark::State& state, int channels, int code) {
  const cv::Mat src = RandomFrame(channels);
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    cv::flip(src, dst, code);
    benchmark::DoNotOptimize(dst.data);
  }
  CountPixels(state);
}

void GreyFramecraft(benchmark::State& state) {
  const cv::Mat src = RandomFrame(3);
  TFCImageBuffer frame(kWidth, kHeight);
  std::memcpy(frame.Write(), src.data, frame.Size());
  for (auto _ : state) {
    TFCImageBuffer grey(frame);
    grey.ConvertTo(vfGray8);
    benchmark::DoNotOptimize(grey.Read());
  }
  CountPixels(state);
}

void GreyOpenCv(benchmark::State& state) {
  const cv::Mat src = RandomFrame(3);
  for (auto _ : state) {
    cv::Mat grey;
    cv::cvtColor(src, grey, cv::COLOR_BGR2GRAY);
    benchmark::DoNotOptimize(grey.data);
  }
  CountPixels(state);
}

class TInvert : public TFCCommonFilter {
public:
  using TFCCommonFilter::TFCCommonFilter;

protected:
  void FilterInternalOperation(const TFCImageBuffer&, IFCImageBuffer& out) override {
    Ipp8u* p = out->Modify();
    const std::size_t size = out->Size();
    for (std::size_t i = 0; i < size; ++i) p[i] = static_cast<Ipp8u>(~p[i]);
  }
};

// Sends frames into an inverting filter whose output goes nowhere.
class TFeeder : public TComponent, public IPMPinDispatcher {
public:
  TFeeder() : TComponent(nullptr), output(this, *this) {}
  bool SinkDispatch(TPMSinkPin&, const TPMOperation&) override { return false; }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }
  TFCPMImageSourcePin output;
};

void FilterFramecraft(benchmark::State& state) {
  const cv::Mat src = RandomFrame(3);
  auto frame = std::make_shared<TFCImageBuffer>(kWidth, kHeight);
  std::memcpy(frame->Write(), src.data, frame->Size());
  TFeeder feeder;
  TInvert filter(nullptr);
  feeder.output.Connect(*filter.GetInputPin());
  for (auto _ : state) feeder.output.SendFrame(frame);
  CountPixels(state);
}

void FilterOpenCv(benchmark::State& state) {
  const cv::Mat src = RandomFrame(3);
  for (auto _ : state) {
    cv::Mat dst;
    cv::bitwise_not(src, dst);
    benchmark::DoNotOptimize(dst.data);
  }
  CountPixels(state);
}

int RegisterAll() {
  cv::setNumThreads(1);
  benchmark::RegisterBenchmark("copy_c3/framecraft", CopyFramecraft);
  benchmark::RegisterBenchmark("copy_c3/memcpy", CopyMemcpy);
  struct Axis {
    const char* name;
    IppiAxis axis;
    int code;
  };
  for (int channels : {3, 1})
    for (Axis a : {Axis{"horizontal", ippAxsHorizontal, 0}, Axis{"vertical", ippAxsVertical, 1},
                   Axis{"both", ippAxsBoth, -1}}) {
      const std::string operation = "mirror_c" + std::to_string(channels) + "_" + a.name;
      benchmark::RegisterBenchmark((operation + "/framecraft").c_str(), MirrorFramecraft, channels, a.axis);
      benchmark::RegisterBenchmark((operation + "/opencv").c_str(), MirrorOpenCv, channels, a.code);
    }
  benchmark::RegisterBenchmark("frame_to_grey/framecraft", GreyFramecraft);
  benchmark::RegisterBenchmark("frame_to_grey/opencv", GreyOpenCv);
  benchmark::RegisterBenchmark("invert_through_filter/framecraft", FilterFramecraft);
  benchmark::RegisterBenchmark("invert_through_filter/opencv", FilterOpenCv);
  return 0;
}

const int registered = RegisterAll();

}  // namespace
