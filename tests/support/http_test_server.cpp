// http_test_server.cpp - the local http server of the network tests.
#include "tests/support/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string_view>

namespace fc::test {

namespace {

std::string Base64(std::string_view text) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += 3) {
    unsigned value = static_cast<unsigned char>(text[i]) << 16;
    if (i + 1 < text.size()) value |= static_cast<unsigned char>(text[i + 1]) << 8;
    if (i + 2 < text.size()) value |= static_cast<unsigned char>(text[i + 2]);
    out += kDigits[(value >> 18) & 63];
    out += kDigits[(value >> 12) & 63];
    out += i + 1 < text.size() ? kDigits[(value >> 6) & 63] : '=';
    out += i + 2 < text.size() ? kDigits[value & 63] : '=';
  }
  return out;
}

}  // namespace

int ListenOnLoopback(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 8) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

namespace {

std::string ReadHeaders(int connection) {
  std::string request;
  char chunk[1024];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const ssize_t got = recv(connection, chunk, sizeof chunk, 0);
    if (got <= 0) break;
    request.append(chunk, static_cast<std::size_t>(got));
  }
  return request;
}

}  // namespace

bool SendAll(int connection, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

THttpTestServer::THttpTestServer(TMode mode, std::string body, std::string user, std::string password)
    : mode_(mode), body_(std::move(body)) {
  if (!user.empty()) authorization_ = "Authorization: Basic " + Base64(user + ":" + password);
  listener_ = ListenOnLoopback(port_);
  thread_ = std::thread([this] { Run(); });
}

THttpTestServer::~THttpTestServer() {
  stopping_ = true;
  thread_.join();
  for (const int connection : held_) close(connection);
  if (listener_ >= 0) close(listener_);
}

std::string THttpTestServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void THttpTestServer::Run() {
  while (!stopping_ && listener_ >= 0) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, 20) <= 0) continue;
    const int connection = accept(listener_, nullptr, nullptr);
    if (connection < 0) continue;
    if (mode_ == TMode::Silent) {
      held_.push_back(connection);
      continue;
    }
    Answer(connection);
    close(connection);
  }
}

void THttpTestServer::Answer(int connection) {
  const std::string request = ReadHeaders(connection);
  if (!authorization_.empty() && request.find(authorization_) == std::string::npos) {
    ++refusals_;
    SendAll(connection,
            "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"test\"\r\nContent-Length: 0\r\n"
            "Connection: close\r\n\r\n");
    return;
  }
  std::size_t from = 0;
  const auto range = request.find("Range: bytes=");
  if (range != std::string::npos) from = std::strtoull(request.c_str() + range + 13, nullptr, 10);
  from = std::min(from, body_.size());
  std::string head = from > 0 ? "HTTP/1.1 206 Partial Content\r\n" : "HTTP/1.1 200 OK\r\n";
  head += "Content-Type: application/octet-stream\r\nAccept-Ranges: bytes\r\nConnection: close\r\n";
  head += "Content-Length: " + std::to_string(body_.size() - from) + "\r\n";
  if (from > 0)
    head += "Content-Range: bytes " + std::to_string(from) + "-" + std::to_string(body_.size() - 1) + "/" +
            std::to_string(body_.size()) + "\r\n";
  SendAll(connection, head + "\r\n");
  SendAll(connection, std::string_view(body_).substr(from));
}

int UnusedPort() {
  int port = 0;
  const int fd = ListenOnLoopback(port);
  if (fd >= 0) close(fd);  // nobody listens there any more
  return port;
}

}  // namespace fc::test
