#include "platform/media/preview_window.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include <SDL.h>

#include "platform/media/sdl_subsystems.h"

namespace fc::media {

namespace {

constexpr const char* kWindowTitle = "Framecraft preview";
// How often the window thread looks at the window system's events when no
// frame wakes it.
constexpr auto kEventPoll = std::chrono::milliseconds(10);
// The longest a caller waits for the window thread to carry out a request.
constexpr auto kRequestLimit = std::chrono::seconds(5);

}  // namespace

namespace {
class TWindowThread;
}  // namespace

// What a preview window and the window thread share. The thread alone uses
// the SDL objects; the frame hand-off is guarded by `mutex`.
struct TDSPreviewWindow::TState {
  std::function<void()> closedByUser;

  // The window thread, kept running by the device while its window is open;
  // the device's own (the thread never takes it).
  std::mutex ownerMutex;
  std::shared_ptr<TWindowThread> owner;

  std::mutex mutex;
  TFCImageBuffer pending;
  bool hasPending = false;
  std::atomic<bool> open{false};
  std::atomic<std::int64_t> shown{0}, replaced{0};

  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0, textureHeight = 0;
  TFCImageBuffer current;  // the frame on screen, drawn again when exposed
};

namespace {

using TState = TDSPreviewWindow::TState;

// The one thread that talks to the window system, shared by every preview
// window of the process while any is open.
class TWindowThread {
public:
  // The running thread, started when none runs; null with SDL's reason in
  // `error` when there is no display.
  static std::shared_ptr<TWindowThread> Acquire(std::string& error);
  ~TWindowThread();

  // Runs `work` on the thread and waits for it, at most kRequestLimit; false
  // when it did not run in time.
  bool Call(std::function<void()> work);
  // Makes the thread look at the windows' new frames now.
  void Wake();

  void Add(std::shared_ptr<TState> state) { windows_.push_back(std::move(state)); }
  void Remove(TState& state);

private:
  TWindowThread() = default;
  void Run(std::promise<std::string> started);
  void PresentNewFrames();
  void PumpEvents();
  TState* WindowOf(std::uint32_t windowId);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> work_;
  bool woken_ = false;
  bool ending_ = false;
  std::vector<std::shared_ptr<TState>> windows_;  // the thread's own
  std::thread thread_;
};

std::mutex& ThreadMutex() {
  static std::mutex mutex;
  return mutex;
}

std::weak_ptr<TWindowThread>& RunningThread() {
  static std::weak_ptr<TWindowThread> running;
  return running;
}

std::shared_ptr<TWindowThread> TWindowThread::Acquire(std::string& error) {
  std::lock_guard guard(ThreadMutex());
  if (auto running = RunningThread().lock()) return running;
  std::shared_ptr<TWindowThread> thread(new TWindowThread);
  std::promise<std::string> started;
  auto result = started.get_future();
  thread->thread_ = std::thread([raw = thread.get(), started = std::move(started)]() mutable {
    raw->Run(std::move(started));
  });
  error = result.get();
  if (!error.empty()) return nullptr;  // the thread has ended; the destructor joins it
  RunningThread() = thread;
  return thread;
}

TWindowThread::~TWindowThread() {
  {
    std::lock_guard guard(mutex_);
    ending_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool TWindowThread::Call(std::function<void()> work) {
  auto task = std::make_shared<std::packaged_task<void()>>(std::move(work));
  auto done = task->get_future();
  {
    std::lock_guard guard(mutex_);
    if (ending_) return false;
    work_.push_back([task] { (*task)(); });
  }
  wake_.notify_all();
  return done.wait_for(kRequestLimit) == std::future_status::ready;
}

void TWindowThread::Wake() {
  {
    std::lock_guard guard(mutex_);
    woken_ = true;
  }
  wake_.notify_all();
}

// Without a display SDL falls back to a driver that shows nothing; that is
// "no display" unless the user chose it (SDL_VIDEODRIVER).
bool IsHeadlessFallback(const char* driver) {
  if (!driver || std::getenv("SDL_VIDEODRIVER")) return false;
  const std::string name(driver);
  return name == "offscreen" || name == "dummy";
}

// One window thread uses SDL's video at a time: a thread started while the
// last one still ends waits for it.
std::mutex& VideoOwnerMutex() {
  static std::mutex mutex;
  return mutex;
}

void TWindowThread::Run(std::promise<std::string> started) {
  std::lock_guard owner(VideoOwnerMutex());
  std::string error;
  if (!AcquireSDL(SDL_INIT_VIDEO, error)) {
    started.set_value(error);
    return;
  }
  if (const char* driver = SDL_GetCurrentVideoDriver(); IsHeadlessFallback(driver)) {
    ReleaseSDL(SDL_INIT_VIDEO);
    started.set_value(std::string("no display was found, only SDL's ") + driver + " driver");
    return;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  started.set_value({});
  std::unique_lock guard(mutex_);
  while (!ending_) {
    while (!work_.empty()) {
      auto work = std::move(work_.front());
      work_.pop_front();
      guard.unlock();
      work();
      guard.lock();
    }
    woken_ = false;
    guard.unlock();
    PresentNewFrames();
    PumpEvents();
    guard.lock();
    if (!ending_ && work_.empty() && !woken_) wake_.wait_for(guard, kEventPoll);
  }
  guard.unlock();
  while (!windows_.empty()) Remove(*windows_.back());
  ReleaseSDL(SDL_INIT_VIDEO);
}

void DestroyWindowOf(TState& state) {
  if (state.texture) SDL_DestroyTexture(state.texture);
  if (state.renderer) SDL_DestroyRenderer(state.renderer);
  if (state.window) SDL_DestroyWindow(state.window);
  state.texture = nullptr;
  state.renderer = nullptr;
  state.window = nullptr;
  state.textureWidth = state.textureHeight = 0;
  state.open = false;
}

void TWindowThread::Remove(TState& state) {
  DestroyWindowOf(state);
  std::erase_if(windows_, [&](const std::shared_ptr<TState>& held) { return held.get() == &state; });
}

// Draws the window's current frame scaled to the window; with `readBack`,
// also reads what was drawn into it before it is shown.
void Draw(TState& state, TFCImageBuffer* readBack = nullptr) {
  if (!state.renderer) return;
  TFCImageBuffer& frame = state.current;
  if (frame.Format() != vfRGB24) frame.ConvertTo(vfRGB24);
  if (frame.Width() > 0 && frame.Height() > 0 &&
      (frame.Width() != state.textureWidth || frame.Height() != state.textureHeight)) {
    if (state.texture) SDL_DestroyTexture(state.texture);
    state.texture = SDL_CreateTexture(state.renderer, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING,
                                      frame.Width(), frame.Height());
    state.textureWidth = state.texture ? frame.Width() : 0;
    state.textureHeight = state.texture ? frame.Height() : 0;
  }
  SDL_SetRenderDrawColor(state.renderer, 0, 0, 0, 255);
  SDL_RenderClear(state.renderer);
  if (state.texture && frame.Width() > 0 && SDL_UpdateTexture(state.texture, nullptr, frame.Read(), frame.Step()) == 0)
    SDL_RenderCopy(state.renderer, state.texture, nullptr, nullptr);
  if (readBack) {
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(state.renderer, &width, &height) == 0 && width > 0 && height > 0) {
      readBack->SetSize(width, height);
      if (SDL_RenderReadPixels(state.renderer, nullptr, SDL_PIXELFORMAT_BGR24, readBack->Write(), readBack->Step()) != 0)
        readBack->SetSize(0, 0);
    }
  }
  SDL_RenderPresent(state.renderer);
}

void TWindowThread::PresentNewFrames() {
  for (const auto& state : windows_) {
    {
      std::lock_guard guard(state->mutex);
      if (!state->hasPending) continue;
      state->current = std::move(state->pending);
      state->pending = TFCImageBuffer();
      state->hasPending = false;
    }
    Draw(*state);
    ++state->shown;
  }
}

TState* TWindowThread::WindowOf(std::uint32_t windowId) {
  SDL_Window* window = SDL_GetWindowFromID(windowId);
  for (const auto& state : windows_)
    if (window && state->window == window) return state.get();
  return nullptr;
}

void TWindowThread::PumpEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type != SDL_WINDOWEVENT) continue;
    TState* state = WindowOf(event.window.windowID);
    if (!state) continue;
    switch (event.window.event) {
      case SDL_WINDOWEVENT_CLOSE: {
        auto held = std::find_if(windows_.begin(), windows_.end(), [&](auto& w) { return w.get() == state; });
        const std::shared_ptr<TState> keep = *held;
        Remove(*state);
        if (keep->closedByUser) keep->closedByUser();
        break;
      }
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED:
        Draw(*state);
        break;
      default:
        break;
    }
  }
}

}  // namespace

std::string PreviewDisplayError() {
  std::string error;
  TWindowThread::Acquire(error);
  return error;
}

TDSPreviewWindow::TDSPreviewWindow()
    : TDSTransmitDevice(std::string(kPreviewWindowDevice)), state_(std::make_shared<TState>()) {
  state_->closedByUser = [this] { MarkLost(); };
}

TDSPreviewWindow::~TDSPreviewWindow() { Close(); }

namespace {
std::shared_ptr<TWindowThread> ThreadOf(TState& state) {
  std::lock_guard guard(state.ownerMutex);
  return state.owner;
}
void SetThreadOf(TState& state, std::shared_ptr<TWindowThread> thread) {
  std::lock_guard guard(state.ownerMutex);
  state.owner = std::move(thread);
}
}  // namespace

std::string TDSPreviewWindow::Open(const TDSVideoStreamInfo& stream) {
  Close();
  std::string error;
  std::shared_ptr<TWindowThread> thread = TWindowThread::Acquire(error);
  if (!thread) return "no display for the preview window: " + error;
  const int width = std::max(stream.width, 1), height = std::max(stream.height, 1);
  // Shared with the request, which may outlive this call when the window
  // system does not answer in time.
  auto failure = std::make_shared<std::string>();
  const bool ran = thread->Call([raw = thread.get(), state = state_, failure, width, height] {
    state->window = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                     SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
    if (state->window) state->renderer = SDL_CreateRenderer(state->window, -1, 0);
    if (!state->renderer) {
      *failure = SDL_GetError();
      DestroyWindowOf(*state);
      return;
    }
    state->open = true;
    raw->Add(state);
  });
  if (!ran) return "the window system did not answer";
  if (!failure->empty()) return "can't open the preview window: " + *failure;
  SetThreadOf(*state_, thread);
  return {};
}

bool TDSPreviewWindow::RenderFrame(const TFCImageBuffer& frame) {
  if (IsLost() || !state_->open) return false;
  {
    std::lock_guard guard(state_->mutex);
    if (state_->hasPending) ++state_->replaced;
    state_->pending = frame;
    state_->hasPending = true;
  }
  if (auto thread = ThreadOf(*state_)) thread->Wake();
  CountRendered();
  return true;
}

void TDSPreviewWindow::Close() {
  std::shared_ptr<TWindowThread> thread = ThreadOf(*state_);
  if (!thread) return;
  thread->Call([raw = thread.get(), state = state_] { raw->Remove(*state); });
  SetThreadOf(*state_, nullptr);
  std::lock_guard guard(state_->mutex);
  state_->pending = TFCImageBuffer();
  state_->hasPending = false;
}

void TDSPreviewWindow::RequestClose() {
  std::shared_ptr<TWindowThread> thread = ThreadOf(*state_);
  if (!thread) return;
  auto state = state_;
  thread->Call([state] {
    if (!state->window) return;
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(state->window);
    SDL_PushEvent(&event);
  });
}

TFCImageBuffer TDSPreviewWindow::Snapshot() {
  TFCImageBuffer shot;
  std::shared_ptr<TWindowThread> thread = ThreadOf(*state_);
  if (!thread) return shot;
  auto state = state_;
  auto result = std::make_shared<TFCImageBuffer>();
  if (thread->Call([state, result] { Draw(*state, result.get()); })) shot = *result;
  return shot;
}

std::int64_t TDSPreviewWindow::FramesShown() const { return state_->shown.load(); }
std::int64_t TDSPreviewWindow::FramesReplaced() const { return state_->replaced.load(); }

}  // namespace fc::media
