#include "platform/media/sdl_subsystems.h"

#include <mutex>

#include <SDL.h>

namespace fc::media {

namespace {
std::mutex& SubsystemMutex() {
  static std::mutex mutex;
  return mutex;
}
}  // namespace

bool AcquireSDL(std::uint32_t flags, std::string& error) {
  std::lock_guard guard(SubsystemMutex());
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(flags) == 0) return true;
  error = SDL_GetError();
  if (error.empty()) error = "SDL could not start";
  return false;
}

void ReleaseSDL(std::uint32_t flags) {
  std::lock_guard guard(SubsystemMutex());
  SDL_QuitSubSystem(flags);
  // With nothing left running, SDL's own state (hints, the event queue's
  // memory) goes too; the next AcquireSDL starts afresh.
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

}  // namespace fc::media
