// sdl_subsystems.h - SDL's video and audio subsystems, started and ended
// under one lock (SDL's own start and end are not thread-safe).
#pragma once

#include <cstdint>
#include <string>

namespace fc::media {

/// Starts SDL subsystems (SDL_INIT_VIDEO, SDL_INIT_AUDIO ...), counted, so
/// every successful call needs its ReleaseSDL. SDL is told to leave the
/// process's signal handlers alone (SIGINT and SIGTERM stay the
/// application's). On failure returns false and SDL's reason in `error`.
bool AcquireSDL(std::uint32_t flags, std::string& error);
/// Ends what one AcquireSDL started.
void ReleaseSDL(std::uint32_t flags);

}  // namespace fc::media
