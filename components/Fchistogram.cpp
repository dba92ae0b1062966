#include "components/Fchistogram.h"

#include <algorithm>
#include <array>

#include "contracts/video/color_mode_conversion.h"
#include "dispatch/primitives.h"
#include "platform/signal/real_convert.h"

namespace fc {

const TClassInfo& TFCHistogram::StaticClassInfo() {
  using H = TFCHistogram;
  static const TClassInfo info =
      TClassBuilder<H>("TFCHistogram", &TFCSinkFilter::StaticClassInfo())
          .PinList("OutputPins", &H::GetOutputPins)
          .Property("LowerLevel", &H::GetLowerLevel, &H::SetLowerLevel, kLowerLevelDefault)
          .Property("UpperLevel", &H::GetUpperLevel, &H::SetUpperLevel, kUpperLevelDefault)
          .Enum("ColorMode", &H::GetColorMode, &H::SetColorMode, ColorModeInfo(), kColorModeDefault)
          .Build();
  return info;
}

TFCHistogram::TFCHistogram(TComponent* owner) : TFCSinkFilter(owner), pins_(this, *this) {}

TFCHistogram::~TFCHistogram() {
  RetirePins();
  pins_.Retire();
}

namespace {
constexpr std::uint16_t kTopLevel = 255;
}  // namespace

std::uint16_t TFCHistogram::GetLowerLevel() const {
  auto section = ReadLock();
  return lowerLevel_;
}

void TFCHistogram::SetLowerLevel(std::uint16_t v) {
  v = std::min(v, kTopLevel);
  auto section = WriteLock();
  if (v > upperLevel_) upperLevel_ = v;
  lowerLevel_ = v;
}

std::uint16_t TFCHistogram::GetUpperLevel() const {
  auto section = ReadLock();
  return upperLevel_;
}

void TFCHistogram::SetUpperLevel(std::uint16_t v) {
  v = std::min(v, kTopLevel);
  auto section = WriteLock();
  if (v < lowerLevel_) lowerLevel_ = v;
  upperLevel_ = v;
}

TFCColorMode TFCHistogram::GetColorMode() const {
  auto section = ReadLock();
  return colorMode_;
}

void TFCHistogram::SetColorMode(TFCColorMode mode) {
  {
    auto section = WriteLock();
    if (mode == colorMode_) return;
    colorMode_ = mode;
  }
  pins_.Name(mode);
}

bool TFCHistogram::SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) {
  if (const auto* start = operation->As<TPMStartFrameOperation>()) {
    int bins = 0;
    {
      auto section = ReadLock();
      bins = BinCount();
    }
    pins_.SendToAll(MakeOperation<TPMStartIntensityOperation>(bins, bins * start->Rate()));
    return TFCSinkFilter::SinkDispatch(pin, operation);
  }
  if (FrameOf(operation)) return TFCSinkFilter::SinkDispatch(pin, operation);
  if (operation->Is<TPMStopOperation>()) TFCSinkFilter::SinkDispatch(pin, operation);
  return pins_.SendToAll(operation);
}

void TFCHistogram::Stop() {
  workFrame_ = TFCImageBuffer();
  channelFrame_ = TFCImageBuffer();
}

void TFCHistogram::ProcessImage(const TFCImageBuffer& Buffer) {
  std::array<IWCRealBuffer, 3> blocks;
  {
    auto section = WriteLock();
    if (!Count(Buffer)) return;
    const int bins = BinCount();
    for (std::size_t c = 0; c < blocks.size(); ++c) {
      blocks[c] = MakeRealBuffer(bins);
      if (!PrimitiveSucceeded(ippsConvert_32s64f(counts_[c].data(), blocks[c]->Write(), bins), "ippsConvert_32s64f"))
        return;
    }
  }
  for (std::size_t c = 0; c < blocks.size(); ++c) pins_.Pin(static_cast<int>(c)).SendBuffer(std::move(blocks[c]));
}

// Fills the three count buffers for `frame`; false when a primitive failed.
bool TFCHistogram::Count(const TFCImageBuffer& frame) {
  const std::size_t bins = static_cast<std::size_t>(BinCount());
  for (auto& counts : counts_) counts.assign(bins, 0);
  levels_.resize(bins + 1);
  if (frame.Size() == 0) return true;  // nothing to count: empty histograms
  if (frame.Format() == vfGray8 && !GreyNeedsColorFrame(colorMode_)) return CountGrey(frame);
  TFCImageBuffer bgr(frame);
  bgr.ConvertTo(vfRGB24);
  return CountColor(bgr);
}

bool TFCHistogram::CountGrey(const TFCImageBuffer& frame) {
  const int bins = BinCount();
  std::vector<Ipp32s>& grey = counts_[0];
  const IppStatus status = fc_entry(ippiHistogramEven_8u_C1R)(frame.Read(), frame.Step(), frame.SizeRecord(),
                                                              grey.data(), levels_.data(), bins + 1, lowerLevel_,
                                                              upperLevel_ + 1);
  if (!PrimitiveSucceeded(status, "ippiHistogramEven_8u_C1R")) return false;
  // Channel 0 last: the others may copy the grey counts it holds.
  for (int c : {1, 2, 0}) {
    std::vector<Ipp32s>& counts = counts_[static_cast<std::size_t>(c)];
    switch (GreyChannelOf(colorMode_, c)) {
      case gcGrey:
        if (c != 0) counts = grey;
        break;
      case gcZero: std::fill(counts.begin(), counts.end(), 0); break;
      case gcNeutral: {
        // Grey has the neutral chroma 128: every pixel in its bin, if counted.
        std::fill(counts.begin(), counts.end(), 0);
        constexpr int kNeutral = 128;
        if (lowerLevel_ <= kNeutral && kNeutral <= upperLevel_)
          counts[static_cast<std::size_t>(kNeutral - lowerLevel_)] = frame.Width() * frame.Height();
        break;
      }
    }
  }
  return true;
}

bool TFCHistogram::CountColor(const TFCImageBuffer& bgr) {
  const TFCImageBuffer* channels = &bgr;
  std::array<Ipp32s*, 3> hist{counts_[0].data(), counts_[1].data(), counts_[2].data()};
  if (colorMode_ == cmRGB) {
    // The red, green, blue histograms are those of bytes 2, 1, 0: count the
    // frame as it is rather than swap a copy of it.
    std::swap(hist[0], hist[2]);
  } else {
    std::string_view entry;
    const IppStatus status = ConvertToColorMode(bgr, colorMode_, workFrame_, channelFrame_, &entry);
    if (!PrimitiveSucceeded(status, entry)) return false;
    channels = &channelFrame_;
  }
  std::array<Ipp32s*, 3> levels{levels_.data(), levels_.data(), levels_.data()};
  const int bins = BinCount();
  std::array<int, 3> nLevels{bins + 1, bins + 1, bins + 1};
  std::array<Ipp32s, 3> lower{lowerLevel_, lowerLevel_, lowerLevel_};
  std::array<Ipp32s, 3> upper{upperLevel_ + 1, upperLevel_ + 1, upperLevel_ + 1};
  const IppStatus status =
      fc_entry(ippiHistogramEven_8u_C3R)(channels->Read(), channels->Step(), channels->SizeRecord(), hist.data(),
                                         levels.data(), nLevels.data(), lower.data(), upper.data());
  return PrimitiveSucceeded(status, "ippiHistogramEven_8u_C3R");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fchistogram, TFCHistogram)
