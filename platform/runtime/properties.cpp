#include "platform/runtime/properties.h"

#include <charconv>
#include <cmath>

#include "platform/runtime/component.h"
#include "platform/runtime/error.h"
#include "platform/runtime/persistent.h"

namespace fc {

namespace {

const char* KindName(TPropertyKind kind) {
  switch (kind) {
    case TPropertyKind::Integer: return "an integer";
    case TPropertyKind::Float: return "a number";
    case TPropertyKind::Boolean: return "a boolean";
    case TPropertyKind::String: return "a string";
    case TPropertyKind::Enum: return "an enumeration";
    case TPropertyKind::Object: return "an object";
    case TPropertyKind::Collection: return "a collection";
    case TPropertyKind::Pin: return "a pin";
    case TPropertyKind::PinList: return "a pin list";
  }
  return "a value";
}

std::string FormatFloat(double value) {
  char text[64];
  auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace

bool SameIdentifier(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::optional<int> TEnumInfo::OrdinalOf(std::string_view identifier) const {
  for (std::size_t i = 0; i < identifiers_.size(); ++i)
    if (identifiers_[i] == identifier) return static_cast<int>(i);
  return std::nullopt;
}

std::string_view TEnumInfo::IdentifierOf(std::int64_t ordinal) const {
  if (ordinal < 0 || ordinal >= Count()) return {};
  return identifiers_[static_cast<std::size_t>(ordinal)];
}

std::string TPropertyInfo::DefaultText() const { return default_ ? FormatValue(*default_) : std::string(); }

bool TPropertyInfo::IsDefault(const TPersistent& object) const {
  return default_ && GetValue(object) == *default_;
}

TPropertyValue TPropertyInfo::GetValue(const TPersistent& object) const {
  if (!get_)
    throw EFCError::ForProperty(object.NamePath(), name_, std::string("is ") + KindName(kind_) +
                                                              ", not a value");
  return get_(object);
}

TPropertyValue TPropertyInfo::Checked(const TPropertyValue& value, std::string_view ownerPath) const {
  auto wrongKind = [&] {
    return EFCError::ForProperty(ownerPath, name_, std::string("expects ") + KindName(kind_));
  };
  switch (kind_) {
    case TPropertyKind::Integer:
    case TPropertyKind::Enum: {
      const auto* v = std::get_if<std::int64_t>(&value);
      if (!v) throw wrongKind();
      if (*v < minimum_ || *v > maximum_)
        throw EFCError::ForProperty(ownerPath, name_,
                                    "value " + std::to_string(*v) + " out of range " +
                                        std::to_string(minimum_) + ".." + std::to_string(maximum_));
      return value;
    }
    case TPropertyKind::Float: {
      double v = 0;
      if (const auto* i = std::get_if<std::int64_t>(&value))
        v = static_cast<double>(*i);
      else if (const auto* d = std::get_if<double>(&value))
        v = *d;
      else
        throw wrongKind();
      // A value the property's type cannot hold would become infinity.
      if (!std::isfinite(v) || std::fabs(v) > largestFinite_)
        throw EFCError::ForProperty(ownerPath, name_,
                                    "value " + FormatFloat(v) + " is not a finite " + typeName_ + " number");
      return v;
    }
    case TPropertyKind::Boolean:
      if (!std::holds_alternative<bool>(value)) throw wrongKind();
      return value;
    case TPropertyKind::String:
      if (!std::holds_alternative<std::string>(value)) throw wrongKind();
      return value;
    default:
      throw EFCError::ForProperty(ownerPath, name_, std::string("is ") + KindName(kind_) +
                                                         ", not a value");
  }
}

void TPropertyInfo::SetValue(TPersistent& object, const TPropertyValue& value) const {
  TPropertyValue checked = Checked(value, object.NamePath());
  if (!set_) throw EFCError::ForProperty(object.NamePath(), name_, "is read-only");
  set_(object, checked);
}

std::string TPropertyInfo::FormatValue(const TPropertyValue& value) const {
  if (const auto* i = std::get_if<std::int64_t>(&value)) {
    if (kind_ == TPropertyKind::Enum && enum_) return std::string(enum_->IdentifierOf(*i));
    return std::to_string(*i);
  }
  if (const auto* d = std::get_if<double>(&value)) return FormatFloat(*d);
  if (const auto* b = std::get_if<bool>(&value)) return *b ? "True" : "False";
  return std::get<std::string>(value);
}

TPropertyValue TPropertyInfo::ParseValue(std::string_view text, std::string_view ownerPath) const {
  auto bad = [&](const std::string& expected) {
    return EFCError::ForProperty(ownerPath, name_,
                                 "'" + std::string(text) + "' is not " + expected);
  };
  switch (kind_) {
    case TPropertyKind::Integer: {
      std::int64_t v = 0;
      auto r = std::from_chars(text.data(), text.data() + text.size(), v);
      if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
        throw bad("an integer");
      return Checked(v, ownerPath);
    }
    case TPropertyKind::Float: {
      double v = 0;
      auto r = std::from_chars(text.data(), text.data() + text.size(), v);
      if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() ||
          !std::isfinite(v))
        throw bad("a number");
      return Checked(v, ownerPath);
    }
    case TPropertyKind::Boolean:
      if (SameIdentifier(text, "true")) return true;
      if (SameIdentifier(text, "false")) return false;
      throw bad("True or False");
    case TPropertyKind::String:
      return std::string(text);
    case TPropertyKind::Enum: {
      if (auto ordinal = enum_->OrdinalOf(text)) return static_cast<std::int64_t>(*ordinal);
      std::string names;
      for (const std::string& id : enum_->Identifiers()) names += (names.empty() ? "" : ", ") + id;
      throw bad("one of " + names);
    }
    default:
      throw EFCError::ForProperty(ownerPath, name_, std::string("is ") + KindName(kind_) +
                                                         ", not a value");
  }
}

std::string TPropertyInfo::GetText(const TPersistent& object) const { return FormatValue(GetValue(object)); }

void TPropertyInfo::SetText(TPersistent& object, std::string_view text) const {
  SetValue(object, ParseValue(text, object.NamePath()));
}

TPersistent* TPropertyInfo::GetObject(TPersistent& object) const {
  if (!object_)
    throw EFCError::ForProperty(object.NamePath(), name_, std::string("is ") + KindName(kind_) +
                                                              ", not an object");
  return object_(object);
}

const TPersistent* TPropertyInfo::GetObject(const TPersistent& object) const {
  // The getters are member functions of the owner; reading through them does
  // not change it.
  return GetObject(const_cast<TPersistent&>(object));
}

std::vector<const TPropertyInfo*> TClassInfo::Properties() const {
  std::vector<const TPropertyInfo*> all = parent_ ? parent_->Properties() : std::vector<const TPropertyInfo*>{};
  for (const TPropertyInfo& p : own_) all.push_back(&p);
  return all;
}

const TPropertyInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TPropertyInfo& p : c->own_)
      if (SameIdentifier(p.Name(), name)) return &p;
  return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

std::unique_ptr<TComponent> TClassInfo::Create(TComponent* owner) const {
  if (!factory_) throw EFCError("Class " + name_ + " cannot be created");
  return factory_(owner);
}

TPropertyTarget ResolveProperty(TPersistent& root, std::string_view path) {
  TPersistent* object = &root;
  for (;;) {
    std::size_t dot = path.find('.');
    std::string_view head = path.substr(0, dot);
    const TPropertyInfo* p = object->ClassInfo().FindProperty(head);
    if (!p)
      throw EFCError(object->NamePath() + ": " + object->ClassInfo().Name() +
                     " has no property '" + std::string(head) + "'");
    if (dot == std::string_view::npos) return {object, p};
    TPersistent* next = p->GetObject(*object);
    if (!next) throw EFCError::ForProperty(object->NamePath(), p->Name(), "is not set");
    object = next;
    path.remove_prefix(dot + 1);
  }
}

std::string GetPropertyText(TPersistent& root, std::string_view path) {
  TPropertyTarget t = ResolveProperty(root, path);
  return t.property->GetText(*t.object);
}

void SetPropertyText(TPersistent& root, std::string_view path, std::string_view text) {
  TPropertyTarget t = ResolveProperty(root, path);
  t.property->SetText(*t.object, text);
}

namespace {
void CollectDifferences(TPersistent& object, const std::string& prefix, std::vector<std::string>& out) {
  for (const TPropertyInfo* p : object.ClassInfo().Properties()) {
    if (p->IsScalar()) {
      if (p->HasDefault() && !p->IsDefault(object)) out.push_back(prefix + p->Name());
    } else if (p->Kind() == TPropertyKind::Object) {
      if (TPersistent* sub = p->GetObject(object)) CollectDifferences(*sub, prefix + p->Name() + ".", out);
    }
  }
}
}  // namespace

std::vector<std::string> PropertiesDifferingFromDefault(TPersistent& object) {
  std::vector<std::string> out;
  CollectDifferences(object, "", out);
  return out;
}

}  // namespace fc
