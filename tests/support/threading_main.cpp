// threading_main.cpp - the main of the threading test programs. Every test
// runs under a watchdog: a test that deadlocks fails within seconds, naming
// itself, instead of holding the run until the runner's own timeout.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Generous for a loaded machine under ThreadSanitizer; a test that needs
// longer is doing too much for a threading test.
constexpr std::chrono::seconds kLimit{30};

class TWatchdog : public ::testing::EmptyTestEventListener {
public:
  TWatchdog() : thread_([this] { Watch(); }) {}
  ~TWatchdog() override {
    {
      std::lock_guard guard(mutex_);
      finished_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  void OnTestStart(const ::testing::TestInfo& info) override {
    std::lock_guard guard(mutex_);
    test_ = std::string(info.test_suite_name()) + "." + info.name();
    deadline_ = Clock::now() + kLimit;
    wake_.notify_all();
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    std::lock_guard guard(mutex_);
    deadline_ = Clock::time_point::max();
  }

private:
  void Watch() {
    std::unique_lock guard(mutex_);
    while (!finished_) {
      if (deadline_ == Clock::time_point::max()) {
        wake_.wait(guard);
      } else if (wake_.wait_until(guard, deadline_) == std::cv_status::timeout && Clock::now() >= deadline_) {
        std::fprintf(stderr, "watchdog: %s did not finish within %lld s (deadlock?)\n", test_.c_str(),
                     static_cast<long long>(kLimit.count()));
        std::fflush(stderr);
        std::_Exit(1);
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::string test_;
  Clock::time_point deadline_ = Clock::time_point::max();
  bool finished_ = false;
  std::thread thread_;  // last: starts once the state above exists
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Owned by gtest's listener list, which outlives every test.
  ::testing::UnitTest::GetInstance()->listeners().Append(new TWatchdog);
  return RUN_ALL_TESTS();
}
