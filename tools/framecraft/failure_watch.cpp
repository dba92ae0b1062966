#include "tools/framecraft/failure_watch.h"

namespace fc::tool {

namespace {

void CollectPolicies(TComponent& component, std::vector<TFCFailurePolicy*>& out) {
  if (auto* policy = dynamic_cast<TFCFailurePolicy*>(&component)) out.push_back(policy);
  for (int i = 0; i < component.ComponentCount(); ++i) CollectPolicies(*component.Components(i), out);
}

}  // namespace

TFailureWatch::TFailureWatch(TComponent& root) {
  CollectPolicies(root, watched_);
  for (TFCFailurePolicy* policy : watched_)
    policy->SetOnError([this](const TFCFailure& failure) {
      std::lock_guard guard(mutex_);
      messages_.push_back(failure.Message());
    });
}

TFailureWatch::~TFailureWatch() {
  for (TFCFailurePolicy* policy : watched_) policy->SetOnError(nullptr);
}

std::vector<std::string> TFailureWatch::Messages() const {
  std::lock_guard guard(mutex_);
  return messages_;
}

int TFailureWatch::ErrorCount() const {
  int count = 0;
  for (const TFCFailurePolicy* policy : watched_) count += policy->ErrorCount();
  return count;
}

}  // namespace fc::tool
