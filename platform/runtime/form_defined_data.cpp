#include "platform/runtime/form_defined_data.h"

#include "platform/runtime/error.h"

namespace fc {

namespace {

// The elements of a list whose elements are all of one kind.
const std::vector<FormValue>& uniformList(const FormValue& value, FormValue::Kind kind, std::string_view what,
                                          const char* expected) {
  bool uniform = value.is(FormValue::Kind::List);
  if (uniform)
    for (const FormValue& element : value.elements()) uniform = uniform && element.is(kind);
  if (!uniform) throw EFCError(std::string(what) + ": expects a list of " + expected);
  return value.elements();
}

}  // namespace

std::vector<std::int64_t> FormIntegerList(const FormValue& value, std::string_view what) {
  std::vector<std::int64_t> integers;
  for (const FormValue& element : uniformList(value, FormValue::Kind::Integer, what, "integers"))
    integers.push_back(element.asInteger());
  return integers;
}

std::vector<std::string> FormStringList(const FormValue& value, std::string_view what) {
  std::vector<std::string> strings;
  for (const FormValue& element : uniformList(value, FormValue::Kind::String, what, "strings"))
    strings.push_back(element.text());
  return strings;
}

FormValue FormListOf(const std::vector<std::int64_t>& integers) {
  std::vector<FormValue> elements;
  for (std::int64_t value : integers) elements.push_back(FormValue::integer(value));
  return FormValue::list(std::move(elements));
}

FormValue FormListOf(const std::vector<std::string>& strings) {
  std::vector<FormValue> elements;
  for (const std::string& text : strings) elements.push_back(FormValue::string(text));
  return FormValue::list(std::move(elements));
}

}  // namespace fc
