// freeframe_plugin.h - one loaded FreeFrame plug-in: its library, entry
// point, capabilities, information and instance, and the calls the effect
// plug-in host makes into it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/media/plugin_library.h"
#include "platform/runtime/components_api.h"

union fc_ff_mixed;

namespace fc {

/// What a plug-in tells about itself when it loads.
struct FC_COMPONENTS_API TFreeFrameInfo {
  bool hasExtendedInfo = false;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::string description;
  std::string about;
  bool supports16Bit = false;
  bool supports24Bit = false;
  bool supports32Bit = false;
  bool supportsFrameCopy = false;
  /// Capabilities 10 and 11 as the plug-in answered them.
  std::uint32_t minimumInputCapability = 0;
  std::uint32_t maximumInputCapability = 0;
  /// Capability 15: 0 no preference, 1 in place, 2 copy.
  std::uint8_t copyOrInPlace = 0;
};

/// A loaded plug-in. Not thread-safe: its owner serialises every call (the
/// host holds its component lock around each).
///
/// Loading follows the host's steps: the library and `plugMain`, the
/// extended information, the capabilities, then initialise; any failure
/// releases what was loaded. Releasing deinstantiates a live instance,
/// deinitialises an initialised plug-in and unloads the library, so no call
/// can reach an unloaded library afterwards.
class FC_COMPONENTS_API TFreeFramePlugin {
public:
  TFreeFramePlugin() = default;
  TFreeFramePlugin(const TFreeFramePlugin&) = delete;
  TFreeFramePlugin& operator=(const TFreeFramePlugin&) = delete;
  ~TFreeFramePlugin() { Release(); }

  /// Releases any plug-in, then loads the one at `path`. False, with the
  /// reason in `error`, when the library cannot be loaded, lacks plugMain,
  /// supports no bit depth or fails to initialise; nothing stays loaded then.
  bool Load(const std::string& path, std::string& error);
  /// Deinstantiates, deinitialises and unloads; nothing happens when
  /// nothing is loaded.
  void Release();
  /// True when the library at `path` loads and exports plugMain; it is
  /// released again at once.
  static bool IsValid(const std::string& path);

  bool IsLoaded() const { return entry_ != nullptr; }
  const TFreeFrameInfo& Info() const { return info_; }
  /// 32-bit frames: the plug-in lacks 24-bit but has 32-bit.
  bool Use32Bit() const { return !info_.supports24Bit && info_.supports32Bit; }
  /// Input counts of the frame-copy path: both 1 unless the plug-in
  /// supports frame copy; a 0 takes the other's value, both 0 give 1.
  std::uint32_t MinimumInputs() const { return minimumInputs_; }
  std::uint32_t MaximumInputs() const { return maximumInputs_; }

  /// Creates the instance for frames of width x height (deinstantiating a
  /// previous one). False when the plug-in refuses or nothing is loaded.
  bool Instantiate(int width, int height);
  void Deinstantiate();
  bool HasInstance() const { return instance_ != nullptr; }
  int InstanceWidth() const { return instanceWidth_; }
  int InstanceHeight() const { return instanceHeight_; }

  /// A global call (null instance identifier); 0 when nothing is loaded.
  fc_ff_mixed Global(std::uint32_t code, fc_ff_mixed input) const;
  /// A call on the instance; 0 when nothing is loaded.
  fc_ff_mixed OnInstance(std::uint32_t code, fc_ff_mixed input) const;

  // Global calls about the parameters.
  std::uint32_t ParameterCount() const;
  std::uint32_t ParameterType(std::uint32_t index) const;
  /// At most 16 characters, up to the first terminator.
  std::string ParameterName(std::uint32_t index) const;
  float ParameterDefault(std::uint32_t index) const;
  // Calls on the instance about one parameter.
  /// Empty when the plug-in gives none.
  std::string ParameterDisplay(std::uint32_t index) const;
  void SetParameter(std::uint32_t index, fc_ff_mixed value) const;
  /// False when the plug-in answers failure.
  bool GetParameter(std::uint32_t index, fc_ff_mixed& value) const;

  /// Processes one frame in place (code 3); true on success.
  bool ProcessFrame(void* pixels) const;
  /// Processes `count` input frames into `output` (code 14); true on success.
  bool ProcessFrameCopy(std::uint32_t count, void** inputs, void* output) const;

private:
  void ReadExtendedInfo();
  void ReadCapabilities();
  std::uint32_t Capability(std::uint32_t code) const;

  std::unique_ptr<TPluginLibrary> library_;
  void* entry_ = nullptr;
  void* instance_ = nullptr;
  bool initialised_ = false;
  int instanceWidth_ = 0, instanceHeight_ = 0;
  TFreeFrameInfo info_;
  std::uint32_t minimumInputs_ = 1, maximumInputs_ = 1;
};

}  // namespace fc
