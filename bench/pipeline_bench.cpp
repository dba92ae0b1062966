// The example demo pipeline (gamma, channel twist, mirror, crop, uniform
// noise, grey scale) on 1920x1080 frames, three ways in one binary: through
// the components, as the same chain of primitive calls on buffers allocated
// once, and as the nearest chain of OpenCV calls on preallocated matrices.
// The first against the second is the framework's own cost per frame
// (delivery, frames, locks, copies); single threaded.
//
// Also a resize (to 1280x720, linear), 5x5 box filter and 30-degree rotation
// (linear) chain the same three ways.
//
// The crop keeps a 1600x900 region, so the stages after it still work on a
// large frame (the demo form crops a 256x192 pattern to 192x160).
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>

#include "components/Fcboxfilter.h"
#include "components/Fccolortwist.h"
#include "components/Fccrop.h"
#include "components/Fcgammafilter.h"
#include "components/Fcgrayscale.h"
#include "components/Fcmirror.h"
#include "components/Fcresize.h"
#include "components/Fcrotate.h"
#include "components/Fcuniformnoise.h"
#include "contracts/video/helper_primitives.h"
#include "contracts/video/pixel_conversions.h"
#include "dispatch/primitives.h"
#include "tests/support/component_harness.h"

namespace {

using namespace fc;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr TFCImageRect kCrop{160, 90, 1600, 900};
constexpr std::uint8_t kNoiseHigh = 24;
// The demo's channel twist: red from blue, half the green plus 64, blue from red.
constexpr Ipp32f kTwist[3][4] = {{0, 0, 1, 0}, {0, 0.5f, 0, 64}, {1, 0, 0, 0}};

cv::Mat Pattern() {
  cv::Mat frame(kHeight, kWidth, CV_8UC3);
  fc_entry(ippiImageJaehne_8u_C3R)(frame.data, static_cast<int>(frame.step), {kWidth, kHeight});
  return frame;
}

void CountPixels(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * kWidth * kHeight); }

/// The components, connected output to input, fed by the harness.
struct DemoChain {
  TFCGammaFilter gamma{nullptr};
  TFCColorTwist twist{nullptr};
  TFCMirror mirror{nullptr};
  TFCCrop crop{nullptr};
  TFCUniformNoise noise{nullptr};
  TFCGrayScale grey{nullptr};
  test::TComponentHarness harness;

  DemoChain() {
    gamma.SetGammaType(gtInverse);
    TFCColorTwists& twists = *twist.GetColorTwists();
    TFCColorChannelTwist* channels[3] = {twists.GetBlueTwist(), twists.GetGreenTwist(), twists.GetRedTwist()};
    for (int c = 0; c < 3; ++c) {
      channels[c]->SetBlue(kTwist[c][0]);
      channels[c]->SetGreen(kTwist[c][1]);
      channels[c]->SetRed(kTwist[c][2]);
      channels[c]->SetOffset(kTwist[c][3]);
    }
    mirror.SetMirrorType(mtVertical);
    TFCRectRegion& region = *crop.GetRegion();
    region.SetX(kCrop.x);
    region.SetY(kCrop.y);
    region.SetWidth(kCrop.width);
    region.SetHeight(kCrop.height);
    noise.SetHigh(kNoiseHigh);
    harness.Feed(*gamma.GetInputPin());
    gamma.GetOutputPin()->Connect(*twist.GetInputPin());
    twist.GetOutputPin()->Connect(*mirror.GetInputPin());
    mirror.GetOutputPin()->Connect(*crop.GetInputPin());
    crop.GetOutputPin()->Connect(*noise.GetInputPin());
    noise.GetOutputPin()->Connect(*grey.GetInputPin());
    harness.PushStart(kWidth, kHeight);
  }
};

void DemoComponents(benchmark::State& state) {
  const cv::Mat pattern = Pattern();
  TFCImageBuffer frame(kWidth, kHeight);
  std::memcpy(frame.Overwrite(), pattern.data, frame.Size());
  DemoChain chain;
  for (auto _ : state) chain.harness.PushFrame(frame);
  CountPixels(state);
}

void DemoPrimitives(benchmark::State& state) {
  const cv::Mat pattern = Pattern();
  cv::Mat gamma(pattern.size(), CV_8UC3), twist(pattern.size(), CV_8UC3), mirror(pattern.size(), CV_8UC3);
  cv::Mat crop(kCrop.height, kCrop.width, CV_8UC3), grey(kCrop.height, kCrop.width, CV_8UC1);
  const IppiSize whole{kWidth, kHeight}, part{kCrop.width, kCrop.height};
  const auto step = [](const cv::Mat& m) { return static_cast<int>(m.step); };
  unsigned int seed = 0;
  for (auto _ : state) {
    fc_entry(ippiGammaInv_8u_C3R)(pattern.data, step(pattern), gamma.data, step(gamma), whole);
    fc_entry(ippiColorTwist32f_8u_C3R)(gamma.data, step(gamma), twist.data, step(twist), whole, kTwist);
    ippiMirror_8u_C3R(twist.data, step(twist), mirror.data, step(mirror), whole, ippAxsVertical);
    ippiCopy_8u_C3R(mirror.ptr(kCrop.y, kCrop.x), step(mirror), crop.data, step(crop), part);
    fc_entry(ippiAddRandUniform_Direct_8u_C3IR)(crop.data, step(crop), part, 0, kNoiseHigh, &seed);
    for (int y = 0; y < crop.rows; ++y) pixels::Bgr24ToGray8(crop.ptr(y), grey.ptr(y), crop.cols);
    benchmark::DoNotOptimize(grey.data);
  }
  CountPixels(state);
}

void DemoOpenCv(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat pattern = Pattern();
  cv::Mat lut(1, 256, CV_8UC1);
  for (int i = 0; i < 256; ++i) lut.at<Ipp8u>(i) = cv::saturate_cast<Ipp8u>(255.0 * std::pow(i / 255.0, 1 / 0.45));
  cv::Mat twistMatrix(3, 4, CV_32F);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) twistMatrix.at<float>(r, c) = kTwist[r][c];
  cv::Mat gamma, twist, mirror, crop(kCrop.height, kCrop.width, CV_8UC3), noise(crop.size(), CV_8UC3), grey;
  const cv::Rect region(kCrop.x, kCrop.y, kCrop.width, kCrop.height);
  for (auto _ : state) {
    cv::LUT(pattern, lut, gamma);
    cv::transform(gamma, twist, twistMatrix);
    cv::flip(twist, mirror, 0);
    mirror(region).copyTo(crop);
    cv::randu(noise, 0, kNoiseHigh + 1);
    cv::add(crop, noise, crop);
    cv::cvtColor(crop, grey, cv::COLOR_BGR2GRAY);
    benchmark::DoNotOptimize(grey.data);
  }
  CountPixels(state);
}

constexpr int kSmallWidth = 1280, kSmallHeight = 720, kBox = 5;
constexpr double kAngle = 30.0;

struct ResizeBoxRotateChain {
  TFCResize resize{nullptr};
  TFCBoxFilter box{nullptr};
  TFCRotate rotate{nullptr};
  test::TComponentHarness harness;

  ResizeBoxRotateChain() {
    resize.GetOutputSize()->SetWidth(kSmallWidth);
    resize.GetOutputSize()->SetHeight(kSmallHeight);
    box.GetMaskSize()->SetWidth(kBox);
    box.GetMaskSize()->SetHeight(kBox);
    box.GetAnchor()->SetX(kBox / 2);
    box.GetAnchor()->SetY(kBox / 2);
    rotate.SetAngle(kAngle);
    rotate.GetOutputSize()->SetWidth(kSmallWidth);
    rotate.GetOutputSize()->SetHeight(kSmallHeight);
    harness.Feed(*resize.GetInputPin());
    resize.GetOutputPin()->Connect(*box.GetInputPin());
    box.GetOutputPin()->Connect(*rotate.GetInputPin());
    harness.PushStart(kWidth, kHeight);
  }
};

cv::Mat Noise() {
  cv::Mat frame(kHeight, kWidth, CV_8UC3);
  cv::randu(frame, 0, 256);
  return frame;
}

void ChainComponents(benchmark::State& state) {
  const cv::Mat noise = Noise();
  TFCImageBuffer frame(kWidth, kHeight);
  std::memcpy(frame.Overwrite(), noise.data, frame.Size());
  ResizeBoxRotateChain chain;
  chain.harness.Collect(*chain.rotate.GetOutputPin());
  for (auto _ : state) {
    chain.harness.ClearReceived();
    chain.harness.PushFrame(frame);
  }
  const auto frames = chain.harness.Frames();
  if (frames.size() != 1 || frames.back()->Width() != kSmallWidth) state.SkipWithError("no frame of the chain's size");
  if (chain.resize.ErrorCount() + chain.box.ErrorCount() + chain.rotate.ErrorCount() != 0)
    state.SkipWithError("a component reported a failure");
  CountPixels(state);
}

// The box filter runs on the frame inside its 2-pixel border: the component
// also filters the edges, from bordered copies of them, so that it covers
// the whole frame.
void ChainPrimitives(benchmark::State& state) {
  const cv::Mat noise = Noise();
  cv::Mat small(kSmallHeight, kSmallWidth, CV_8UC3), boxed(small.size(), CV_8UC3), turned(small.size(), CV_8UC3);
  const auto step = [](const cv::Mat& m) { return static_cast<int>(m.step); };
  const int edge = kBox / 2;
  double xShift = 0, yShift = 0;
  fc_entry(ippiGetRotateShift)(kSmallWidth / 2, kSmallHeight / 2, kAngle, &xShift, &yShift);
  const TFCImageRect smallRect{0, 0, kSmallWidth, kSmallHeight};
  for (auto _ : state) {
    fc_entry(ippiResize_8u_C3R)(noise.data, {kWidth, kHeight}, step(noise), {0, 0, kWidth, kHeight}, small.data,
                                step(small), {kSmallWidth, kSmallHeight}, double(kSmallWidth) / kWidth,
                                double(kSmallHeight) / kHeight, IPPI_INTER_LINEAR);
    fc_entry(ippiFilterBox_8u_C3R)(small.ptr(edge, edge), step(small), boxed.ptr(edge, edge), step(boxed),
                                   {kSmallWidth - 2 * edge, kSmallHeight - 2 * edge}, {kBox, kBox}, {edge, edge});
    fc_entry(ippiRotate_8u_C3R)(boxed.data, {kSmallWidth, kSmallHeight}, step(boxed), smallRect, turned.data,
                                step(turned), smallRect, kAngle, xShift, yShift, IPPI_INTER_LINEAR);
    benchmark::DoNotOptimize(turned.data);
  }
  CountPixels(state);
}

void ChainOpenCv(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat noise = Noise();
  cv::Mat small(kSmallHeight, kSmallWidth, CV_8UC3), boxed(small.size(), CV_8UC3), turned(small.size(), CV_8UC3);
  const cv::Mat turn = cv::getRotationMatrix2D({kSmallWidth / 2.0f, kSmallHeight / 2.0f}, kAngle, 1.0);
  for (auto _ : state) {
    cv::resize(noise, small, small.size(), 0, 0, cv::INTER_LINEAR);
    cv::blur(small, boxed, {kBox, kBox});
    cv::warpAffine(boxed, turned, turn, turned.size(), cv::INTER_LINEAR);
    benchmark::DoNotOptimize(turned.data);
  }
  CountPixels(state);
}

int RegisterAll() {
  benchmark::RegisterBenchmark("demo_pipeline/framecraft", DemoComponents)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("demo_pipeline/primitives", DemoPrimitives)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("demo_pipeline/opencv", DemoOpenCv)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("resize_box_rotate/framecraft", ChainComponents)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("resize_box_rotate/primitives", ChainPrimitives)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("resize_box_rotate/opencv", ChainOpenCv)->Unit(benchmark::kMillisecond);
  return 0;
}

const int registered = RegisterAll();

}  // namespace
