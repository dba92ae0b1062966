// Frames of 1920x1080 through the filter components, delivery and output
// frame included, beside the nearest OpenCV operation, single threaded.
// Each component filters the whole frame, with the border its mask needs.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>
#include <vector>

#include "components/Fcboxfilter.h"
#include "components/Fcfixedfilter.h"
#include "components/Fcmorphfilter.h"
#include "components/Fcwienerfilter.h"
#include "contracts/video/wiener_filter.h"
#include "dispatch/primitives.h"
#include "tests/support/component_harness.h"

namespace {

using namespace fc;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr std::int64_t kFramePixels = std::int64_t{kWidth} * kHeight;

cv::Mat RandomFrame() {
  cv::Mat frame(kHeight, kWidth, CV_8UC3);
  std::mt19937 rng(1);
  for (int y = 0; y < frame.rows; ++y)
    for (int x = 0; x < frame.cols * 3; ++x) frame.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  return frame;
}

// Pushes the random frame through `filter` (its output left unconnected).
void ThroughComponent(benchmark::State& state, TFCCommonFilter& filter) {
  const cv::Mat src = RandomFrame();
  TFCImageBuffer frame(kWidth, kHeight);
  std::memcpy(frame.Write(), src.data, frame.Size());
  test::TComponentHarness harness;
  harness.Feed(*filter.GetInputPin());
  harness.PushStart(kWidth, kHeight);
  for (auto _ : state) harness.PushFrame(frame);
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

template <class Operation> void OpenCv(benchmark::State& state, Operation operation) {
  cv::setNumThreads(1);
  const cv::Mat src = RandomFrame();
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    operation(src, dst);
    benchmark::DoNotOptimize(dst.data);
  }
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

// The primitive a component calls, on the frame inside the border its 5x5
// mask reads (the component also filters the edges, from bordered copies,
// so that it covers the whole frame).
template <class Call> void Primitive(benchmark::State& state, Call call) {
  const cv::Mat src = RandomFrame();
  cv::Mat dst(src.size(), src.type());
  const int step = static_cast<int>(src.step);
  const IppiSize inner{kWidth - 4, kHeight - 4};
  for (auto _ : state) {
    call(src.ptr(2, 2), step, dst.ptr(2, 2), step, inner);
    benchmark::DoNotOptimize(dst.data);
  }
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

constexpr IppiSize kMask5{5, 5};
constexpr IppiPoint kAnchor5{2, 2};

void BoxPrimitive(benchmark::State& state) {
  Primitive(state, [](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
    fc_entry(ippiFilterBox_8u_C3R)(s, ss, d, ds, size, kMask5, kAnchor5);
  });
}

void MedianPrimitive(benchmark::State& state) {
  Primitive(state, [](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
    fc_entry(ippiFilterMedian_8u_C3R)(s, ss, d, ds, size, kMask5, kAnchor5);
  });
}

void GaussPrimitive(benchmark::State& state) {
  Primitive(state, [](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
    fc_entry(ippiFilterGauss_8u_C3R)(s, ss, d, ds, size, ippMskSize5x5);
  });
}

constexpr Ipp8u kSquare5[25] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

void ErodePrimitive(benchmark::State& state) {
  Primitive(state, [](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
    fc_entry(ippiErode_8u_C3R)(s, ss, d, ds, size, kSquare5, kMask5, kAnchor5);
  });
}

void DilatePrimitive(benchmark::State& state) {
  Primitive(state, [](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize size) {
    fc_entry(ippiDilate_8u_C3R)(s, ss, d, ds, size, kSquare5, kMask5, kAnchor5);
  });
}

void SetMask(TFCCommonROIMatrixFilterIntermidiate& filter, int side) {
  filter.GetMaskSize()->SetWidth(static_cast<std::uint16_t>(side));
  filter.GetMaskSize()->SetHeight(static_cast<std::uint16_t>(side));
  filter.GetAnchor()->SetX(static_cast<std::uint16_t>(side / 2));
  filter.GetAnchor()->SetY(static_cast<std::uint16_t>(side / 2));
}

void BoxComponent(benchmark::State& state) {
  TFCBoxFilter box(nullptr);
  SetMask(box, 5);
  ThroughComponent(state, box);
}

void BoxOpenCv(benchmark::State& state) {
  OpenCv(state, [](const cv::Mat& src, cv::Mat& dst) { cv::blur(src, dst, {5, 5}); });
}

void MedianComponent(benchmark::State& state) {
  TFCBoxFilter median(nullptr);
  median.SetFilterMode(bfmMedian);
  SetMask(median, 5);
  ThroughComponent(state, median);
}

void MedianOpenCv(benchmark::State& state) {
  OpenCv(state, [](const cv::Mat& src, cv::Mat& dst) { cv::medianBlur(src, dst, 5); });
}

void GaussComponent(benchmark::State& state) {
  TFCFixedFilter gauss(nullptr);
  gauss.SetFilterType(ftGauss);
  gauss.SetMaskSize(fms5x5);
  ThroughComponent(state, gauss);
}

void GaussOpenCv(benchmark::State& state) {
  OpenCv(state, [](const cv::Mat& src, cv::Mat& dst) { cv::GaussianBlur(src, dst, {5, 5}, 0); });
}

void MorphComponent(benchmark::State& state, TFCMorphType type) {
  TFCMorphFilter morph(nullptr);
  morph.SetMorphType(type);
  SetMask(morph, 5);
  ThroughComponent(state, morph);
}

void ErodeComponent(benchmark::State& state) { MorphComponent(state, mtErode); }
void DilateComponent(benchmark::State& state) { MorphComponent(state, mtDilate); }

void ErodeOpenCv(benchmark::State& state) {
  const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, {5, 5});
  OpenCv(state, [&](const cv::Mat& src, cv::Mat& dst) { cv::erode(src, dst, kernel); });
}

void DilateOpenCv(benchmark::State& state) {
  const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, {5, 5});
  OpenCv(state, [&](const cv::Mat& src, cv::Mat& dst) { cv::dilate(src, dst, kernel); });
}

// OpenCV has no adaptive Wiener filter; its nearest work is the local mean
// and the local mean of squares over the same mask.
void WienerComponent(benchmark::State& state) {
  TFCWienerFilter wiener(nullptr);
  SetMask(wiener, 5);
  wiener.GetNoiseLevels()->SetLevel1(0.01f);
  wiener.GetNoiseLevels()->SetLevel2(0.01f);
  wiener.GetNoiseLevels()->SetLevel3(0.01f);
  ThroughComponent(state, wiener);
}

void WienerPrimitive(benchmark::State& state) {
  int size = 0;
  ippiFilterWienerGetBufferSize({kWidth - 4, kHeight - 4}, kMask5, 3, &size);
  std::vector<Ipp8u> scratch(static_cast<std::size_t>(size));
  Primitive(state, [&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize inner) {
    const Ipp32f noise[3] = {0.01f, 0.01f, 0.01f};
    ippiFilterWiener_8u_C3R(s, ss, d, ds, inner, kMask5, kAnchor5, noise, scratch.data());
  });
}

void WienerOpenCv(benchmark::State& state) {
  cv::Mat wide, squares, mean, meanOfSquares;
  OpenCv(state, [&](const cv::Mat& src, cv::Mat& dst) {
    src.convertTo(wide, CV_32F);
    cv::multiply(wide, wide, squares);
    cv::blur(wide, mean, {5, 5});
    cv::blur(squares, meanOfSquares, {5, 5});
    mean.convertTo(dst, CV_8U);
  });
}

int RegisterAll() {
  benchmark::RegisterBenchmark("box_component_5x5/framecraft", BoxComponent);
  benchmark::RegisterBenchmark("box_component_5x5/opencv", BoxOpenCv);
  benchmark::RegisterBenchmark("box_component_5x5/primitive", BoxPrimitive);
  benchmark::RegisterBenchmark("median_component_5x5/framecraft", MedianComponent);
  benchmark::RegisterBenchmark("median_component_5x5/opencv", MedianOpenCv);
  benchmark::RegisterBenchmark("median_component_5x5/primitive", MedianPrimitive);
  benchmark::RegisterBenchmark("gauss_component_5x5/framecraft", GaussComponent);
  benchmark::RegisterBenchmark("gauss_component_5x5/opencv", GaussOpenCv);
  benchmark::RegisterBenchmark("gauss_component_5x5/primitive", GaussPrimitive);
  benchmark::RegisterBenchmark("erode_component_5x5/framecraft", ErodeComponent);
  benchmark::RegisterBenchmark("erode_component_5x5/opencv", ErodeOpenCv);
  benchmark::RegisterBenchmark("erode_component_5x5/primitive", ErodePrimitive);
  benchmark::RegisterBenchmark("dilate_component_5x5/framecraft", DilateComponent);
  benchmark::RegisterBenchmark("dilate_component_5x5/opencv", DilateOpenCv);
  benchmark::RegisterBenchmark("dilate_component_5x5/primitive", DilatePrimitive);
  benchmark::RegisterBenchmark("wiener_component_5x5/framecraft", WienerComponent);
  benchmark::RegisterBenchmark("wiener_component_5x5/opencv", WienerOpenCv);
  benchmark::RegisterBenchmark("wiener_component_5x5/primitive", WienerPrimitive);
  return 0;
}

const int registered = RegisterAll();

}  // namespace
