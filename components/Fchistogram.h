// Fchistogram.h - per-frame histograms of three colour channels, sent as
// blocks of real values.
#pragma once

#include <cstdint>
#include <vector>

#include "components/real_channel_pins.h"
#include "contracts/video/color_mode.h"
#include "contracts/video/sink_filter.h"
#include "package/registered_unit.h"

namespace fc {

/// Counts, for every frame, how many pixels have each level from
/// `LowerLevel` to `UpperLevel` in each of the three channels of `ColorMode`,
/// and sends the three histograms as blocks of UpperLevel - LowerLevel + 1
/// real values on "OutputPins" (one pin per channel, named after the mode's
/// channels). A start-frame goes out on every pin as a start-intensity of
/// that many values per block at that many times the frame rate; other
/// stream operations (stop, pause ...) are passed on to every pin.
///
/// Grey frames give the grey histogram on the channels that carry grey in
/// cmRGB to cmYUV (all three in cmRGB, the lightness in cmHLS, the value in
/// cmHSV, the luminance in cmYUV, whose chroma channels count every pixel at
/// 128); in the other modes they are taken as a grey colour frame.
class FC_COMPONENTS_API TFCHistogram : public TFCSinkFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::uint16_t kLowerLevelDefault = 0;
  static constexpr std::uint16_t kUpperLevelDefault = 255;
  static constexpr TFCColorMode kColorModeDefault = cmRGB;

  explicit TFCHistogram(TComponent* owner);
  ~TFCHistogram() override;

  TPMPinList* GetOutputPins() { return pins_.List(); }

  std::uint16_t GetLowerLevel() const;
  /// Limits v to 255; raises UpperLevel to v when it is below.
  void SetLowerLevel(std::uint16_t v);
  std::uint16_t GetUpperLevel() const;
  /// Limits v to 255; lowers LowerLevel to v when it is above.
  void SetUpperLevel(std::uint16_t v);
  TFCColorMode GetColorMode() const;
  /// Stores the mode and renames the output pins when it changes.
  void SetColorMode(TFCColorMode mode);

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;

protected:
  void ProcessImage(const TFCImageBuffer& Buffer) override;
  void Stop() override;

private:
  int BinCount() const { return upperLevel_ - lowerLevel_ + 1; }
  bool Count(const TFCImageBuffer& frame);
  bool CountGrey(const TFCImageBuffer& frame);
  bool CountColor(const TFCImageBuffer& bgr);

  TFCRealChannelPins pins_;
  std::uint16_t lowerLevel_ = kLowerLevelDefault;
  std::uint16_t upperLevel_ = kUpperLevelDefault;
  TFCColorMode colorMode_ = kColorModeDefault;

  // Per-frame work, under the component lock.
  std::vector<Ipp32s> counts_[3];
  std::vector<Ipp32s> levels_;
  TFCImageBuffer workFrame_, channelFrame_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fchistogram)
