#include "tools/framecraft/real_dump.h"

#include <charconv>
#include "platform/runtime/error.h"
#include "tools/framecraft/png_writer.h"
#include "tools/framecraft/real_plot.h"

namespace fc::tool {

namespace {

// The shortest text that reads back as the same double.
void AppendValue(std::string& line, double v) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, v);
  line.append(text, result.ptr);
}

}  // namespace

TRealDump::TRealDump(std::string label, std::filesystem::path directory)
    : TComponent(nullptr), label_(std::move(label)), directory_(std::move(directory)), input_(this, *this) {
  CreateDumpDirectory(directory_, label_);
  csv_.open(directory_ / "data.csv", std::ios::out | std::ios::trunc);
  if (!csv_) throw EFCError(label_ + ": cannot write " + (directory_ / "data.csv").string());
}

TRealDump::~TRealDump() { input_.Retire(); }

void TRealDump::Attach(TPMPin& pin) {
  if (pin.MediaType() != kRealMedia) throw EFCError(label_ + " is not a real-valued pin");
  ConnectBeside(pin, input_, label_);
}

int TRealDump::Written() const {
  std::lock_guard guard(mutex_);
  return written_;
}

std::string TRealDump::Failure() const {
  std::lock_guard guard(mutex_);
  return failure_;
}

bool TRealDump::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  std::lock_guard guard(mutex_);
  auto block = RealSamplesOf(operation);
  if (!block || !failure_.empty()) return true;
  try {
    Write(*block);
    ++written_;
  } catch (const EFCError& error) {
    failure_ = label_ + ": " + error.what();
  }
  return true;
}

void TRealDump::Write(const TWCRealBuffer& block) {
  std::string line = std::to_string(written_);
  for (int i = 0; i < block.Length(); ++i) {
    line += ',';
    AppendValue(line, block.Read()[i]);
  }
  line += '\n';
  csv_ << line << std::flush;
  if (!csv_) throw EFCError("cannot write " + (directory_ / "data.csv").string());
  WritePng(PlotValues(block.Read(), block.Length()), NumberedPng(directory_, written_));
}

}  // namespace fc::tool
