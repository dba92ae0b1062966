// The tool against hostile input: settings the primitives refuse, loops,
// sizes beyond the budget, dumps sharing a directory, unknown options and
// numbers a property cannot hold.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/tools/tool_dir_test.h"

namespace fc::tool {
namespace {

namespace fs = std::filesystem;
using test::RunChild;
using test::TChildResult;

// A Jaehne pattern through a box filter, as the package's tool runs it.
constexpr const char* kBoxForm =
    "object Pipeline: TComponent\n"
    "  object Jaehne1: TFCJaehneGen\n"
    "    ImageSize.Width = 32\n"
    "    ImageSize.Height = 24\n"
    "    OutputPin.SinkPins = (Box1.InputPin)\n"
    "  end\n"
    "  object Box1: TFCBoxFilter\n"
    "  end\n"
    "end\n";

class HostileInput : public test::TToolDirTest {
protected:
  void SetUp() override {
    test::TToolDirTest::SetUp();
    std::ofstream(dir_ / "box.fcf") << kBoxForm;
  }
  // Runs the box form for two frames with `args` added.
  TChildResult Tool(std::vector<std::string> args) {
    args.insert(args.begin(), {"run", "box.fcf", "--frames", "2"});
    return test::TToolDirTest::Tool(args);
  }
};

TEST_F(HostileInput, SettingsThePrimitiveRefusesFailTheRunNamingComponentEntryAndStatus) {
  for (const char* set : {"Box1.MaskSize.Width=0", "Box1.FilterMode=bfmMedian"}) {
    std::vector<std::string> args{"--set", set, "--dump", "Box1.OutputPin=out"};
    if (std::string(set).find("Median") != std::string::npos) args.insert(args.end(), {"--set", "Box1.MaskSize.Width=4"});
    const TChildResult r = Tool(args);
    EXPECT_EQ(r.status, 1) << set;
    EXPECT_NE(r.out.find("Box1.OutputPin: 0 frames written"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("framecraft: Box1: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("failed with ippStsMaskSizeErr"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("2 frames failed"), std::string::npos) << r.err;
  }
}

TEST_F(HostileInput, SizesBeyondTheBudgetNameTheComponentAndProperty) {
  TChildResult r = Tool({"--set", "Box1.MaskSize.Width=65535"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Box1.MaskSize.Width: 65535 lies outside the frame budget"), std::string::npos) << r.err;

  r = Tool({"--set", "Box1.MaskSize.Width=9000", "--set", "Box1.MaskSize.Height=9000", "--max-frame-bytes",
            "100000000"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Box1.MaskSize: needs a buffer of"), std::string::npos) << r.err;

  r = Tool({"--set", "Jaehne1.ImageSize.Width=100000"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ImageSize.Width: 100000 lies outside the frame budget"), std::string::npos) << r.err;
}

TEST_F(HostileInput, ALoopIsRefusedNamingItsComponents) {
  std::ofstream(dir_ / "loop.fcf") << "object Pipeline: TComponent\n"
                                      "  object A: TFCMirror\n    OutputPin.SinkPins = (B.InputPin)\n  end\n"
                                      "  object B: TFCMirror\n    OutputPin.SinkPins = (A.InputPin)\n  end\n"
                                      "end\n";
  const TChildResult r = RunChild(FC_TOOL_BINARY, {"run", "loop.fcf"}, dir_);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "framecraft: loop.fcf: the connections form a loop, A > B > A\n");
}

TEST_F(HostileInput, DumpsIntoOneDirectoryUnknownOptionsAndInfiniteNumbersAreRefused) {
  TChildResult r = Tool({"--dump", "Box1.OutputPin=out", "--dump", "Jaehne1.OutputPin=./out/"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Box1.OutputPin already writes into"), std::string::npos) << r.err;

  r = Tool({"--bogus"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("framecraft: unknown option '--bogus'\n", 0), 0u) << r.err;

  // 1e39 is a finite double but no finite single-precision number.
  std::ofstream(dir_ / "wiener.fcf") << "object W1: TFCWienerFilter\nend\n";
  r = RunChild(FC_TOOL_BINARY, {"run", "wiener.fcf", "--set", "W1.NoiseLevels.Level1=1e39"}, dir_);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("W1.NoiseLevels.Level1: value "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(" is not a finite Single number"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace fc::tool
