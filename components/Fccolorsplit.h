// Fccolorsplit.h - one colour frame split into the three channels of a
// colour space, each sent as a grey plane.
#pragma once

#include <array>

#include "contracts/pins/pin_list.h"
#include "contracts/video/color_mode.h"
#include "contracts/video/sink_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Converts each frame to `ColorMode` (default cmRGB) and sends its three
/// channels as one-byte planes on the pins of `OutputPins`, named after the
/// mode's channels ("Red", "Green", "Blu" for cmRGB). A stream's start-frame
/// goes out on every output as grey frames of the stream's size and rate,
/// and its stop follows on every output.
///
/// A grey frame gives: in cmRGB the frame on all three pins; in cmHLS and
/// cmHSV zero hue and saturation and the frame as lightness or value; in
/// cmYUV the frame as luminance and 128 as both chrominances; in the other
/// modes the planes of the grey frame taken as a colour frame.
class FC_COMPONENTS_API TFCColorSplit : public TFCSinkFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCColorMode kColorModeDefault = cmRGB;

  explicit TFCColorSplit(TComponent* owner);
  ~TFCColorSplit() override;

  TPMPinList* GetOutputPins() { return &outputPins_; }
  TFCPMImageSourcePin& OutputPin(int index) const;
  TFCColorMode GetColorMode() const;
  /// Stores the mode and renames the three pins when it changes.
  void SetColorMode(TFCColorMode mode);

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;

protected:
  void ProcessImage(const TFCImageBuffer& Buffer) override;
  void IntStart(int Width, int Height) override;

private:
  using TPlanes = std::array<std::shared_ptr<const TFCImageBuffer>, 3>;
  bool SplitColor(const TFCImageBuffer& frame, TPlanes& planes);
  bool SplitGray(const TFCImageBuffer& frame, TPlanes& planes);
  void SendOnAll(const TPMOperation& operation);

  TPMPinList outputPins_;
  TFCColorMode mode_ = kColorModeDefault;
  TFCImageBuffer work_, channels_;
  std::array<TFCImageBuffer, 3> planes_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fccolorsplit)
