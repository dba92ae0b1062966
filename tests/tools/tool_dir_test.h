// A fixture for tests that run the framecraft tool in a folder of their own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/tools/child_process.h"

namespace fc::test {

/// Gives each test a fresh working folder, named after the suite, the process
/// and the test, and removes it afterwards; Tool runs the framecraft binary
/// there, so relative paths in arguments and forms land in the folder.
class TToolDirTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("fc_") + test->test_suite_name() + "_" + std::to_string(getpid()) + "_" + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  TChildResult Tool(const std::vector<std::string>& args) { return RunChild(FC_TOOL_BINARY, args, dir_); }

  std::filesystem::path dir_;
};

}  // namespace fc::test
