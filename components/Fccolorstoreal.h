// Fccolorstoreal.h - turns frames into three streams of real samples, one
// per channel of a colour mode.
#pragma once

#include "components/real_channel_pins.h"
#include "contracts/video/color_mode.h"
#include "contracts/video/sink_filter.h"
#include "package/registered_unit.h"

namespace fc {

/// Whether samples go out a row at a time or a frame at a time.
enum TFCScanMode { smLine, smFrame };
FC_COMPONENTS_API const TEnumInfo& ScanModeInfo();

/// Sends every byte of each frame's three channels in `ColorMode` as a real
/// sample of its value (0.0 to 255.0) on "OutputPins", one pin per channel
/// named after the mode's channels: with smLine one block per row (width
/// samples), with smFrame one block per frame (width x height samples, row
/// after row). Every block sent is a fresh one, so a receiver may keep it. A
/// frame whose blocks would exceed the memory budget is reported as a
/// failure and sends nothing.
///
/// A start-frame goes out on every pin as a start-sample-rate of width x
/// height x frame rate samples per second, so a receiver collecting samples
/// into frames starts with the stream; a stop goes on to every pin.
///
/// Grey frames give their grey values on the channels that carry grey in
/// cmRGB to cmYUV (all three in cmRGB, the lightness in cmHLS, the value in
/// cmHSV, the luminance in cmYUV, whose chroma channels carry 128.0, the
/// others 0.0); in the other modes they are taken as a grey colour frame.
class FC_COMPONENTS_API TFCColorsToReal : public TFCSinkFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCColorMode kColorModeDefault = cmRGB;
  static constexpr TFCScanMode kScanModeDefault = smLine;

  explicit TFCColorsToReal(TComponent* owner);
  ~TFCColorsToReal() override;

  TPMPinList* GetOutputPins() { return pins_.List(); }

  TFCColorMode GetColorMode() const;
  /// Stores the mode and renames the output pins when it changes.
  void SetColorMode(TFCColorMode mode);
  TFCScanMode GetScanMode() const;
  void SetScanMode(TFCScanMode mode);

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;

protected:
  void ProcessImage(const TFCImageBuffer& Buffer) override;

private:
  struct TChannels;
  bool BlocksFit(const TFCImageBuffer& frame, TFCScanMode scan);
  bool Channels(const TFCImageBuffer& frame, TChannels& channels);
  void SendGrey(const TChannels& channels, TFCScanMode scan);
  void SendColor(const TChannels& channels, TFCScanMode scan);

  TFCRealChannelPins pins_;
  TFCColorMode colorMode_ = kColorModeDefault;
  TFCScanMode scanMode_ = kScanModeDefault;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fccolorstoreal)
