#include "platform/runtime/form_property_values.h"

namespace fc {

bool FormNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

FormValue FormValueOfProperty(const TPropertyInfo& property, const TPropertyValue& value) {
  if (const auto* integer = std::get_if<std::int64_t>(&value)) {
    if (property.Kind() == TPropertyKind::Enum && property.Enum()) {
      std::string_view identifier = property.Enum()->IdentifierOf(*integer);
      if (!identifier.empty()) return FormValue::identifier(std::string(identifier));
    }
    return FormValue::integer(*integer);
  }
  if (const auto* real = std::get_if<double>(&value)) return FormValue::real(*real);
  if (const auto* flag = std::get_if<bool>(&value)) return FormValue::boolean(*flag);
  return FormValue::string(std::get<std::string>(value));
}

std::optional<TPropertyValue> PropertyValueOfForm(const TPropertyInfo& property, const FormValue& value) {
  using Kind = FormValue::Kind;
  switch (property.Kind()) {
    case TPropertyKind::Integer:
      if (value.is(Kind::Integer)) return value.asInteger();
      break;
    case TPropertyKind::Float:
      if (value.is(Kind::Float)) return value.asReal();
      if (value.is(Kind::Integer)) return static_cast<double>(value.asInteger());
      break;
    case TPropertyKind::Boolean:
      if (value.is(Kind::Identifier) && FormNamesEqual(value.text(), "True")) return true;
      if (value.is(Kind::Identifier) && FormNamesEqual(value.text(), "False")) return false;
      break;
    case TPropertyKind::String:
      if (value.is(Kind::String)) return value.text();
      break;
    case TPropertyKind::Enum:
      if (value.is(Kind::Integer)) return value.asInteger();
      if (value.is(Kind::Identifier) && property.Enum())
        if (auto ordinal = property.Enum()->OrdinalOf(value.text()))
          return static_cast<std::int64_t>(*ordinal);
      break;
    default:
      break;
  }
  return std::nullopt;
}

std::string ExpectedFormValue(const TPropertyInfo& property) {
  switch (property.Kind()) {
    case TPropertyKind::Integer:
      return "an integer";
    case TPropertyKind::Float:
      return "a number";
    case TPropertyKind::Boolean:
      return "True or False";
    case TPropertyKind::String:
      return "a string";
    case TPropertyKind::Enum: {
      std::string names;
      if (property.Enum())
        for (const std::string& identifier : property.Enum()->Identifiers())
          names += (names.empty() ? "" : ", ") + identifier;
      return "one of " + names;
    }
    default:
      return "no value";
  }
}

}  // namespace fc
