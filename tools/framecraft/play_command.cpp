// play_command.cpp - the play command.
#include "tools/framecraft/play_command.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "media/Fcasfplayer.h"
#include "platform/runtime/error.h"
#include "platform/signal/main_thread_notifier.h"
#include "tools/framecraft/frame_dump.h"
#include "tools/framecraft/video_preview.h"

namespace fc::tool {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Clock ticks per step of the run loop: the user clock runs ahead of
// decoding, so the player delivers as fast as the reader decodes.
constexpr int kTicksPerStep = 8;

// Counts what the player delivers, up to `frameLimit` frames (0: all). The
// player's clock runs ahead in steps, so a step may release frames past the
// limit before the tool stops it; those are neither counted nor dumped.
class TPlayCounter : public TComponent, public IPMPinDispatcher {
public:
  explicit TPlayCounter(int frameLimit) : video_(this, *this, "Video"), audio_(this, *this, "Audio"), limit_(frameLimit) {}
  ~TPlayCounter() override {
    video_.Retire();
    audio_.Retire();
  }
  void Attach(TFCASFPlayer& player) {
    player.GetOutputPin()->Connect(video_);
    player.GetAudioOutputPin()->Connect(audio_);
  }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation& operation) override {
    std::lock_guard guard(mutex_);
    if (FrameOf(operation) && (limit_ == 0 || frames_ < limit_)) ++frames_;
    if (auto block = AudioOf(operation)) samples_ += block->Samples();
    changed_.notify_all();
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

  int Frames() const {
    std::lock_guard guard(mutex_);
    return frames_;
  }
  std::int64_t Samples() const {
    std::lock_guard guard(mutex_);
    return samples_;
  }
  // Waits a little for more frames than `seen`.
  void WaitForMore(int seen) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(5), [&] { return frames_ > seen; });
  }

private:
  TFCPMImageSinkPin video_;
  TTBAudioSinkPin audio_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  const int limit_;
  int frames_ = 0;
  std::int64_t samples_ = 0;
};

void PrintStreams(const TFCASFPlayer& player, std::ostream& out) {
  if (player.HasVideo()) {
    out << "video: " << player.VideoWidth() << "x" << player.VideoHeight();
    if (player.FrameDuration() > 0) out << " at " << double(kTimeUnitsPerSecond) / double(player.FrameDuration()) << " fps";
    out << '\n';
  }
  if (player.HasAudio())
    out << "audio: " << player.AudioChannels() << " channel(s) at " << player.AudioSampleRate() << " Hz, 16-bit\n";
  for (const auto& [key, value] : player.MetaData()) out << "tag: " << key << " = " << value << '\n';
}

}  // namespace

void RunPlay(const TCommandLine& line, const TToolOutput& io) {
  TPlayCounter counter(line.frames);
  TPMClockSourcePin clock(&counter, "Clock");
  std::unique_ptr<TFrameDump> dump;
  if (!line.playDump.empty()) {
    dump = std::make_unique<TFrameDump>("Player.OutputPin", line.playDump);
    dump->SetFrameLimit(line.frames);
  }
  TFCASFPlayer player(nullptr);
  player.SetName("Player");
  player.SetEnabled(false);
  player.SetFileName(line.operand);
  counter.Attach(player);
  if (dump) dump->Attach(*player.GetOutputPin());
  // A preview shows the source at its own pace: the player runs free on its
  // reader's clock. Without one, the tool's clock drives it as fast as it
  // decodes.
  std::unique_ptr<TFCDSVideoOut> preview;
  if (line.playPreview)
    preview = AttachPreview(*player.GetOutputPin(), "Player.OutputPin");
  else
    clock.Connect(*player.GetClockPin());
  bool ended = false;
  player.SetOnPlayerStatus([&](TComponent&, TFCASFPlayerStatus status) {
    io.out << "status: " << ASFPlayerStatusInfo().IdentifierOf(status) << '\n';
    ended |= status == apsEndOfFile || status == apsError;
  });

  const auto begin = SteadyClock::now();
  player.SetEnabled(true);  // raises the player's error when it cannot open
  if (!player.GetEnabled()) throw EFCError("Player: could not open " + line.operand + " within its timeout");
  PrintStreams(player, io.out);
  while (!ended && (line.frames == 0 || counter.Frames() < line.frames)) {
    const int seen = counter.Frames();
    if (!preview)
      for (int i = 0; i < kTicksPerStep; ++i) clock.Tick();
    counter.WaitForMore(seen);
    TWCMainThreadNotifier::ProcessMessages();
    if (dump && !dump->Failure().empty()) throw EFCError(dump->Failure());
    if (io.terminal) io.out << "\rframes: " << counter.Frames() << std::flush;
  }
  player.Stop();
  TWCMainThreadNotifier::ProcessMessages();
  const double seconds = std::chrono::duration<double>(SteadyClock::now() - begin).count();
  if (io.terminal) io.out << '\r';
  io.out << "play: " << counter.Frames() << " frames, " << counter.Samples() << " audio samples in " << seconds
         << " s (" << (seconds > 0 ? counter.Frames() / seconds : 0) << " frames per second)";
  if (dump) io.out << ", PNG files in " << line.playDump;
  io.out << '\n';
}

}  // namespace fc::tool
