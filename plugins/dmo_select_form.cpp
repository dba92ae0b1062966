#include "plugins/dmo_select_form.h"

namespace fc {

void TFCDmoSelectForm::SetItemIndex(int index) {
  itemIndex_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
}

std::string TFCDmoSelectForm::Selected() const {
  return itemIndex_ < 0 ? std::string() : items_[static_cast<std::size_t>(itemIndex_)];
}

void TFCDmoSelectForm::OkClick() {
  if (itemIndex_ >= 0) SetModalResult(mrOk);
}

}  // namespace fc
