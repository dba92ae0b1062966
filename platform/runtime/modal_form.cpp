#include "platform/runtime/modal_form.h"

#include <mutex>

namespace fc {

namespace {

std::mutex runnerMutex;
TModalForm::ModalRunner& Runner() {
  static TModalForm::ModalRunner runner;
  return runner;
}

}  // namespace

TModalResult TModalForm::ShowModal() {
  modalResult_ = mrNone;
  ModalRunner runner;
  {
    std::lock_guard<std::mutex> lock(runnerMutex);
    runner = Runner();
  }
  if (runner) runner(*this);
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  return modalResult_;
}

TModalForm::ModalRunner TModalForm::SetModalRunner(ModalRunner runner) {
  std::lock_guard<std::mutex> lock(runnerMutex);
  std::swap(Runner(), runner);
  return runner;
}

}  // namespace fc
