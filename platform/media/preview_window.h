// preview_window.h - the "Preview Window" transmit device: a window on the
// display showing the frames it is given.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/media/output_devices.h"
#include "platform/runtime/components_api.h"

namespace fc::media {

/// Empty when a preview window can be opened now; otherwise why not (no
/// display: SDL's reason). SDL picks the display from the environment
/// (DISPLAY, WAYLAND_DISPLAY); SDL_VIDEODRIVER=offscreen or dummy opens
/// windows that show nowhere, which SDL otherwise falls back to only when
/// there is no display, and that counts as none.
FC_COMPONENTS_API std::string PreviewDisplayError();

/// A resizable window showing 24-bit BGR frames scaled to its size.
///
/// Every window lives on one thread shared by all preview windows of the
/// process, which alone talks to the window system. RenderFrame only hands
/// the frame over and never waits: when the window falls behind, the newest
/// frame wins and the ones it replaced are counted. Closing the window (its
/// close button) makes the device lost.
class FC_COMPONENTS_API TDSPreviewWindow : public TDSTransmitDevice {
public:
  TDSPreviewWindow();
  ~TDSPreviewWindow() override;

  TDSDeviceInput Input() const override { return TDSDeviceInput::Bgr24; }
  /// Opens the window at the stream's size.
  std::string Open(const TDSVideoStreamInfo& stream) override;
  bool RenderFrame(const TFCImageBuffer& frame) override;
  void Close() override;

  /// Closes the window as its user would, through the window system: the
  /// device becomes lost.
  void RequestClose();
  /// What the window shows now, read back from it at the window's size (an
  /// empty frame when it is not open).
  TFCImageBuffer Snapshot();
  /// Frames drawn, and frames replaced by a newer one before they were.
  std::int64_t FramesShown() const;
  std::int64_t FramesReplaced() const;

  struct TState;

private:
  std::shared_ptr<TState> state_;
};

}  // namespace fc::media
