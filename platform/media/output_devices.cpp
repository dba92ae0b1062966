#include "platform/media/output_devices.h"

#include "platform/media/dv_stream_device.h"
#include "platform/media/preview_window.h"

namespace fc::media {

TDSTransmitDevice::~TDSTransmitDevice() = default;

bool TDSTransmitDevice::RenderFrame(const TFCImageBuffer&) { return false; }

void TDSTransmitDevice::SetOnLost(std::function<void()> handler) {
  std::lock_guard guard(handlerMutex_);
  onLost_ = std::move(handler);
}

void TDSTransmitDevice::MarkLost() {
  if (lost_.exchange(true)) return;
  // Called under the lock, so a handler replaced or removed is not running
  // any more once SetOnLost returns.
  std::lock_guard guard(handlerMutex_);
  if (onLost_) onLost_();
}

bool TDSNullOutput::RenderFrame(const TFCImageBuffer&) {
  if (IsLost()) return false;
  CountRendered();
  return true;
}

std::vector<std::string> TransmitDeviceNames() {
  std::vector<std::string> names;
  if (PreviewDisplayError().empty()) names.emplace_back(kPreviewWindowDevice);
  names.emplace_back(kDVStreamDevice);
  names.emplace_back(kNullOutputDevice);
  return names;
}

std::unique_ptr<TDSTransmitDevice> CreateTransmitDevice(std::string_view name, const std::string& target) {
  if (name == kNullOutputDevice) return std::make_unique<TDSNullOutput>();
  if (name == kDVStreamDevice) return std::make_unique<TDSDVStreamDevice>(target);
  if (name == kPreviewWindowDevice && PreviewDisplayError().empty()) return std::make_unique<TDSPreviewWindow>();
  return nullptr;
}

}  // namespace fc::media
