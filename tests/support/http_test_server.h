// http_test_server.h - a tiny local http server for the network tests: it
// serves one file (with byte ranges), optionally behind Basic credentials,
// or accepts connections and never answers.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace fc::test {

class THttpTestServer {
public:
  enum class TMode { Serve, Silent };

  /// Listens on a free port of 127.0.0.1. With a user name, requests
  /// without "Authorization: Basic" for user:password get 401.
  THttpTestServer(TMode mode, std::string body = {}, std::string user = {}, std::string password = {});
  ~THttpTestServer();
  THttpTestServer(const THttpTestServer&) = delete;
  THttpTestServer& operator=(const THttpTestServer&) = delete;

  std::string Url(const std::string& path = "/clip") const;
  /// Requests answered with 401 so far.
  int Refusals() const { return refusals_; }

private:
  void Run();
  void Answer(int connection);

  TMode mode_;
  std::string body_, authorization_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> refusals_{0};
  std::vector<int> held_;  // silent connections, closed at the end
  std::thread thread_;
};

/// A local port nobody listens on.
int UnusedPort();

/// A TCP socket listening on a free port of 127.0.0.1 (written to `port`);
/// -1 when it cannot be made.
int ListenOnLoopback(int& port);
/// Sends all of `bytes`; false when the connection failed.
bool SendAll(int connection, std::string_view bytes);

}  // namespace fc::test
