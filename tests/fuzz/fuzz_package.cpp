#include "tests/fuzz/fuzz_package.h"

#include "package/framecraft_package.h"
#include "platform/runtime/resource_budget.h"

namespace fc::fuzz {

void PreparePackage() {
  static const bool prepared = [] {
    package::Initialize();
    package::Register();
    SetMaxBufferBytes(std::uint64_t{64} << 20);
    return true;
  }();
  (void)prepared;
}

}  // namespace fc::fuzz
