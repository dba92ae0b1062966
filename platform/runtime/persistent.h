// persistent.h - the base of every object with published properties.
#pragma once

#include <string>

#include "platform/runtime/components_api.h"
#include "platform/runtime/properties.h"

/// Declares a class's published description; define StaticClassInfo() in the
/// source file with a TClassBuilder.
#define FC_DECLARE_CLASS_INFO()                                                         \
public:                                                                                \
  static const ::fc::TClassInfo& StaticClassInfo();                                    \
  const ::fc::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

/// Defines the description of a class that publishes no properties of its
/// own.
#define FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(Class, Parent)                        \
  const ::fc::TClassInfo& Class::StaticClassInfo() {                                 \
    static const ::fc::TClassInfo info =                                             \
        ::fc::TClassBuilder<Class>(#Class, &Parent::StaticClassInfo()).Build();      \
    return info;                                                                     \
  }

namespace fc {

/// An object with published properties that can be assigned from another
/// object of its class and stored in form files.
class FC_COMPONENTS_API TPersistent {
public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }

  /// Copies `source` into this object: every writable scalar property through
  /// its setter, and every sub-object and collection by its own Assign; pins
  /// are left alone. `source` must be of this object's class or derived from
  /// it; otherwise EFCError. Classes with state beside their properties
  /// extend this.
  virtual void Assign(const TPersistent& source);

  /// How messages name this object: a component's name, a sub-object's
  /// "Owner.Property", a pin's "Owner.PinName".
  virtual std::string NamePath() const;
};

/// A persistent object owned by another under a property name (a region, an
/// offset, a size). It never outlives its owner.
class FC_COMPONENTS_API TOwnedPersistent : public TPersistent {
public:
  TOwnedPersistent(TPersistent* owner, std::string propertyName)
      : owner_(owner), propertyName_(std::move(propertyName)) {}

  TPersistent* Owner() const { return owner_; }
  std::string NamePath() const override;

private:
  TPersistent* owner_;
  std::string propertyName_;
};

}  // namespace fc
