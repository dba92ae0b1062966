#include "plugins/freeframe_plugin.h"

#include <cstring>

#include "framecraft/freeframe.h"

namespace fc {

namespace {

bool Failed(fc_ff_mixed result) { return result.UIntValue == FC_FF_FAIL; }

std::string TextAt(const void* text) { return text ? static_cast<const char*>(text) : std::string(); }

}  // namespace

bool TFreeFramePlugin::Load(const std::string& path, std::string& error) {
  Release();
  library_ = TPluginLibrary::Load(path, &error);
  if (!library_) return false;
  entry_ = library_->Symbol(FC_FF_ENTRY_NAME);
  if (!entry_) {
    error = "exports no " FC_FF_ENTRY_NAME;
    Release();
    return false;
  }
  ReadExtendedInfo();
  ReadCapabilities();
  if (!info_.supports16Bit && !info_.supports24Bit && !info_.supports32Bit) {
    error = "supports no bit depth";
    Release();
    return false;
  }
  if (Global(FC_FF_INITIALISE, fc_ff_uint(0)).UIntValue != FC_FF_SUCCESS) {
    error = "failed to initialise";
    Release();
    return false;
  }
  initialised_ = true;
  if (info_.supportsFrameCopy) {
    std::uint32_t minimum = info_.minimumInputCapability, maximum = info_.maximumInputCapability;
    if (minimum == 0) minimum = maximum;
    if (maximum == 0) maximum = minimum;
    minimumInputs_ = minimum == 0 ? 1 : minimum;
    maximumInputs_ = maximum == 0 ? 1 : maximum;
  }
  return true;
}

void TFreeFramePlugin::Release() {
  if (entry_) {
    Deinstantiate();
    if (initialised_) Global(FC_FF_DEINITIALISE, fc_ff_uint(0));
  }
  entry_ = nullptr;
  instance_ = nullptr;
  initialised_ = false;
  library_.reset();
  info_ = TFreeFrameInfo{};
  minimumInputs_ = maximumInputs_ = 1;
}

bool TFreeFramePlugin::IsValid(const std::string& path) {
  std::unique_ptr<TPluginLibrary> library = TPluginLibrary::Load(path);
  return library && library->Symbol(FC_FF_ENTRY_NAME) != nullptr;
}

void TFreeFramePlugin::ReadExtendedInfo() {
  const fc_ff_mixed result = Global(FC_FF_GET_EXTENDED_INFO, fc_ff_uint(0));
  if (Failed(result) || !result.PointerValue) return;
  const auto* record = static_cast<const fc_ff_extended_info*>(result.PointerValue);
  info_.hasExtendedInfo = true;
  info_.majorVersion = record->majorVersion;
  info_.minorVersion = record->minorVersion;
  info_.description = TextAt(record->description);
  info_.about = TextAt(record->about);
}

std::uint32_t TFreeFramePlugin::Capability(std::uint32_t code) const {
  return Global(FC_FF_GET_PLUGIN_CAPS, fc_ff_uint(code)).UIntValue;
}

void TFreeFramePlugin::ReadCapabilities() {
  info_.supports16Bit = Capability(FC_FF_CAP_16BIT) == 1;
  info_.supports24Bit = Capability(FC_FF_CAP_24BIT) == 1;
  info_.supports32Bit = Capability(FC_FF_CAP_32BIT) == 1;
  info_.supportsFrameCopy = Capability(FC_FF_CAP_FRAME_COPY) == 1;
  info_.minimumInputCapability = Capability(FC_FF_CAP_MINIMUM_INPUT_FRAMES) & 0xFFFF;
  info_.maximumInputCapability = Capability(FC_FF_CAP_MAXIMUM_INPUT_FRAMES) & 0xFFFF;
  info_.copyOrInPlace = static_cast<std::uint8_t>(Capability(FC_FF_CAP_COPY_OR_IN_PLACE));
}

bool TFreeFramePlugin::Instantiate(int width, int height) {
  Deinstantiate();
  if (!entry_ || width <= 0 || height <= 0) return false;
  fc_ff_video_info video{};
  video.width = static_cast<std::uint32_t>(width);
  video.height = static_cast<std::uint32_t>(height);
  video.bitDepth = info_.supports24Bit ? FC_FF_DEPTH_24BIT : info_.supports32Bit ? FC_FF_DEPTH_32BIT : FC_FF_DEPTH_16BIT;
  video.orientation = FC_FF_ORIENTATION_BOTTOM_FIRST;
  const fc_ff_mixed result = Global(FC_FF_INSTANTIATE, fc_ff_pointer(&video));
  if (Failed(result) || !result.PointerValue) return false;
  instance_ = result.PointerValue;
  instanceWidth_ = width;
  instanceHeight_ = height;
  return true;
}

void TFreeFramePlugin::Deinstantiate() {
  if (!instance_) return;
  OnInstance(FC_FF_DEINSTANTIATE, fc_ff_uint(0));
  instance_ = nullptr;
  instanceWidth_ = instanceHeight_ = 0;
}

fc_ff_mixed TFreeFramePlugin::Global(std::uint32_t code, fc_ff_mixed input) const {
  if (!entry_) return fc_ff_uint(0);
  return reinterpret_cast<fc_ff_plug_main>(entry_)(code, input, nullptr);
}

fc_ff_mixed TFreeFramePlugin::OnInstance(std::uint32_t code, fc_ff_mixed input) const {
  if (!entry_) return fc_ff_uint(0);
  return reinterpret_cast<fc_ff_plug_main>(entry_)(code, input, instance_);
}

std::uint32_t TFreeFramePlugin::ParameterCount() const {
  const fc_ff_mixed result = Global(FC_FF_GET_NUM_PARAMETERS, fc_ff_uint(0));
  return Failed(result) ? 0 : result.UIntValue;
}

std::uint32_t TFreeFramePlugin::ParameterType(std::uint32_t index) const {
  return Global(FC_FF_GET_PARAMETER_TYPE, fc_ff_uint(index)).UIntValue;
}

std::string TFreeFramePlugin::ParameterName(std::uint32_t index) const {
  const fc_ff_mixed result = Global(FC_FF_GET_PARAMETER_NAME, fc_ff_uint(index));
  if (Failed(result) || !result.PointerValue) return {};
  // A name fills 16 characters and need not be terminated when it uses them
  // all; a shorter one ends at its terminator and nothing past it is read.
  const char* name = static_cast<const char*>(result.PointerValue);
  return std::string(name, strnlen(name, 16));
}

float TFreeFramePlugin::ParameterDefault(std::uint32_t index) const {
  return Global(FC_FF_GET_PARAMETER_DEFAULT, fc_ff_uint(index)).FloatValue;
}

std::string TFreeFramePlugin::ParameterDisplay(std::uint32_t index) const {
  const fc_ff_mixed result = OnInstance(FC_FF_GET_PARAMETER_DISPLAY, fc_ff_uint(index));
  if (Failed(result)) return {};
  return TextAt(result.PointerValue);
}

void TFreeFramePlugin::SetParameter(std::uint32_t index, fc_ff_mixed value) const {
  fc_ff_set_parameter record{};
  record.index = index;
  record.value = value;
  OnInstance(FC_FF_SET_PARAMETER, fc_ff_pointer(&record));
}

bool TFreeFramePlugin::GetParameter(std::uint32_t index, fc_ff_mixed& value) const {
  if (!entry_) return false;
  value = OnInstance(FC_FF_GET_PARAMETER, fc_ff_uint(index));
  return !Failed(value);
}

bool TFreeFramePlugin::ProcessFrame(void* pixels) const {
  return entry_ && OnInstance(FC_FF_PROCESS_FRAME, fc_ff_pointer(pixels)).UIntValue == FC_FF_SUCCESS;
}

bool TFreeFramePlugin::ProcessFrameCopy(std::uint32_t count, void** inputs, void* output) const {
  fc_ff_frame_copy record{};
  record.count = count;
  record.inputs = inputs;
  record.output = output;
  return entry_ && OnInstance(FC_FF_PROCESS_FRAME_COPY, fc_ff_pointer(&record)).UIntValue == FC_FF_SUCCESS;
}

}  // namespace fc
