// Resize from 1920x1080 to 1280x720 and back up, three and one channel, in
// each interpolation mode, beside OpenCV's resize and swscale with the
// nearest corresponding filter, single threaded. Rates count output pixels.
// Supersampling only reduces, so it has no enlarging benchmark of its own.
extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <random>
#include <string>

#include "dispatch/primitives.h"

namespace {

struct Mode {
  const char* name;
  int framecraft;
  int opencv;
  int swscale;
};

constexpr Mode kModes[] = {
    {"nearest", IPPI_INTER_NN, cv::INTER_NEAREST, SWS_POINT},
    {"linear", IPPI_INTER_LINEAR, cv::INTER_LINEAR, SWS_BILINEAR},
    {"cubic", IPPI_INTER_CUBIC, cv::INTER_CUBIC, SWS_BICUBIC},
    {"super", IPPI_INTER_SUPER, cv::INTER_AREA, SWS_AREA},
    {"lanczos", IPPI_INTER_LANCZOS, cv::INTER_LANCZOS4, SWS_LANCZOS},
};

struct Scaling {
  const char* name;
  cv::Size from;
  cv::Size to;
};

const Scaling kScalings[] = {
    {"down", {1920, 1080}, {1280, 720}},
    {"up", {1280, 720}, {1920, 1080}},
};

cv::Mat randomFrame(cv::Size size, int channels) {
  cv::Mat frame(size, channels == 3 ? CV_8UC3 : CV_8UC1);
  std::mt19937 rng(1);
  for (int y = 0; y < frame.rows; ++y)
    for (int x = 0; x < frame.cols * channels; ++x) frame.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  return frame;
}

void countOutput(benchmark::State& state, cv::Size to) {
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(to.area()));
}

void runFramecraft(benchmark::State& state, const Scaling& s, int channels, int mode) {
  const cv::Mat source = randomFrame(s.from, channels);
  cv::Mat destination(s.to, source.type());
  auto* resize = channels == 3 ? fc_entry(ippiResize_8u_C3R) : fc_entry(ippiResize_8u_C1R);
  const double xFactor = static_cast<double>(s.to.width) / s.from.width;
  const double yFactor = static_cast<double>(s.to.height) / s.from.height;
  for (auto _ : state) {
    const IppStatus status = resize(source.ptr<Ipp8u>(), {s.from.width, s.from.height},
                                    static_cast<int>(source.step), {0, 0, s.from.width, s.from.height},
                                    destination.ptr<Ipp8u>(), static_cast<int>(destination.step),
                                    {s.to.width, s.to.height}, xFactor, yFactor, mode);
    if (status != ippStsNoErr) state.SkipWithError("resize failed");
    benchmark::DoNotOptimize(destination.data);
  }
  countOutput(state, s.to);
}

void runOpenCv(benchmark::State& state, const Scaling& s, int channels, int mode) {
  const cv::Mat source = randomFrame(s.from, channels);
  cv::Mat destination(s.to, source.type());
  for (auto _ : state) {
    cv::resize(source, destination, s.to, 0, 0, mode);
    benchmark::DoNotOptimize(destination.data);
  }
  countOutput(state, s.to);
}

/// swscale scales on the calling thread unless asked for more threads.
SwsContext* singleThreadedScaler(const Scaling& s, AVPixelFormat format, int flags) {
  return sws_getContext(s.from.width, s.from.height, format, s.to.width, s.to.height, format, flags,
                        nullptr, nullptr, nullptr);
}

void runSwscale(benchmark::State& state, const Scaling& s, int channels, int flags) {
  const cv::Mat source = randomFrame(s.from, channels);
  cv::Mat destination(s.to, source.type());
  SwsContext* scaler =
      singleThreadedScaler(s, channels == 3 ? AV_PIX_FMT_BGR24 : AV_PIX_FMT_GRAY8, flags);
  if (scaler == nullptr) {
    state.SkipWithError("no swscale context");
    return;
  }
  const uint8_t* sourcePlanes[1] = {source.ptr<uint8_t>()};
  const int sourceSteps[1] = {static_cast<int>(source.step)};
  uint8_t* destinationPlanes[1] = {destination.ptr<uint8_t>()};
  const int destinationSteps[1] = {static_cast<int>(destination.step)};
  for (auto _ : state) {
    sws_scale(scaler, sourcePlanes, sourceSteps, 0, s.from.height, destinationPlanes,
              destinationSteps);
    benchmark::DoNotOptimize(destination.data);
  }
  sws_freeContext(scaler);
  countOutput(state, s.to);
}

int registerAll() {
  cv::setNumThreads(1);
  for (const Scaling& s : kScalings)
    for (int channels : {3, 1})
      for (const Mode& m : kModes) {
        if (m.framecraft == IPPI_INTER_SUPER && s.to.width > s.from.width) continue;
        const std::string operation =
            std::string("resize_") + s.name + "_c" + std::to_string(channels) + "_" + m.name;
        benchmark::RegisterBenchmark((operation + "/framecraft").c_str(), runFramecraft, s,
                                     channels, m.framecraft);
        benchmark::RegisterBenchmark((operation + "/opencv").c_str(), runOpenCv, s, channels,
                                     m.opencv);
        benchmark::RegisterBenchmark((operation + "/swscale").c_str(), runSwscale, s, channels,
                                     m.swscale);
      }
  return 0;
}

const int registered = registerAll();

}  // namespace
