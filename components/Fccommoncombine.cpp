#include "components/Fccommoncombine.h"

#include <algorithm>
#include <cstdlib>

#include "contracts/video/helper_primitives.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

const TClassInfo& TFCCombineFrameSize::StaticClassInfo() {
  using S = TFCCombineFrameSize;
  static const TClassInfo info = TClassBuilder<S>("TFCCombineFrameSize", &TPersistent::StaticClassInfo())
                                     .Property("Width", &S::GetWidth, &S::SetWidth)
                                     .Property("Height", &S::GetHeight, &S::SetHeight)
                                     .Enum("SizeMode", &S::GetSizeMode, &S::SetSizeMode, CombineSizeModeInfo(),
                                           kSizeModeDefault)
                                     .Build();
  return info;
}

TFCCombineFrameSize::TFCCombineFrameSize(TPersistent* owner, std::string propertyName, const TPMObject& lock,
                                         std::function<void()> changed)
    : TPMLockedPersistent(owner, std::move(propertyName), lock), changed_(std::move(changed)) {
  SizeModeFlags(kSizeModeDefault, custom_, wrapWidth_, wrapHeight_);
}

template <class T> void TFCCombineFrameSize::StoreAndChange(T& field, const T& value) {
  auto section = Lock().WriteLock();
  field = value;
  changed_();
}

TFCCombineSizeMode TFCCombineFrameSize::GetSizeMode() const {
  auto section = Lock().ReadLock();
  return SizeModeOfFlags(custom_, wrapWidth_, wrapHeight_);
}

void TFCCombineFrameSize::SetWidth(std::uint32_t v) {
  CheckFrameSide(NamePath(), "Width", v);
  StoreAndChange(width_, v);
}

void TFCCombineFrameSize::SetHeight(std::uint32_t v) {
  CheckFrameSide(NamePath(), "Height", v);
  StoreAndChange(height_, v);
}

void TFCCombineFrameSize::SetSizeMode(TFCCombineSizeMode mode) {
  auto section = Lock().WriteLock();
  SizeModeFlags(mode, custom_, wrapWidth_, wrapHeight_);
  changed_();
}

void TFCCombineFrameSize::FillLayoutInput(TFCCombineLayoutInput& input) const {
  auto section = Lock().ReadLock();
  input.custom = custom_;
  input.wrapWidth = wrapWidth_;
  input.wrapHeight = wrapHeight_;
  input.customSize = {static_cast<int>(width_), static_cast<int>(height_)};  // within the frame budget
}

const TClassInfo& TFCCombineOffset::StaticClassInfo() {
  using O = TFCCombineOffset;
  static const TClassInfo info = TClassBuilder<O>("TFCCombineOffset", &TPersistent::StaticClassInfo())
                                     .Property("Horizontal", &O::GetHorizontal, &O::SetHorizontal)
                                     .Property("Vertical", &O::GetVertical, &O::SetVertical)
                                     .Build();
  return info;
}

void TFCCombineOffset::SetHorizontal(std::int32_t v) {
  CheckFrameSide(NamePath(), "Horizontal", std::abs(std::int64_t{v}));
  auto section = Lock().WriteLock();
  horizontal_ = v;
  changed_();
}

void TFCCombineOffset::SetVertical(std::int32_t v) {
  CheckFrameSide(NamePath(), "Vertical", std::abs(std::int64_t{v}));
  auto section = Lock().WriteLock();
  vertical_ = v;
  changed_();
}

const TClassInfo& TFCCommonCombine::StaticClassInfo() {
  using C = TFCCommonCombine;
  static const TClassInfo info =
      TClassBuilder<C>("TFCCommonCombine", &TFCMultiInput::StaticClassInfo())
          .Object("FrameSize", &C::GetFrameSize)
          .Object("Offset", &C::GetOffset)
          .Property<TColor, TColor>("BackgroundColor", &C::GetBackgroundColor, &C::SetBackgroundColor,
                                    kBackgroundColorDefault, kColorTypeName)
          .Build();
  return info;
}

TFCCommonCombine::TFCCommonCombine(TComponent* owner)
    : TFCMultiInput(owner), frameSize_(this, "FrameSize", *this, [this] { InvalidateLayout(); }),
      offset_(this, "Offset", *this, [this] { InvalidateLayout(); }) {}

TColor TFCCommonCombine::GetBackgroundColor() const {
  auto section = ReadLock();
  return backgroundColor_;
}

void TFCCommonCombine::SetBackgroundColor(TColor color) {
  auto section = WriteLock();
  backgroundColor_ = color;
  layoutValid_ = false;
}

void TFCCommonCombine::InvalidateLayout() {
  auto section = WriteLock();
  layoutValid_ = false;
}

TFCCombineLayout TFCCommonCombine::Layout() const {
  auto section = ReadLock();
  return layout_;
}

void TFCCommonCombine::ComputeLayout(bool setSize) {
  TFCCombineLayoutInput input;
  input.image1 = layoutImage1_;
  input.image2 = layoutImage2_;
  input.offsetX = offset_.GetHorizontal();
  input.offsetY = offset_.GetVertical();
  frameSize_.FillLayoutInput(input);
  input.setSize = setSize;
  input.outputSize = layout_.output;
  layout_ = LayoutCombinePanes(input);
  layoutValid_ = true;
}

// Lays the panes out from the announced sizes, choosing the output size.
void TFCCommonCombine::LayoutAnnounced() {
  layoutImage1_ = {Input(0).Width(), Input(0).Height()};
  layoutImage2_ = {Input(1).Width(), Input(1).Height()};
  ComputeLayout(true);
}

void TFCCommonCombine::CalculateSendStart(double Rate, int Width, int Height) {
  if (!layoutValid_) LayoutAnnounced();
  outputSent_ = false;
  streamRate_ = Rate;
  SendStartFrame(layout_.output.width, layout_.output.height, Rate, vfRGB24);
  TFCMultiInput::CalculateSendStart(Rate, Width, Height);
}

void TFCCommonCombine::InputStartedWhileStarted(TFCPMQueuedImageSinkPin& Pin) {
  if (outputSent_) return;
  const IppiSize before = layout_.output;
  LayoutAnnounced();
  streamRate_ = std::max(streamRate_, Pin.Rate());
  if (layout_.output.width != before.width || layout_.output.height != before.height)
    SendStartFrame(layout_.output.width, layout_.output.height, streamRate_, vfRGB24);
}

void TFCCommonCombine::IntStop() {
  TFCMultiInput::IntStop();
  layoutValid_ = false;
}

// Fills a three-byte frame with the background colour (blue, green, red).
bool TFCCommonCombine::FillBackground(TFCImageBuffer& frame) {
  const TColorBytes rgb = ColorBytes(backgroundColor_);
  const Ipp8u bgr[3] = {rgb.bytes[2], rgb.bytes[1], rgb.bytes[0]};
  return PrimitiveSucceeded(ippiSet_8u_C3R(bgr, frame.Overwrite(), frame.Step(), frame.SizeRecord()), "ippiSet_8u_C3R");
}

// The frame of an input as three bytes per pixel, or a frame of its
// announced size in the background colour when it has none; null when the fill failed.
std::shared_ptr<const TFCImageBuffer> TFCCommonCombine::InputImage(int index) {
  const TFCPMQueuedImageSinkPin& pin = Input(index);
  if (const auto& frame = pin.Frame()) {
    if (frame->Format() == vfRGB24) return frame;
    auto converted = std::make_shared<TFCImageBuffer>(*frame);
    converted->ConvertTo(vfRGB24);
    return converted;
  }
  auto background = std::make_shared<TFCImageBuffer>(std::max(pin.Width(), 0), std::max(pin.Height(), 0));
  if (background->Size() > 0 && !FillBackground(*background)) return nullptr;
  return background;
}

void TFCCommonCombine::CalculateSendOutput() {
  const auto image1 = InputImage(0), image2 = InputImage(1);
  if (!image1 || !image2) return;
  if (image1->Width() != layoutImage1_.width || image1->Height() != layoutImage1_.height ||
      image2->Width() != layoutImage2_.width || image2->Height() != layoutImage2_.height) {
    layoutImage1_ = image1->SizeRecord();
    layoutImage2_ = image2->SizeRecord();
    layoutValid_ = false;
  }
  if (!layoutValid_) ComputeLayout(false);
  if (!WithinFrameBudget(layout_.output.width, layout_.output.height, 3)) {
    ReportFailure("an output frame over the size budget", ippStsSizeErr);
    return;
  }
  auto out = std::make_shared<TFCImageBuffer>(layout_.output.width, layout_.output.height);
  if (!Render(*image1, *image2, *out)) return;
  outputSent_ = true;
  SendFrame(std::move(out));
}

bool TFCCommonCombine::Render(const TFCImageBuffer& image1, const TFCImageBuffer& image2, TFCImageBuffer& out) {
  if (out.Size() == 0) return true;
  if (!FillBackground(out)) return false;
  Ipp8u* dst = out.Write();
  const int step = out.Step();
  // Pane positions lie inside the images the pane shows.
  auto at = [](const TFCImageBuffer& image, int x, int y) {
    return image.Read() + static_cast<std::ptrdiff_t>(y) * image.Step() + x * 3;
  };
  for (const TFCCombinePane& pane : layout_.panes) {
    const IppiSize size{pane.width, pane.height};
    Ipp8u* target = dst + static_cast<std::ptrdiff_t>(pane.y) * step + pane.x * 3;
    const bool shows1 = pane.show == psImage1 || pane.show == psImageBoth;
    const bool shows2 = pane.show == psImage2 || pane.show == psImageBoth;
    const Ipp8u* from1 = shows1 ? at(image1, pane.x1, pane.y1) : nullptr;
    const Ipp8u* from2 = shows2 ? at(image2, pane.x2, pane.y2) : nullptr;
    bool done = true;
    if (pane.show == psImage1)
      done = PrimitiveSucceeded(ippiCopy_8u_C3R(from1, image1.Step(), target, step, size), "ippiCopy_8u_C3R");
    else if (pane.show == psImage2)
      done = PrimitiveSucceeded(ippiCopy_8u_C3R(from2, image2.Step(), target, step, size), "ippiCopy_8u_C3R");
    else if (pane.show == psImageBoth)
      done = DoCombineOp(from1, image1.Step(), from2, image2.Step(), target, step, size, 3);
    if (!done) return false;
  }
  return true;
}

}  // namespace fc

FC_DEFINE_UNIT(Fccommoncombine)
