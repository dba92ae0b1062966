// failure_watch.h - collects the failures the components of a pipeline
// report while the tool runs it.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "contracts/video/failure_policy.h"

namespace fc::tool {

/// Sets an OnError handler on every component of a tree that follows the
/// failure policy, and removes them again when it dies.
class TFailureWatch {
public:
  explicit TFailureWatch(TComponent& root);
  ~TFailureWatch();
  TFailureWatch(const TFailureWatch&) = delete;
  TFailureWatch& operator=(const TFailureWatch&) = delete;

  /// The reports, once per cause and stream, in the order they came.
  std::vector<std::string> Messages() const;
  /// Failed calls counted by the watched components (each dropped frame).
  int ErrorCount() const;

private:
  std::vector<TFCFailurePolicy*> watched_;
  mutable std::mutex mutex_;
  std::vector<std::string> messages_;
};

}  // namespace fc::tool
