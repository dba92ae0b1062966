// Fccolormerge.h - three grey planes, each at its own offset, merged into
// one colour frame of a colour space and converted back to blue, green, red.
#pragma once

#include <array>
#include <cstdint>

#include "components/Fcmultiinput.h"
#include "components/color_value.h"
#include "contracts/pins/locked_persistent.h"
#include "contracts/video/color_mode.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Where a plane lies in the merged frame: `X`, `Y` pixels (start 0).
class FC_COMPONENTS_API TFCFrameOffset : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  using TPMLockedPersistent::TPMLockedPersistent;

  std::uint32_t GetX() const { return Load(x_); }
  std::uint32_t GetY() const { return Load(y_); }
  /// Offsets beyond the largest frame side raise EFCError.
  void SetX(std::uint32_t v);
  void SetY(std::uint32_t v);

private:
  std::uint32_t x_ = 0, y_ = 0;
};

/// The offsets of the three channels of a merge.
class FC_COMPONENTS_API TFCMergeChannels : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  TFCMergeChannels(TPersistent* owner, std::string propertyName, const TPMObject& lock);

  TFCFrameOffset* GetChannel1() { return &channels_[0]; }
  TFCFrameOffset* GetChannel2() { return &channels_[1]; }
  TFCFrameOffset* GetChannel3() { return &channels_[2]; }
  TFCFrameOffset& Channel(int index) { return channels_[static_cast<std::size_t>(index)]; }

private:
  std::array<TFCFrameOffset, 3> channels_;
};

/// Whether the merge waits for a channel's plane.
enum class TFCColorMergeShow { psFalse, psTrue, psBackground };

/// Builds colour frames from three grey planes on `InputPins` (channel 0 to
/// 2 of `ColorMode`, default cmRGB; the pins are named after the channels).
///
/// Each plane is copied into its channel of a work frame at its channel's
/// offset (`Channels`); where no plane reaches, the channel holds the byte
/// of `BackgroundColor`. Once every running channel has delivered one plane
/// (a second plane on a channel before that is ignored), the work frame is
/// converted from the colour mode to blue, green, red and sent.
///
/// The output size is the largest plane size plus offset over the running
/// channels; it is announced when the first input starts, and again when a
/// later start or a plane of another size changes it (the work frame is then
/// refilled and the planes of that round dropped). Planes and offsets are
/// clipped to the work frame, so no plane writes outside it. Colour frames
/// arriving on an input are taken as their grey value. The output stops when
/// every input that started has stopped.
class FC_COMPONENTS_API TFCColorMerge : public TFCMultiInput {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCColorMode kColorModeDefault = cmRGB;
  static constexpr TColor kBackgroundColorDefault = 0;
  static constexpr int kStartWorkSize = 600;

  explicit TFCColorMerge(TComponent* owner);
  ~TFCColorMerge() override { RetirePins(); }

  TColor GetBackgroundColor() const;
  void SetBackgroundColor(TColor color);
  TFCMergeChannels* GetChannels() { return &channels_; }
  void SetChannels(const TFCMergeChannels& channels) { channels_.Assign(channels); }
  TFCColorMode GetColorMode() const;
  /// Stores the mode and renames the three inputs when it changes.
  void SetColorMode(TFCColorMode mode);

protected:
  void HandleInput(TFCPMQueuedImageSinkPin& pin, const TPMOperation& operation) override;

private:
  struct TChannelState {
    TFCColorMergeShow show = TFCColorMergeShow::psFalse;
    IppiSize plane{0, 0};
    bool received = false;
  };

  int IndexOf(const TFCPMQueuedImageSinkPin& pin) const;
  IppiSize OutputSize();
  void StartChannel(int index, const TPMStartFrameOperation& start);
  void ReceivePlane(int index, const TFCImageBuffer& plane);
  void ResizeWork(IppiSize size, double rate);
  bool FillBackground();
  bool CopyPlane(int index, const TFCImageBuffer& plane);
  void SendMerged();
  void StartRound();

  TColor backgroundColor_ = kBackgroundColorDefault;
  TFCMergeChannels channels_;
  TFCColorMode mode_ = kColorModeDefault;
  std::array<TChannelState, 3> state_;
  TFCImageBuffer work_;
  double rate_ = 0;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fccolormerge)
