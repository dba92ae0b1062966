// real_dump.h - writes the blocks of real values reaching a pin as a CSV
// file and one plot per block.
#pragma once

#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

#include "platform/signal/real_pins.h"
#include "tools/framecraft/pin_dump.h"

namespace fc::tool {

/// A sink attached beside a pipeline's real-valued pin: every block (a
/// single value counts as a block of one) that reaches it becomes one line
/// of <directory>/data.csv - the block's index from 0, then its values,
/// comma-separated, each written so that it reads back exactly - and a
/// picture <directory>/NNNNNN.png of the block (see real_plot.h).
class TRealDump : public TComponent, public IPMPinDispatcher, public TPinDump {
public:
  /// Creates the directory; EFCError when it cannot.
  TRealDump(std::string label, std::filesystem::path directory);
  ~TRealDump() override;

  /// Attaches to `pin`: to a source pin directly, to a sink pin through the
  /// source it is connected to. EFCError when the pin carries no real values
  /// or a sink pin has no source.
  void Attach(TPMPin& pin);

  const std::string& Label() const override { return label_; }
  const std::filesystem::path& Directory() const override { return directory_; }
  int Written() const override;
  std::string_view WrittenWhat() const override { return "blocks"; }
  std::string Failure() const override;

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

private:
  void Write(const TWCRealBuffer& block);

  std::string label_;
  std::filesystem::path directory_;
  TWCPMComboRealSinkPin input_;
  mutable std::mutex mutex_;
  std::ofstream csv_;
  int written_ = 0;
  std::string failure_;
};

}  // namespace fc::tool
