// point_test_support.h - helpers shared by the point-operation tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "dispatch/primitives.h"
#include "tests/support/test_image.h"

namespace fc::test {

/// A two-image call with its fixed extra arguments bound.
using TwoImageCall = std::function<IppStatus(const Ipp8u*, int, Ipp8u*, int, IppiSize)>;

/// Runs the checks every two-image point operation makes, null pointers, then
/// size, then steps, each case also failing a later check, and expects the
/// destination buffer untouched.
inline void expectTwoImageChecks(const TwoImageCall& call) {
  TestImage src(5, 3, 3, 1, 1), dst(5, 3, 3, 1, 1);
  src.randomize(1);
  dst.randomize(2);
  const std::vector<Ipp8u> before = dst.bytes;
  const IppiSize ok = src.size();
  struct Case {
    IppStatus expected;
    const Ipp8u* s;
    int sStep;
    Ipp8u* d;
    int dStep;
    IppiSize roi;
  } cases[] = {
      {ippStsNullPtrErr, nullptr, 0, dst.data(), dst.step, {0, 0}},
      {ippStsNullPtrErr, src.data(), src.step, nullptr, 0, ok},
      {ippStsSizeErr, src.data(), 0, dst.data(), 0, {0, 3}},
      {ippStsSizeErr, src.data(), src.step, dst.data(), dst.step, {5, -1}},
      {ippStsStepErr, src.data(), 0, dst.data(), dst.step, ok},
      {ippStsStepErr, src.data(), src.step, dst.data(), -3, ok},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(call(c.s, c.sStep, c.d, c.dStep, c.roi), c.expected);
    EXPECT_EQ(dst.bytes, before);
  }
}

/// A one-row three-channel image holding the given bytes.
inline TestImage rowImage(const std::vector<Ipp8u>& bytes) {
  TestImage image(static_cast<int>(bytes.size() / 3), 1, 3);
  image.bytes = bytes;
  return image;
}

}  // namespace fc::test
