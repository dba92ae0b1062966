// child_process.h - runs a program as a child process and collects what it
// printed and its exit status.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fc::test {

struct TChildResult {
  int status = -1;  ///< the exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

/// Runs `program` with `args` in `directory`, stdout and stderr caught.
TChildResult RunChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& directory);

}  // namespace fc::test
