// multi_input_support.h - a multi-input component that shows which input
// frames each output was made from, and harnesses on its inputs.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "components/Fcmultiinput.h"
#include "tests/support/component_harness.h"

namespace fc::test {

/// Two inputs; each output is a 2 x 1 grey frame holding the first byte of
/// each input's current frame (0 for none). With `startOnFirst` it starts as
/// soon as one input runs.
class TPairingInput : public TFCMultiInput {
public:
  explicit TPairingInput(bool startOnFirst) : TFCMultiInput(nullptr), startOnFirst_(startOnFirst) {
    AddInputPin("A");
    AddInputPin("B");
  }
  ~TPairingInput() override { RetirePins(); }

protected:
  void CalculateSendStart(double rate, int width, int height) override {
    SendStartFrame(width, height, rate, vfGray8);
    TFCMultiInput::CalculateSendStart(rate, width, height);
  }
  void CalculateSendOutput() override {
    auto out = std::make_shared<TFCImageBuffer>(2, 1, vfGray8);
    Ipp8u* bytes = out->Write();
    for (int i = 0; i < 2; ++i) bytes[i] = Input(i).Frame() ? Input(i).Frame()->Read()[0] : 0;
    SendFrame(std::move(out));
  }
  bool StartIfNotAllRunning() override { return startOnFirst_; }

private:
  bool startOnFirst_;
};

/// A 1 x 1 grey frame holding `id`.
inline TFCImageBuffer Tagged(int id) {
  TFCImageBuffer frame(1, 1, vfGray8);
  frame.Write()[0] = static_cast<Ipp8u>(id);
  return frame;
}

/// One harness per input of a multi-input component; the first also
/// collects the output.
struct TMultiRun {
  explicit TMultiRun(TFCMultiInput& component) {
    for (int i = 0; i < component.InputCount(); ++i) {
      harnesses.push_back(std::make_unique<TComponentHarness>());
      harnesses.back()->Feed(component.Input(i));
    }
    harnesses[0]->Collect(*component.GetOutputPin());
  }
  TComponentHarness& operator[](int input) { return *harnesses[static_cast<std::size_t>(input)]; }
  TComponentHarness& Output() { return *harnesses[0]; }

  std::vector<std::unique_ptr<TComponentHarness>> harnesses;
};

/// The (input 0, input 1) tags of each output of a TPairingInput.
inline std::vector<std::pair<int, int>> Pairs(const TComponentHarness& output) {
  std::vector<std::pair<int, int>> pairs;
  for (const auto& frame : output.Frames()) pairs.emplace_back(frame->Read()[0], frame->Read()[1]);
  return pairs;
}

}  // namespace fc::test
