#include <climits>

#include "tests/primitives/color/point_test_support.h"

namespace {

using fc::test::TestImage;
using Ints = std::vector<Ipp32s>;

struct OneChannel {
  Ints levels, hist;
};

OneChannel histogramC1(const TestImage& src, int nLevels, Ipp32s lower, Ipp32s upper) {
  OneChannel out{Ints(nLevels, -1), Ints(nLevels - 1, -1)};
  EXPECT_EQ(ippiHistogramEven_8u_C1R(src.data(), src.step, src.size(), out.hist.data(), out.levels.data(),
                                     nLevels, lower, upper),
            0);
  return out;
}

// A padded one-channel image holding the given bytes in two rows.
TestImage greyImage(const std::vector<Ipp8u>& bytes) {
  TestImage image(static_cast<int>(bytes.size() / 2), 2, 1, 3, 1);
  image.randomize(5);
  for (std::size_t i = 0; i < bytes.size(); ++i) image.at(i % image.width, i / image.width)[0] = bytes[i];
  return image;
}

TEST(HistogramEven, FillsEvenLevelsAndSpreadsTheRemainder) {
  const TestImage src = greyImage({0, 3, 4, 6, 7, 9, 10, 63, 64, 255});
  const OneChannel quarters = histogramC1(src, 5, 0, 256);
  EXPECT_EQ(quarters.levels, (Ints{0, 64, 128, 192, 256}));
  EXPECT_EQ(quarters.hist, (Ints{8, 1, 0, 1}));
  const OneChannel uneven = histogramC1(src, 4, 0, 10);
  EXPECT_EQ(uneven.levels, (Ints{0, 4, 7, 10}));
  EXPECT_EQ(uneven.hist, (Ints{2, 2, 2}));  // 10 equals the last level: in no bin
  EXPECT_EQ(histogramC1(src, 4, 10, 0).levels, (Ints{10, 6, 3, 0}));
  EXPECT_EQ(histogramC1(src, 4, 2, 0).levels, (Ints{2, 1, 0, 0}));
}

TEST(HistogramEven, ClampsLevelsOutsideTheByteRange) {
  const TestImage src = greyImage({0, 3, 4, 6, 7, 9, 10, 63, 64, 255});
  const OneChannel wide = histogramC1(src, 3, -300, 500);
  EXPECT_EQ(wide.levels, (Ints{-300, 100, 500}));
  EXPECT_EQ(wide.hist, (Ints{9, 1}));
  EXPECT_EQ(histogramC1(src, 2, 300, -10).hist, (Ints{0}));
}

TEST(HistogramEven, LevelsNearThe32BitLimitsAreExact) {
  const TestImage src = greyImage({0, 255});
  EXPECT_EQ(histogramC1(src, 3, INT_MIN, INT_MAX).levels, (Ints{INT_MIN, 0, INT_MAX}));
  EXPECT_EQ(histogramC1(src, 2, INT_MAX, INT_MIN).levels, (Ints{INT_MAX, INT_MIN}));
  const OneChannel full = histogramC1(src, 5, INT_MIN + 1, INT_MAX);
  EXPECT_EQ(full.levels, (Ints{INT_MIN + 1, -1073741823, 1, 1073741824, INT_MAX}));
  EXPECT_EQ(full.hist, (Ints{0, 1, 1, 0}));
}

TEST(HistogramEven, ThreeChannelsCountInStorageOrder) {
  TestImage src(3, 1, 3, 2, 1);
  src.randomize(9);
  const Ipp8u pixels[] = {0, 100, 200, 50, 150, 250, 255, 0, 128};
  std::copy(std::begin(pixels), std::end(pixels), src.data());
  Ints levels[3] = {Ints(3), Ints(2), Ints(5)}, hist[3] = {Ints(2), Ints(1), Ints(4)};
  Ipp32s* histPtr[3] = {hist[0].data(), hist[1].data(), hist[2].data()};
  Ipp32s* levelPtr[3] = {levels[0].data(), levels[1].data(), levels[2].data()};
  int n[3] = {3, 2, 5};
  Ipp32s lower[3] = {0, 0, 0}, upper[3] = {256, 150, 256};
  ASSERT_EQ(ippiHistogramEven_8u_C3R(src.data(), src.step, src.size(), histPtr, levelPtr, n, lower, upper),
            0);
  EXPECT_EQ(levels[0], (Ints{0, 128, 256}));
  EXPECT_EQ(hist[0], (Ints{2, 1}));
  EXPECT_EQ(hist[1], (Ints{2}));
  EXPECT_EQ(hist[2], (Ints{0, 0, 1, 2}));
}

TEST(HistogramEven, ChecksArgumentsInOrderAndWritesNothing) {
  const TestImage src = greyImage({1, 2, 3, 4});
  Ints hist(3, -1), levels(4, -1);
  auto c1 = [&](const Ipp8u* s, int step, IppiSize roi, bool nullHist, int n) {
    return ippiHistogramEven_8u_C1R(s, step, roi, nullHist ? nullptr : hist.data(), levels.data(), n, 0, 9);
  };
  EXPECT_EQ(c1(src.data(), 0, {0, 0}, true, 0), ippStsNullPtrErr);
  EXPECT_EQ(c1(nullptr, 1, src.size(), false, 4), ippStsNullPtrErr);
  EXPECT_EQ(c1(src.data(), 0, {2, 0}, false, 1), ippStsSizeErr);
  EXPECT_EQ(c1(src.data(), 0, src.size(), false, 1), ippStsStepErr);
  EXPECT_EQ(c1(src.data(), src.step, src.size(), false, 1), ippStsHistoNofLevelsErr);

  Ipp32s* h[3] = {hist.data(), hist.data(), nullptr};
  Ipp32s* l[3] = {levels.data(), levels.data(), levels.data()};
  int n[3] = {4, 1, 4};
  Ipp32s bounds[3] = {0, 9, 9};
  auto c3 = [&](const Ipp8u* s, int step, IppiSize roi, int* counts) {
    return ippiHistogramEven_8u_C3R(s, step, roi, h, l, counts, bounds, bounds);
  };
  int good[3] = {4, 4, 4};
  EXPECT_EQ(c3(src.data(), 1, src.size(), nullptr), ippStsNullPtrErr);
  EXPECT_EQ(c3(src.data(), 0, {0, 0}, n), ippStsHistoNofLevelsErr);  // channel 1 before channel 2
  EXPECT_EQ(c3(src.data(), 0, {0, 0}, good), ippStsNullPtrErr);
  h[2] = hist.data();
  EXPECT_EQ(c3(src.data(), 0, {1, 0}, good), ippStsSizeErr);
  EXPECT_EQ(c3(src.data(), 0, {1, 1}, good), ippStsStepErr);
  EXPECT_EQ(hist, Ints(3, -1));
  EXPECT_EQ(levels, Ints(4, -1));
}

}  // namespace
