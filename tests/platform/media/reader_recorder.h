// reader_recorder.h - a reader callback that records what a reader reports,
// for the reader tests.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/media/reader.h"

namespace fc::test {

struct TRecordedSample {
  std::int64_t time = 0;
  std::int64_t duration = 0;
  std::size_t bytes = 0;
};

class TReaderRecorder : public media::IReaderCallback {
public:
  void OnStatus(media::TReaderStatus status, int result) override {
    std::lock_guard guard(mutex_);
    statuses_.push_back(status);
    if (status == media::rsError) lastError_ = result;
    changed_.notify_all();
  }
  void OnSample(int output, std::int64_t time, std::int64_t duration, std::span<const std::uint8_t> data) override {
    std::lock_guard guard(mutex_);
    samples_[output].push_back({time, duration, data.size()});
    auto& bytes = bytes_[output];
    bytes.insert(bytes.end(), data.begin(), data.end());
    changed_.notify_all();
  }
  bool AcquireCredentials(std::string_view, std::string_view, char* user, std::size_t userLength, char* password,
                          std::size_t passwordLength, int, std::uint32_t& flags) override {
    flags = 0;
    if (user_.size() >= userLength || password_.size() >= passwordLength) return false;
    std::snprintf(user, userLength, "%s", user_.c_str());
    std::snprintf(password, passwordLength, "%s", password_.c_str());
    return true;
  }

  void GiveCredentials(std::string user, std::string password) {
    user_ = std::move(user);
    password_ = std::move(password);
  }
  /// Waits (generously) until `status` was reported; false when it was not.
  bool WaitFor(media::TReaderStatus status, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return Has(status); });
  }
  /// Waits until `count` samples of `output` arrived.
  bool WaitForSamples(int output, std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return samples_[output].size() >= count; });
  }
  std::vector<media::TReaderStatus> Statuses() const {
    std::lock_guard guard(mutex_);
    return statuses_;
  }
  std::vector<TRecordedSample> Samples(int output) const {
    std::lock_guard guard(mutex_);
    auto found = samples_.find(output);
    return found == samples_.end() ? std::vector<TRecordedSample>{} : found->second;
  }
  std::vector<std::uint8_t> Bytes(int output) const {
    std::lock_guard guard(mutex_);
    auto found = bytes_.find(output);
    return found == bytes_.end() ? std::vector<std::uint8_t>{} : found->second;
  }
  int LastError() const {
    std::lock_guard guard(mutex_);
    return lastError_;
  }
  void Forget() {
    std::lock_guard guard(mutex_);
    statuses_.clear();
    samples_.clear();
    bytes_.clear();
  }

private:
  bool Has(media::TReaderStatus status) const {
    for (const auto s : statuses_)
      if (s == status) return true;
    return false;
  }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<media::TReaderStatus> statuses_;
  std::map<int, std::vector<TRecordedSample>> samples_;
  std::map<int, std::vector<std::uint8_t>> bytes_;
  int lastError_ = 0;
  std::string user_, password_;
};

}  // namespace fc::test
