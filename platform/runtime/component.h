// component.h - the component base: owner, name and owned components.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/components_api.h"
#include "platform/runtime/persistent.h"

namespace fc {

/// A named persistent object placed on a form or in a pipeline.
///
/// A component created with an owner belongs to it: the owner deletes the
/// components it still owns when it is destroyed, in reverse order of
/// creation, and a component deleted earlier leaves its owner's list. So make
/// owned components with `new`, or let them die before their owner.
/// The component tree (owner, name, children) is built and changed from one
/// thread; streaming threads never touch it.
class FC_COMPONENTS_API TComponent : public TPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TComponent(TComponent* owner = nullptr);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  /// Sets the name: empty, or a letter or underscore followed by letters,
  /// digits and underscores, unique among the owner's components
  /// (case-insensitive); otherwise EFCError.
  void SetName(std::string name);

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
  /// The owned component of that name (case-insensitive), or null.
  TComponent* FindComponent(std::string_view name) const;

  /// The name, or "<unnamed TClass>" for a component without one.
  std::string NamePath() const override;

private:
  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> components_;
};

}  // namespace fc
