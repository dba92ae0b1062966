#include "tools/framecraft/effect_listing.h"

#include "platform/media/effect_objects.h"
#include "platform/runtime/error.h"
#include "plugins/Fcfreeframe.h"

namespace fc::tool {

namespace {

// The parameters' defaults as a new instance reports them; empty when the
// effect cannot make one.
std::vector<std::string> EffectDefaults(const TEffectInfo& info) {
  std::string error;
  std::unique_ptr<TEffectInstance> instance = TEffectInstance::Create(info, 64, 48, error);
  std::vector<std::string> defaults;
  if (!instance) return defaults;
  for (std::size_t i = 0; i < info.parameters.size(); ++i)
    defaults.push_back(EffectValueText(instance->GetParameter(static_cast<int>(i))));
  return defaults;
}

const char* FreeFrameTypeName(TFCFreeFramePropertyType type) {
  switch (type) {
    case fptBoolean: return "boolean";
    case fptByte: return "byte";
    case fptCardinal: return "integer";
    case fptSingle: return "float";
    case fptString: return "string";
  }
  return "unknown";
}

}  // namespace

void PrintEffects(std::ostream& out) {
  const std::vector<TEffectInfo> effects = InstalledEffects();
  if (effects.empty()) {
    out << "no video effects found in:";
    for (const std::string& folder : EffectFolders()) out << ' ' << folder;
    out << '\n';
    return;
  }
  for (const TEffectInfo& info : effects) {
    out << info.name << "  (" << EffectTypeName(info.type) << ", " << info.author << ", " << info.fileName
        << ")\n";
    const std::vector<std::string> defaults = EffectDefaults(info);
    for (std::size_t i = 0; i < info.parameters.size(); ++i) {
      const TEffectParameterInfo& parameter = info.parameters[i];
      out << "    " << parameter.name << ": " << EffectParameterTypeName(parameter.type);
      if (i < defaults.size()) out << " = " << defaults[i];
      if (!parameter.explanation.empty()) out << "  - " << parameter.explanation;
      out << '\n';
    }
  }
  out << effects.size() << " video effects\n";
}

void PrintFreeFramePlugin(const std::string& file, std::ostream& out) {
  TFCFreeFrame host(nullptr);
  host.SetName("plugin");
  host.SetFilterFileName(file);
  if (!host.IsLoaded()) throw EFCError(file + ": not a usable FreeFrame plug-in: " + host.LoadError());
  const TFreeFrameInfo info = host.PluginInfo();
  out << file << '\n';
  if (info.hasExtendedInfo)
    out << "  version " << info.majorVersion << '.' << info.minorVersion << "\n  " << info.description << "\n  "
        << info.about << '\n';
  out << "  capabilities:";
  if (info.supports16Bit) out << " 16-bit";
  if (info.supports24Bit) out << " 24-bit";
  if (info.supports32Bit) out << " 32-bit";
  if (info.supportsFrameCopy) out << " frame-copy";
  out << "\n  inputs: " << host.MinimumInputs() << " to " << host.MaximumInputs() << "\n  prefers: "
      << (info.copyOrInPlace == 1 ? "in place" : info.copyOrInPlace == 2 ? "copy" : "no preference") << '\n';
  TFCFreeFrameParameters& parameters = *host.GetParameters();
  out << "  parameters: " << parameters.Count() << '\n';
  for (int i = 0; i < parameters.Count(); ++i) {
    TFCFreeFrameParameter& parameter = parameters.Items(i);
    out << "    " << parameter.VC_Name() << ": " << FreeFrameTypeName(parameter.GetPropertyType()) << " = "
        << parameter.GetAsString() << "  (" << parameter.ClassInfo().Name() << ")\n";
  }
  host.BeforeDestruction();
}

}  // namespace fc::tool
