// plugin_library.h - shared libraries loaded at run time (effect plug-ins),
// over dlopen and dlsym.
#pragma once

#include <memory>
#include <string>

#include "platform/runtime/components_api.h"

namespace fc {

/// One loaded shared library. The library stays mapped while the object
/// lives and is released when it dies (when no other holder keeps it
/// loaded). Loading resolves every symbol at once, so a library with a
/// missing dependency fails here and not in the middle of a stream.
class FC_COMPONENTS_API TPluginLibrary {
public:
  TPluginLibrary(const TPluginLibrary&) = delete;
  TPluginLibrary& operator=(const TPluginLibrary&) = delete;
  ~TPluginLibrary();

  /// Loads the library at `path`; null when it cannot be loaded, with the
  /// reason in `error` when given. A path without a slash is still taken as
  /// a file name relative to the working folder, never searched for along
  /// the library path.
  static std::unique_ptr<TPluginLibrary> Load(const std::string& path, std::string* error = nullptr);

  /// The address of the exported symbol `name`, or null.
  void* Symbol(const char* name) const;
  /// The exported function `name` as a pointer of type F, or null.
  template <class F> F Function(const char* name) const { return reinterpret_cast<F>(Symbol(name)); }

  const std::string& Path() const { return path_; }

private:
  TPluginLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}

  void* handle_;
  std::string path_;
};

}  // namespace fc
