#include "components/Fccolorsplit.h"

#include "contracts/video/color_mode_conversion.h"
#include "contracts/video/helper_primitives.h"
#include "dispatch/primitives.h"

namespace fc {

const TClassInfo& TFCColorSplit::StaticClassInfo() {
  using S = TFCColorSplit;
  static const TClassInfo info =
      TClassBuilder<S>("TFCColorSplit", &TFCSinkFilter::StaticClassInfo())
          .PinList("OutputPins", &S::GetOutputPins)
          .Enum("ColorMode", &S::GetColorMode, &S::SetColorMode, ColorModeInfo(), kColorModeDefault)
          .Build();
  return info;
}

TFCColorSplit::TFCColorSplit(TComponent* owner) : TFCSinkFilter(owner), outputPins_(this, true, "OutputPins") {
  for (std::string_view name : ColorModeChannelNames(kColorModeDefault))
    outputPins_.Add(std::make_unique<TFCPMImageSourcePin>(this, *this, std::string(name)));
}

TFCColorSplit::~TFCColorSplit() {
  RetirePins();
  for (int i = 0; i < outputPins_.GetCount(); ++i) outputPins_.GetPin(i)->Retire();
}

TFCPMImageSourcePin& TFCColorSplit::OutputPin(int index) const {
  return static_cast<TFCPMImageSourcePin&>(*outputPins_.GetPin(index));
}

TFCColorMode TFCColorSplit::GetColorMode() const {
  auto section = ReadLock();
  return mode_;
}

void TFCColorSplit::SetColorMode(TFCColorMode mode) {
  auto section = WriteLock();
  if (mode == mode_) return;
  mode_ = mode;
  const auto names = ColorModeChannelNames(mode);
  for (int i = 0; i < 3; ++i) outputPins_.SetName(i, std::string(names[static_cast<std::size_t>(i)]));
}

void TFCColorSplit::SendOnAll(const TPMOperation& operation) {
  for (int i = 0; i < 3; ++i) OutputPin(i).Send(operation);
}

bool TFCColorSplit::SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) {
  const bool answered = TFCSinkFilter::SinkDispatch(pin, operation);
  // The planes' streams start and stop with the input's.
  if (const auto* start = operation->As<TPMStartFrameOperation>())
    SendOnAll(MakeOperation<TPMStartFrameOperation>(start->Width(), start->Height(), start->Rate(),
                                                    static_cast<int>(vfGray8)));
  else if (operation->Is<TPMStopOperation>())
    SendOnAll(operation);
  return answered;
}

void TFCColorSplit::IntStart(int Width, int Height) {
  work_ = TFCImageBuffer(Width, Height);
  for (TFCImageBuffer& plane : planes_) plane = TFCImageBuffer(Width, Height, vfGray8);
}

void TFCColorSplit::ProcessImage(const TFCImageBuffer& Buffer) {
  TPlanes planes;
  {
    auto section = WriteLock();
    TakeFrameFailure();
    const bool split = Buffer.Format() == vfGray8 && !GreyNeedsColorFrame(mode_) ? SplitGray(Buffer, planes)
                                                                                 : SplitColor(Buffer, planes);
    if (!split) return;
  }
  for (int i = 0; i < 3; ++i)
    OutputPin(i).Send(MakeOperation<TPMSuppliedBufferOperation>(planes[static_cast<std::size_t>(i)]));
}

bool TFCColorSplit::SplitColor(const TFCImageBuffer& frame, TPlanes& planes) {
  TFCImageBuffer colour(frame);
  colour.ConvertTo(vfRGB24);
  std::string_view failed;
  if (!PrimitiveSucceeded(ConvertToColorMode(colour, mode_, work_, channels_, &failed), failed)) return false;
  const IppiSize size = channels_.SizeRecord();
  Ipp8u* dst[3];
  for (std::size_t i = 0; i < 3; ++i) {
    planes_[i].SetSize(size.width, size.height);
    dst[i] = planes_[i].Overwrite();
  }
  if (size.width > 0 && size.height > 0 &&
      !PrimitiveSucceeded(fc_entry(ippiCopy_8u_C3P3R)(channels_.Read(), channels_.Step(), dst, size.width, size),
                          "ippiCopy_8u_C3P3R"))
    return false;
  for (std::size_t i = 0; i < 3; ++i) planes[i] = std::make_shared<TFCImageBuffer>(planes_[i]);
  return true;
}

// A grey frame in the modes that take its values directly.
bool TFCColorSplit::SplitGray(const TFCImageBuffer& frame, TPlanes& planes) {
  auto same = std::make_shared<const TFCImageBuffer>(frame);
  for (int i = 0; i < 3; ++i) {
    const TFCGreyChannel kind = GreyChannelOf(mode_, i);
    if (kind == gcGrey) {
      planes[static_cast<std::size_t>(i)] = same;
      continue;
    }
    auto plane = std::make_shared<TFCImageBuffer>(frame.Width(), frame.Height(), vfGray8);
    if (kind == gcNeutral && plane->Size() > 0 &&
        !PrimitiveSucceeded(fc_entry(ippsSet_8u)(128, plane->Overwrite(), static_cast<int>(plane->Size())),
                            "ippsSet_8u"))
      return false;
    planes[static_cast<std::size_t>(i)] = std::move(plane);
  }
  return true;
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fccolorsplit, TFCColorSplit)
