#include "platform/media/plugin_library.h"

#include <dlfcn.h>

#include <mutex>

namespace fc {

namespace {

// dlerror keeps one message per thread, but loaders on several threads of
// one process still share the dynamic linker's state; one at a time keeps
// each message with its call.
std::mutex& LoaderMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

TPluginLibrary::~TPluginLibrary() {
  std::lock_guard guard(LoaderMutex());
  dlclose(handle_);
}

std::unique_ptr<TPluginLibrary> TPluginLibrary::Load(const std::string& path, std::string* error) {
  if (path.empty()) {
    if (error) *error = "no file name";
    return nullptr;
  }
  // Without a slash dlopen would search the library path instead of the file.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  std::lock_guard guard(LoaderMutex());
  dlerror();
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    if (error) {
      const char* reason = dlerror();
      *error = reason ? reason : "cannot be loaded";
    }
    return nullptr;
  }
  return std::unique_ptr<TPluginLibrary>(new TPluginLibrary(handle, path));
}

void* TPluginLibrary::Symbol(const char* name) const {
  std::lock_guard guard(LoaderMutex());
  dlerror();
  return dlsym(handle_, name);
}

}  // namespace fc
