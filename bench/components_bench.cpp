// Frames of 1920x1080 through the first components, delivery and output
// frame included, beside the nearest OpenCV operation, single threaded.
// Rates count the pixels each operation writes.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>

#include "components/Fccrop.h"
#include "components/Fcgammafilter.h"
#include "components/Fcmirror.h"
#include "components/Fcthreshold.h"
#include "contracts/video/helper_primitives.h"
#include "dispatch/primitives.h"
#include "tests/support/component_harness.h"

namespace {

using namespace fc;

constexpr int kWidth = 1920, kHeight = 1080;

cv::Mat RandomFrame() {
  cv::Mat frame(kHeight, kWidth, CV_8UC3);
  std::mt19937 rng(1);
  for (int y = 0; y < frame.rows; ++y)
    for (int x = 0; x < frame.cols * 3; ++x) frame.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  return frame;
}

// Pushes the random frame through `filter` (its output left unconnected).
void ThroughComponent(benchmark::State& state, TFCCommonFilter& filter, std::int64_t pixelsWritten) {
  const cv::Mat src = RandomFrame();
  TFCImageBuffer frame(kWidth, kHeight);
  std::memcpy(frame.Write(), src.data, frame.Size());
  test::TComponentHarness harness;
  harness.Feed(*filter.GetInputPin());
  harness.PushStart(kWidth, kHeight);
  for (auto _ : state) harness.PushFrame(frame);
  state.SetItemsProcessed(state.iterations() * pixelsWritten);
}

constexpr std::int64_t kFramePixels = std::int64_t{kWidth} * kHeight;
const cv::Rect kCropRect(480, 270, 960, 540);

void GammaComponent(benchmark::State& state) {
  TFCGammaFilter gamma(nullptr);
  ThroughComponent(state, gamma, kFramePixels);
}

void GammaOpenCv(benchmark::State& state) {
  cv::Mat ramp(1, 256, CV_8UC3), table(1, 256, CV_8UC3);
  for (int i = 0; i < 256 * 3; ++i) ramp.data[i] = static_cast<Ipp8u>(i / 3);
  fc_entry(ippiGammaFwd_8u_C3R)(ramp.data, 256 * 3, table.data, 256 * 3, {256, 1});
  const cv::Mat src = RandomFrame();
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    cv::LUT(src, table, dst);
    benchmark::DoNotOptimize(dst.data);
  }
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

// The primitive a component calls, on the random frame into a frame of
// the same size, `pixelsWritten` pixels per call.
template <class Call> void Primitive(benchmark::State& state, std::int64_t pixelsWritten, Call call) {
  const cv::Mat src = RandomFrame();
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    call(src.data, static_cast<int>(src.step), dst.data, static_cast<int>(dst.step));
    benchmark::DoNotOptimize(dst.data);
  }
  state.SetItemsProcessed(state.iterations() * pixelsWritten);
}

void GammaPrimitive(benchmark::State& state) {
  Primitive(state, kFramePixels, [](const Ipp8u* s, int ss, Ipp8u* d, int ds) {
    fc_entry(ippiGammaFwd_8u_C3R)(s, ss, d, ds, {kWidth, kHeight});
  });
}

void MirrorComponent(benchmark::State& state) {
  TFCMirror mirror(nullptr);
  mirror.SetMirrorType(mtBoth);
  ThroughComponent(state, mirror, kFramePixels);
}

void MirrorOpenCv(benchmark::State& state) {
  const cv::Mat src = RandomFrame();
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    cv::flip(src, dst, -1);
    benchmark::DoNotOptimize(dst.data);
  }
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

void MirrorPrimitive(benchmark::State& state) {
  Primitive(state, kFramePixels, [](const Ipp8u* s, int ss, Ipp8u* d, int ds) {
    ippiMirror_8u_C3R(s, ss, d, ds, {kWidth, kHeight}, ippAxsBoth);
  });
}

void ThresholdComponent(benchmark::State& state) {
  TFCThreshold threshold(nullptr);  // channels above 128 become 0
  ThroughComponent(state, threshold, kFramePixels);
}

void ThresholdOpenCv(benchmark::State& state) {
  const cv::Mat src = RandomFrame();
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    cv::threshold(src, dst, 128, 255, cv::THRESH_TOZERO_INV);
    benchmark::DoNotOptimize(dst.data);
  }
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

void ThresholdPrimitive(benchmark::State& state) {
  Primitive(state, kFramePixels, [](const Ipp8u* s, int ss, Ipp8u* d, int ds) {
    // Both thresholds of a new component: below 0 (never) and above 128.
    const Ipp8u bottom[3] = {0, 0, 0}, top[3] = {128, 128, 128}, value[3] = {0, 0, 0};
    fc_entry(ippiThreshold_LTValGTVal_8u_C3R)(s, ss, d, ds, {kWidth, kHeight}, bottom, value, top, value);
  });
}

void CropComponent(benchmark::State& state) {
  TFCCrop crop(nullptr);
  TFCRectRegion* region = crop.GetRegion();
  region->SetX(kCropRect.x);
  region->SetY(kCropRect.y);
  region->SetWidth(kCropRect.width);
  region->SetHeight(kCropRect.height);
  ThroughComponent(state, crop, std::int64_t{kCropRect.width} * kCropRect.height);
}

void CropOpenCv(benchmark::State& state) {
  const cv::Mat src = RandomFrame();
  for (auto _ : state) {
    cv::Mat dst;
    src(kCropRect).copyTo(dst);
    benchmark::DoNotOptimize(dst.data);
  }
  state.SetItemsProcessed(state.iterations() * kCropRect.width * kCropRect.height);
}

void CropPrimitive(benchmark::State& state) {
  Primitive(state, std::int64_t{kCropRect.width} * kCropRect.height, [](const Ipp8u* s, int ss, Ipp8u* d, int ds) {
    ippiCopy_8u_C3R(s + kCropRect.y * ss + kCropRect.x * 3, ss, d, ds, {kCropRect.width, kCropRect.height});
  });
}

int RegisterAll() {
  cv::setNumThreads(1);
  benchmark::RegisterBenchmark("gamma_component/framecraft", GammaComponent);
  benchmark::RegisterBenchmark("gamma_component/opencv", GammaOpenCv);
  benchmark::RegisterBenchmark("gamma_component/primitive", GammaPrimitive);
  benchmark::RegisterBenchmark("mirror_component_both/framecraft", MirrorComponent);
  benchmark::RegisterBenchmark("mirror_component_both/opencv", MirrorOpenCv);
  benchmark::RegisterBenchmark("mirror_component_both/primitive", MirrorPrimitive);
  benchmark::RegisterBenchmark("threshold_component/framecraft", ThresholdComponent);
  benchmark::RegisterBenchmark("threshold_component/opencv", ThresholdOpenCv);
  benchmark::RegisterBenchmark("threshold_component/primitive", ThresholdPrimitive);
  benchmark::RegisterBenchmark("crop_component/framecraft", CropComponent);
  benchmark::RegisterBenchmark("crop_component/opencv", CropOpenCv);
  benchmark::RegisterBenchmark("crop_component/primitive", CropPrimitive);
  return 0;
}

const int registered = RegisterAll();

}  // namespace
