#include "platform/media/effect_objects.h"

#include <frei0r.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>

#include "platform/media/plugin_library.h"
#include "platform/runtime/properties.h"

namespace fc {

// A loaded effect library, initialised once while anything uses it.
struct TEffectInstance::Library {
  std::unique_ptr<TPluginLibrary> library;
  decltype(&f0r_init) init = nullptr;
  decltype(&f0r_deinit) deinit = nullptr;
  decltype(&f0r_get_plugin_info) pluginInfo = nullptr;
  decltype(&f0r_get_param_info) paramInfo = nullptr;
  decltype(&f0r_construct) construct = nullptr;
  decltype(&f0r_destruct) destruct = nullptr;
  decltype(&f0r_set_param_value) setParam = nullptr;
  decltype(&f0r_get_param_value) getParam = nullptr;
  decltype(&f0r_update) update = nullptr;

  ~Library() {
    if (deinit) deinit();
  }

  // The library at `path`, shared with its other users; null when it is no
  // effect library or fails to initialise.
  static std::shared_ptr<Library> Open(const std::string& path);
};

namespace {

using Library = TEffectInstance::Library;

std::mutex& LibrariesMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<std::string, std::weak_ptr<Library>>& OpenLibraries() {
  static std::map<std::string, std::weak_ptr<Library>> libraries;
  return libraries;
}

template <class F> bool Bind(const TPluginLibrary& library, const char* name, F& function) {
  function = library.Function<F>(name);
  return function != nullptr;
}

}  // namespace

std::shared_ptr<Library> Library::Open(const std::string& path) {
  std::lock_guard guard(LibrariesMutex());
  if (auto open = OpenLibraries()[path].lock()) return open;
  auto made = std::make_shared<Library>();
  made->library = TPluginLibrary::Load(path);
  if (!made->library) return nullptr;
  const TPluginLibrary& l = *made->library;
  const bool complete = Bind(l, "f0r_init", made->init) && Bind(l, "f0r_deinit", made->deinit) &&
                        Bind(l, "f0r_get_plugin_info", made->pluginInfo) &&
                        Bind(l, "f0r_get_param_info", made->paramInfo) && Bind(l, "f0r_construct", made->construct) &&
                        Bind(l, "f0r_destruct", made->destruct) && Bind(l, "f0r_set_param_value", made->setParam) &&
                        Bind(l, "f0r_get_param_value", made->getParam) && Bind(l, "f0r_update", made->update);
  decltype(&f0r_deinit) deinit = made->deinit;
  made->deinit = nullptr;  // not initialised yet
  if (!complete || made->init() == 0) return nullptr;
  made->deinit = deinit;
  OpenLibraries()[path] = made;
  return made;
}

// --- Registry --------------------------------------------------------------

int TEffectInfo::Inputs() const {
  return type == TEffectType::Mixer3 ? 3 : type == TEffectType::Mixer2 ? 2 : 1;
}

int TEffectInfo::ParameterIndex(std::string_view parameterName) const {
  for (std::size_t i = 0; i < parameters.size(); ++i)
    if (SameIdentifier(parameters[i].name, parameterName)) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> EffectFolders() {
  std::vector<std::string> folders;
  if (const char* path = std::getenv("FREI0R_PATH")) {
    std::string_view list(path);
    while (!list.empty()) {
      const std::size_t colon = list.find(':');
      if (colon != 0) folders.emplace_back(list.substr(0, colon));
      if (colon == std::string_view::npos) break;
      list.remove_prefix(colon + 1);
    }
    return folders;
  }
  if (const char* home = std::getenv("HOME")) folders.push_back(std::string(home) + "/.frei0r-1/lib");
  for (const char* folder : {"/usr/local/lib/frei0r-1", "/usr/lib/frei0r-1", "/usr/lib/x86_64-linux-gnu/frei0r-1"})
    folders.emplace_back(folder);
  return folders;
}

TEffectClassId EffectClassIdOfFile(std::string_view fileName) { return TEffectClassId::FromName(fileName); }

namespace {

std::string Text(const char* text) { return text ? text : ""; }

// What the library at `path` tells about itself; nothing for a library that
// is no video effect.
std::optional<TEffectInfo> Describe(const std::filesystem::path& path) {
  std::shared_ptr<Library> library = Library::Open(path.string());
  if (!library) return std::nullopt;
  f0r_plugin_info_t plugin{};
  library->pluginInfo(&plugin);
  if (plugin.plugin_type != F0R_PLUGIN_TYPE_FILTER && plugin.plugin_type != F0R_PLUGIN_TYPE_MIXER2 &&
      plugin.plugin_type != F0R_PLUGIN_TYPE_MIXER3)
    return std::nullopt;
  if (plugin.color_model < F0R_COLOR_MODEL_BGRA8888 || plugin.color_model > F0R_COLOR_MODEL_PACKED32 || !plugin.name)
    return std::nullopt;
  TEffectInfo info;
  info.name = plugin.name;
  info.author = Text(plugin.author);
  info.explanation = Text(plugin.explanation);
  info.path = path.string();
  info.fileName = path.filename().string();
  info.classId = EffectClassIdOfFile(info.fileName);
  info.type = static_cast<TEffectType>(plugin.plugin_type);
  info.colorModel = static_cast<TEffectColorModel>(plugin.color_model);
  info.majorVersion = plugin.major_version;
  info.minorVersion = plugin.minor_version;
  for (int i = 0; i < std::max(plugin.num_params, 0); ++i) {
    f0r_param_info_t param{};
    library->paramInfo(&param, i);
    if (param.type < F0R_PARAM_BOOL || param.type > F0R_PARAM_STRING) return std::nullopt;
    info.parameters.push_back({Text(param.name), static_cast<TEffectParameterType>(param.type), Text(param.explanation)});
  }
  return info;
}

std::vector<TEffectInfo> Enumerate(const std::vector<std::string>& folders) {
  std::vector<TEffectInfo> effects;
  std::set<std::string> seen;
  for (const std::string& folder : folders) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
      if (entry.path().extension() == ".so") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
      if (!seen.insert(file.filename().string()).second) continue;
      if (std::optional<TEffectInfo> info = Describe(file)) effects.push_back(std::move(*info));
    }
  }
  return effects;
}

}  // namespace

std::vector<TEffectInfo> InstalledEffects() {
  static std::mutex mutex;
  static std::map<std::vector<std::string>, std::vector<TEffectInfo>> known;
  const std::vector<std::string> folders = EffectFolders();
  std::lock_guard guard(mutex);
  auto found = known.find(folders);
  if (found == known.end()) found = known.emplace(folders, Enumerate(folders)).first;
  return found->second;
}

std::optional<TEffectInfo> FindEffectByName(std::string_view name) {
  for (TEffectInfo& info : InstalledEffects())
    if (info.name == name) return std::move(info);
  return std::nullopt;
}

std::optional<TEffectInfo> FindEffectByClassId(const TEffectClassId& id) {
  for (TEffectInfo& info : InstalledEffects())
    if (info.classId == id) return std::move(info);
  return std::nullopt;
}

// --- Values ----------------------------------------------------------------

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::optional<double> Number(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

// The numbers of a comma-separated list of `count`.
std::optional<std::vector<double>> Numbers(std::string_view text, std::size_t count) {
  std::vector<double> numbers;
  while (true) {
    const std::size_t comma = text.find(',');
    std::optional<double> number = Number(text.substr(0, comma));
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (numbers.size() != count) return std::nullopt;
  return numbers;
}

std::string NumberText(double value) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace

std::optional<TEffectValue> ParseEffectValue(TEffectParameterType type, std::string_view text) {
  switch (type) {
    case TEffectParameterType::Bool: {
      const std::string_view word = Trim(text);
      if (SameIdentifier(word, "true") || word == "1") return TEffectValue(true);
      if (SameIdentifier(word, "false") || word == "0") return TEffectValue(false);
      return std::nullopt;
    }
    case TEffectParameterType::Double:
      if (auto number = Number(text)) return TEffectValue(*number);
      return std::nullopt;
    case TEffectParameterType::Color:
      if (auto rgb = Numbers(text, 3)) {
        for (double part : *rgb)
          if (part < 0 || part > 1) return std::nullopt;
        return TEffectValue(TEffectColor{float((*rgb)[0]), float((*rgb)[1]), float((*rgb)[2])});
      }
      return std::nullopt;
    case TEffectParameterType::Position:
      if (auto xy = Numbers(text, 2)) return TEffectValue(TEffectPosition{(*xy)[0], (*xy)[1]});
      return std::nullopt;
    case TEffectParameterType::String: return TEffectValue(std::string(text));
  }
  return std::nullopt;
}

std::string EffectValueText(const TEffectValue& value) {
  struct Visitor {
    std::string operator()(bool v) const { return v ? "true" : "false"; }
    std::string operator()(double v) const { return NumberText(v); }
    std::string operator()(const TEffectColor& v) const {
      return NumberText(v.r) + "," + NumberText(v.g) + "," + NumberText(v.b);
    }
    std::string operator()(const TEffectPosition& v) const { return NumberText(v.x) + "," + NumberText(v.y); }
    std::string operator()(const std::string& v) const { return v; }
  };
  return std::visit(Visitor{}, value);
}

const char* EffectParameterTypeName(TEffectParameterType type) {
  switch (type) {
    case TEffectParameterType::Bool: return "bool";
    case TEffectParameterType::Double: return "double";
    case TEffectParameterType::Color: return "colour";
    case TEffectParameterType::Position: return "position";
    case TEffectParameterType::String: return "string";
  }
  return "unknown";
}

const char* EffectTypeName(TEffectType type) {
  switch (type) {
    case TEffectType::Filter: return "filter";
    case TEffectType::Source: return "source";
    case TEffectType::Mixer2: return "mixer2";
    case TEffectType::Mixer3: return "mixer3";
  }
  return "unknown";
}

// --- Instances -------------------------------------------------------------

TEffectInstance::TEffectInstance(std::shared_ptr<Library> library, TEffectInfo info, void* instance, int width,
                                 int height)
    : library_(std::move(library)), info_(std::move(info)), instance_(instance), width_(width), height_(height) {}

TEffectInstance::~TEffectInstance() { library_->destruct(instance_); }

std::unique_ptr<TEffectInstance> TEffectInstance::Create(const TEffectInfo& info, int width, int height,
                                                         std::string& error) {
  if (width <= 0 || height <= 0 || width % 8 != 0 || height % 8 != 0) {
    error = "frames of " + std::to_string(width) + " x " + std::to_string(height) +
            " (each side must be a positive multiple of 8)";
    return nullptr;
  }
  std::shared_ptr<Library> library = Library::Open(info.path);
  if (!library) {
    error = "cannot load " + info.path;
    return nullptr;
  }
  void* instance = library->construct(static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (!instance) {
    error = "refuses frames of " + std::to_string(width) + " x " + std::to_string(height);
    return nullptr;
  }
  return std::unique_ptr<TEffectInstance>(new TEffectInstance(std::move(library), info, instance, width, height));
}

void TEffectInstance::Update(double time, const std::uint32_t* in, std::uint32_t* out) {
  library_->update(instance_, time, in, out);
}

void TEffectInstance::SetParameter(int index, const TEffectValue& value) {
  if (index < 0 || index >= static_cast<int>(info_.parameters.size())) return;
  const TEffectParameterType type = info_.parameters[static_cast<std::size_t>(index)].type;
  if (static_cast<std::size_t>(type) != value.index()) return;
  switch (type) {
    case TEffectParameterType::Bool: {
      f0r_param_bool v = std::get<bool>(value) ? 1.0 : 0.0;
      return library_->setParam(instance_, &v, index);
    }
    case TEffectParameterType::Double: {
      f0r_param_double v = std::get<double>(value);
      return library_->setParam(instance_, &v, index);
    }
    case TEffectParameterType::Color: {
      const TEffectColor& c = std::get<TEffectColor>(value);
      f0r_param_color_t v{c.r, c.g, c.b};
      return library_->setParam(instance_, &v, index);
    }
    case TEffectParameterType::Position: {
      const TEffectPosition& p = std::get<TEffectPosition>(value);
      f0r_param_position_t v{p.x, p.y};
      return library_->setParam(instance_, &v, index);
    }
    case TEffectParameterType::String: {
      // The effect copies the text during the call.
      std::string text = std::get<std::string>(value);
      f0r_param_string v = text.data();
      return library_->setParam(instance_, &v, index);
    }
  }
}

TEffectValue TEffectInstance::GetParameter(int index) const {
  if (index < 0 || index >= static_cast<int>(info_.parameters.size())) return 0.0;
  switch (info_.parameters[static_cast<std::size_t>(index)].type) {
    case TEffectParameterType::Bool: {
      f0r_param_bool v = 0;
      library_->getParam(instance_, &v, index);
      return v >= 0.5;
    }
    case TEffectParameterType::Double: {
      f0r_param_double v = 0;
      library_->getParam(instance_, &v, index);
      return v;
    }
    case TEffectParameterType::Color: {
      f0r_param_color_t v{};
      library_->getParam(instance_, &v, index);
      return TEffectColor{v.r, v.g, v.b};
    }
    case TEffectParameterType::Position: {
      f0r_param_position_t v{};
      library_->getParam(instance_, &v, index);
      return TEffectPosition{v.x, v.y};
    }
    case TEffectParameterType::String: {
      f0r_param_string v = nullptr;
      library_->getParam(instance_, &v, index);
      return Text(v);
    }
  }
  return 0.0;
}

}  // namespace fc
