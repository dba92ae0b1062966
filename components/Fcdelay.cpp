#include "components/Fcdelay.h"

#include <algorithm>

#include "platform/runtime/resource_budget.h"

namespace fc {

const TClassInfo& TFCDelay::StaticClassInfo() {
  using D = TFCDelay;
  static const TClassInfo info = TClassBuilder<D>("TFCDelay", &TFCCommonFilter::StaticClassInfo())
                                     .Property("FrameDelay", &D::GetFrameDelay, &D::SetFrameDelay, kFrameDelayDefault)
                                     .Build();
  return info;
}

std::int32_t TFCDelay::GetFrameDelay() const {
  auto section = ReadLock();
  return frameDelay_;
}

void TFCDelay::SetFrameDelay(std::int32_t frames) {
  auto section = WriteLock();
  CheckHeldBytes(frames, StreamSize());
  frameDelay_ = frames;
}

// The frames held live together: their bytes must fit the memory budget.
void TFCDelay::CheckHeldBytes(std::int32_t frames, IppiSize size) const {
  const std::uint64_t frameBytes = static_cast<std::uint64_t>(RowBytesOf(vfRGB32, std::max(size.width, 0))) *
                                   static_cast<std::uint64_t>(std::max(size.height, 0));
  CheckBufferBudget(NamePath(), "FrameDelay", frameBytes * static_cast<std::uint64_t>(std::max(frames, 0)));
}

void TFCDelay::SetSizeRate(int& Width, int& Height, int) { CheckHeldBytes(frameDelay_, {Width, Height}); }

void TFCDelay::FilterInternalOperation(const TFCImageBuffer&, IFCImageBuffer& Out) {
  held_.Push(MakeOperation<TPMSuppliedBufferOperation>(std::move(Out)));
  const std::size_t keep = frameDelay_ > 0 ? static_cast<std::size_t>(frameDelay_) : 0;
  while (held_.Count() > keep) {
    auto frame = std::const_pointer_cast<TFCImageBuffer>(FrameOf(held_.Pop()));
    SendAfterProcessing(std::move(frame));
  }
  Out = nullptr;
}

// At the stop, the held frames leave before the stop does.
bool TFCDelay::SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) {
  if (operation->Is<TPMStopOperation>()) {
    std::vector<TPMOperation> remaining;
    {
      auto section = WriteLock();
      while (TPMOperation held = held_.Pop()) remaining.push_back(std::move(held));
    }
    for (const TPMOperation& held : remaining) GetOutputPin()->Send(held);
  }
  return TFCCommonFilter::SinkDispatch(pin, operation);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcdelay, TFCDelay)
