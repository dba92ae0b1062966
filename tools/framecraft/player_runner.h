// player_runner.h - runs a pipeline whose sources are media players.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "media/Fcasfplayer.h"
#include "tools/framecraft/pin_dump.h"
#include "tools/framecraft/pipeline_runner.h"

namespace fc::tool {

/// The media players among `root` and the components it owns.
std::vector<TFCASFPlayer*> FindPlayers(TComponent& root);

/// Frame dumps write at most `frames` frames: a player stops a little after
/// its last counted frame, and what it sent meanwhile is not written.
void LimitFrameDumps(const std::vector<std::unique_ptr<TPinDump>>& dumps, int frames);

/// Runs the players of a pipeline as its sources. A step is a frame the
/// player sent on its OutputPin (an audio block for a player without video);
/// the run ends when every player sent `frames`, reached the end of its
/// source (apsEndOfFile) or failed.
///
/// Each player plays its FileName from the start: one that started while
/// the form was loaded or its settings applied is stopped first, one that
/// the form disabled (so that it opens nothing while loading) is enabled.
/// How it is paced:
///  - kClock (the default): the runner's clock drives its ClockPin, unless
///    the form connected that pin itself, as fast as the source decodes and
///    the same every time;
///  - kRealtime: it runs free at the source's own pace;
///  - kDevice: an output device downstream pumps it at the device's pace.
/// Failures raise EFCError naming the player: an empty FileName, an open
/// that failed or did not complete within its Timeout, a read error while
/// playing, and a run in which no frame came for longer than the Timeout
/// and kStallGrace. Every player is stopped at the end, also on failure.
class TPlayerRunner {
public:
  enum class TPace { kClock, kRealtime, kDevice };
  static constexpr std::chrono::seconds kStallGrace{10};

  /// EFCError when `root` holds no player, or generators as well (a form
  /// is driven by one kind of source).
  explicit TPlayerRunner(TComponent& root);
  ~TPlayerRunner();
  TPlayerRunner(const TPlayerRunner&) = delete;
  TPlayerRunner& operator=(const TPlayerRunner&) = delete;

  void SetPace(TPace pace) { pace_ = pace; }
  /// Runs up to `frames` steps; `afterStep(done)` runs on each new step and
  /// may throw to end the run.
  TRunResult Run(int frames, const std::function<void(int done)>& afterStep);

private:
  class TWatch;

  void StartAll();
  void StopAll();
  // One pass of the run loop: drives the clocks, waits briefly, checks the
  // players; the steps every player has made.
  int Step(int frames);

  std::vector<std::unique_ptr<TWatch>> watches_;
  TPace pace_ = TPace::kClock;
};

}  // namespace fc::tool
