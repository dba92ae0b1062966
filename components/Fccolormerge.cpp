#include "components/Fccolormerge.h"

#include <algorithm>
#include <limits>

#include "contracts/video/color_mode_conversion.h"
#include "contracts/video/helper_primitives.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

const TClassInfo& TFCFrameOffset::StaticClassInfo() {
  using O = TFCFrameOffset;
  static const TClassInfo info = TClassBuilder<O>("TFCFrameOffset", &TPersistent::StaticClassInfo())
                                     .Property("X", &O::GetX, &O::SetX)
                                     .Property("Y", &O::GetY, &O::SetY)
                                     .Build();
  return info;
}

void TFCFrameOffset::SetX(std::uint32_t v) {
  CheckFrameSide(NamePath(), "X", v);
  Store(x_, v);
}

void TFCFrameOffset::SetY(std::uint32_t v) {
  CheckFrameSide(NamePath(), "Y", v);
  Store(y_, v);
}

const TClassInfo& TFCMergeChannels::StaticClassInfo() {
  using C = TFCMergeChannels;
  static const TClassInfo info = TClassBuilder<C>("TFCMergeChannels", &TPersistent::StaticClassInfo())
                                     .Object("Channel1", &C::GetChannel1)
                                     .Object("Channel2", &C::GetChannel2)
                                     .Object("Channel3", &C::GetChannel3)
                                     .Build();
  return info;
}

TFCMergeChannels::TFCMergeChannels(TPersistent* owner, std::string propertyName, const TPMObject& lock)
    : TPMLockedPersistent(owner, std::move(propertyName), lock),
      channels_{TFCFrameOffset(this, "Channel1", lock), TFCFrameOffset(this, "Channel2", lock),
                TFCFrameOffset(this, "Channel3", lock)} {}

const TClassInfo& TFCColorMerge::StaticClassInfo() {
  using M = TFCColorMerge;
  static const TClassInfo info =
      TClassBuilder<M>("TFCColorMerge", &TFCMultiInput::StaticClassInfo())
          .PinList<TPMPinList>("InputPins", &M::GetInputPins)
          .Property<TColor, TColor>("BackgroundColor", &M::GetBackgroundColor, &M::SetBackgroundColor,
                                    kBackgroundColorDefault, kColorTypeName)
          .Object("Channels", &M::GetChannels)
          .Enum("ColorMode", &M::GetColorMode, &M::SetColorMode, ColorModeInfo(), kColorModeDefault)
          .Build();
  return info;
}

TFCColorMerge::TFCColorMerge(TComponent* owner)
    : TFCMultiInput(owner), channels_(this, "Channels", *this), work_(kStartWorkSize, kStartWorkSize) {
  for (std::string_view name : ColorModeChannelNames(kColorModeDefault)) AddInputPin(std::string(name));
}

TColor TFCColorMerge::GetBackgroundColor() const {
  auto section = ReadLock();
  return backgroundColor_;
}

void TFCColorMerge::SetBackgroundColor(TColor color) {
  auto section = WriteLock();
  backgroundColor_ = color;
}

TFCColorMode TFCColorMerge::GetColorMode() const {
  auto section = ReadLock();
  return mode_;
}

void TFCColorMerge::SetColorMode(TFCColorMode mode) {
  auto section = WriteLock();
  if (mode == mode_) return;
  mode_ = mode;
  const auto names = ColorModeChannelNames(mode);
  for (int i = 0; i < 3; ++i) GetInputPins()->SetName(i, std::string(names[static_cast<std::size_t>(i)]));
}

int TFCColorMerge::IndexOf(const TFCPMQueuedImageSinkPin& pin) const {
  for (int i = 0; i < InputCount(); ++i)
    if (&Input(i) == &pin) return i;
  return -1;
}

void TFCColorMerge::HandleInput(TFCPMQueuedImageSinkPin& pin, const TPMOperation& operation) {
  const int index = IndexOf(pin);
  TChannelState& channel = state_[static_cast<std::size_t>(index)];
  if (const auto* start = operation->As<TPMStartFrameOperation>()) {
    StartChannel(index, *start);
  } else if (auto plane = FrameOf(operation)) {
    if (IsStarted() && channel.show == TFCColorMergeShow::psTrue && !channel.received) ReceivePlane(index, *plane);
  } else if (operation->Is<TPMStopOperation>()) {
    // A stopped channel is no longer waited for.
    pin.Stopped();
    channel = TChannelState{};
    TrySendStop();
  } else {
    Send(operation);
  }
}

// The largest plane size plus offset over the running channels.
IppiSize TFCColorMerge::OutputSize() {
  std::int64_t width = 0, height = 0;
  for (int i = 0; i < 3; ++i) {
    const TChannelState& channel = state_[static_cast<std::size_t>(i)];
    if (channel.show != TFCColorMergeShow::psTrue || !Input(i).ConnectedSource()) continue;
    width = std::max<std::int64_t>(width, channel.plane.width + std::int64_t{channels_.Channel(i).GetX()});
    height = std::max<std::int64_t>(height, channel.plane.height + std::int64_t{channels_.Channel(i).GetY()});
  }
  if (!WithinFrameBudget(width, height, 3)) {
    ReportFailure("merging planes into a frame over the size budget", ippStsSizeErr);
    return work_.SizeRecord();
  }
  return {static_cast<int>(width), static_cast<int>(height)};
}

void TFCColorMerge::StartChannel(int index, const TPMStartFrameOperation& start) {
  Input(index).Started(start);
  TChannelState& channel = state_[static_cast<std::size_t>(index)];
  channel.show = TFCColorMergeShow::psTrue;
  channel.plane = {std::max(start.Width(), 0), std::max(start.Height(), 0)};
  rate_ = 0;
  for (int i = 0; i < InputCount(); ++i)
    if (Input(i).IsRunning()) rate_ = std::max(rate_, Input(i).Rate());
  const IppiSize size = OutputSize();
  if (!IsStarted() || size.width != work_.Width() || size.height != work_.Height()) ResizeWork(size, rate_);
  StartRound();
}

void TFCColorMerge::ResizeWork(IppiSize size, double rate) {
  work_.SetSize(size.width, size.height);
  SendStartFrame(size.width, size.height, rate, vfRGB24);
  if (!IsStarted()) TFCMultiInput::CalculateSendStart(rate, size.width, size.height);
}

// Begins a round: the work frame holds the background, no plane is in.
void TFCColorMerge::StartRound() {
  for (TChannelState& channel : state_) channel.received = false;
  if (work_.Size() == 0) return;
  // Channel k holds byte k of the colour, so in cmRGB the background shows
  // as the colour it names.
  const TColorBytes bytes = ColorBytes(backgroundColor_);
  PrimitiveSucceeded(ippiSet_8u_C3R(bytes.bytes, work_.Overwrite(), work_.Step(), work_.SizeRecord()),
                     "ippiSet_8u_C3R");
}

void TFCColorMerge::ReceivePlane(int index, const TFCImageBuffer& arrived) {
  TFCImageBuffer plane(arrived);
  plane.ConvertTo(vfGray8);
  TChannelState& channel = state_[static_cast<std::size_t>(index)];
  if (plane.Width() != channel.plane.width || plane.Height() != channel.plane.height) {
    channel.plane = plane.SizeRecord();
    const IppiSize size = OutputSize();
    if (size.width != work_.Width() || size.height != work_.Height()) {
      ResizeWork(size, rate_);
      StartRound();
    }
  }
  if (!CopyPlane(index, plane)) {
    StartRound();
    return;
  }
  channel.received = true;
  for (const TChannelState& other : state_)
    if (other.show == TFCColorMergeShow::psTrue && !other.received) return;
  SendMerged();
  StartRound();
}

// Copies the part of the plane that lies inside the work frame.
bool TFCColorMerge::CopyPlane(int index, const TFCImageBuffer& plane) {
  const std::int64_t x = channels_.Channel(index).GetX(), y = channels_.Channel(index).GetY();
  const IppiSize region{static_cast<int>(std::clamp<std::int64_t>(work_.Width() - x, 0, plane.Width())),
                        static_cast<int>(std::clamp<std::int64_t>(work_.Height() - y, 0, plane.Height()))};
  if (region.width == 0 || region.height == 0) return true;
  Ipp8u* target = work_.Modify() + y * work_.Step() + x * 3 + index;
  return PrimitiveSucceeded(ippiCopy_8u_C1C3R(plane.Read(), plane.Step(), target, work_.Step(), region),
                            "ippiCopy_8u_C1C3R");
}

void TFCColorMerge::SendMerged() {
  if (work_.Size() == 0) return;
  auto out = std::make_shared<TFCImageBuffer>();
  std::string_view failed;
  if (!PrimitiveSucceeded(ConvertFromColorMode(work_, mode_, *out, &failed), failed)) return;
  SendFrame(std::move(out));
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fccolormerge, TFCColorMerge)
