// Fcchangerate.h - converts the frame rate by blending neighbouring frames.
#pragma once

#include <cstdint>
#include <vector>

#include "components/rate_blend.h"
#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// How the rate changes: more frames out than in, fewer, or as many.
enum TFCRateChangeOperation { froUpSample, froDownSample, froNone };

/// Sends the stream at `FrameRate` frames per second (starts 15; taken at
/// each start) whatever the input rate, which is the start-frame's rounded
/// to a whole number. Output frames are blends of the previous and the
/// current input frame, weighted by where the output moment falls between
/// them, numbered in their time code (date-time not available) and stamped
/// with their output times.
///
/// Raising the rate sends up to N = ceil(output / input) frames per input
/// frame: the first N - 1 always, the last when the output has fallen a
/// whole output period behind, so in the long run output / input frames come
/// out per input frame. Lowering it sends a frame whenever the input has
/// run a whole output period ahead. Weights are limited to 0 ... 1, so a
/// blend never extrapolates beyond the current frame; the first frame of a
/// stream, or the first after `Reset` or a change of frame size, has no
/// previous frame and goes out as it is. Grey frames stay grey; other
/// formats become three-byte frames.
///
/// A `FrameRate` of 0 or below is refused, and so is a stream whose rate
/// rounds to 0 or whose group of work frames would not fit the memory
/// budget: its start raises EFCError and its frames are dropped.
class FC_COMPONENTS_API TFCChangeRate : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr double kFrameRateStart = 15.0;

  explicit TFCChangeRate(TComponent* owner) : TFCCommonFilter(owner) {}
  ~TFCChangeRate() override { RetirePins(); }

  double GetFrameRate() const;
  /// EFCError naming the property unless the rate is a finite number above 0.
  void SetFrameRate(double rate);
  /// The operation chosen at the last start.
  TFCRateChangeOperation Operation() const;
  /// Clears the history: the next frame starts afresh.
  void Reset() override;

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  void SetVideoFormat(TFCImageBuffer& Buffer) override;
  void SetSizeRate(int& Width, int& Height, int Rate) override;
  double OutputRate(double inputRate) override;

private:
  void UpSample(const TFCImageBuffer& current);
  void DownSample(const TFCImageBuffer& current);
  // Blends previous and current into work frame `index` with weight w of the
  // current frame, numbers and stamps it, and queues it to be sent.
  void SendBlend(const TFCImageBuffer& current, std::size_t index, double w);
  // True when the output has fallen at least one output period behind.
  bool LagAllowsFrame() const;
  void UpdateLag();

  double frameRate_ = kFrameRateStart;
  TFCRateChangeOperation operation_ = froNone;
  bool refused_ = false;  // the stream's rate could not be changed
  double inputRate_ = 0, outputRate_ = 0, ratio_ = 0, step_ = 0;
  double inputDuration_ = 0, outputDuration_ = 0;
  int groupSize_ = 0;  // N: work frames per input frame
  std::int64_t inputFrames_ = 0;
  std::int64_t outputCounter_ = 0;
  double lag_ = 0;
  bool hasPrevious_ = false;
  TFCImageBuffer previous_;
  std::vector<TFCImageBuffer> work_;
  TRateBlend blend_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcchangerate)
