// real_harness.h - test pins for real-valued data: push start-sample-rate,
// blocks and single values into a component's real input, collect what its
// real outputs send (one collector per output pin), send master pumps up.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/signal/real_pins.h"

namespace fc::test {

/// Collects what one real source pin sends.
class TRealCollector : public TComponent, public IPMPinDispatcher {
public:
  TRealCollector() : TComponent(nullptr), input(this, *this, "Collected") {}
  ~TRealCollector() override { input.Retire(); }

  bool SinkDispatch(TPMSinkPin&, const TPMOperation& operation) override {
    std::lock_guard guard(mutex_);
    received_.push_back(operation);
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

  std::vector<TPMOperation> Received() const {
    std::lock_guard guard(mutex_);
    return received_;
  }
  /// The blocks received, in order.
  std::vector<std::shared_ptr<const TWCRealBuffer>> Blocks() const {
    std::vector<std::shared_ptr<const TWCRealBuffer>> blocks;
    for (const auto& op : Received())
      if (auto block = RealSamplesOf(op)) blocks.push_back(block);
    return blocks;
  }
  /// The samples of block `index` as a vector.
  std::vector<double> Samples(std::size_t index) const {
    auto block = Blocks().at(index);
    return {block->Read(), block->Read() + block->Length()};
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& op : Received()) names.emplace_back(op->Name());
    return names;
  }
  template <class Op> const Op* First() const {
    std::lock_guard guard(mutex_);
    for (const auto& op : received_)
      if (const auto* found = op->As<Op>()) return found;
    return nullptr;
  }

  TWCPMComboRealSinkPin input;

private:
  mutable std::mutex mutex_;
  std::vector<TPMOperation> received_;
};

/// A real source to feed a component's real input; counts the requests
/// (pumps) that come up from it.
class TRealFeeder : public TComponent, public IPMPinDispatcher {
public:
  TRealFeeder() : TComponent(nullptr), output(this, *this, "Feed") {}
  ~TRealFeeder() override { output.Retire(); }

  bool SinkDispatch(TPMSinkPin&, const TPMOperation&) override { return false; }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation& operation) override {
    {
      std::lock_guard guard(mutex_);
      ++requests_;
    }
    if (onRequest) onRequest(operation);
    return true;
  }
  int Requests() const {
    std::lock_guard guard(mutex_);
    return requests_;
  }
  bool PushSamples(const std::vector<double>& samples) {
    auto block = MakeRealBuffer(static_cast<int>(samples.size()));
    std::copy(samples.begin(), samples.end(), block->Write());
    return output.SendBuffer(block);
  }

  TWCPMRealSourcePin output;
  /// Called for each request, after it was counted.
  std::function<void(const TPMOperation&)> onRequest;

private:
  mutable std::mutex mutex_;
  int requests_ = 0;
};

}  // namespace fc::test
