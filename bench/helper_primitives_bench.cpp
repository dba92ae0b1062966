// The helper primitives on 1920x1080 frames, single threaded, beside their
// nearest OpenCV operations and a memcpy of the frame's bytes. "framecraft"
// is the loop the processor class selects (AVX2 where available), "plain"
// the plain loop over the same bytes. OpenCV rounds and saturates by its own
// rules (its divide, for one, treats zero divisors and halves differently),
// so only the speeds compare. Rates count pixels; the absolute difference
// runs over a three-byte frame as one-byte rows of 5760 bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <opencv2/core.hpp>
#include <random>
#include <stdexcept>
#include <string>

#include "contracts/video/helper_primitives.h"
#include "contracts/video/helper_row_kernels.h"

namespace {

using namespace fc;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr IppiSize kRoi{kWidth, kHeight};
constexpr IppiSize kBytesRoi{kWidth * 3, kHeight};
constexpr std::size_t kPixels = static_cast<std::size_t>(kWidth) * kHeight;

cv::Mat randomFrame(int type, unsigned seed) {
  cv::Mat frame(kHeight, kWidth, type);
  std::mt19937 rng(seed);
  for (int y = 0; y < frame.rows; ++y)
    for (std::size_t x = 0; x < frame.cols * frame.elemSize(); ++x) frame.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  return frame;
}

/// The frames of every benchmark: two random three-byte sources, a
/// destination, a plane and a four-byte frame.
struct Frames {
  cv::Mat a = randomFrame(CV_8UC3, 1), b = randomFrame(CV_8UC3, 2), d = randomFrame(CV_8UC3, 3);
  cv::Mat plane = randomFrame(CV_8UC1, 4), four = randomFrame(CV_8UC4, 5);
  int step = static_cast<int>(a.step), fourStep = static_cast<int>(four.step);
  Frames() { cv::setNumThreads(1); }
};

Frames& frames() {
  static Frames f;
  return f;
}

/// Registers "<operation>/<implementation>": one whole frame per iteration.
void add(const std::string& operation, const char* implementation, std::function<void()> body) {
  benchmark::RegisterBenchmark((operation + "/" + implementation).c_str(), [body](benchmark::State& state) {
    for (auto _ : state) {
      body();
      benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kPixels));
  })->Unit(benchmark::kMillisecond);
}

/// Our call (which must succeed), the plain loop where there is one, the
/// OpenCV peer and a memcpy of the frame's three bytes per pixel.
void addOperation(const std::string& operation, std::function<IppStatus()> ours, std::function<void()> plain,
                  std::function<void()> opencv) {
  add(operation, "framecraft", [ours, operation] {
    if (ours() != ippStsNoErr) throw std::runtime_error(operation + " failed");
  });
  if (plain) add(operation, "plain", plain);
  add(operation, "opencv", opencv);
  add(operation, "memcpy", [] { std::memcpy(frames().d.data, frames().a.data, kPixels * 3); });
}

using Scaled = IppStatus (*)(const Ipp8u*, int, const Ipp8u*, int, Ipp8u*, int, IppiSize, int);
using TwoSource = IppStatus (*)(const Ipp8u*, int, const Ipp8u*, int, Ipp8u*, int, IppiSize);

/// The plain two-source loop over the frame's bytes (its rows are contiguous,
/// so the primitives walk them as one row too).
std::function<void()> plainBinary(helpers::BinaryRow helpers::HelperRowKernels::*row) {
  return [row] {
    Frames& f = frames();
    (helpers::plainRowKernels().*row)(f.a.data, f.b.data, f.d.data, kPixels * 3);
  };
}

void registerArithmetic() {
  Frames& f = frames();
  const auto scaled = [&f](Scaled fn) {
    return [&f, fn] { return fn(f.a.data, f.step, f.b.data, f.step, f.d.data, f.step, kRoi, 0); };
  };
  using K = helpers::HelperRowKernels;
  addOperation("Add_8u_C3RSfs", scaled(ippiAdd_8u_C3RSfs), plainBinary(&K::add), [&f] { cv::add(f.a, f.b, f.d); });
  addOperation("Sub_8u_C3RSfs", scaled(ippiSub_8u_C3RSfs), plainBinary(&K::sub), [&f] { cv::subtract(f.b, f.a, f.d); });
  addOperation("Mul_8u_C3RSfs", scaled(ippiMul_8u_C3RSfs), plainBinary(&K::mul), [&f] { cv::multiply(f.a, f.b, f.d); });
  addOperation("Div_8u_C3RSfs", scaled(ippiDiv_8u_C3RSfs), plainBinary(&K::div), [&f] { cv::divide(f.b, f.a, f.d); });
  addOperation(
      "AbsDiff_8u_C1R",
      [&f] { return ippiAbsDiff_8u_C1R(f.a.data, f.step, f.b.data, f.step, f.d.data, f.step, kBytesRoi); },
      plainBinary(&K::absDiff), [&f] { cv::absdiff(f.a, f.b, f.d); });
}

void registerLogic() {
  Frames& f = frames();
  const auto twoSource = [&f](TwoSource fn) {
    return [&f, fn] { return fn(f.a.data, f.step, f.b.data, f.step, f.d.data, f.step, kRoi); };
  };
  using K = helpers::HelperRowKernels;
  addOperation("Or_8u_C3R", twoSource(ippiOr_8u_C3R), plainBinary(&K::bitOr), [&f] { cv::bitwise_or(f.a, f.b, f.d); });
  addOperation("And_8u_C3R", twoSource(ippiAnd_8u_C3R), plainBinary(&K::bitAnd),
               [&f] { cv::bitwise_and(f.a, f.b, f.d); });
  addOperation("Xor_8u_C3R", twoSource(ippiXor_8u_C3R), plainBinary(&K::bitXor),
               [&f] { cv::bitwise_xor(f.a, f.b, f.d); });
  addOperation(
      "And_8u_C3IR", [&f] { return ippiAnd_8u_C3IR(f.a.data, f.step, f.d.data, f.step, kRoi); },
      [&f] { helpers::plainRowKernels().bitAnd(f.a.data, f.d.data, f.d.data, kPixels * 3); },
      [&f] { cv::bitwise_and(f.a, f.d, f.d); });
  addOperation(
      "Not_8u_C3IR", [&f] { return ippiNot_8u_C3IR(f.d.data, f.step, kRoi); },
      [&f] { helpers::plainRowKernels().bitNot(f.d.data, f.d.data, kPixels * 3); },
      [&f] { cv::bitwise_not(f.d, f.d); });
}

void registerChannels() {
  Frames& f = frames();
  static const Ipp8u value[3] = {10, 20, 30};
  static const int reversed[3] = {2, 1, 0};
  addOperation(
      "Set_8u_C3R", [&f] { return ippiSet_8u_C3R(value, f.d.data, f.step, kRoi); },
      [&f] { helpers::plainRowKernels().setC3(value, f.d.data, kPixels); },
      [&f] { f.d.setTo(cv::Scalar(10, 20, 30)); });
  addOperation(
      "SwapChannels_8u_C3R",
      [&f] { return ippiSwapChannels_8u_C3R(f.a.data, f.step, f.d.data, f.step, kRoi, reversed); },
      [&f] { helpers::plainRowKernels().swapC3(f.a.data, f.d.data, kPixels, reversed); },
      [&f] {
        static const int pairs[] = {0, 2, 1, 1, 2, 0};
        cv::mixChannels(&f.a, 1, &f.d, 1, pairs, 3);
      });
  addOperation(
      "SwapChannels_8u_C3IR", [&f] { return ippiSwapChannels_8u_C3IR(f.d.data, f.step, kRoi, reversed); },
      [&f] { helpers::plainRowKernels().swapC3(f.d.data, f.d.data, kPixels, reversed); },
      [&f] {
        static const int pairs[] = {0, 2, 1, 1, 2, 0};
        cv::mixChannels(&f.d, 1, &f.d, 1, pairs, 3);
      });
  addOperation(
      "Copy_8u_C1C3R", [&f] { return ippiCopy_8u_C1C3R(f.plane.data, kWidth, f.d.data + 1, f.step, kRoi); }, nullptr,
      [&f] {
        static const int pairs[] = {0, 1};
        cv::mixChannels(&f.plane, 1, &f.d, 1, pairs, 1);
      });
  addOperation(
      "Copy_8u_C3AC4R", [&f] { return ippiCopy_8u_C3AC4R(f.a.data, f.step, f.four.data, f.fourStep, kRoi); },
      [&f] { helpers::plainRowKernels().c3ToAc4(f.a.data, f.four.data, kPixels); },
      [&f] {
        static const int pairs[] = {0, 0, 1, 1, 2, 2};
        cv::mixChannels(&f.a, 1, &f.four, 1, pairs, 3);
      });
  addOperation(
      "Copy_8u_AC4C3R", [&f] { return ippiCopy_8u_AC4C3R(f.four.data, f.fourStep, f.d.data, f.step, kRoi); },
      [&f] { helpers::plainRowKernels().ac4ToC3(f.four.data, f.d.data, kPixels); },
      [&f] {
        static const int pairs[] = {0, 0, 1, 1, 2, 2};
        cv::mixChannels(&f.four, 1, &f.d, 1, pairs, 3);
      });
}

const bool registered = [] {
  registerArithmetic();
  registerLogic();
  registerChannels();
  return true;
}();

}  // namespace
