// Form text, read and loaded onto live components of the package, then saved
// again: every syntax or value error must end as EFCError.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/runtime/error.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/form_reader.h"
#include "platform/runtime/form_saver.h"
#include "platform/runtime/form_writer.h"
#include "tests/fuzz/fuzz_package.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fc::fuzz::PreparePackage();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    auto root = fc::LoadForm(fc::readForm(text, "fuzz.fcf"), fc::PackageCatalogue().ClassLookup());
    (void)fc::writeForm(fc::SaveForm(*root, "fuzz.fcf"));
  } catch (const fc::EFCError&) {
  }
  return 0;
}
