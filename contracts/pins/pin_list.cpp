#include "contracts/pins/pin_list.h"

#include <algorithm>

#include "platform/runtime/error.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMPinList, TPersistent)

TPMPinList::TPMPinList(TComponent* owner, bool ownsPins, std::string propertyName)
    : TOwnedPersistent(owner, std::move(propertyName)), ownsPins_(ownsPins) {}

TPMPinList::~TPMPinList() { Clear(); }

int TPMPinList::Add(std::unique_ptr<TPMPin> pin) {
  if (!pin) throw EFCError(NamePath() + ": cannot add a missing pin");
  if (!ownsPins_) throw EFCError(NamePath() + ": this pin list does not own its pins");
  std::lock_guard guard(mutex_);
  pins_.push_back(pin.get());
  owned_.push_back(std::move(pin));
  return static_cast<int>(pins_.size()) - 1;
}

int TPMPinList::Add(TPMPin& pin) {
  std::lock_guard guard(mutex_);
  pins_.push_back(&pin);
  return static_cast<int>(pins_.size()) - 1;
}

void TPMPinList::CheckIndex(int index) const {
  if (index < 0 || index >= static_cast<int>(pins_.size()))
    throw EFCError(NamePath() + ": pin index " + std::to_string(index) + " out of range");
}

void TPMPinList::Remove(int index) {
  std::unique_ptr<TPMPin> doomed;
  {
    std::lock_guard guard(mutex_);
    CheckIndex(index);
    TPMPin* pin = pins_[static_cast<std::size_t>(index)];
    pins_.erase(pins_.begin() + index);
    auto it = std::find_if(owned_.begin(), owned_.end(), [&](const auto& p) { return p.get() == pin; });
    if (it != owned_.end()) {
      doomed = std::move(*it);
      owned_.erase(it);
    }
  }
  // Destroyed outside the list's mutex: the pin waits for its deliveries.
}

void TPMPinList::Clear() {
  std::vector<std::unique_ptr<TPMPin>> doomed;
  {
    std::lock_guard guard(mutex_);
    pins_.clear();
    doomed.swap(owned_);
  }
  while (!doomed.empty()) doomed.pop_back();  // last added goes first
}

int TPMPinList::GetCount() const {
  std::lock_guard guard(mutex_);
  return static_cast<int>(pins_.size());
}

TPMPin* TPMPinList::GetPin(int index) const {
  std::lock_guard guard(mutex_);
  CheckIndex(index);
  return pins_[static_cast<std::size_t>(index)];
}

TPMPin* TPMPinList::FindPin(std::string_view name) const {
  std::lock_guard guard(mutex_);
  for (TPMPin* pin : pins_)
    if (pin->Name() == name) return pin;
  return nullptr;
}

int TPMPinList::IndexOf(const TPMPin* pin) const {
  std::lock_guard guard(mutex_);
  auto it = std::find(pins_.begin(), pins_.end(), pin);
  return it == pins_.end() ? -1 : static_cast<int>(it - pins_.begin());
}

void TPMPinList::Swap(int first, int second) {
  std::lock_guard guard(mutex_);
  CheckIndex(first);
  CheckIndex(second);
  std::swap(pins_[static_cast<std::size_t>(first)], pins_[static_cast<std::size_t>(second)]);
}

void TPMPinList::SetName(int index, std::string name) {
  std::lock_guard guard(mutex_);
  CheckIndex(index);
  pins_[static_cast<std::size_t>(index)]->SetName(std::move(name));
}

}  // namespace fc
