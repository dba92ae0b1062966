// The framecraft tool over the test components instead of the package's:
// the tool's end-to-end tests run it as a child process.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tests/tools/tool_test_components.h"
#include "tools/framecraft/framecraft_tool.h"

int main(int argc, char** argv) {
  fc::TFCCatalogue catalogue(fc::test::TestCatalogueTable());
  fc::test::RegisterTestComponents(catalogue);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return fc::tool::RunFramecraft(args, catalogue, {std::cout, std::cerr, isatty(STDOUT_FILENO) == 1});
}
