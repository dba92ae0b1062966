// effect_objects.h - the installed video-effect objects: their registry
// (found along the effect folders, named, identified) and live instances
// that process frames. Built on the frei0r plug-ins.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/media/class_id.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// What an effect does with frames: a filter takes one, a mixer two or
/// three, a source none (sources are not video effects and are not listed).
enum class TEffectType { Filter = 0, Source = 1, Mixer2 = 2, Mixer3 = 3 };
/// How an effect's 32-bit pixels are ordered in memory (Packed32: any order,
/// the effect does not look at channels).
enum class TEffectColorModel { BGRA8888 = 0, RGBA8888 = 1, Packed32 = 2 };
enum class TEffectParameterType { Bool = 0, Double = 1, Color = 2, Position = 3, String = 4 };

struct FC_COMPONENTS_API TEffectColor {
  float r = 0, g = 0, b = 0;
  bool operator==(const TEffectColor&) const = default;
};
struct FC_COMPONENTS_API TEffectPosition {
  double x = 0, y = 0;
  bool operator==(const TEffectPosition&) const = default;
};
/// A parameter value of the matching type.
using TEffectValue = std::variant<bool, double, TEffectColor, TEffectPosition, std::string>;

struct FC_COMPONENTS_API TEffectParameterInfo {
  std::string name;
  TEffectParameterType type = TEffectParameterType::Double;
  std::string explanation;
};

/// One installed effect as the registry lists it.
struct FC_COMPONENTS_API TEffectInfo {
  std::string name;      ///< the registered name
  std::string author;
  std::string explanation;
  std::string path;      ///< the library file
  std::string fileName;  ///< its name without the folder
  TEffectClassId classId;
  TEffectType type = TEffectType::Filter;
  TEffectColorModel colorModel = TEffectColorModel::BGRA8888;
  int majorVersion = 0, minorVersion = 0;
  std::vector<TEffectParameterInfo> parameters;

  /// Input frames per output frame: 1, 2 or 3.
  int Inputs() const;
  /// The parameter named `name` (case-insensitive), or -1.
  int ParameterIndex(std::string_view name) const;
};

/// The folders searched for effects, in order: those of FREI0R_PATH
/// (colon-separated) when it is set, else ~/.frei0r-1/lib,
/// /usr/local/lib/frei0r-1, /usr/lib/frei0r-1 and
/// /usr/lib/x86_64-linux-gnu/frei0r-1.
FC_COMPONENTS_API std::vector<std::string> EffectFolders();

/// The installed effects in enumeration order: folder by folder, files by
/// name within a folder, each file name once (the first folder that has it
/// wins). Libraries that cannot be loaded or are no effects are left out.
/// Looked up once per list of folders and kept; safe from any thread.
FC_COMPONENTS_API std::vector<TEffectInfo> InstalledEffects();
/// The first installed effect named `name`, or nothing.
FC_COMPONENTS_API std::optional<TEffectInfo> FindEffectByName(std::string_view name);
/// The installed effect of class `id`, or nothing.
FC_COMPONENTS_API std::optional<TEffectInfo> FindEffectByClassId(const TEffectClassId& id);
/// The identifier of the effect in the library file `fileName` (no folder).
FC_COMPONENTS_API TEffectClassId EffectClassIdOfFile(std::string_view fileName);

/// `text` as a value of `type`: bool "true"/"false"/"1"/"0" (any case), a
/// number, a colour "r,g,b" (each 0 to 1), a position "x,y", any string;
/// nothing when it cannot be read.
FC_COMPONENTS_API std::optional<TEffectValue> ParseEffectValue(TEffectParameterType type, std::string_view text);
/// A value as text, in the form ParseEffectValue reads.
FC_COMPONENTS_API std::string EffectValueText(const TEffectValue& value);
FC_COMPONENTS_API const char* EffectParameterTypeName(TEffectParameterType type);
FC_COMPONENTS_API const char* EffectTypeName(TEffectType type);

/// One instance of an effect for frames of one size. Not thread-safe: its
/// owner serialises the calls. The effect's library stays loaded, and
/// initialised once, while any instance of it lives.
class FC_COMPONENTS_API TEffectInstance {
public:
  /// An instance for width x height frames (each a multiple of 8); null with
  /// the reason in `error` when the library fails or refuses the size.
  static std::unique_ptr<TEffectInstance> Create(const TEffectInfo& info, int width, int height,
                                                 std::string& error);
  ~TEffectInstance();
  TEffectInstance(const TEffectInstance&) = delete;
  TEffectInstance& operator=(const TEffectInstance&) = delete;

  const TEffectInfo& Info() const { return info_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  /// Processes one frame of a filter: width x height pixels of 32 bits in
  /// the effect's colour model, rows packed, 16-byte aligned. `time` in
  /// seconds.
  void Update(double time, const std::uint32_t* in, std::uint32_t* out);
  /// Sets parameter `index` (a value of its type; others are ignored).
  void SetParameter(int index, const TEffectValue& value);
  TEffectValue GetParameter(int index) const;

  /// The loaded library an instance keeps (internal to the layer).
  struct Library;

private:
  TEffectInstance(std::shared_ptr<Library> library, TEffectInfo info, void* instance, int width, int height);

  std::shared_ptr<Library> library_;
  TEffectInfo info_;
  void* instance_;
  int width_, height_;
};

}  // namespace fc
