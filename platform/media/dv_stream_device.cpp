#include "platform/media/dv_stream_device.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavutil/error.h>
}

namespace fc::media {

namespace {

// A write to a pipe without reader raises SIGPIPE, which ends the process
// by default; ignored, the write fails with EPIPE and the device is lost.
void IgnoreBrokenPipes() {
  struct sigaction current {};
  if (sigaction(SIGPIPE, nullptr, &current) != 0) return;
  if (!(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL) signal(SIGPIPE, SIG_IGN);
}

bool IsNamedPipe(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

}  // namespace

std::string TDSDVStreamDevice::Open(const TDSVideoStreamInfo&) {
  Close();
  if (target_.empty()) return "the DV stream has no Target (a file or named pipe to write to)";
  if (!IsNamedPipe(target_)) {
    output_ = target_;
    return {};
  }
  IgnoreBrokenPipes();
  const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReaderWaitMs);
  for (;;) {
    // Non-blocking, so a pipe nobody reads fails (ENXIO) instead of hanging.
    pipe_ = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (pipe_ >= 0 || errno != ENXIO || std::chrono::steady_clock::now() > limit) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (pipe_ < 0) {
    const int error = errno;
    return "can't open the named pipe " + target_ + ": " +
           (error == ENXIO ? std::string("nobody reads it") : std::string(std::strerror(error)));
  }
  fcntl(pipe_, F_SETFL, fcntl(pipe_, F_GETFL) & ~O_NONBLOCK);  // the writer waits for the reader
  output_ = "pipe:" + std::to_string(pipe_);
  return {};
}

void TDSDVStreamDevice::Close() {
  if (pipe_ >= 0) ::close(pipe_);
  pipe_ = -1;
  output_.clear();
}

void TDSDVStreamDevice::WriteFailed(int errorCode) {
  if (errorCode == AVERROR(EPIPE)) MarkLost();
}

}  // namespace fc::media
