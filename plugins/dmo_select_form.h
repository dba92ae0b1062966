// dmo_select_form.h - the dialog that lists the installed video effects for
// choosing one.
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/components_api.h"
#include "platform/runtime/modal_form.h"

namespace fc {

/// A list of effect names, one selected (or none, -1), and the OK and
/// Cancel buttons.
class FC_COMPONENTS_API TFCDmoSelectForm : public TModalForm {
public:
  TFCDmoSelectForm() : TModalForm("Select a video effect") {}

  std::vector<std::string>& Items() { return items_; }
  int ItemIndex() const { return itemIndex_; }
  /// Selects the entry at `index`; an index outside the list selects none.
  void SetItemIndex(int index);
  /// The selected name, or empty when none is selected.
  std::string Selected() const;

  /// OK confirms only with an entry selected.
  void OkClick();
  void CancelClick() { SetModalResult(mrCancel); }

private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

}  // namespace fc
