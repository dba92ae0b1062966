// The framecraft tool end to end: the built binaries run as child
// processes, over the test components (the testbed) and over the package.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "package/catalogue.h"
#include "package/framecraft_package.h"
#include "tests/tools/tool_dir_test.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace fc::test {
namespace {

namespace fs = std::filesystem;

// A gradient generator, an inverter and a grey converter in a row.
constexpr const char* kPipelineForm =
    "object Pipeline: TComponent\n"
    "  object Gen1: TTestPatternGen\n"
    "    ImageSize.Width = 7\n"
    "    ImageSize.Height = 5\n"
    "    Level = 10\n"
    "    OutputPin.SinkPins = (Invert1.InputPin)\n"
    "  end\n"
    "  object Invert1: TTestInvert\n"
    "    OutputPin.SinkPins = (Grey1.InputPin)\n"
    "  end\n"
    "  object Grey1: TTestGrey\n"
    "  end\n"
    "end\n";

struct TPng {
  int width = 0, height = 0, channels = 0;
  std::vector<unsigned char> pixels;
  unsigned char At(int x, int y, int c) const { return pixels[(y * width + x) * channels + c]; }
};

TPng ReadPng(const fs::path& path) {
  TPng png;
  unsigned char* data = stbi_load(path.c_str(), &png.width, &png.height, &png.channels, 0);
  if (!data) throw std::runtime_error("cannot read " + path.string());
  png.pixels.assign(data, data + png.width * png.height * png.channels);
  stbi_image_free(data);
  return png;
}

int CountFiles(const fs::path& directory) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(directory)) count += entry.is_regular_file();
  return count;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class FramecraftTool : public TToolDirTest {
protected:
  TChildResult Testbed(const std::vector<std::string>& args) { return RunChild(FC_TOOL_TESTBED, args, dir_); }
  std::string WriteForm(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name) << text;
    return name;
  }
};

TEST_F(FramecraftTool, ListsRegisteredComponentsInTableOrder) {
  TChildResult r = Testbed({"list"});
  ASSERT_EQ(r.status, 0) << r.err;
  // Registered grey, generator, inverter; listed in the table's order.
  EXPECT_TRUE(std::regex_search(r.out, std::regex("^CLASS +UNIT +BASE +ROLE\n"
                                                  "TTestPatternGen +Fctestpatterngen +TFCCommonGen +test pattern\n"
                                                  "TTestInvert +Fctestinvert +TFCCommonFilter +inverts bytes\n"
                                                  "TTestGrey +Fctestgrey +TFCCommonFilter +green to grey\n$")))
      << r.out;
}

TEST_F(FramecraftTool, DescribesPropertiesAndPinsOnceEach) {
  TChildResult r = Testbed({"describe", "ttestpatterngen"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* line : {"\n  Level +Byte +default 0\n", "\n  Pattern +TTestPattern +default tpGradient +values: tpGradient, tpFlat\n",
                           "\n  ImageSize.Width +Cardinal +default 320\n", "\n  FrameRate +Double +default 30\n",
                           "\n  OutputPin +Image +source\n", "\n  ClockPin +Clock +sink\n"})
    EXPECT_TRUE(std::regex_search(r.out, std::regex(line))) << line << "\n" << r.out;
  for (const char* name : {"  Level ", "  Pattern ", "  ImageSize.Width ", "  OutputPin ", "  Pacing "}) {
    std::size_t first = r.out.find(name);
    EXPECT_NE(first, std::string::npos) << name;
    EXPECT_EQ(r.out.find(name, first + 1), std::string::npos) << name << " listed twice";
  }
}

TEST_F(FramecraftTool, RunWritesTheFramesReachingEachDumpedPin) {
  const std::string form = WriteForm("pipe.fcf", kPipelineForm);
  TChildResult r = Testbed({"run", form, "--frames", "3", "--set", "Gen1.Level=77", "--dump",
                            "Gen1.OutputPin=gen", "--dump", "Grey1.InputPin=inverted", "--dump=Grey1.OutputPin=grey"});
  ASSERT_EQ(r.status, 0) << r.err;
  // The summary is the last line.
  EXPECT_TRUE(std::regex_search(r.out, std::regex("(^|\n)3 frames in [0-9]+\\.[0-9]{3} s, [0-9]+\\.[0-9] frames/s\n$")))
      << r.out;
  EXPECT_EQ(r.out.find("\r"), std::string::npos) << "progress shown on a file";
  for (const char* d : {"gen", "inverted", "grey"}) EXPECT_EQ(CountFiles(dir_ / d), 3) << d;

  // Frame 2 at (x, y): blue x + 2, green y, red 77 (the --set value).
  TPng gen = ReadPng(dir_ / "gen/000002.png");
  ASSERT_EQ(gen.width, 7);
  ASSERT_EQ(gen.height, 5);
  ASSERT_EQ(gen.channels, 3);
  TPng inverted = ReadPng(dir_ / "inverted/000002.png");
  TPng grey = ReadPng(dir_ / "grey/000002.png");
  ASSERT_EQ(grey.channels, 1);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      EXPECT_EQ(gen.At(x, y, 0), 77);
      EXPECT_EQ(gen.At(x, y, 1), y);
      EXPECT_EQ(gen.At(x, y, 2), x + 2);
      EXPECT_EQ(inverted.At(x, y, 2), 255 - (x + 2));
      EXPECT_EQ(grey.At(x, y, 0), 255 - y);
    }
}

TEST_F(FramecraftTool, RunsAreRepeatable) {
  const std::string form = WriteForm("pipe.fcf", kPipelineForm);
  ASSERT_EQ(Testbed({"run", form, "--frames", "4", "--dump", "Invert1.OutputPin=a"}).status, 0);
  ASSERT_EQ(Testbed({"run", form, "--frames", "4", "--dump", "Invert1.OutputPin=b"}).status, 0);
  for (const char* f : {"000000.png", "000003.png"}) EXPECT_EQ(ReadFile(dir_ / "a" / f), ReadFile(dir_ / "b" / f));
}

TEST_F(FramecraftTool, AGeneratorEndingItsStreamEndsTheRun) {
  const std::string form = WriteForm("pipe.fcf", kPipelineForm);
  TChildResult r = Testbed({"run", form, "--frames", "50", "--set", "Gen1.Length=2", "--dump", "Grey1.OutputPin=g"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("2 frames in "), std::string::npos) << r.out;
  EXPECT_EQ(CountFiles(dir_ / "g"), 2);
}

TEST_F(FramecraftTool, FormErrorsNameFileAndLine) {
  std::string typo = kPipelineForm;
  typo.replace(typo.find("Level = 10"), 5, "Lavel");
  struct Case {
    std::string text, expected;
  } cases[] = {
      {typo, "framecraft: bad.fcf:5: "},
      {std::regex_replace(std::string(kPipelineForm), std::regex("TTestGrey"), "TNoSuchClass"),
       "framecraft: bad.fcf:11: "},
      {"object Pipeline: TComponent\n  object Gen1: TTestPatternGen\n    Level = 300\n  end\nend\n",
       "framecraft: bad.fcf:3: "},
  };
  for (const Case& c : cases) {
    WriteForm("bad.fcf", c.text);
    TChildResult r = Testbed({"run", "bad.fcf"});
    EXPECT_EQ(r.status, 1) << c.expected;
    EXPECT_EQ(r.err.rfind(c.expected, 0), 0u) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
}

TEST_F(FramecraftTool, BadSettingsAndPinsNameTheComponentAndProperty) {
  const std::string form = WriteForm("pipe.fcf", kPipelineForm);
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--set", "Gen1.Level=bright"}, "Gen1.Level: 'bright' is not an integer"},
      {{"--set", "Gen1.Pattern=tpRound"}, "Gen1.Pattern: 'tpRound' is not one of tpGradient, tpFlat"},
      {{"--set", "Gen1.Lvl=3"}, "Gen1: TTestPatternGen has no property 'Lvl'"},
      {{"--set", "Nobody.Level=3"}, "no component named Nobody"},
      {{"--dump", "Gen1.Level=out"}, "Gen1.Level: is not a pin"},
      {{"--dump", "Gen1.ClockPin=out"}, "Gen1.ClockPin is not an image pin"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"run", form};
    args.insert(args.end(), c.args.begin(), c.args.end());
    TChildResult r = Testbed(args);
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("usage:"), std::string::npos) << r.err;
  }
}

TEST_F(FramecraftTool, UnknownClassIsAnError) {
  TChildResult r = Testbed({"describe", "TNoSuchClass"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "framecraft: unknown class 'TNoSuchClass'\n");
}

TEST_F(FramecraftTool, UsageErrorsPrintUsageAndExitTwo) {
  const std::vector<std::vector<std::string>> lines{
      {}, {"frobnicate"}, {"describe"}, {"run"}, {"run", "f.fcf", "--frames", "0"}, {"run", "f.fcf", "--frames"},
      {"run", "f.fcf", "--set", "Gen1Level=3"}, {"run", "f.fcf", "--loud"}, {"list", "extra"}, {"demo", "--set", "A.B=1"}};
  for (const auto& line : lines) {
    TChildResult r = Testbed(line);
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(line);
    EXPECT_EQ(r.err.rfind("framecraft: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("usage: framecraft list"), std::string::npos) << r.err;
  }
  TChildResult help = Testbed({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: framecraft list"), std::string::npos);
}

// Every command the usage names has its own help, which starts with its
// usage line; an unknown one is a usage error.
TEST_F(FramecraftTool, HelpDescribesEveryCommandAndVersionPrintsTheVersion) {
  const std::string usage = Testbed({"--help"}).out;
  std::set<std::string> commands;
  for (std::size_t at = usage.find("framecraft "); at != std::string::npos; at = usage.find("framecraft ", at + 1)) {
    const std::size_t start = at + std::string("framecraft ").size();
    commands.insert(usage.substr(start, usage.find_first_of(" \n", start) - start));
  }
  EXPECT_TRUE(commands.count("run") && commands.count("version")) << usage;
  for (const std::string& command : commands) {
    TChildResult help = Testbed({"help", command});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_EQ(help.out.rfind("usage: framecraft " + command, 0), 0u) << help.out;
  }
  TChildResult unknown = Testbed({"help", "frobnicate"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("no command 'frobnicate'"), std::string::npos) << unknown.err;

  for (const char* spelling : {"--version", "version"}) {
    TChildResult version = Tool({spelling});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "framecraft " FRAMECRAFT_VERSION "\n");
  }
}

TEST_F(FramecraftTool, PackageToolListsItsComponentsInTableOrder) {
  TChildResult r = Tool({"list"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> listed;
  std::istringstream lines(r.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line.rfind("CLASS", 0), 0u) << line;
  while (std::getline(lines, line)) listed.push_back(line.substr(0, line.find(' ')));
  // The whole catalogue the package's units register, in table order.
  package::Register();
  std::vector<std::string> registered;
  for (const TCatalogueItem& item : PackageCatalogue().Components()) registered.emplace_back(item.entry->className);
  EXPECT_EQ(registered.size(), package::Units().size());
  EXPECT_EQ(listed, registered);

  TChildResult missing = Tool({"run", "missing.fcf"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "framecraft: missing.fcf: cannot open the file\n");
}

// The demo writes every stage; stages that only move pixels must agree
// with the stage before them.
TEST_F(FramecraftTool, DemoWritesEveryStageOfItsPipeline) {
  TChildResult r = Tool({"demo", "--frames", "2"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("demo: Jaehne1 > ", 0), 0u) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
  const fs::path out = dir_ / "demo-out";
  for (const auto& stage : fs::directory_iterator(out)) EXPECT_EQ(CountFiles(stage.path()), 2) << stage.path();

  TPng twisted = ReadPng(out / "Twist1/000001.png");
  TPng mirrored = ReadPng(out / "Mirror1/000001.png");
  TPng cropped = ReadPng(out / "Crop1/000001.png");
  TPng grey = ReadPng(out / "Grey1/000001.png");
  ASSERT_EQ(mirrored.width, twisted.width);
  ASSERT_EQ(mirrored.height, twisted.height);
  EXPECT_EQ(grey.channels, 1);
  EXPECT_EQ(grey.width, cropped.width);
  ASSERT_EQ(cropped.width, 192);
  ASSERT_EQ(cropped.height, 160);
  for (int y = 0; y < cropped.height; ++y)
    for (int x = 0; x < cropped.width; ++x)
      for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(mirrored.At(x + 32, y + 16, c), twisted.At(x + 32, twisted.height - 1 - (y + 16), c));
        ASSERT_EQ(cropped.At(x, y, c), mirrored.At(x + 32, y + 16, c));
      }
}

// A dump that cannot do its work ends the run with status 1 and says which
// pin and which path, and nothing is printed as a summary.
TEST_F(FramecraftTool, DumpsThatCannotWriteEndTheRunWithStatusOne) {
  std::string form = kPipelineForm;
  form.insert(form.rfind("end"), "  object Lone1: TTestGrey\n  end\n");  // its input is not connected
  WriteForm("pipe.fcf", form);
  std::ofstream(dir_ / "afile") << "not a directory";
  fs::create_directories(dir_ / "blocked" / "000000.png");  // the first frame's file cannot be written
  struct Case {
    const char* dump;
    std::vector<std::string> named;
  } const cases[] = {
      {"Grey1.OutputPin=afile/sub", {"Grey1.OutputPin", "afile/sub"}},
      {"Grey1.OutputPin=blocked", {"Grey1.OutputPin", "blocked/000000.png"}},
      {"Lone1.InputPin=lone", {"Lone1.InputPin"}},
  };
  for (const Case& c : cases) {
    TChildResult r = Testbed({"run", "pipe.fcf", "--frames", "2", "--dump", c.dump});
    EXPECT_EQ(r.status, 1) << c.dump;
    EXPECT_EQ(r.err.rfind("framecraft: ", 0), 0u) << r.err;
    for (const std::string& name : c.named) EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("frames in"), std::string::npos) << r.out;
  }
}

// Pins of a pin list are dumped by index in either spelling; an index past
// the list is an error naming the list.
TEST_F(FramecraftTool, DumpsReachPinsOfAPinListByIndex) {
  const std::string form = (fs::path(FC_EXAMPLES_DIR) / "playlist.fcf").string();
  TChildResult r =
      Tool({"run", form, "--frames", "2", "--dump", "Playlist1.InputPins[1]=tinted", "--dump", "Playlist1.InputPins.0=plain"});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(CountFiles(dir_ / "plain"), 2);
  ASSERT_EQ(CountFiles(dir_ / "tinted"), 2);
  const TPng plain = ReadPng(dir_ / "plain/000001.png"), tinted = ReadPng(dir_ / "tinted/000001.png");
  EXPECT_NE(plain.pixels, tinted.pixels) << "channel 1 carries the tinted pattern";

  for (const char* outside : {"Playlist1.InputPins[2]=x", "Playlist1.InputPins.9=x"}) {
    TChildResult bad = Tool({"run", form, "--frames", "2", "--dump", outside});
    EXPECT_EQ(bad.status, 1) << outside;
    EXPECT_NE(bad.err.find("Playlist1.InputPins"), std::string::npos) << bad.err;
  }
}

}  // namespace
}  // namespace fc::test
