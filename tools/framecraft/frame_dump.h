// frame_dump.h - writes the frames reaching a pin as numbered PNG files.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>

#include "contracts/video/image_pins.h"
#include "tools/framecraft/pin_dump.h"

namespace fc::tool {

/// A sink attached beside a pipeline's pin: every frame that reaches it is
/// written to <directory>/NNNNNN.png, numbered from 000000. Write failures
/// are kept, not thrown into the pipeline: the frame still reaches the other
/// sinks, and the runner asks `Failure()` after each step.
class TFrameDump : public TComponent, public IPMPinDispatcher, public TPinDump {
public:
  /// Creates the directory; EFCError when it cannot.
  TFrameDump(std::string label, std::filesystem::path directory);
  ~TFrameDump() override;

  /// Attaches to `pin`: to a source pin directly, to a sink pin through the
  /// source it is connected to (the same frames reach both). EFCError when
  /// the pin carries no frames or a sink pin has no source.
  void Attach(TPMPin& pin);

  /// Frames after the first `frames` are not written (0, the default:
  /// every frame is).
  void SetFrameLimit(int frames);

  const std::string& Label() const override { return label_; }
  const std::filesystem::path& Directory() const override { return directory_; }
  int FramesWritten() const;
  int Written() const override { return FramesWritten(); }
  std::string_view WrittenWhat() const override { return "frames"; }
  int StopsSeen() const;
  std::string Failure() const override;

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

private:
  std::string label_;
  std::filesystem::path directory_;
  TFCPMImageSinkPin input_;
  mutable std::mutex mutex_;
  int written_ = 0;
  int limit_ = 0;
  int stops_ = 0;
  std::string failure_;
};

}  // namespace fc::tool
