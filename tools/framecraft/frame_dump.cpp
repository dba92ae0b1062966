#include "tools/framecraft/frame_dump.h"

#include "platform/runtime/error.h"
#include "tools/framecraft/png_writer.h"

namespace fc::tool {

TFrameDump::TFrameDump(std::string label, std::filesystem::path directory)
    : TComponent(nullptr), label_(std::move(label)), directory_(std::move(directory)), input_(this, *this) {
  CreateDumpDirectory(directory_, label_);
}

TFrameDump::~TFrameDump() { input_.Retire(); }

void TFrameDump::Attach(TPMPin& pin) {
  if (pin.MediaType() != kImageMedia) throw EFCError(label_ + " is not an image pin");
  ConnectBeside(pin, input_, label_);
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

void TFrameDump::SetFrameLimit(int frames) {
  std::lock_guard guard(mutex_);
  limit_ = frames;
}

bool TFrameDump::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  std::lock_guard guard(mutex_);
  if (operation->Is<TPMStopOperation>()) ++stops_;
  auto frame = FrameOf(operation);
  if (!frame || !failure_.empty() || (limit_ > 0 && written_ >= limit_)) return true;
  try {
    WritePng(*frame, NumberedPng(directory_, written_));
    ++written_;
  } catch (const EFCError& error) {
    failure_ = label_ + ": " + error.what();
  }
  return true;
}

}  // namespace fc::tool
