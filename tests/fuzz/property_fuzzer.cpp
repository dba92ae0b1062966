// Property text through the published setters of every registered class.
// The input picks a class, then any number of (property, text) pairs; each
// setter either takes the text or raises EFCError.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/runtime/component.h"
#include "platform/runtime/error.h"
#include "tests/fuzz/fuzz_package.h"

namespace {

// Dotted paths of the scalar properties of `object` and its sub-objects.
void CollectPaths(fc::TPersistent& object, const std::string& prefix, int depth, std::vector<std::string>& out) {
  for (const fc::TPropertyInfo* property : object.ClassInfo().Properties()) {
    const std::string path = prefix + property->Name();
    switch (property->Kind()) {
      case fc::TPropertyKind::Object:
        if (fc::TPersistent* sub = property->GetObject(object); sub && depth < 3)
          CollectPaths(*sub, path + ".", depth + 1, out);
        break;
      case fc::TPropertyKind::Collection:
      case fc::TPropertyKind::Pin:
      case fc::TPropertyKind::PinList: break;
      default: out.push_back(path);
    }
  }
}

// Reads the input front to back; past its end every read gives 0.
struct TInput {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  bool Empty() const { return at >= size; }
  std::uint8_t Byte() { return at < size ? data[at++] : 0; }
  std::string Text() {
    const std::size_t length = std::min<std::size_t>(Byte(), size - std::min(at, size));
    std::string text(reinterpret_cast<const char*>(data) + at, length);
    at += length;
    return text;
  }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fc::fuzz::PreparePackage();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<fc::TCatalogueItem> classes = fc::PackageCatalogue().Components();
  if (classes.empty() || size == 0) return 0;
  TInput input{data, size};
  const fc::TClassInfo& info = *classes[input.Byte() % classes.size()].classInfo;
  std::unique_ptr<fc::TComponent> component = info.Create(nullptr);
  component->SetName("Fuzzed1");
  std::vector<std::string> paths;
  CollectPaths(*component, "", 0, paths);
  if (paths.empty()) return 0;
  while (!input.Empty()) {
    const std::string& path = paths[input.Byte() % paths.size()];
    const std::string text = input.Text();
    try {
      fc::SetPropertyText(*component, path, text);
      const fc::TPropertyTarget target = fc::ResolveProperty(*component, path);
      (void)target.property->GetValue(*target.object);
    } catch (const fc::EFCError&) {
    }
  }
  return 0;
}
