// fuzz_package.h - what the fuzz targets over components share: the package
// registered once, and a frame budget small enough that no input can ask the
// fuzzer's process for more memory than its limit.
#pragma once

#include "package/catalogue.h"

namespace fc::fuzz {

/// Registers the package's components (once) and lowers the buffer budget.
void PreparePackage();

}  // namespace fc::fuzz
