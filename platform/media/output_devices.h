// output_devices.h - the transmit devices a video output can send a stream
// to, enumerated by name in one category, and the device object a stream is
// rendered to.
//
//   device name       accepts                     what it is
//   Preview Window    24-bit BGR frames directly  a window showing the frames
//   DV Stream         DV only                     a DV stream into a file or named pipe
//   Null Output       24-bit BGR frames directly  discards frames; for tests and benchmarks
//
// The audio output devices are in audio_output.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/video/image_buffer.h"
#include "platform/media/reference_clock.h"
#include "platform/runtime/components_api.h"

namespace fc::media {

inline constexpr std::string_view kPreviewWindowDevice = "Preview Window";
inline constexpr std::string_view kDVStreamDevice = "DV Stream";
inline constexpr std::string_view kNullOutputDevice = "Null Output";

/// What a device takes: frames as they are, or a DV stream.
enum class TDSDeviceInput { Bgr24, DV };

/// The stream a device is opened for; the frame duration in 100-ns units.
struct FC_COMPONENTS_API TDSVideoStreamInfo {
  int width = 0;
  int height = 0;
  std::int64_t frameDuration = 0;
};

/// One opened transmit device. Each has its own reference clock, which
/// paces the stream sent to it. When the device goes away while it runs (its
/// window closed, the reader of its pipe gone) it is lost: it renders
/// nothing more and calls its lost handler once.
class FC_COMPONENTS_API TDSTransmitDevice {
public:
  virtual ~TDSTransmitDevice();
  TDSTransmitDevice(const TDSTransmitDevice&) = delete;
  TDSTransmitDevice& operator=(const TDSTransmitDevice&) = delete;

  const std::string& Name() const { return name_; }
  virtual TDSDeviceInput Input() const = 0;
  /// Prepares the device for a stream; empty on success, else the reason.
  virtual std::string Open(const TDSVideoStreamInfo& stream) = 0;
  /// Renders one frame (devices taking Bgr24; vfRGB24 frames); false when
  /// the device is lost or takes no frames. Never waits for the device.
  virtual bool RenderFrame(const TFCImageBuffer& frame);
  /// Ends the stream; the device may be opened again.
  virtual void Close() {}

  TDSReferenceClock& Clock() { return clock_; }
  bool IsLost() const { return lost_.load(); }
  /// Called once, on the thread that finds the loss: it must not wait for
  /// the device (not close or destroy it) nor call SetOnLost, only note the
  /// loss and hand the rest to another thread. Once SetOnLost returns, the
  /// handler it replaced is not running.
  void SetOnLost(std::function<void()> handler);
  std::int64_t FramesRendered() const { return rendered_.load(); }

protected:
  explicit TDSTransmitDevice(std::string name) : name_(std::move(name)) {}
  void MarkLost();
  void CountRendered() { ++rendered_; }

private:
  std::string name_;
  TDSReferenceClock clock_;
  std::atomic<bool> lost_{false};
  std::atomic<std::int64_t> rendered_{0};
  std::mutex handlerMutex_;
  std::function<void()> onLost_;
};

/// Discards the frames it is given, counting them; paced like any device.
class FC_COMPONENTS_API TDSNullOutput : public TDSTransmitDevice {
public:
  TDSNullOutput() : TDSTransmitDevice(std::string(kNullOutputDevice)) {}
  TDSDeviceInput Input() const override { return TDSDeviceInput::Bgr24; }
  std::string Open(const TDSVideoStreamInfo&) override { return {}; }
  bool RenderFrame(const TFCImageBuffer& frame) override;
};

/// The transmit devices present now, in the order they are offered: the
/// preview window only where a display can be opened.
FC_COMPONENTS_API std::vector<std::string> TransmitDeviceNames();

/// Makes the device of that name, writing to `target` where the device
/// writes somewhere (the DV stream's file or named pipe); null when no such
/// device is present.
FC_COMPONENTS_API std::unique_ptr<TDSTransmitDevice> CreateTransmitDevice(std::string_view name,
                                                                         const std::string& target);

}  // namespace fc::media
