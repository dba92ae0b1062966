#include "tools/framecraft/pin_dump.h"

#include "platform/signal/real_pins.h"
#include "tools/framecraft/frame_dump.h"
#include "tools/framecraft/real_dump.h"

#include <cstdio>
#include <system_error>

#include "platform/runtime/error.h"

namespace fc::tool {

void CreateDumpDirectory(const std::filesystem::path& directory, const std::string& label) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error || !std::filesystem::is_directory(directory))
    throw EFCError(label + ": cannot create directory " + directory.string());
}

std::filesystem::path NumberedPng(const std::filesystem::path& directory, int index) {
  char name[32];
  std::snprintf(name, sizeof name, "%06d.png", index);
  return directory / name;
}

void ConnectBeside(TPMPin& pin, TPMPin& input, const std::string& label) {
  if (pin.CanSend()) {
    pin.Connect(input);
    return;
  }
  TPMPin* source = pin.ConnectedSource();
  if (!source) throw EFCError(label + " is not connected, so nothing reaches it");
  source->Connect(input);
}

std::unique_ptr<TPinDump> AttachDump(TPMPin& pin, std::string label, std::filesystem::path directory) {
  if (pin.MediaType() == kRealMedia) {
    auto dump = std::make_unique<TRealDump>(std::move(label), std::move(directory));
    dump->Attach(pin);
    return dump;
  }
  auto dump = std::make_unique<TFrameDump>(std::move(label), std::move(directory));
  dump->Attach(pin);
  return dump;
}

}  // namespace fc::tool
