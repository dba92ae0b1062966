// How the tool reads its command line.
#include <gtest/gtest.h>

#include "tools/framecraft/command_line.h"

namespace fc::tool {
namespace {

TEST(CommandLine, ReadsRunOptionsInBothSpellings) {
  const std::vector<std::string> args{"run", "a.fcf", "--frames=12", "--set", "Resize1.OutputSize.Width=640",
                                      "--dump", "Resize1.OutputPin=out=1", "--set=G.Caption=a=b"};
  TCommandLine line = ParseCommandLine(args);
  EXPECT_EQ(line.command, TCommand::Run);
  EXPECT_EQ(line.operand, "a.fcf");
  EXPECT_EQ(line.frames, 12);
  ASSERT_EQ(line.sets.size(), 2u);
  EXPECT_EQ(line.sets[0].component, "Resize1");
  EXPECT_EQ(line.sets[0].path, "OutputSize.Width");
  EXPECT_EQ(line.sets[0].value, "640");
  EXPECT_EQ(line.sets[1].value, "a=b");  // only the first '=' separates
  ASSERT_EQ(line.dumps.size(), 1u);
  EXPECT_EQ(line.dumps[0].path, "OutputPin");
  EXPECT_EQ(line.dumps[0].value, "out=1");
  EXPECT_FALSE(line.realtime);
  EXPECT_TRUE(ParseCommandLine(std::vector<std::string>{"run", "a.fcf", "--realtime", "--frames", "3"}).realtime);
}

TEST(CommandLine, DefaultsAndRefusals) {
  EXPECT_EQ(ParseCommandLine(std::vector<std::string>{"demo"}).frames, TCommandLine::kDefaultFrames);
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"run", "a", "--frames", "-1"}, {"run", "a", "--frames", "2x"}, {"run", "a", "--frames", "99999999999"},
           {"run", "a", "--set", ".P=1"}, {"run", "a", "--set", "C.=1"}, {"run", "a", "--set", "C.P"},
           {"describe", "A", "B"}, {"run", "--frames", "3"}, {"demo", "--realtime"}})
    EXPECT_THROW(ParseCommandLine(bad), EUsageError) << ::testing::PrintToString(bad);
}

}  // namespace
}  // namespace fc::tool
