// Real-valued pins through the framecraft tool: --dump writes data.csv and a
// plot per block, read back here; the two example forms of real data run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "contracts/video/helper_channels.h"
#include "contracts/video/image_buffer.h"
#include "dispatch/primitives.h"
#include "tests/tools/tool_dir_test.h"
#include "tools/framecraft/real_plot.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace fc::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = FC_EXAMPLES_DIR;

// The lines of a CSV file, each split at its commas.
std::vector<std::vector<double>> ReadCsv(const fs::path& path) {
  std::vector<std::vector<double>> rows;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    std::vector<double>& row = rows.emplace_back();
    std::stringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) row.push_back(std::stod(field));
  }
  return rows;
}

// The example's Jaehne pattern converted to `mode`'s channels (red-green-blue
// order first, as the components convert it).
TFCImageBuffer JaehneIn(IppStatus (*convert)(const Ipp8u*, int, Ipp8u*, int, IppiSize)) {
  TFCImageBuffer pattern(256, 192), converted(256, 192);
  fc_entry(ippiImageJaehne_8u_C3R)(pattern.Write(), pattern.Step(), pattern.SizeRecord());
  const int order[3] = {2, 1, 0};
  ippiSwapChannels_8u_C3IR(pattern.Modify(), pattern.Step(), pattern.SizeRecord(), order);
  convert(pattern.Read(), pattern.Step(), converted.Write(), converted.Step(), converted.SizeRecord());
  return converted;
}

class RealDumpTool : public TToolDirTest {
protected:
};

TEST_F(RealDumpTool, HistogramBlocksGoToTheCsvAndToBarPlots) {
  const TChildResult r = Tool({"run", (kExamples / "histogram.fcf").string(), "--frames", "2", "--dump",
                               "Histogram1.OutputPins[1]=light"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Histogram1.OutputPins[1]: 2 blocks written to light"), std::string::npos) << r.out;

  const TFCImageBuffer hls = JaehneIn(fc_entry(ippiRGBToHLS_8u_C3R));
  std::vector<double> expected(256);
  for (std::size_t i = 1; i < hls.Size(); i += 3) ++expected[hls.Read()[i]];
  const auto rows = ReadCsv(dir_ / "light" / "data.csv");
  ASSERT_EQ(rows.size(), 2u);
  for (std::size_t b = 0; b < rows.size(); ++b) {
    ASSERT_EQ(rows[b].size(), 257u);
    EXPECT_EQ(rows[b][0], static_cast<double>(b));
    EXPECT_EQ(std::vector<double>(rows[b].begin() + 1, rows[b].end()), expected);
  }

  int width = 0, height = 0, channels = 0;
  stbi_uc* png = stbi_load((dir_ / "light" / "000001.png").c_str(), &width, &height, &channels, 1);
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(width, tool::kImageWidth);
  EXPECT_EQ(height, tool::kImageHeight);
  auto at = [&](int x, int y) { return png[y * width + x]; };
  // The tallest bar reaches the top of the plot, a bar of 0 stays at the
  // zero line, the vertical axis runs beside them.
  const std::size_t tallest = std::max_element(expected.begin(), expected.end()) - expected.begin();
  const int barWidth = tool::kPlotWidth / 256;
  EXPECT_EQ(at(tool::kPlotLeft + static_cast<int>(tallest) * barWidth, tool::kPlotTop), tool::kPlotData);
  EXPECT_EQ(at(tool::kPlotLeft + static_cast<int>(tallest) * barWidth, tool::kPlotTop + tool::kPlotHeight - 1),
            tool::kPlotData);
  const std::size_t empty = std::find(expected.begin(), expected.end(), 0.0) - expected.begin();
  if (empty < expected.size()) {
    EXPECT_EQ(at(tool::kPlotLeft + static_cast<int>(empty) * barWidth, tool::kPlotTop + 1), tool::kPlotBackground);
  }
  EXPECT_EQ(at(tool::kPlotLeft - 1, tool::kPlotTop + tool::kPlotHeight / 2), tool::kPlotInk);
  stbi_image_free(png);
}

TEST_F(RealDumpTool, SamplesComeBackAsFramesAndLongBlocksArePlottedAsALine) {
  const TChildResult r = Tool({"run", (kExamples / "samples_to_frames.fcf").string(), "--frames", "2", "--set",
                               "ToReal1.ScanMode=smFrame", "--dump", "ToFrame1.OutputPin=frames", "--dump",
                               "ToReal1.OutputPins.0=samples"});
  ASSERT_EQ(r.status, 0) << r.err;

  const TFCImageBuffer yuv = JaehneIn(fc_entry(ippiRGBToYUV_8u_C3R));
  std::vector<double> luminance;
  for (std::size_t i = 0; i < yuv.Size(); i += 3) luminance.push_back(yuv.Read()[i]);
  const auto rows = ReadCsv(dir_ / "samples" / "data.csv");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(std::vector<double>(rows[1].begin() + 1, rows[1].end()), luminance);

  for (const char* name : {"000000.png", "000001.png"}) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* frame = stbi_load((dir_ / "frames" / name).c_str(), &width, &height, &channels, 0);
    ASSERT_NE(frame, nullptr) << name;
    ASSERT_EQ(width * height, 256 * 192);
    EXPECT_EQ(channels, 1);
    int differing = 0;
    for (int i = 0; i < width * height; ++i) differing += frame[i] != luminance[static_cast<std::size_t>(i)];
    EXPECT_EQ(differing, 0) << name;
    stbi_image_free(frame);
  }

  // 49,152 samples: a line, whose first point is the first sample.
  int width = 0, height = 0, channels = 0;
  stbi_uc* plot = stbi_load((dir_ / "samples" / "000000.png").c_str(), &width, &height, &channels, 1);
  ASSERT_NE(plot, nullptr);
  const double first = luminance[0];
  const int row = tool::kPlotTop +
                  static_cast<int>(std::lround((255 - first) / 255 * (tool::kPlotHeight - 1)));
  EXPECT_EQ(plot[row * width + tool::kPlotLeft], tool::kPlotData);
  stbi_image_free(plot);
}

TEST_F(RealDumpTool, AnIndexOutsideThePinListIsRefused) {
  const TChildResult r = Tool({"run", (kExamples / "histogram.fcf").string(), "--dump",
                               "Histogram1.OutputPins[7]=x"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("OutputPins"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace fc::test
