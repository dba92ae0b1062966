// Lanczos resizing against a plain evaluation of its kernel: per destination
// pixel, six weights per axis from the tabulated window, the border
// replicated, a float horizontal pass and a rounded vertical one.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "tests/primitives/geometry/resize_call.h"

namespace fc::test {
namespace {

// The window L(x) = sinc(x) sinc(x / 3) at x = k / 100, in single precision.
std::vector<float> windowTable() {
  std::vector<float> table(302, 0.0f);  // one spare entry past 3.0 for the interpolation
  table[0] = 1.0f;
  for (int k = 1; k <= 300; ++k) {
    const double x = k / 100.0, pix = std::numbers::pi * x;
    table[k] = static_cast<float>(std::sin(pix) / pix * std::sin(pix / 3) / (pix / 3));
  }
  return table;
}

struct Taps {
  int first;                   // source index of tap 0, before clamping
  std::array<float, 6> weight;  // normalised
};

Taps tapsAt(double position, const std::vector<float>& table) {
  const int i = static_cast<int>(position + 0.0000001);
  const double f = position - i;
  Taps taps{i - 2, {}};
  float sum = 0;
  for (int k = 0; k < 6; ++k) {
    const double d = (k - 2) - f;
    float raw = 0;
    if (d > -3.0 && d < 3.0) {
      const double u = std::abs(d) * 100;
      const int n = static_cast<int>(u);
      raw = static_cast<float>(table[n] + (u - n) * (table[n + 1] - table[n]));
    }
    taps.weight[k] = raw;
    sum += raw;
  }
  for (float& w : taps.weight) w /= sum;
  return taps;
}

// Corner-aligned positions of `count` destination samples over `size` source
// samples, by repeated addition as the resize defines them.
std::vector<double> positions(int size, double factor, int count) {
  const double exact = size * factor;
  const double step = exact > 1.0 ? (size - 1) / (exact - 1) : 0.0;
  std::vector<double> out;
  double p = 0.0;
  for (int c = 0; c < count; ++c, p += step) out.push_back(p);
  return out;
}

TestImage lanczosReference(const TestImage& src, double xFactor, double yFactor, int dstWidth, int dstHeight) {
  const std::vector<float> table = windowTable();
  const std::vector<double> xs = positions(src.width, xFactor, dstWidth), ys = positions(src.height, yFactor, dstHeight);
  TestImage dst(dstWidth, dstHeight, src.channels);
  auto sample = [&](int x, int y, int k) {
    x = std::clamp(x, 0, src.width - 1);
    y = std::clamp(y, 0, src.height - 1);
    return static_cast<float>(src.bytes[src.offset(x, y) + k]);
  };
  for (int r = 0; r < dstHeight; ++r) {
    const Taps rows = tapsAt(ys[r], table);
    for (int c = 0; c < dstWidth; ++c) {
      const Taps cols = tapsAt(xs[c], table);
      for (int k = 0; k < src.channels; ++k) {
        float v = 0;
        for (int j = 0; j < 6; ++j) {
          float h = 0;
          for (int i = 0; i < 6; ++i) h += cols.weight[i] * sample(cols.first + i, rows.first + j, k);
          v += rows.weight[j] * h;
        }
        dst.at(c, r)[k] = static_cast<Ipp8u>(std::clamp(static_cast<int>(v + 0.5000001f), 0, 255));
      }
    }
  }
  return dst;
}

TEST(ResizeLanczos, MatchesAPlainEvaluationOfTheKernelUpAndDown) {
  struct Case {
    int channels;
    IppiSize src;
    double xFactor, yFactor;
    IppiSize dst;
  } const cases[] = {
      {1, {9, 8}, 13.0 / 9, 11.0 / 8, {13, 11}},
      {3, {9, 8}, 13.0 / 9, 11.0 / 8, {13, 11}},
      {3, {12, 10}, 0.5, 0.7, {6, 7}},
  };
  for (const Case& c : cases) {
    TestImage src(c.src.width, c.src.height, c.channels, 3);
    src.randomize(static_cast<std::uint32_t>(c.src.width * 7 + c.channels));
    const TestImage expected = lanczosReference(src, c.xFactor, c.yFactor, c.dst.width, c.dst.height);
    TestImage dst(c.dst.width, c.dst.height, c.channels);
    const ResizeCall call{wholeOf(src), c.xFactor, c.yFactor, IPPI_INTER_LANCZOS};
    for (ResizeFn* fn : {pxResizeFor(c.channels), c.channels == 3 ? ippiResize_8u_C3R : ippiResize_8u_C1R}) {
      ASSERT_EQ(call.run(fn, src, dst), ippStsNoErr);
      EXPECT_EQ(dst.bytes, expected.bytes) << c.channels << " channels, " << c.src.width << "x" << c.src.height
                                           << " to " << c.dst.width << "x" << c.dst.height;
    }
  }
}

}  // namespace
}  // namespace fc::test
