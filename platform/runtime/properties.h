// properties.h - the reflection registry of published properties.
//
// Every persistent class publishes its properties once, in its
// `StaticClassInfo()`, through a `TClassBuilder`. The form files, the
// command-line tool (`--set Resize1.Interpolation=ifCubic`, `describe`) and
// the catalogue read everything from here: name, kind, type name, stored
// default, getter and setter (as text and typed), enumeration identifiers,
// sub-objects, collections and pins.
//
// This header and the rest of the runtime core (persistent.h, component.h,
// collection.h, error.h) include only the standard library, so the pin
// library and the base video package, which publish properties, may build on
// them.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "platform/runtime/components_api.h"

namespace fc {

class TPersistent;
class TComponent;

/// What a property holds. Integer, Float, Boolean, String and Enum are scalar
/// values with text forms; the others refer to an object owned by the
/// property's owner and have properties of their own.
enum class TPropertyKind { Integer, Float, Boolean, String, Enum, Object, Collection, Pin, PinList };

/// A scalar property value: integers and enumeration ordinals as int64_t,
/// floats as double.
using TPropertyValue = std::variant<std::int64_t, double, bool, std::string>;

/// The identifiers of an enumeration type; the index is the ordinal.
class FC_COMPONENTS_API TEnumInfo {
public:
  TEnumInfo(std::string typeName, std::vector<std::string> identifiers)
      : typeName_(std::move(typeName)), identifiers_(std::move(identifiers)) {}

  const std::string& TypeName() const { return typeName_; }
  const std::vector<std::string>& Identifiers() const { return identifiers_; }
  int Count() const { return static_cast<int>(identifiers_.size()); }
  /// The ordinal of an identifier (exact match), if it is one of ours.
  std::optional<int> OrdinalOf(std::string_view identifier) const;
  /// The identifier of an ordinal; empty when out of range.
  std::string_view IdentifierOf(std::int64_t ordinal) const;

private:
  std::string typeName_;
  std::vector<std::string> identifiers_;
};

/// One published property of a class.
class FC_COMPONENTS_API TPropertyInfo {
public:
  const std::string& Name() const { return name_; }
  TPropertyKind Kind() const { return kind_; }
  /// "Integer", "Cardinal", "Byte", "Word", "Single", "Double", "Boolean",
  /// "String", the enumeration's type name, or the class name of an object.
  const std::string& TypeName() const { return typeName_; }
  bool IsScalar() const { return kind_ <= TPropertyKind::Enum; }
  bool IsReadOnly() const { return !set_; }
  /// The enumeration's identifiers, for Enum properties; null otherwise.
  const TEnumInfo* Enum() const { return enum_; }
  /// Smallest and largest value an Integer or Enum property accepts.
  std::int64_t Minimum() const { return minimum_; }
  std::int64_t Maximum() const { return maximum_; }

  /// Whether the property has a stored default: a value equal to it is not
  /// written to form files.
  bool HasDefault() const { return default_.has_value(); }
  const TPropertyValue& Default() const { return *default_; }
  std::string DefaultText() const;
  /// True when the property has a stored default and `object` holds it.
  bool IsDefault(const TPersistent& object) const;

  /// Typed access to scalar properties. Setters check the kind and range and
  /// throw EFCError naming the object and property.
  TPropertyValue GetValue(const TPersistent& object) const;
  void SetValue(TPersistent& object, const TPropertyValue& value) const;

  /// Text access: integers in decimal, floats in their shortest exact form,
  /// "True"/"False", enumeration identifiers, strings as they are.
  std::string GetText(const TPersistent& object) const;
  void SetText(TPersistent& object, std::string_view text) const;

  /// The object an Object, Collection, Pin or PinList property refers to.
  TPersistent* GetObject(TPersistent& object) const;
  const TPersistent* GetObject(const TPersistent& object) const;

  /// Formats a scalar value of this property as text.
  std::string FormatValue(const TPropertyValue& value) const;
  /// Parses text into a value of this property's kind; throws EFCError
  /// naming `ownerPath` and the property.
  TPropertyValue ParseValue(std::string_view text, std::string_view ownerPath) const;

private:
  template <class T> friend class TClassBuilder;
  TPropertyValue Checked(const TPropertyValue& value, std::string_view ownerPath) const;

  std::string name_;
  TPropertyKind kind_ = TPropertyKind::Integer;
  std::string typeName_;
  std::optional<TPropertyValue> default_;
  const TEnumInfo* enum_ = nullptr;
  std::int64_t minimum_ = 0;
  std::int64_t maximum_ = 0;
  double largestFinite_ = 0;  ///< of a float property's type: larger values are not finite in it
  std::function<TPropertyValue(const TPersistent&)> get_;
  std::function<void(TPersistent&, const TPropertyValue&)> set_;
  std::function<TPersistent*(TPersistent&)> object_;
};

/// The published description of a class: its name, its parent's description
/// and the properties it adds.
class FC_COMPONENTS_API TClassInfo {
public:
  using Factory = std::function<std::unique_ptr<TComponent>(TComponent* owner)>;

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  /// The properties this class adds, in publishing order.
  const std::vector<TPropertyInfo>& OwnProperties() const { return own_; }
  /// Every property, the parent's first.
  std::vector<const TPropertyInfo*> Properties() const;
  const TPropertyInfo* FindProperty(std::string_view name) const;
  bool InheritsFrom(const TClassInfo& other) const;
  /// Components with a public (TComponent* owner) constructor can be made
  /// from their description (form files and the tool use this).
  bool CanCreate() const { return static_cast<bool>(factory_); }
  std::unique_ptr<TComponent> Create(TComponent* owner) const;

private:
  template <class T> friend class TClassBuilder;
  std::string name_;
  const TClassInfo* parent_ = nullptr;
  std::vector<TPropertyInfo> own_;
  Factory factory_;
};

/// Range and type name of the C++ types a scalar property may have.
template <class V> struct TPropertyTraits;
#define FC_INTEGER_TRAITS(type, text)                                                    \
  template <> struct TPropertyTraits<type> {                                             \
    static constexpr TPropertyKind kind = TPropertyKind::Integer;                        \
    static constexpr const char* name = text;                                            \
  };
FC_INTEGER_TRAITS(std::int8_t, "ShortInt")
FC_INTEGER_TRAITS(std::uint8_t, "Byte")
FC_INTEGER_TRAITS(std::int16_t, "SmallInt")
FC_INTEGER_TRAITS(std::uint16_t, "Word")
FC_INTEGER_TRAITS(std::int32_t, "Integer")
FC_INTEGER_TRAITS(std::uint32_t, "Cardinal")
FC_INTEGER_TRAITS(std::int64_t, "Int64")
#undef FC_INTEGER_TRAITS
template <> struct TPropertyTraits<float> {
  static constexpr TPropertyKind kind = TPropertyKind::Float;
  static constexpr const char* name = "Single";
};
template <> struct TPropertyTraits<double> {
  static constexpr TPropertyKind kind = TPropertyKind::Float;
  static constexpr const char* name = "Double";
};
template <> struct TPropertyTraits<bool> {
  static constexpr TPropertyKind kind = TPropertyKind::Boolean;
  static constexpr const char* name = "Boolean";
};
template <> struct TPropertyTraits<std::string> {
  static constexpr TPropertyKind kind = TPropertyKind::String;
  static constexpr const char* name = "String";
};

/// Builds the description of class T, derived from the class `parent`
/// describes. Typical use, in the class's source file:
///
///   const TClassInfo& TFCMirror::StaticClassInfo() {
///     static const TClassInfo info =
///         TClassBuilder<TFCMirror>("TFCMirror", &TFCCommonFilter::StaticClassInfo())
///             .Enum("MirrorType", &TFCMirror::GetMirrorType, &TFCMirror::SetMirrorType,
///                   MirrorTypeInfo(), mtHorizontal)
///             .Build();
///     return info;
///   }
///
/// A default given here is the stored default; a property without one is
/// always written to form files. Keep the constructor's start value and the
/// default in one named constant so they are not listed twice.
template <class T>
class FC_COMPONENTS_API TClassBuilder {
public:
  TClassBuilder(std::string name, const TClassInfo* parent) {
    info_.name_ = std::move(name);
    info_.parent_ = parent;
    if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                  std::is_constructible_v<T, TComponent*>) {
      info_.factory_ = [](TComponent* owner) -> std::unique_ptr<TComponent> {
        return std::make_unique<T>(owner);
      };
    }
  }

  /// A scalar property of an integer, float, bool or string type.
  template <class G, class S>
  TClassBuilder& Property(std::string name, G (T::*get)() const, void (T::*set)(S),
                          std::optional<std::decay_t<G>> def = std::nullopt,
                          std::string typeName = {}) {
    using V = std::decay_t<G>;
    TPropertyInfo& p = AddScalar<V>(std::move(name), get, std::move(typeName));
    p.set_ = [set](TPersistent& o, const TPropertyValue& v) { (Self(o).*set)(FromValue<V>(v)); };
    if (def) p.default_ = ToValue(*def);
    return *this;
  }

  /// A scalar property without a setter.
  template <class G>
  TClassBuilder& ReadOnly(std::string name, G (T::*get)() const, std::string typeName = {}) {
    AddScalar<std::decay_t<G>>(std::move(name), get, std::move(typeName));
    return *this;
  }

  /// An enumeration property; E is a C++ enum whose ordinals index `info`.
  template <class E, class S>
  TClassBuilder& Enum(std::string name, E (T::*get)() const, void (T::*set)(S),
                      const TEnumInfo& info, std::type_identity_t<std::optional<E>> def = std::nullopt) {
    static_assert(std::is_enum_v<E>);
    TPropertyInfo& p = Add(std::move(name), TPropertyKind::Enum, info.TypeName());
    p.enum_ = &info;
    p.minimum_ = 0;
    p.maximum_ = info.Count() - 1;
    p.get_ = [get](const TPersistent& o) {
      return TPropertyValue(static_cast<std::int64_t>((Self(o).*get)()));
    };
    p.set_ = [set](TPersistent& o, const TPropertyValue& v) {
      (Self(o).*set)(static_cast<E>(std::get<std::int64_t>(v)));
    };
    if (def) p.default_ = TPropertyValue(static_cast<std::int64_t>(*def));
    return *this;
  }

  /// An owned sub-object; its properties are reached as "Name.Sub".
  template <class O> TClassBuilder& Object(std::string name, O* (T::*get)()) {
    return AddObject(std::move(name), TPropertyKind::Object, get);
  }
  /// An owned collection of items.
  template <class O> TClassBuilder& Collection(std::string name, O* (T::*get)()) {
    return AddObject(std::move(name), TPropertyKind::Collection, get);
  }
  /// A pin the object owns.
  template <class O> TClassBuilder& Pin(std::string name, O* (T::*get)()) {
    return AddObject(std::move(name), TPropertyKind::Pin, get);
  }
  /// A list of pins the object owns.
  template <class O> TClassBuilder& PinList(std::string name, O* (T::*get)()) {
    return AddObject(std::move(name), TPropertyKind::PinList, get);
  }

  TClassInfo Build() { return std::move(info_); }

private:
  static T& Self(TPersistent& o) { return static_cast<T&>(o); }
  static const T& Self(const TPersistent& o) { return static_cast<const T&>(o); }

  template <class V> static TPropertyValue ToValue(const V& v) {
    if constexpr (TPropertyTraits<V>::kind == TPropertyKind::Integer)
      return static_cast<std::int64_t>(v);
    else if constexpr (TPropertyTraits<V>::kind == TPropertyKind::Float)
      return static_cast<double>(v);
    else
      return v;
  }
  template <class V> static V FromValue(const TPropertyValue& v) {
    if constexpr (TPropertyTraits<V>::kind == TPropertyKind::Integer)
      return static_cast<V>(std::get<std::int64_t>(v));
    else if constexpr (TPropertyTraits<V>::kind == TPropertyKind::Float)
      return static_cast<V>(std::get<double>(v));
    else
      return std::get<V>(v);
  }

  TPropertyInfo& Add(std::string name, TPropertyKind kind, std::string typeName) {
    TPropertyInfo& p = info_.own_.emplace_back();
    p.name_ = std::move(name);
    p.kind_ = kind;
    p.typeName_ = std::move(typeName);
    return p;
  }

  template <class V, class G>
  TPropertyInfo& AddScalar(std::string name, G (T::*get)() const, std::string typeName) {
    using Traits = TPropertyTraits<V>;
    TPropertyInfo& p =
        Add(std::move(name), Traits::kind, typeName.empty() ? Traits::name : std::move(typeName));
    if constexpr (Traits::kind == TPropertyKind::Integer) {
      p.minimum_ = static_cast<std::int64_t>(std::numeric_limits<V>::min());
      p.maximum_ = static_cast<std::int64_t>(std::numeric_limits<V>::max());
    }
    if constexpr (Traits::kind == TPropertyKind::Float)
      p.largestFinite_ = static_cast<double>(std::numeric_limits<V>::max());
    p.get_ = [get](const TPersistent& o) { return ToValue<V>((Self(o).*get)()); };
    return p;
  }

  template <class O> TClassBuilder& AddObject(std::string name, TPropertyKind kind, O* (T::*get)()) {
    TPropertyInfo& p = Add(std::move(name), kind, O::StaticClassInfo().Name());
    p.object_ = [get](TPersistent& o) -> TPersistent* { return (Self(o).*get)(); };
    return *this;
  }

  TClassInfo info_;
};

/// Compares names the way the registry does: ASCII letters case-insensitive.
FC_COMPONENTS_API bool SameIdentifier(std::string_view a, std::string_view b);

/// A property reached by a dotted path from a root object: the object that
/// owns the last segment and the property itself.
struct FC_COMPONENTS_API TPropertyTarget {
  TPersistent* object = nullptr;
  const TPropertyInfo* property = nullptr;
};

/// Resolves "Region.X" or "OutputSize.Width" from `root`; throws EFCError
/// naming the root and the missing segment.
FC_COMPONENTS_API TPropertyTarget ResolveProperty(TPersistent& root, std::string_view path);
/// Shorthands for the tool's `--set` and `describe`.
FC_COMPONENTS_API std::string GetPropertyText(TPersistent& root, std::string_view path);
FC_COMPONENTS_API void SetPropertyText(TPersistent& root, std::string_view path, std::string_view text);

/// Every scalar property with a stored default whose value in `object`
/// differs from it, sub-objects included, as dotted paths. A newly made
/// component should have none: tests use this to keep constructors and
/// stored defaults in step.
FC_COMPONENTS_API std::vector<std::string> PropertiesDifferingFromDefault(TPersistent& object);

}  // namespace fc
