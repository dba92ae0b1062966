// pin_list.h - an ordered, named list of pins published as one property.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "contracts/pins/pin.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// The pins of a component that has a variable number of them (the inputs of
/// a combiner, the planes of a splitter). Published as a PinList property;
/// the pins are reached by index or name. A list created with `ownsPins`
/// destroys its pins when they are removed or the list dies; otherwise the
/// pins must outlive their membership. Change the list while no stream runs
/// through its pins.
class FC_COMPONENTS_API TPMPinList : public TOwnedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  TPMPinList(TComponent* owner, bool ownsPins, std::string propertyName = "Pins");
  ~TPMPinList() override;

  /// Appends a pin; returns its index. An owning list takes the pin over.
  int Add(std::unique_ptr<TPMPin> pin);
  /// Appends a pin the list does not own.
  int Add(TPMPin& pin);
  /// Removes the pin at `index` (destroying it when owned).
  void Remove(int index);
  void Clear();

  int GetCount() const;
  /// The pin at `index`; EFCError when out of range.
  TPMPin* GetPin(int index) const;
  /// The pin named `name`, or null.
  TPMPin* FindPin(std::string_view name) const;
  /// The index of `pin`, or -1.
  int IndexOf(const TPMPin* pin) const;
  void Swap(int first, int second);
  void SetName(int index, std::string name);

private:
  void CheckIndex(int index) const;

  bool ownsPins_;
  mutable std::mutex mutex_;
  std::vector<TPMPin*> pins_;
  std::vector<std::unique_ptr<TPMPin>> owned_;
};

}  // namespace fc
