// Fcdmoeffect.h - the video-effect host: each frame through an installed
// video-effect object chosen by name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/media/effect_objects.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/form_defined_data.h"
#include "plugins/effect_pixels.h"

namespace fc {

/// A filter that passes each frame through the installed video effect
/// named `DMOName` (platform/media/effect_objects.h lists them).
///
/// Stored besides `DMOName`: "DMOInfo", the effect's class identifier in
/// registry text form and its name, which finds the effect again by its
/// identifier even when the name no longer enumerates; and
/// "EffectParameters", strings "name=value" applied to the effect after
/// each Reset (bool true/false, a number, a colour "r,g,b" from 0 to 1, a
/// position "x,y", a string, by the parameter's type).
///
/// Reset (at the stream's start): the effect is made for the frame size
/// rounded up to multiples of 8; an effect of more than one input (a mixer)
/// is released. Frames are converted to the effect's 32-bit colour model
/// (alpha 255), padded with their edge pixels, processed with the frame's
/// time in seconds (its time stamp when it has one, else its number in the
/// stream over the rate), cropped and converted back. A frame of another
/// size makes the effect again for that size.
///
/// Without an effect (no name, an unknown one, a mixer, one that refuses
/// the size) frames pass unchanged; the failure is reported once per stream
/// through the failure policy. An unknown parameter name or a value that
/// cannot be read raises EFCError naming the component, the parameter and
/// the value.
class FC_COMPONENTS_API TFCDMOEffect : public TFCCommonFilter, public TFormDefinedData {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCDMOEffect(TComponent* owner);
  ~TFCDMOEffect() override;

  std::string GetDmoName() const;
  /// When the name differs: stores it and looks up its class identifier
  /// (null when no effect has that name). A running effect is made anew.
  void SetDmoName(std::string name);
  TEffectClassId ClassId() const;
  /// The class identifier of the effect named `name`, or the null one.
  static TEffectClassId ClassIdFromName(std::string_view name);
  /// Appends the names of the installed effects in enumeration order.
  static void GetDmoNames(std::vector<std::string>& list);
  /// Lets the user choose an effect from the installed ones; true when one
  /// was chosen (DMOName is then set).
  bool ShowDmoSelectDialog();

  std::vector<std::string> GetEffectParameters() const;
  /// Checks each "name=value" against the effect when it is known, stores
  /// the list and applies it to a running effect.
  void SetEffectParameters(std::vector<std::string> parameters);

  /// Whether an effect object exists now.
  bool HasEffect() const;

  void Reset() override;
  void Stop() override;
  void ReleaseObjects();

  void DefineProperties(TFormFiler& filer) override;

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;

private:
  struct TSetting {
    int index;
    TEffectValue value;
  };
  bool MakeEffect(int width, int height);
  std::vector<TSetting> CheckedSettings(const TEffectInfo& info, const std::vector<std::string>& parameters) const;
  void ApplySettings();
  double FrameTime(const TFCImageBuffer& frame) const;
  void ReportEffectFailure(const std::string& what);
  void ReadDmoInfo(const FormValue& value);

  std::string name_;
  TEffectClassId classId_;
  std::vector<std::string> parameters_;
  std::unique_ptr<TEffectInstance> effect_;
  TEffectPixels in_, out_;
  std::int64_t frameNumber_ = 0;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcdmoeffect)
