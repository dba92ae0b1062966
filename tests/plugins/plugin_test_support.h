// plugin_test_support.h - what the effect host tests share: a window on the
// calls a test plug-in recorded, whether a library is mapped, and a host
// between test pins.
#pragma once

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/media/plugin_library.h"
#include "plugins/Fcfreeframe.h"
#include "tests/plugins/test_plugin_calls.h"
#include "tests/support/component_harness.h"

namespace fc::test {

/// Keeps a test plug-in loaded and reads the calls it recorded (the host
/// loads the same library, so both see one record).
class TRecorder {
public:
  explicit TRecorder(const char* path) : library_(TPluginLibrary::Load(path)) {
    calls_ = library_->Function<fc_test_calls_function>("fc_test_calls");
    library_->Function<fc_test_reset_function>("fc_test_reset")();
  }
  void Reset() const { library_->Function<fc_test_reset_function>("fc_test_reset")(); }
  std::vector<fc_test_call> Calls() const {
    int count = 0;
    const fc_test_call* first = calls_(&count);
    return {first, first + count};
  }
  std::vector<std::uint32_t> Codes() const {
    std::vector<std::uint32_t> codes;
    for (const fc_test_call& call : Calls()) codes.push_back(call.code);
    return codes;
  }
  /// The calls with `code`, in order.
  std::vector<fc_test_call> CallsOf(std::uint32_t code) const {
    std::vector<fc_test_call> found;
    for (const fc_test_call& call : Calls())
      if (call.code == code) found.push_back(call);
    return found;
  }

private:
  std::unique_ptr<TPluginLibrary> library_;
  fc_test_calls_function calls_ = nullptr;
};

/// Whether the file at `path` is mapped into this process.
inline bool Mapped(const std::string& path) {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.find(path) != std::string::npos) return true;
  return false;
}

/// A host with one harness feeding input 0 and collecting the output.
struct THostRun {
  explicit THostRun(const char* plugin = nullptr) {
    host.SetName("FF1");
    if (plugin) host.SetFilterFileName(plugin);
    harness.Feed(host.Input(0));
    harness.Collect(*host.GetOutputPin());
  }
  ~THostRun() { host.BeforeDestruction(); }

  TFCFreeFrame host{nullptr};
  TComponentHarness harness;
};

/// `frame` with every byte inverted.
inline std::vector<Ipp8u> Inverted(const TFCImageBuffer& frame) {
  std::vector<Ipp8u> bytes = BytesOf(frame);
  for (Ipp8u& b : bytes) b = static_cast<Ipp8u>(255 - b);
  return bytes;
}

}  // namespace fc::test
