// Fcfreeframe.h - the effect plug-in host: runs a FreeFrame video-effect
// plug-in (a shared library exporting plugMain, see framecraft/freeframe.h)
// on the frames of one or several inputs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "components/Fcmultiinput.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"
#include "plugins/freeframe_parameters.h"
#include "plugins/freeframe_plugin.h"

namespace fc {

/// Runs the plug-in named by `FilterFileName` on the frames of `InputPins`
/// (one pin at first; loading a plug-in that takes more inputs adds pins, up
/// to 20) and sends the result from `OutputPin`. `Parameters` holds the
/// plug-in's parameters; a form stores their values as
/// "Parameters.StrValue".
///
/// Life of a plug-in: setting `FilterFileName` loads it (library, plugMain,
/// extended information, capabilities, initialise) and rebuilds the
/// parameters, applying values stored in the form by index. Each stream
/// loads it afresh, creates an instance for the stream's size and applies
/// every parameter to it; the stop deinstantiates, deinitialises and
/// unloads it. A frame of another size than the instance's re-creates the
/// instance for that size first, and so does a new `FilterFileName` during a
/// stream.
///
/// Frames: with one input (or fewer inputs holding frames than the plug-in's
/// minimum) input 0's frame is processed in place (or through frame copy
/// when the plug-in prefers copying); with several, every input holding a
/// frame (up to the plug-in's maximum) is padded with black to the largest
/// size and the set goes to frame copy. The plug-in sees rows bottom first,
/// in 24-bit pixels, or 32-bit ones when it supports only those.
///
/// Failures: a plug-in that cannot be loaded, supports no bit depth, fails to
/// initialise or instantiate, or fails a frame leaves frames passing
/// unchanged (input 0's frame); the failure is reported once per stream
/// through the failure policy (log and OnError) and counted. Every call into
/// the plug-in, from a stream or from a parameter setter, happens under the
/// component's write lock.
class FC_COMPONENTS_API TFCFreeFrame : public TFCMultiInput {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr int kMaximumInputPins = 20;

  explicit TFCFreeFrame(TComponent* owner);
  ~TFCFreeFrame() override;

  std::string GetFilterFileName() const;
  /// Stores the name and loads the plug-in (see above). A plug-in that
  /// cannot be loaded leaves no parameters; why is in LoadError().
  void SetFilterFileName(std::string fileName);
  TFCFreeFrameParameters* GetParameters() { return &parameters_; }

  /// Whether a plug-in is loaded now.
  bool IsLoaded() const;
  /// Why the last load failed; empty after a successful one.
  std::string LoadError() const;
  /// What the loaded plug-in told about itself.
  std::string Description() const;
  std::string About() const;
  std::uint32_t MinorVertion() const;
  std::uint32_t MajorVertion() const;
  bool HasExtendedInfo() const;
  /// Capability 15: 0 no preference, 1 in place, 2 copy.
  std::uint8_t VC_OptimizedFor() const;
  /// The capabilities and input counts of the loaded plug-in.
  TFreeFrameInfo PluginInfo() const;
  std::uint32_t MinimumInputs() const;
  std::uint32_t MaximumInputs() const;

  /// True when `fileName` loads and exports plugMain; nothing stays loaded.
  static bool IsValidPlugIn(const std::string& fileName);

  /// Releases the plug-in before the pins go, so no frame reaches it.
  void BeforeDestruction();

protected:
  void CalculateSendStart(double Rate, int Width, int Height) override;
  void CalculateSendOutput() override;
  void IntStop() override;

private:
  bool InitPopulateCaps();
  void GrowInputPins();
  bool SetSize(int width, int height);
  bool EnsureInstance(IppiSize size);
  void DirectFilter(TFCPMQueuedImageSinkPin& input);
  void FilterSet(const std::vector<const TFCImageBuffer*>& frames, IppiSize largest);
  bool ProcessOne(const TFCImageBuffer& frame, TFCImageBuffer& out);
  bool ProcessCopy(const std::vector<const TFCImageBuffer*>& frames, IppiSize size, TFCImageBuffer& out);
  bool LayoutSucceeded(IppStatus status, const char* entry);
  void ReportPluginFailure(const std::string& what);

  std::string fileName_;
  std::string loadError_;
  TFreeFramePlugin plugin_;
  TFCFreeFrameParameters parameters_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcfreeframe)
