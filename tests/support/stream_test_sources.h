// stream_test_sources.h - live sources for the network tests: a transport
// stream sent to a UDP port or by a small RTSP server, and an https server
// run by the ffmpeg command.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fc::test {

/// Sends `bytes` (a transport stream) to 127.0.0.1:`port` in datagrams of
/// seven 188-byte packets, spread evenly over `duration`, once, on a thread
/// of its own; destruction ends it early.
class TUdpSender {
public:
  TUdpSender(std::string bytes, int port, std::chrono::milliseconds duration);
  ~TUdpSender();
  TUdpSender(const TUdpSender&) = delete;
  TUdpSender& operator=(const TUdpSender&) = delete;

private:
  void Run(int port, std::chrono::milliseconds duration);

  std::string bytes_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

/// A minimal RTSP server on a free port of 127.0.0.1, for one client at a
/// time: it describes one track of an MPEG transport stream, refuses RTP
/// over UDP (461) so that the client asks for RTP interleaved in the RTSP
/// connection, and on PLAY sends `bytes` in RTP packets of seven 188-byte
/// packets, spread evenly over `duration`. Runs on a thread of its own.
class TRtspTestServer {
public:
  TRtspTestServer(std::string bytes, std::chrono::milliseconds duration);
  ~TRtspTestServer();
  TRtspTestServer(const TRtspTestServer&) = delete;
  TRtspTestServer& operator=(const TRtspTestServer&) = delete;

  std::string Url() const;
  /// The methods the client asked for, in order ("OPTIONS", "DESCRIBE" ...).
  std::vector<std::string> Methods() const;

private:
  struct TSession;
  void Run();
  void Serve(int connection);
  bool Answer(int connection, const std::string& request, TSession& session);
  bool SendPacket(int connection, TSession& session);

  std::string bytes_;
  std::chrono::milliseconds duration_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> methods_;
  std::thread thread_;
};

/// A local UDP port nobody uses.
int UnusedUdpPort();

/// The ffmpeg command serving `file` once over https (a self-signed
/// certificate made by the openssl command) at Url(); killed on destruction.
/// Ready() is false, with the reason in Missing(), when either command is
/// absent or failed to start.
class THttpsTestServer {
public:
  THttpsTestServer(const std::filesystem::path& file, const std::filesystem::path& folder);
  ~THttpsTestServer();
  THttpsTestServer(const THttpsTestServer&) = delete;
  THttpsTestServer& operator=(const THttpsTestServer&) = delete;

  bool Ready() const { return missing_.empty(); }
  const std::string& Missing() const { return missing_; }
  std::string Url() const;

private:
  std::string missing_;
  int port_ = 0;
  pid_t child_ = -1;
};

/// True when `command` can be found on the PATH.
bool HasCommand(const std::string& command);

}  // namespace fc::test
