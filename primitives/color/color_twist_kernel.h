// color_twist_kernel.h - the colour twist's run of pixels in portable code
// that the compiler vectorises for whatever instruction set it is compiled
// for (see primitives/variant.h): the generic variant's run, which is what
// processors get where the binding runs px.
//
// The pixels are split into single-precision planes a chunk at a time; each
// output channel is summed for the whole chunk in a loop without branches,
// which the compiler vectorises. A lane whose sum lies within the row's
// error bound of a half-integer is marked, and only the marked pixels are
// recomputed by the exact per-pixel rule. Rows whose single sums are exact
// (bound 0) decide ties themselves, to even.
#pragma once

#include <cstddef>
#include <cstdint>

#include "primitives/color/color_twist.h"
#include "primitives/variant.h"

namespace fc::primitives {
inline namespace FC_VARIANT_TAG {

/// Pixels summed together; a run's last chunk may be partly filled.
inline constexpr int kTwistChunk = 64;

/// The source pixels of a chunk, one plane per channel, and the outputs.
struct TwistChunk {
  float s0[kTwistChunk], s1[kTwistChunk], s2[kTwistChunk];
  std::int32_t out[3][kTwistChunk];
  std::int32_t unsure[kTwistChunk];
};

/// One output channel of every lane. The sum is limited to 0..255 before
/// rounding, which changes no result (saturation and rounding agree), then
/// rounded half up by truncating sum + 1/2; `fraction` is how far that lies
/// above the integer. An exact half (fraction 0) goes down to even when the
/// sum is exact; a fraction within the bound of 0 or 1 marks the lane.
inline void twistLanes(const TwistRow& row, TwistChunk& chunk, std::int32_t* out) {
  const float t0 = row.t[0], t1 = row.t[1], t2 = row.t[2], t3 = row.t[3];
  const float bound = row.floatBound;
  for (int i = 0; i < kTwistChunk; ++i) {
    float sum = ((t0 * chunk.s0[i] + t3) + t1 * chunk.s1[i]) + t2 * chunk.s2[i];
    sum = sum > 0.0f ? sum : 0.0f;
    sum = sum < 255.0f ? sum : 255.0f;
    const float shifted = sum + 0.5f;
    const auto rounded = static_cast<std::int32_t>(shifted);
    const float fraction = shifted - static_cast<float>(rounded);
    chunk.unsure[i] |= static_cast<std::int32_t>(fraction < bound) | static_cast<std::int32_t>(fraction > 1.0f - bound);
    out[i] = rounded - (static_cast<std::int32_t>(fraction == 0.0f) & rounded & 1);
  }
}

/// Twists `pixels` pixels. Needs rows whose single sums decide (see
/// TwistRow); a destination that is the source is allowed, as a chunk is
/// read whole before it is written.
inline void twistRun(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst, std::size_t pixels) {
  TwistChunk chunk{};
  for (std::size_t done = 0; done < pixels; done += kTwistChunk) {
    const int n = pixels - done < kTwistChunk ? static_cast<int>(pixels - done) : kTwistChunk;
    const Ipp8u* s = src + 3 * done;
    for (int i = 0; i < n; ++i) {
      chunk.s0[i] = s[3 * i];
      chunk.s1[i] = s[3 * i + 1];
      chunk.s2[i] = s[3 * i + 2];
    }
    for (int i = 0; i < kTwistChunk; ++i) chunk.unsure[i] = 0;
    for (int c = 0; c < 3; ++c) twistLanes(rows[c], chunk, chunk.out[c]);
    for (int i = 0; i < n; ++i) {
      if (!chunk.unsure[i]) continue;
      const Ipp8u pixel[3] = {static_cast<Ipp8u>(chunk.s0[i]), static_cast<Ipp8u>(chunk.s1[i]),
                              static_cast<Ipp8u>(chunk.s2[i])};
      for (int c = 0; c < 3; ++c) chunk.out[c][i] = twistChannel(rows[c], pixel);
    }
    Ipp8u* d = dst + 3 * done;
    for (int i = 0; i < n; ++i) {
      d[3 * i] = static_cast<Ipp8u>(chunk.out[0][i]);
      d[3 * i + 1] = static_cast<Ipp8u>(chunk.out[1][i]);
      d[3 * i + 2] = static_cast<Ipp8u>(chunk.out[2][i]);
    }
  }
}

/// The run for any matrix: the chunked single sums where every row allows
/// them, else pixel by pixel.
inline void twistPixels(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst, std::size_t pixels) {
  if (rows[0].floatSumDecides && rows[1].floatSumDecides && rows[2].floatSumDecides)
    twistRun(rows, src, dst, pixels);
  else
    twistPixelsGeneric(rows, src, dst, pixels);
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::primitives
