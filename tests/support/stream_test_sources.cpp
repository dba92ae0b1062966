// stream_test_sources.cpp - the UDP sender, the RTSP server and the https
// server of the network tests.
#include "tests/support/stream_test_sources.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "tests/support/http_test_server.h"

namespace fc::test {

namespace {

constexpr std::size_t kDatagramBytes = 7 * 188;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

}  // namespace

TUdpSender::TUdpSender(std::string bytes, int port, std::chrono::milliseconds duration) : bytes_(std::move(bytes)) {
  thread_ = std::thread([this, port, duration] { Run(port, duration); });
}

TUdpSender::~TUdpSender() {
  stopping_ = true;
  thread_.join();
}

void TUdpSender::Run(int port, std::chrono::milliseconds duration) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return;
  const sockaddr_in to = Loopback(port);
  const std::size_t datagrams = (bytes_.size() + kDatagramBytes - 1) / kDatagramBytes;
  const auto begin = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < datagrams && !stopping_; ++i) {
    std::this_thread::sleep_until(begin + duration * i / datagrams);
    const std::string_view chunk = std::string_view(bytes_).substr(i * kDatagramBytes, kDatagramBytes);
    sendto(fd, chunk.data(), chunk.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }
  close(fd);
}

int UnusedUdpPort() {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  int port = 0;
  if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  if (fd >= 0) close(fd);
  return port;
}

bool HasCommand(const std::string& command) {
  return std::system(("command -v " + command + " >/dev/null 2>&1").c_str()) == 0;
}

THttpsTestServer::THttpsTestServer(const std::filesystem::path& file, const std::filesystem::path& folder) {
  for (const char* command : {"ffmpeg", "openssl"})
    if (!HasCommand(command)) missing_ = std::string("the ") + command + " command is not installed";
  if (!missing_.empty()) return;
  const std::string key = (folder / "key.pem").string(), certificate = (folder / "cert.pem").string();
  const std::string make = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 -subj /CN=127.0.0.1 -keyout '" + key +
                           "' -out '" + certificate + "' >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0) {
    missing_ = "openssl could not make a certificate";
    return;
  }
  port_ = UnusedPort();
  const std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v", "quiet", "-i", file.string(), "-c", "copy",
                                         "-f", "mpegts", "-listen", "1", "-cert_file", certificate, "-key_file", key,
                                         Url()};
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  if (posix_spawnp(&child_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) child_ = -1;
  if (child_ < 0) missing_ = "could not start ffmpeg";
}

THttpsTestServer::~THttpsTestServer() {
  if (child_ <= 0) return;
  kill(child_, SIGKILL);
  waitpid(child_, nullptr, 0);
}

std::string THttpsTestServer::Url() const { return "https://127.0.0.1:" + std::to_string(port_) + "/clip.ts"; }

}  // namespace fc::test

// ---- The RTSP server ----

namespace fc::test {

namespace {

constexpr const char* kSessionId = "4242";

std::string HeaderValue(const std::string& request, const std::string& name) {
  const auto at = request.find("\r\n" + name + ":");
  if (at == std::string::npos) return {};
  auto begin = at + name.size() + 3;
  while (begin < request.size() && request[begin] == ' ') ++begin;
  return request.substr(begin, request.find("\r\n", begin) - begin);
}

// Removes the interleaved frames the client sends (its RTCP reports) from
// the front of `input`; false while one is incomplete.
bool SkipInterleaved(std::string& input) {
  while (!input.empty() && input[0] == '$') {
    if (input.size() < 4) return false;
    const std::size_t length = (std::size_t(std::uint8_t(input[2])) << 8) | std::uint8_t(input[3]);
    if (input.size() < 4 + length) return false;
    input.erase(0, 4 + length);
  }
  return true;
}

}  // namespace

struct TRtspTestServer::TSession {
  bool playing = false;
  std::size_t next = 0;  // the next RTP packet
  std::chrono::steady_clock::time_point begin;
};

TRtspTestServer::TRtspTestServer(std::string bytes, std::chrono::milliseconds duration)
    : bytes_(std::move(bytes)), duration_(duration) {
  listener_ = ListenOnLoopback(port_);
  thread_ = std::thread([this] { Run(); });
}

TRtspTestServer::~TRtspTestServer() {
  stopping_ = true;
  thread_.join();
  if (listener_ >= 0) close(listener_);
}

std::string TRtspTestServer::Url() const { return "rtsp://127.0.0.1:" + std::to_string(port_) + "/live"; }

std::vector<std::string> TRtspTestServer::Methods() const {
  std::lock_guard guard(mutex_);
  return methods_;
}

void TRtspTestServer::Run() {
  while (!stopping_ && listener_ >= 0) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, 20) <= 0) continue;
    const int connection = accept(listener_, nullptr, nullptr);
    if (connection < 0) continue;
    Serve(connection);
    close(connection);
  }
}

// Answers requests and, once playing, sends each RTP packet when it is due.
void TRtspTestServer::Serve(int connection) {
  TSession session;
  std::string input;
  const std::size_t packets = (bytes_.size() + kDatagramBytes - 1) / kDatagramBytes;
  const auto due = [&] { return session.begin + duration_ * session.next / packets; };
  while (!stopping_) {
    int wait = 20;
    if (session.playing && session.next < packets)
      wait = int(std::clamp<std::int64_t>(
          std::chrono::duration_cast<std::chrono::milliseconds>(due() - std::chrono::steady_clock::now()).count(), 0,
          20));
    pollfd readable{connection, POLLIN, 0};
    if (poll(&readable, 1, wait) > 0) {
      char chunk[4096];
      const ssize_t got = recv(connection, chunk, sizeof chunk, 0);
      if (got <= 0) return;
      input.append(chunk, std::size_t(got));
    }
    while (SkipInterleaved(input)) {
      const auto end = input.find("\r\n\r\n");
      if (end == std::string::npos) break;
      const std::string request = input.substr(0, end + 4);
      input.erase(0, end + 4);
      if (!Answer(connection, request, session)) return;
    }
    while (session.playing && session.next < packets && std::chrono::steady_clock::now() >= due())
      if (!SendPacket(connection, session)) return;
  }
}

// Answers one request; false when the connection ends.
bool TRtspTestServer::Answer(int connection, const std::string& request, TSession& session) {
  const std::string method = request.substr(0, request.find(' '));
  {
    std::lock_guard guard(mutex_);
    methods_.push_back(method);
  }
  std::string reply = "RTSP/1.0 200 OK\r\nCSeq: " + HeaderValue(request, "CSeq") + "\r\n";
  if (method == "OPTIONS") {
    reply += "Public: OPTIONS, DESCRIBE, SETUP, PLAY, GET_PARAMETER, TEARDOWN\r\n\r\n";
  } else if (method == "DESCRIBE") {
    const std::string sdp =
        "v=0\r\no=- 0 0 IN IP4 127.0.0.1\r\ns=Test stream\r\nc=IN IP4 127.0.0.1\r\nt=0 0\r\n"
        "m=video 0 RTP/AVP 33\r\na=rtpmap:33 MP2T/90000\r\na=control:track0\r\n";
    reply += "Content-Base: " + Url() + "/\r\nContent-Type: application/sdp\r\nContent-Length: " +
             std::to_string(sdp.size()) + "\r\n\r\n" + sdp;
  } else if (method == "SETUP" && HeaderValue(request, "Transport").find("TCP") == std::string::npos) {
    reply = "RTSP/1.0 461 Unsupported Transport\r\nCSeq: " + HeaderValue(request, "CSeq") + "\r\n\r\n";
  } else if (method == "SETUP") {
    reply += "Transport: RTP/AVP/TCP;unicast;interleaved=0-1\r\nSession: " + std::string(kSessionId) + "\r\n\r\n";
  } else {
    reply += "Session: " + std::string(kSessionId) + "\r\n\r\n";
  }
  if (!SendAll(connection, reply) || method == "TEARDOWN") return false;
  if (method == "PLAY" && !session.playing) {
    session.playing = true;
    session.begin = std::chrono::steady_clock::now();
  }
  return true;
}

// Sends the next RTP packet interleaved on channel 0.
bool TRtspTestServer::SendPacket(int connection, TSession& session) {
  const std::string_view payload = std::string_view(bytes_).substr(session.next * kDatagramBytes, kDatagramBytes);
  const std::size_t length = 12 + payload.size();
  const auto sequence = std::uint16_t(session.next);
  const auto timestamp = std::uint32_t(session.next * 3600);  // 90-kHz units, 40 ms a packet
  const std::uint8_t head[16] = {'$', 0, std::uint8_t(length >> 8), std::uint8_t(length),
                                 0x80, 33, std::uint8_t(sequence >> 8), std::uint8_t(sequence),
                                 std::uint8_t(timestamp >> 24), std::uint8_t(timestamp >> 16),
                                 std::uint8_t(timestamp >> 8), std::uint8_t(timestamp),
                                 0x12, 0x34, 0x56, 0x78};
  ++session.next;
  return SendAll(connection, std::string(reinterpret_cast<const char*>(head), sizeof head) + std::string(payload));
}

}  // namespace fc::test
