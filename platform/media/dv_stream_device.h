// dv_stream_device.h - the "DV Stream" transmit device: a DV stream written
// into a file or a named pipe (the device's target), for the tools that feed
// a DV deck.
#pragma once

#include <string>

#include "platform/media/output_devices.h"
#include "platform/runtime/components_api.h"

namespace fc::media {

/// Takes DV only: a graph writes the DV stream to `Output()`. A regular file
/// is created or truncated by the writer. A named pipe is opened here and
/// must have a reader (one is waited for up to kReaderWait); once its reader
/// goes away the device is lost, and the writes that find it gone fail
/// instead of ending the process: opening a pipe sets SIGPIPE to be ignored
/// when the process left it at its default.
class FC_COMPONENTS_API TDSDVStreamDevice : public TDSTransmitDevice {
public:
  static constexpr int kReaderWaitMs = 2000;

  explicit TDSDVStreamDevice(std::string target)
      : TDSTransmitDevice(std::string(kDVStreamDevice)), target_(std::move(target)) {}
  ~TDSDVStreamDevice() override { Close(); }

  TDSDeviceInput Input() const override { return TDSDeviceInput::DV; }
  std::string Open(const TDSVideoStreamInfo& stream) override;
  void Close() override;

  const std::string& Target() const { return target_; }
  /// Where the writer writes: the target's path, or "pipe:<descriptor>" for
  /// a named pipe opened here. Empty until opened.
  const std::string& Output() const { return output_; }

  /// A DV frame went into the output.
  void FrameWritten() { CountRendered(); }
  /// A write into the output failed with FFmpeg's `errorCode`: a broken pipe
  /// (its reader gone) loses the device.
  void WriteFailed(int errorCode);

private:
  std::string target_;
  std::string output_;
  int pipe_ = -1;
};

}  // namespace fc::media
