// Histograms of frames sent as real values, and histogram equalisation.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "components/Fchistogram.h"
#include "components/Fchistogramequalize.h"
#include "contracts/video/helper_channels.h"
#include "dispatch/primitives.h"
#include "tests/support/component_harness.h"
#include "tests/support/real_channels.h"

namespace fc {
namespace {

// Counts of the byte values lower..upper at every `stride`-th byte from
// `offset`.
std::vector<double> Counted(const TFCImageBuffer& frame, int offset, int stride, int lower = 0, int upper = 255) {
  std::vector<double> counts(static_cast<std::size_t>(upper - lower + 1));
  for (std::size_t i = static_cast<std::size_t>(offset); i < frame.Size(); i += static_cast<std::size_t>(stride))
    if (frame.Read()[i] >= lower && frame.Read()[i] <= upper) ++counts[frame.Read()[i] - static_cast<std::size_t>(lower)];
  return counts;
}

class HistogramTest : public ::testing::Test {
protected:
  HistogramTest() : channels(*histogram.GetOutputPins()) { harness.Feed(*histogram.GetInputPin()); }

  TFCHistogram histogram{nullptr};
  test::TRealChannels channels;
  test::TComponentHarness harness;
};

TEST_F(HistogramTest, LevelsSetTheBlockLengthAndTheSettersKeepThemOrdered) {
  histogram.SetLowerLevel(16);
  histogram.SetUpperLevel(235);
  harness.PushStart(32, 8, 25);
  const TFCImageBuffer frame = test::CountingFrame(32, 8);
  harness.PushFrame(frame);
  for (int c = 0; c < 3; ++c) {
    const auto* start = channels[c].First<TPMStartIntensityOperation>();
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->ValuesPerBlock(), 220);
    EXPECT_EQ(start->SampleRate(), 220 * 25.0);
    ASSERT_EQ(channels[c].Blocks().size(), 1u);
    EXPECT_EQ(channels[c].Samples(0), Counted(frame, 2 - c, 3, 16, 235)) << c;
  }

  histogram.SetLowerLevel(300);
  EXPECT_EQ(histogram.GetLowerLevel(), 255);
  EXPECT_EQ(histogram.GetUpperLevel(), 255);
  histogram.SetUpperLevel(3);
  EXPECT_EQ(histogram.GetLowerLevel(), 3);
  EXPECT_EQ(histogram.GetUpperLevel(), 3);
}

TEST_F(HistogramTest, GreyFramesFillTheChannelsThatCarryGrey) {
  const TFCImageBuffer grey = test::CountingFrame(40, 10, vfGray8, 60);
  const std::vector<double> counts = Counted(grey, 0, 1);
  const std::vector<double> none(256, 0.0);
  std::vector<double> neutral(256, 0.0);
  neutral[128] = 400;

  struct Case {
    TFCColorMode mode;
    std::vector<double> expected[3];
  } cases[] = {{cmRGB, {counts, counts, counts}},
               {cmHLS, {none, counts, none}},
               {cmHSV, {none, none, counts}},
               {cmYUV, {counts, neutral, neutral}}};
  for (const Case& c : cases) {
    histogram.SetColorMode(c.mode);
    harness.PushFrame(grey);
    for (int p = 0; p < 3; ++p) EXPECT_EQ(channels[p].Samples(channels[p].Blocks().size() - 1), c.expected[p]);
  }
}

TEST_F(HistogramTest, GreyChromaIsCountedAtLevel128OnlyWhenTheLevelsHoldIt) {
  histogram.SetColorMode(cmYUV);
  const TFCImageBuffer grey = test::CountingFrame(20, 5, vfGray8);
  histogram.SetUpperLevel(100);  // fewer than 128 bins: no chroma bin at all
  harness.PushFrame(grey);
  EXPECT_EQ(channels[1].Samples(0), std::vector<double>(101, 0.0));
  histogram.SetLowerLevel(120);
  histogram.SetUpperLevel(130);
  harness.PushFrame(grey);
  std::vector<double> expected(11, 0.0);
  expected[8] = 100;
  EXPECT_EQ(channels[2].Samples(1), expected);
}

TEST_F(HistogramTest, ColourModesCountTheConvertedChannels) {
  // Lab converts from blue-green-red order, the others from red-green-blue;
  // a grey frame in these modes counts as a grey colour frame.
  TFCImageBuffer colour = test::CountingFrame(30, 7, vfRGB24, 5);
  TFCImageBuffer grey = test::CountingFrame(30, 7, vfGray8, 90);
  TFCImageBuffer greyColour = grey;
  greyColour.ConvertTo(vfRGB24);
  for (TFCColorMode mode : {cmLab, cmXYZ}) {
    histogram.SetColorMode(mode);
    for (const TFCImageBuffer* frame : {&colour, &grey}) {
      TFCImageBuffer source = frame == &grey ? greyColour : colour, converted(30, 7);
      if (mode == cmXYZ) {
        const int order[3] = {2, 1, 0};
        ippiSwapChannels_8u_C3IR(source.Modify(), source.Step(), source.SizeRecord(), order);
      }
      auto convert = mode == cmLab ? fc_entry(ippiBGRToLab_8u_C3R) : fc_entry(ippiRGBToXYZ_8u_C3R);
      convert(source.Read(), source.Step(), converted.Write(), converted.Step(), converted.SizeRecord());
      harness.PushFrame(*frame);
      for (int c = 0; c < 3; ++c)
        EXPECT_EQ(channels[c].Samples(channels[c].Blocks().size() - 1), Counted(converted, c, 3)) << mode << c;
    }
  }
  EXPECT_EQ(histogram.GetOutputPins()->GetPin(0)->Name(), "X");
}

TEST_F(HistogramTest, BlocksSentStayAsTheyWereAndStopsReachEveryPin) {
  harness.PushFrame(test::CountingFrame(16, 16, vfGray8));
  harness.PushFrame(TFCImageBuffer(16, 16, vfGray8));
  EXPECT_EQ(channels[0].Samples(0), std::vector<double>(256, 1.0));
  EXPECT_EQ(channels[0].Samples(1)[0], 256.0);
  harness.PushStop();
  for (int c = 0; c < 3; ++c) EXPECT_EQ(channels[c].Names().back(), "stop");
}

// From scratch: one count per byte value, the running sum in single
// precision, 255 x sum / pixels rounded half to even.
std::vector<Ipp8u> EqualisationTable(const std::vector<double>& counts, double pixels) {
  std::vector<Ipp8u> table(256);
  float sum = 0;
  for (int v = 0; v < 256; ++v) {
    sum += static_cast<float>(counts[static_cast<std::size_t>(v)]);
    const double scaled = 255.0 * sum / pixels;
    double rounded = std::floor(scaled + 0.5);
    if (rounded - scaled == 0.5 && std::fmod(rounded, 2.0) != 0) rounded -= 1;
    table[static_cast<std::size_t>(v)] = static_cast<Ipp8u>(rounded);
  }
  return table;
}

TEST(HistogramEqualize, GreyFramesMapEveryByteOfEveryRowIncludingLevel255) {
  // Odd width, values over the full range with many 255s: the top level is
  // counted, so the table ends at 255 and the brightest pixels stay white.
  TFCImageBuffer grey(37, 23, vfGray8);
  for (std::size_t i = 0; i < grey.Size(); ++i) grey.Write()[i] = i % 3 == 0 ? 255 : static_cast<Ipp8u>(i * 7 % 256);
  TFCHistogramEqualize equalize(nullptr);
  test::TComponentHarness harness;
  harness.Feed(*equalize.GetInputPin());
  harness.Collect(*equalize.GetOutputPin());
  harness.PushStart(37, 23, 30, vfGray8);
  harness.PushFrame(grey);

  ASSERT_EQ(harness.Frames().size(), 1u);
  const TFCImageBuffer& out = *harness.Frames()[0];
  ASSERT_EQ(out.Format(), vfGray8);
  ASSERT_EQ(out.Size(), grey.Size());
  const std::vector<Ipp8u> table = EqualisationTable(Counted(grey, 0, 1), 37.0 * 23);
  EXPECT_EQ(table[255], 255);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x)
      ASSERT_EQ(out.Read()[y * 37 + x], table[grey.Read()[y * 37 + x]]) << x << "," << y;
}

TEST(HistogramEqualize, ColourFramesEqualiseTheLightnessOnly) {
  const TFCImageBuffer colour = test::CountingFrame(21, 9, vfRGB24, 40);
  TFCImageBuffer hls(21, 9), expected(21, 9);
  fc_entry(ippiRGBToHLS_8u_C3R)(colour.Read(), colour.Step(), hls.Write(), hls.Step(), hls.SizeRecord());
  const std::vector<Ipp8u> table = EqualisationTable(Counted(hls, 1, 3), 21.0 * 9);
  for (std::size_t i = 1; i < hls.Size(); i += 3) hls.Modify()[i] = table[hls.Read()[i]];
  fc_entry(ippiHLSToRGB_8u_C3R)(hls.Read(), hls.Step(), expected.Write(), expected.Step(), expected.SizeRecord());

  TFCHistogramEqualize equalize(nullptr);
  test::TComponentHarness harness;
  harness.Feed(*equalize.GetInputPin());
  harness.Collect(*equalize.GetOutputPin());
  harness.PushFrame(colour);
  ASSERT_EQ(harness.Frames().size(), 1u);
  EXPECT_EQ(std::vector<Ipp8u>(harness.Frames()[0]->Read(), harness.Frames()[0]->Read() + expected.Size()),
            std::vector<Ipp8u>(expected.Read(), expected.Read() + expected.Size()));
}

}  // namespace
}  // namespace fc
