// Fcrealtoframe.h - collects real-valued samples into grey frames.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "contracts/pins/lock.h"
#include "contracts/video/image_pins.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/real_pins.h"

namespace fc {

/// Fills grey (vfGray8) frames of `Width` x `Hight` pixels with the samples
/// arriving on "InputPin", row after row, and sends each frame on
/// "OutputPin" as soon as it is full; a block may complete several frames, or
/// only part of one.
///
/// A stream starts with a start-sample-rate (or start-intensity) on the
/// input: the fill position restarts at 0 and a start-frame of `Width` x
/// `Hight`, vfGray8, `FramePerSec` goes out. Size and rate set meanwhile
/// take effect at the next start. A zero size, or one beyond the frame
/// budget (platform/runtime/resource_budget.h), is refused there with
/// EFCError naming the property; a side beyond it already by its setter.
/// Samples arriving while no stream runs have
/// no frame to go to: they are dropped and counted (`DroppedSamples`).
///
/// A sample becomes a byte by rounding to the nearest integer (ties to even)
/// and keeping the low eight bits (256.0 gives 0, -1.0 gives 255, 300.0
/// gives 44). NaN gives 0; values beyond the 64-bit integer range saturate
/// to it first (+infinity gives 255, -infinity 0).
///
/// Master pumps from downstream are paced against the frames a block made:
/// while frames made for the last block are still owed, a pump takes one of
/// them and goes no further; otherwise it goes upstream, and it is asked
/// again after each block that completes no frame.
class FC_COMPONENTS_API TFCRealToFrame : public TComponent, public TPMObject, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::uint32_t kWidthDefault = 240;
  static constexpr std::uint32_t kHightDefault = 180;
  static constexpr std::uint32_t kFramePerSecDefault = 30;

  explicit TFCRealToFrame(TComponent* owner);
  ~TFCRealToFrame() override;

  TWCPMComboRealSinkPin* GetInputPin() { return &inputPin_; }
  TFCPMImageSourcePin* GetOutputPin() { return &outputPin_; }

  std::uint32_t GetWidth() const;
  void SetWidth(std::uint32_t value);
  /// The frame height (the property keeps its published spelling).
  std::uint32_t GetHight() const;
  void SetHight(std::uint32_t value);
  std::uint32_t GetFramePerSec() const;
  void Set_FramePerSec(std::uint32_t value);

  /// Samples that arrived while no stream was running.
  std::uint64_t DroppedSamples() const;

  /// Consumes the samples of one block, sending every frame it completes.
  void ProcessImage(const TWCRealBuffer& samples);

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

private:
  bool StartStream();
  bool StopStream(const TPMOperation& operation);
  bool MasterPump(const TPMOperation& pump);
  std::vector<std::shared_ptr<const TFCImageBuffer>> FillFrames(const TWCRealBuffer& samples,
                                                                TPMOperation& pumpAgain);
  void Store(std::uint32_t& field, std::uint32_t value);

  TWCPMComboRealSinkPin inputPin_;
  TFCPMImageSourcePin outputPin_;
  std::uint32_t width_ = kWidthDefault;
  std::uint32_t hight_ = kHightDefault;
  std::uint32_t framePerSec_ = kFramePerSecDefault;

  // Stream state, under the component lock.
  bool running_ = false;
  TFCImageBuffer frame_;
  std::size_t fillPosition_ = 0;
  int framesOwed_ = 0;         ///< frames made for the last block, not yet asked for
  bool startedFlag_ = false;   ///< set at start, cleared by every master pump
  TPMOperation pendingPump_;   ///< the master pump passed upstream and not yet answered
  std::uint64_t dropped_ = 0;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcrealtoframe)
