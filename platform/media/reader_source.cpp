// reader_source.cpp - opening a source with a deadline and credentials.
#include "platform/media/reader_source.h"

#include <array>
#include <cctype>

namespace fc::media {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Room for a user name or password given by the callback, terminator
// included.
constexpr std::size_t kCredentialLength = 256;

std::int64_t NowNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now().time_since_epoch()).count();
}

std::string PercentEncoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

// The host of a URL, for the callback's "site".
std::string_view HostOf(std::string_view url) {
  const auto scheme = url.find("://");
  if (scheme == std::string_view::npos) return {};
  std::string_view rest = url.substr(scheme + 3);
  rest = rest.substr(0, rest.find_first_of("/?#"));
  const auto at = rest.rfind('@');
  return at == std::string_view::npos ? rest : rest.substr(at + 1);
}

// A blocking step's result, with an abandoned step and a deadline that
// passed told apart from the source's own failures.
int Bounded(int code, const TInterruptGate& gate) {
  if (code >= 0) return code;
  if (gate.Aborted()) return AVERROR_EXIT;
  if (gate.TimedOut()) return AVERROR(ETIMEDOUT);
  return code;
}

int TryOpen(const std::string& url, TInterruptGate& gate, std::chrono::milliseconds timeout,
            AVFormatContext*& context) {
  AVFormatContext* opened = avformat_alloc_context();
  if (!opened) return AVERROR(ENOMEM);
  opened->interrupt_callback = gate.Callback();
  gate.Arm(timeout);
  int code = Bounded(avformat_open_input(&opened, url.c_str(), nullptr, nullptr), gate);  // frees on failure
  if (code >= 0) {
    gate.Arm(timeout);
    code = Bounded(avformat_find_stream_info(opened, nullptr), gate);
    if (code < 0) avformat_close_input(&opened);
  }
  gate.Disarm();
  if (code >= 0) context = opened;
  return code;
}

}  // namespace

void TInterruptGate::Arm(std::chrono::milliseconds timeout) {
  timedOut_ = false;
  deadline_ = timeout.count() > 0
                  ? NowNanoseconds() + std::chrono::duration_cast<std::chrono::nanoseconds>(timeout).count()
                  : 0;
}

void TInterruptGate::Disarm() { deadline_ = 0; }

int TInterruptGate::Check(void* opaque) {
  auto* gate = static_cast<TInterruptGate*>(opaque);
  if (gate->abort_) return 1;
  const std::int64_t deadline = gate->deadline_;
  if (deadline != 0 && NowNanoseconds() > deadline) {
    gate->timedOut_ = true;
    return 1;
  }
  return 0;
}

bool IsNetworkUrl(std::string_view url) {
  const auto scheme = url.find("://");
  if (scheme == std::string_view::npos || scheme == 0) return false;
  for (const char c : url.substr(0, scheme))
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
  return url.substr(0, scheme) != "file";
}

std::string UrlWithCredentials(std::string_view url, std::string_view user, std::string_view password) {
  const auto scheme = url.find("://");
  if (scheme == std::string_view::npos) return std::string(url);
  const std::size_t authority = scheme + 3;
  std::string_view rest = url.substr(authority);
  // Credentials already in the URL give way to the new ones.
  const std::string_view hostPart = rest.substr(0, rest.find_first_of("/?#"));
  const auto at = hostPart.rfind('@');
  if (at != std::string_view::npos) rest = rest.substr(at + 1);
  return std::string(url.substr(0, authority)) + PercentEncoded(user) + ":" + PercentEncoded(password) + "@" +
         std::string(rest);
}

int OpenSource(const std::string& url, TInterruptGate& gate, std::chrono::milliseconds timeout,
               IReaderCallback& callback, AVFormatContext*& context) {
  const int code = TryOpen(url, gate, timeout, context);
  if (code != AVERROR_HTTP_UNAUTHORIZED) return code;
  // The server wants credentials: ask once, and retry once with them.
  std::array<char, kCredentialLength> user{}, password{};
  std::uint32_t flags = 0;
  if (!callback.AcquireCredentials("", HostOf(url), user.data(), user.size(), password.data(), password.size(), code,
                                   flags))
    return code;
  user.back() = password.back() = '\0';  // whatever the callback wrote
  if (user[0] == '\0') return code;
  return TryOpen(UrlWithCredentials(url, user.data(), password.data()), gate, timeout, context);
}

int ReadPacket(AVFormatContext& context, AVPacket& packet, TInterruptGate& gate, std::chrono::milliseconds timeout) {
  gate.Arm(timeout);
  const int code = Bounded(av_read_frame(&context, &packet), gate);
  gate.Disarm();
  return code;
}

}  // namespace fc::media
