#include "tools/framecraft/player_runner.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "contracts/pins/state_pins.h"
#include "platform/media/ffmpeg_error.h"
#include "platform/runtime/error.h"
#include "platform/signal/main_thread_notifier.h"
#include "tools/framecraft/frame_dump.h"

namespace fc::tool {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Clock steps the runner lets a player run ahead of the latest sample it
// sent: enough to keep the reader decoding, few enough that little goes out
// past the last frame asked for.
constexpr std::int64_t kTicksAhead = 4;
// How long one pass of the run loop waits for a frame.
constexpr std::chrono::milliseconds kWait{5};
// Stall allowance for a player whose Timeout is 0 (no limit).
constexpr std::chrono::seconds kUnlimitedTimeoutStall{30};

template <class T>
void Collect(TComponent& component, std::vector<T*>& out) {
  if (auto* found = dynamic_cast<T*>(&component)) out.push_back(found);
  for (int i = 0; i < component.ComponentCount(); ++i) Collect(*component.Components(i), out);
}

}  // namespace

std::vector<TFCASFPlayer*> FindPlayers(TComponent& root) {
  std::vector<TFCASFPlayer*> players;
  Collect(root, players);
  return players;
}

void LimitFrameDumps(const std::vector<std::unique_ptr<TPinDump>>& dumps, int frames) {
  for (const auto& dump : dumps)
    if (auto* frameDump = dynamic_cast<TFrameDump*>(dump.get())) frameDump->SetFrameLimit(frames);
}

// One player under the runner: what it sent, its statuses and, when the
// runner paces it, the clock that drives it.
class TPlayerRunner::TWatch : public TComponent, public IPMPinDispatcher {
public:
  explicit TWatch(TFCASFPlayer& player)
      : TComponent(nullptr), player_(player), video_(this, *this, "Video"), audio_(this, *this, "Audio"),
        clock_(this, "Clock") {
    player.GetOutputPin()->Connect(video_);
    player.GetAudioOutputPin()->Connect(audio_);
    player.SetOnPlayerStatus([this](TComponent&, TFCASFPlayerStatus status) {
      ended_ |= status == apsEndOfFile;
      failed_ |= status == apsError;
    });
  }
  ~TWatch() override {
    player_.SetOnPlayerStatus({});
    video_.Retire();
    audio_.Retire();
  }

  TFCASFPlayer& Player() { return player_; }

  // Plays the player from the start, driven by our clock when `clocked`
  // and nothing in the form drives its ClockPin.
  void Start(bool clocked) {
    const std::string fileName = player_.GetFileName();
    if (fileName.empty())
      throw EFCError(player_.NamePath() + ": FileName is empty; give the file or URL to play with --set " +
                     player_.Name() + ".FileName=...");
    if (player_.IsPlaying()) {
      // Started while the form loaded: from the start again, its earlier
      // statuses (an end of file among them) forgotten.
      player_.Stop();
      TWCMainThreadNotifier::ProcessMessages();
      ended_ = failed_ = false;
    }
    ticked_ = clocked && !player_.GetClockPin()->IsConnected();
    if (ticked_) clock_.Connect(*player_.GetClockPin());
    // The error event names the player and the file when the open fails.
    if (player_.GetEnabled())
      player_.Start();
    else
      player_.SetEnabled(true);
    if (!player_.IsPlaying())
      throw EFCError(player_.NamePath() + ": could not open " + fileName + " within its Timeout of " +
                     std::to_string(player_.GetTimeout()) + " ms");
    lastProgress_ = SteadyClock::now();
  }

  // Steps made: frames, or audio blocks when the source has no video.
  int Steps() const {
    std::lock_guard guard(mutex_);
    return player_.HasVideo() ? frames_ : blocks_;
  }
  bool Ended() const { return ended_; }

  // Lets a clocked player run a few steps ahead of the latest sample it
  // sent, video or audio (so a sound track longer than the video plays to
  // its end). Each pass that found nothing new adds a step, which carries
  // the clock over gaps in the source.
  void Drive() {
    const std::int64_t step = player_.ClockStep();
    if (!ticked_ || step <= 0) return;
    std::int64_t latest;
    int delivered;
    {
      std::lock_guard guard(mutex_);
      latest = latest_;
      delivered = frames_ + blocks_;
    }
    idlePasses_ = delivered == lastDelivered_ ? idlePasses_ + 1 : 0;
    lastDelivered_ = delivered;
    for (const std::int64_t limit = latest / step + kTicksAhead + idlePasses_; ticks_ < limit; ++ticks_) clock_.Tick();
  }

  // Waits a little for a frame or block after the `seen` of Drive.
  void WaitForDelivery() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kWait, [&] { return frames_ + blocks_ != lastDelivered_; });
  }

  // Raises the failure of a player that failed or stalled.
  void Check(int steps) {
    if (failed_) {
      const int code = player_.LastReaderError();
      throw EFCError(player_.NamePath() + ": reading " + player_.GetFileName() + " failed while playing" +
                     (code < 0 ? " (" + media::FFmpegErrorText(code) + ")" : std::string()));
    }
    const auto now = SteadyClock::now();
    if (steps > lastSteps_ || ended_) {
      lastSteps_ = steps;
      lastProgress_ = now;
      return;
    }
    const std::int32_t timeout = player_.GetTimeout();
    const auto allowance = (timeout > 0 ? std::chrono::duration_cast<SteadyClock::duration>(
                                              std::chrono::milliseconds(timeout))
                                        : SteadyClock::duration(kUnlimitedTimeoutStall)) +
                           kStallGrace;
    if (now - lastProgress_ > allowance)
      throw EFCError(player_.NamePath() + ": " + player_.GetFileName() + " sent nothing for " +
                     std::to_string(std::chrono::duration_cast<std::chrono::seconds>(allowance).count()) +
                     " s; its stream stalled");
  }

  void Stop() {
    player_.Stop();
    if (ticked_) clock_.Disconnect(*player_.GetClockPin());
    ticked_ = false;
  }

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override {
    std::lock_guard guard(mutex_);
    if (&pin == &video_)
      if (const auto frame = FrameOf(operation)) {
        ++frames_;
        Stamp(frame->TimeStamps());
      }
    if (&pin == &audio_)
      if (const auto block = AudioOf(operation)) {
        ++blocks_;
        Stamp(block->TimeStamps());
      }
    changed_.notify_all();
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

private:
  void Stamp(const TPMTimeStamps& stamps) {
    if (stamps.available) latest_ = std::max(latest_, stamps.begin);
  }

  TFCASFPlayer& player_;
  TFCPMImageSinkPin video_;
  TTBAudioSinkPin audio_;
  TPMClockSourcePin clock_;
  bool ticked_ = false;
  std::int64_t ticks_ = 0;
  int lastDelivered_ = 0;
  int idlePasses_ = 0;
  // Set by statuses, on the main thread.
  bool ended_ = false;
  bool failed_ = false;
  int lastSteps_ = 0;
  SteadyClock::time_point lastProgress_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int frames_ = 0;
  int blocks_ = 0;
  std::int64_t latest_ = 0;  // the latest sample time sent, 100-ns units
};

TPlayerRunner::TPlayerRunner(TComponent& root) {
  for (TFCASFPlayer* player : FindPlayers(root)) watches_.push_back(std::make_unique<TWatch>(*player));
  if (watches_.empty()) throw EFCError(root.NamePath() + ": the pipeline has no player to run");
  std::vector<TFCCommonGen*> generators;
  Collect(root, generators);
  if (!generators.empty())
    throw EFCError(root.NamePath() + ": " + generators.front()->Name() + " is a generator and " +
                   watches_.front()->Player().Name() +
                   " a player; a form run by framecraft has sources of one kind");
}

TPlayerRunner::~TPlayerRunner() = default;

void TPlayerRunner::StartAll() {
  for (const auto& watch : watches_) watch->Start(pace_ == TPace::kClock);
}

void TPlayerRunner::StopAll() {
  for (const auto& watch : watches_) watch->Stop();
  TWCMainThreadNotifier::ProcessMessages();
}

int TPlayerRunner::Step(int frames) {
  int done = frames;
  TWatch* slowest = nullptr;
  for (const auto& watch : watches_) {
    const int steps = watch->Steps();
    if (watch->Ended() || steps >= frames) continue;
    watch->Drive();
    if (steps < done) {
      done = steps;
      slowest = watch.get();
    }
  }
  if (slowest) slowest->WaitForDelivery();
  TWCMainThreadNotifier::ProcessMessages();
  // Players that ended count with what they made; the run is as far as the
  // slowest of the others, or as the furthest when all ended.
  int slowestGoing = frames, furthest = 0;
  bool anyGoing = false;
  for (const auto& watch : watches_) {
    const int steps = std::min(watch->Steps(), frames);
    watch->Check(steps);
    furthest = std::max(furthest, steps);
    if (watch->Ended()) continue;
    anyGoing = true;
    slowestGoing = std::min(slowestGoing, steps);
  }
  return anyGoing ? slowestGoing : furthest;
}

TRunResult TPlayerRunner::Run(int frames, const std::function<void(int done)>& afterStep) {
  TRunResult result;
  const auto begin = SteadyClock::now();
  const auto allEnded = [this] {
    return std::all_of(watches_.begin(), watches_.end(), [](const auto& watch) { return watch->Ended(); });
  };
  try {
    StartAll();
    while (result.frames < frames && !allEnded()) {
      const int done = Step(frames);
      if (done > result.frames) {
        result.frames = done;
        if (afterStep) afterStep(done);
      }
    }
  } catch (...) {
    StopAll();
    throw;
  }
  StopAll();
  result.seconds = std::chrono::duration<double>(SteadyClock::now() - begin).count();
  return result;
}

}  // namespace fc::tool
