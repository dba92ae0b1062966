// A component with one sink and one source pin that records what reaches it,
// for driving pins and connections in tests.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "contracts/pins/pin.h"

namespace fc::test {

class TRecorder : public TComponent, public IPMPinDispatcher {
public:
  explicit TRecorder(const std::string& name, std::string media = "Image")
      : TComponent(nullptr), input(this, *this, "Input", media), output(this, *this, "Output", media) {
    SetName(name);
  }
  ~TRecorder() override {
    input.Retire();
    output.Retire();
  }

  bool SinkDispatch(TPMSinkPin&, const TPMOperation& operation) override {
    Note(std::string(operation->Name()));
    if (forward) output.Send(operation);
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation& operation) override {
    Note("request " + std::string(operation->Name()));
    return forward ? input.Request(operation) : answerRequests;
  }

  std::vector<std::string> Log() const {
    std::lock_guard guard(mutex_);
    return log_;
  }

  TPMSinkPin input;
  TPMSourcePin output;
  bool forward = false;         // pass operations down and requests up
  bool answerRequests = true;   // answer when not forwarding

  // Everything recorded by all recorders, in arrival order.
  static std::vector<std::string>& Journal() {
    static std::vector<std::string> journal;
    return journal;
  }

private:
  void Note(const std::string& what) {
    std::lock_guard guard(mutex_);
    log_.push_back(what);
    if (journalOn) Journal().push_back(Name() + ":" + what);
  }

public:
  bool journalOn = false;

private:
  mutable std::mutex mutex_;
  std::vector<std::string> log_;
};

}  // namespace fc::test
