#include "components/Fccolorstoreal.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "contracts/video/color_mode_conversion.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

const TEnumInfo& ScanModeInfo() {
  static const TEnumInfo info("TFCScanMode", {"smLine", "smFrame"});
  return info;
}

const TClassInfo& TFCColorsToReal::StaticClassInfo() {
  using C = TFCColorsToReal;
  static const TClassInfo info =
      TClassBuilder<C>("TFCColorsToReal", &TFCSinkFilter::StaticClassInfo())
          .PinList("OutputPins", &C::GetOutputPins)
          .Enum("ColorMode", &C::GetColorMode, &C::SetColorMode, ColorModeInfo(), kColorModeDefault)
          .Enum("ScanMode", &C::GetScanMode, &C::SetScanMode, ScanModeInfo(), kScanModeDefault)
          .Build();
  return info;
}

// A frame ready to be sent: one grey plane, or three channels of the mode
// interleaved in each pixel.
struct TFCColorsToReal::TChannels {
  TFCColorMode mode = cmRGB;
  bool grey = false;
  TFCImageBuffer frame;
};

namespace {

// A fresh block of `count` samples: the bytes at first, first + stride ...
IWCRealBuffer Samples(const Ipp8u* first, int count, int stride) {
  IWCRealBuffer block = MakeRealBuffer(count);
  double* out = block->Write();
  for (int i = 0; i < count; ++i, first += stride) out[i] = *first;
  return block;
}

// Samples per block and blocks per frame: a row per block, or the frame.
struct TBlocks {
  int length, count;
};
TBlocks BlocksOf(const TFCImageBuffer& frame, TFCScanMode scan) {
  if (scan == smLine) return {frame.Width(), frame.Height()};
  return {frame.Width() * frame.Height(), 1};
}

IWCRealBuffer Constant(int count, double value) {
  IWCRealBuffer block = MakeRealBuffer(count);
  if (value != 0) std::fill_n(block->Write(), count, value);
  return block;
}

}  // namespace

TFCColorsToReal::TFCColorsToReal(TComponent* owner) : TFCSinkFilter(owner), pins_(this, *this) {}

TFCColorsToReal::~TFCColorsToReal() {
  RetirePins();
  pins_.Retire();
}

TFCColorMode TFCColorsToReal::GetColorMode() const {
  auto section = ReadLock();
  return colorMode_;
}

void TFCColorsToReal::SetColorMode(TFCColorMode mode) {
  {
    auto section = WriteLock();
    if (mode == colorMode_) return;
    colorMode_ = mode;
  }
  pins_.Name(mode);
}

TFCScanMode TFCColorsToReal::GetScanMode() const {
  auto section = ReadLock();
  return scanMode_;
}

void TFCColorsToReal::SetScanMode(TFCScanMode mode) {
  auto section = WriteLock();
  scanMode_ = mode;
}

bool TFCColorsToReal::SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) {
  if (const auto* start = operation->As<TPMStartFrameOperation>()) {
    TFCSinkFilter::SinkDispatch(pin, operation);
    const double samplesPerSecond = static_cast<double>(start->Width()) * start->Height() * start->Rate();
    return pins_.SendToAll(MakeOperation<TPMStartSampleRateOperation>(samplesPerSecond));
  }
  if (FrameOf(operation)) return TFCSinkFilter::SinkDispatch(pin, operation);
  if (operation->Is<TPMStopOperation>()) TFCSinkFilter::SinkDispatch(pin, operation);
  return pins_.SendToAll(operation);
}

// The conversion works on frames of its own, so it needs the lock only to
// read the settings, and the blocks go out as they are made.
void TFCColorsToReal::ProcessImage(const TFCImageBuffer& Buffer) {
  TChannels channels;
  TFCScanMode scan;
  {
    auto section = ReadLock();
    channels.mode = colorMode_;
    scan = scanMode_;
  }
  if (Buffer.Size() == 0 || !BlocksFit(Buffer, scan) || !Channels(Buffer, channels)) return;
  if (channels.grey)
    SendGrey(channels, scan);
  else
    SendColor(channels, scan);
}

// A frame scan makes blocks of 8 bytes per pixel: refuse (and report) a
// frame whose blocks would not fit the memory budget.
bool TFCColorsToReal::BlocksFit(const TFCImageBuffer& frame, TFCScanMode scan) {
  const std::uint64_t samples =
      static_cast<std::uint64_t>(frame.Width()) * static_cast<std::uint64_t>(scan == smLine ? 1 : frame.Height());
  if (samples <= static_cast<std::uint64_t>(std::numeric_limits<int>::max()) &&
      WithinBufferBudget(samples * sizeof(double)))
    return true;
  ReportFailure("a block of " + std::to_string(samples) + " samples over the memory budget", ippStsMemAllocErr);
  return false;
}

// False when a conversion failed (reported).
bool TFCColorsToReal::Channels(const TFCImageBuffer& frame, TChannels& channels) {
  channels.grey = frame.Format() == vfGray8 && !GreyNeedsColorFrame(channels.mode);
  channels.frame = frame;
  if (channels.grey) return true;
  channels.frame.ConvertTo(vfRGB24);
  TFCImageBuffer work, converted;
  std::string_view entry;
  const IppStatus status = ConvertToColorMode(channels.frame, channels.mode, work, converted, &entry);
  if (!PrimitiveSucceeded(status, entry)) return false;
  channels.frame = converted;
  return true;
}

void TFCColorsToReal::SendGrey(const TChannels& channels, TFCScanMode scan) {
  const TFCImageBuffer& frame = channels.frame;
  const TBlocks blocks = BlocksOf(frame, scan);
  // Blocks are copy-on-write: the constant ones may go out again and again.
  const IWCRealBuffer zero = Constant(blocks.length, 0.0), neutral = Constant(blocks.length, 128.0);
  for (int b = 0; b < blocks.count; ++b) {
    const IWCRealBuffer grey = Samples(frame.Read() + std::size_t{1} * b * frame.Step(), blocks.length, 1);
    for (int c = 0; c < 3; ++c) {
      const TFCGreyChannel role = GreyChannelOf(channels.mode, c);
      pins_.Pin(c).SendBuffer(role == gcGrey ? grey : role == gcZero ? zero : neutral);
    }
  }
}

void TFCColorsToReal::SendColor(const TChannels& channels, TFCScanMode scan) {
  const TFCImageBuffer& frame = channels.frame;
  const TBlocks blocks = BlocksOf(frame, scan);
  for (int b = 0; b < blocks.count; ++b) {
    const Ipp8u* row = frame.Read() + std::size_t{1} * b * frame.Step();
    std::array<IWCRealBuffer, 3> samples;
    for (int c = 0; c < 3; ++c) samples[static_cast<std::size_t>(c)] = Samples(row + c, blocks.length, 3);
    for (int c = 0; c < 3; ++c) pins_.Pin(c).SendBuffer(std::move(samples[static_cast<std::size_t>(c)]));
  }
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fccolorstoreal, TFCColorsToReal)
