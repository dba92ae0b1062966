// The framecraft command-line tool: loads the package, registering its
// components, and runs the command.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "package/catalogue.h"
#include "package/framecraft_package.h"
#include "tools/framecraft/framecraft_tool.h"

int main(int argc, char** argv) {
  fc::package::Initialize();
  fc::package::Register();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = fc::tool::RunFramecraft(args, fc::PackageCatalogue(),
                                             {std::cout, std::cerr, isatty(STDOUT_FILENO) == 1});
  fc::package::Finalize();
  return status;
}
