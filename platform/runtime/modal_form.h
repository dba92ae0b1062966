// modal_form.h - the model of a modal form: what a dialog shows and does,
// without a display.
//
// A dialog is a class holding the state of its controls (texts, cells,
// selections, the default button) and the handlers of their events (keys,
// clicks, focus). `ShowModal` hands the form to the modal runner, which
// plays the user: a front end shows the form and feeds it events, a test
// calls the handlers directly. The runner ends the modal state by setting a
// modal result, normally through a button's click.
#pragma once

#include <functional>
#include <string>

#include "platform/runtime/components_api.h"

namespace fc {

/// Modal results: none yet, OK, Cancel.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class FC_COMPONENTS_API TModalForm {
public:
  /// Plays the user on a form shown modally.
  using ModalRunner = std::function<void(TModalForm& form)>;

  explicit TModalForm(std::string caption) : caption_(std::move(caption)) {}
  TModalForm(const TModalForm&) = delete;
  TModalForm& operator=(const TModalForm&) = delete;
  virtual ~TModalForm() = default;

  const std::string& Caption() const { return caption_; }

  /// Clears the modal result and runs the modal runner on this form. A form
  /// the runner leaves without a result was closed: mrCancel. With no runner
  /// installed (no display) the form is closed at once.
  TModalResult ShowModal();

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }

  /// Installs the process-wide modal runner; returns the previous one.
  static ModalRunner SetModalRunner(ModalRunner runner);

private:
  std::string caption_;
  TModalResult modalResult_ = mrNone;
};

/// Installs a modal runner for the lifetime of the object and puts the
/// previous one back after.
class FC_COMPONENTS_API TScopedModalRunner {
public:
  explicit TScopedModalRunner(TModalForm::ModalRunner runner)
      : previous_(TModalForm::SetModalRunner(std::move(runner))) {}
  TScopedModalRunner(const TScopedModalRunner&) = delete;
  TScopedModalRunner& operator=(const TScopedModalRunner&) = delete;
  ~TScopedModalRunner() { TModalForm::SetModalRunner(std::move(previous_)); }

private:
  TModalForm::ModalRunner previous_;
};

}  // namespace fc
