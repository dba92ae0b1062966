// The geometry components through the framecraft tool: how `describe`
// lists them, and the resize example form run end to end.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "contracts/video/image_buffer.h"
#include "dispatch/primitives.h"
#include "tests/tools/tool_dir_test.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace fc::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = FC_EXAMPLES_DIR;

class GeometryTool : public TToolDirTest {
protected:
};

TEST_F(GeometryTool, DescribeListsPropertiesWithTheirStartValuesAndIdentifiers) {
  struct Case {
    const char* className;
    std::vector<const char*> lines;
  } cases[] = {
      {"TFCResize",
       {"\n  OutputSize.Width +Cardinal +default 320\n",
        "\n  Interpolation +TFCInterpolation +default ifLinear +values: ifNearest, ifLinear, ifCubic, ifSuper, "
        "ifLanczos\n",
        "\n  Region.Enabled +Boolean +default False\n"}},
      {"TFCRotate", {"\n  Angle +Double +starts 0\n", "\n  SmoothEdge +Boolean +starts False\n"}},
      {"TFCShear", {"\n  XShear +Integer +starts 0\n", "\n  YShear +Integer +starts 0\n"}},
      {"TFCWarp",
       {"\n  InverseTransform +Boolean +starts False\n", "\n  LeftTopOffset.X +Integer +default 0\n",
        "\n  RightBottomOffset.Y +Integer +default 0\n",
        "\n  WarpType +TFCWarpType +starts wtBilinear +values: wtBilinear, wtPerspective\n"}},
  };
  for (const Case& c : cases) {
    const TChildResult r = Tool({"describe", c.className});
    ASSERT_EQ(r.status, 0) << c.className << ": " << r.err;
    EXPECT_NE(r.out.find("base TFCCommonROISizeFilter"), std::string::npos) << r.out;
    for (const char* line : c.lines) EXPECT_TRUE(std::regex_search(r.out, std::regex(line))) << line << r.out;
  }
}

// The Jaehne pattern of the example, its region (64, 48) 128 x 96 scaled
// to 200 x 150 with cubic interpolation, as the primitives make it.
TFCImageBuffer ExpectedResizeFrame() {
  TFCImageBuffer pattern(256, 192), scaled(200, 150);
  EXPECT_EQ(fc_entry(ippiImageJaehne_8u_C3R)(pattern.Write(), pattern.Step(), pattern.SizeRecord()), ippStsNoErr);
  EXPECT_EQ(fc_entry(ippiResize_8u_C3R)(pattern.Read(), pattern.SizeRecord(), pattern.Step(), {64, 48, 128, 96},
                                        scaled.Write(), scaled.Step(), scaled.SizeRecord(), 200.0 / 128, 150.0 / 96,
                                        IPPI_INTER_CUBIC),
            ippStsNoErr);
  return scaled;
}

TEST_F(GeometryTool, TheResizeExampleWritesTheScaledRegion) {
  const TChildResult r =
      Tool({"run", (kExamples / "resize.fcf").string(), "--frames", "2", "--dump", "Resize1.OutputPin=out"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("2 frames in "), std::string::npos) << r.out;

  const TFCImageBuffer expected = ExpectedResizeFrame();
  for (const char* name : {"000000.png", "000001.png"}) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* png = stbi_load((dir_ / "out" / name).c_str(), &width, &height, &channels, 0);
    ASSERT_NE(png, nullptr) << name;
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 150);
    EXPECT_EQ(channels, 3);
    int differing = 0;
    // The file holds red, green, blue; the frame blue, green, red.
    for (int i = 0; width == 200 && height == 150 && channels == 3 && i < 200 * 150; ++i)
      for (int c = 0; c < 3; ++c) differing += png[i * 3 + c] != expected.Read()[i * 3 + 2 - c];
    EXPECT_EQ(differing, 0) << name;
    stbi_image_free(png);
  }
}

}  // namespace
}  // namespace fc::test
