// stream_test_sources.cpp - the UDP sender and the https server of the
// network tests.
#include "tests/support/stream_test_sources.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

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
