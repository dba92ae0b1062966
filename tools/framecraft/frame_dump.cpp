#include "tools/framecraft/frame_dump.h"

#include <cstdio>
#include <system_error>

#include "platform/runtime/error.h"
#include "tools/framecraft/png_writer.h"

namespace fc::tool {

namespace {

std::filesystem::path NumberedFile(const std::filesystem::path& directory, int index) {
  char name[32];
  std::snprintf(name, sizeof name, "%06d.png", index);
  return directory / name;
}

}  // namespace

TFrameDump::TFrameDump(std::string label, std::filesystem::path directory)
    : TComponent(nullptr), label_(std::move(label)), directory_(std::move(directory)), input_(this, *this) {
  std::error_code error;
  std::filesystem::create_directories(directory_, error);
  if (error || !std::filesystem::is_directory(directory_))
    throw EFCError(label_ + ": cannot create directory " + directory_.string());
}

TFrameDump::~TFrameDump() { input_.Retire(); }

void TFrameDump::Attach(TPMPin& pin) {
  if (pin.MediaType() != kImageMedia) throw EFCError(label_ + " is not an image pin");
  if (pin.CanSend()) {
    pin.Connect(input_);
    return;
  }
  TPMPin* source = pin.ConnectedSource();
  if (!source) throw EFCError(label_ + " is not connected, so no frames reach it");
  source->Connect(input_);
}

int TFrameDump::FramesWritten() const {
  std::lock_guard guard(mutex_);
  return written_;
}

int TFrameDump::StopsSeen() const {
  std::lock_guard guard(mutex_);
  return stops_;
}

std::string TFrameDump::Failure() const {
  std::lock_guard guard(mutex_);
  return failure_;
}

bool TFrameDump::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  std::lock_guard guard(mutex_);
  if (operation->Is<TPMStopOperation>()) ++stops_;
  auto frame = FrameOf(operation);
  if (!frame || !failure_.empty()) return true;
  try {
    WritePng(*frame, NumberedFile(directory_, written_));
    ++written_;
  } catch (const EFCError& error) {
    failure_ = label_ + ": " + error.what();
  }
  return true;
}

}  // namespace fc::tool
