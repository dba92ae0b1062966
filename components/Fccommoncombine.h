// Fccommoncombine.h - the base of components that lay two images over each
// other at an offset and render the result in one of five size modes.
#pragma once

#include <cstdint>
#include <functional>

#include "components/Fcmultiinput.h"
#include "components/color_value.h"
#include "components/combine_layout.h"
#include "contracts/pins/locked_persistent.h"

namespace fc {

/// The output size of a combiner: `Width` x `Height` (start 240 x 180) for
/// smCustom, and `SizeMode` (default smWrappingRect), kept as three flags
/// (custom, wrap-width, wrap-height). Every change marks the owner's layout
/// invalid.
class FC_COMPONENTS_API TFCCombineFrameSize : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::uint32_t kStartWidth = 240, kStartHeight = 180;
  static constexpr TFCCombineSizeMode kSizeModeDefault = smWrappingRect;

  TFCCombineFrameSize(TPersistent* owner, std::string propertyName, const TPMObject& lock,
                      std::function<void()> changed);

  std::uint32_t GetWidth() const { return Load(width_); }
  std::uint32_t GetHeight() const { return Load(height_); }
  TFCCombineSizeMode GetSizeMode() const;
  /// Sides beyond the largest frame side raise EFCError.
  void SetWidth(std::uint32_t v);
  void SetHeight(std::uint32_t v);
  void SetSizeMode(TFCCombineSizeMode mode);

  /// The flags and custom size, for the layout; read under the owner's lock.
  void FillLayoutInput(TFCCombineLayoutInput& input) const;

private:
  template <class T> void StoreAndChange(T& field, const T& value);

  std::uint32_t width_ = kStartWidth, height_ = kStartHeight;
  bool custom_ = false, wrapWidth_ = true, wrapHeight_ = true;
  std::function<void()> changed_;
};

/// Where image 1 lies relative to image 2: `Horizontal`, `Vertical` pixels
/// (start 0), each within the largest frame side either way (EFCError
/// otherwise). Every change marks the owner's layout invalid.
class FC_COMPONENTS_API TFCCombineOffset : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  TFCCombineOffset(TPersistent* owner, std::string propertyName, const TPMObject& lock,
                   std::function<void()> changed)
      : TPMLockedPersistent(owner, std::move(propertyName), lock), changed_(std::move(changed)) {}

  std::int32_t GetHorizontal() const { return Load(horizontal_); }
  std::int32_t GetVertical() const { return Load(vertical_); }
  void SetHorizontal(std::int32_t v);
  void SetVertical(std::int32_t v);

private:
  std::int32_t horizontal_ = 0, vertical_ = 0;
  std::function<void()> changed_;
};

/// Two inputs (image 1 on input 0, image 2 on input 1) laid over each other
/// and rendered on one three-byte output frame per input set.
///
/// The output starts with the first input that runs; its size is chosen from
/// the announced sizes, `Offset` and `FrameSize` (again when another input
/// starts before the first output) and then stays for the whole stream. Each
/// output is filled with `BackgroundColor`, then each image pane is copied
/// from its image and the pane both images cover is combined by
/// DoCombineOp. A missing input frame is replaced by one of the background
/// colour of the input's announced size; frames of other formats are
/// converted to three bytes first. When frames of another size arrive, or a
/// property changes, the panes are laid out again and cut to the output
/// size. A failing primitive drops the output frame and is reported.
class FC_COMPONENTS_API TFCCommonCombine : public TFCMultiInput {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TColor kBackgroundColorDefault = 0;

  explicit TFCCommonCombine(TComponent* owner);

  TFCCombineFrameSize* GetFrameSize() { return &frameSize_; }
  void SetFrameSize(const TFCCombineFrameSize& size) { frameSize_.Assign(size); }
  TFCCombineOffset* GetOffset() { return &offset_; }
  void SetOffset(const TFCCombineOffset& offset) { offset_.Assign(offset); }
  TColor GetBackgroundColor() const;
  void SetBackgroundColor(TColor color);

  /// The current layout (valid after the start); for inspection.
  TFCCombineLayout Layout() const;

protected:
  void CalculateSendStart(double Rate, int Width, int Height) override;
  void CalculateSendOutput() override;
  /// Until the first output frame, an input that starts late still takes
  /// part in choosing the output size: the size is chosen again and, when
  /// it changes, announced again.
  void InputStartedWhileStarted(TFCPMQueuedImageSinkPin& Pin) override;
  void IntStop() override;
  bool StartIfNotAllRunning() override { return true; }

  /// Combines two regions of roiSize pixels of `channels` bytes into dst.
  /// Runs under the write lock. A primitive that fails is reported with
  /// PrimitiveSucceeded and the answer is false: the output frame is dropped.
  virtual bool DoCombineOp(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst,
                                int dstStep, IppiSize roiSize, int channels) = 0;

  /// Marks the layout invalid; it is computed again for the next frame.
  void InvalidateLayout();

private:
  void ComputeLayout(bool setSize);
  void LayoutAnnounced();
  bool FillBackground(TFCImageBuffer& frame);
  std::shared_ptr<const TFCImageBuffer> InputImage(int index);
  bool Render(const TFCImageBuffer& image1, const TFCImageBuffer& image2, TFCImageBuffer& out);

  TFCCombineFrameSize frameSize_;
  TFCCombineOffset offset_;
  TColor backgroundColor_ = kBackgroundColorDefault;
  TFCCombineLayout layout_;
  IppiSize layoutImage1_{0, 0}, layoutImage2_{0, 0};
  bool layoutValid_ = false;
  bool outputSent_ = false;
  double streamRate_ = 0;
};

}  // namespace fc

FC_DECLARE_UNIT(Fccommoncombine)
