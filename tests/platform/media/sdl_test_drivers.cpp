// SDL's dummy drivers for every test of this program: windows and sound
// devices that need no display and no sound card. Set before main, while
// the program has only one thread.
#include <cstdlib>

namespace {
[[maybe_unused]] const bool kDriversChosen = [] {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  return true;
}();
}  // namespace
