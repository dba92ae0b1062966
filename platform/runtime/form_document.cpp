#include "platform/runtime/form_document.h"

#include <cstring>
#include <utility>

namespace fc {

FormValue::FormValue() = default;
FormValue::FormValue(const FormValue&) = default;
FormValue::FormValue(FormValue&&) noexcept = default;
FormValue& FormValue::operator=(const FormValue&) = default;
FormValue& FormValue::operator=(FormValue&&) noexcept = default;
FormValue::~FormValue() = default;

FormValue FormValue::integer(std::int64_t value) {
  FormValue v;
  v.integer_ = value;
  return v;
}

FormValue FormValue::real(double value) {
  FormValue v;
  v.kind_ = Kind::Float;
  v.real_ = value;
  return v;
}

FormValue FormValue::string(std::string text) {
  FormValue v;
  v.kind_ = Kind::String;
  v.text_ = std::move(text);
  return v;
}

FormValue FormValue::identifier(std::string name) {
  FormValue v;
  v.kind_ = Kind::Identifier;
  v.text_ = std::move(name);
  return v;
}

FormValue FormValue::boolean(bool value) { return identifier(value ? "True" : "False"); }

FormValue FormValue::set(std::vector<std::string> names) {
  FormValue v;
  v.kind_ = Kind::Set;
  v.names_ = std::move(names);
  return v;
}

FormValue FormValue::list(std::vector<FormValue> elements) {
  FormValue v;
  v.kind_ = Kind::List;
  v.elements_ = std::move(elements);
  return v;
}

FormValue FormValue::binary(std::vector<std::uint8_t> bytes) {
  FormValue v;
  v.kind_ = Kind::Binary;
  v.bytes_ = std::move(bytes);
  return v;
}

FormValue FormValue::collection(std::vector<FormItem> items) {
  FormValue v;
  v.kind_ = Kind::Collection;
  v.items_ = std::move(items);
  return v;
}

bool operator==(const FormValue& a, const FormValue& b) {
  if (a.kind_ != b.kind_) return false;
  switch (a.kind_) {
    case FormValue::Kind::Integer:
      return a.integer_ == b.integer_;
    case FormValue::Kind::Float:
      return std::memcmp(&a.real_, &b.real_, sizeof a.real_) == 0;
    case FormValue::Kind::String:
    case FormValue::Kind::Identifier:
      return a.text_ == b.text_;
    case FormValue::Kind::Set:
      return a.names_ == b.names_;
    case FormValue::Kind::List:
      return a.elements_ == b.elements_;
    case FormValue::Kind::Binary:
      return a.bytes_ == b.bytes_;
    case FormValue::Kind::Collection:
      return a.items_ == b.items_;
  }
  return false;
}

const char* formKindName(FormValue::Kind kind) {
  switch (kind) {
    case FormValue::Kind::Integer:
      return "integer";
    case FormValue::Kind::Float:
      return "float";
    case FormValue::Kind::String:
      return "string";
    case FormValue::Kind::Identifier:
      return "identifier";
    case FormValue::Kind::Set:
      return "set";
    case FormValue::Kind::List:
      return "list";
    case FormValue::Kind::Binary:
      return "binary data";
    case FormValue::Kind::Collection:
      return "collection";
  }
  return "value";
}

FormProperty& FormPropertyList::set(std::string name, FormValue value, int line) {
  if (FormProperty* existing = find(name)) {
    existing->value = std::move(value);
    existing->line = line;
    return *existing;
  }
  properties_.push_back(FormProperty{std::move(name), std::move(value), line});
  return properties_.back();
}

const FormProperty* FormPropertyList::find(std::string_view name) const {
  for (const FormProperty& property : properties_)
    if (property.name == name) return &property;
  return nullptr;
}

FormProperty* FormPropertyList::find(std::string_view name) {
  return const_cast<FormProperty*>(std::as_const(*this).find(name));
}

const FormObject* FormObject::findChild(std::string_view childName) const {
  for (const FormObject& child : children)
    if (child.name == childName) return &child;
  return nullptr;
}

bool operator==(const FormObject& a, const FormObject& b) {
  return a.name == b.name && a.className == b.className && a.properties == b.properties &&
         a.children == b.children;
}

}  // namespace fc
