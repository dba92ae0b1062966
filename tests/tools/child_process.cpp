#include "tests/tools/child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace fc::test {

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// In the child: redirects `fd` into a new file at `path`.
void RedirectInto(int fd, const std::filesystem::path& path) {
  int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0 || dup2(file, fd) < 0) _exit(126);
  close(file);
}

}  // namespace

TChildResult RunChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& directory) {
  const auto outPath = directory / ".child-out", errPath = directory / ".child-err";
  std::vector<std::string> argv{program.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);

  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(directory.c_str()) != 0) _exit(126);
    RedirectInto(STDOUT_FILENO, outPath);
    RedirectInto(STDERR_FILENO, errPath);
    execv(pointers[0], pointers.data());
    _exit(127);
  }
  TChildResult result;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.status = WEXITSTATUS(status);
  result.out = ReadAll(outPath);
  result.err = ReadAll(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return result;
}

}  // namespace fc::test
