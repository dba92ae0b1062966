/*
 * form_property_values.h - conversion between the registry's scalar values
 * and form values, shared by the form loader and saver.
 */
#ifndef FRAMECRAFT_FORM_PROPERTY_VALUES_H
#define FRAMECRAFT_FORM_PROPERTY_VALUES_H

#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/form_document.h"
#include "platform/runtime/properties.h"

namespace fc {

/// Names of properties and components compare without regard to letter
/// case, as the registry compares them.
bool FormNamesEqual(std::string_view a, std::string_view b);

/// The form value of a scalar property's value: integers, floats, True or
/// False, strings, enumeration identifiers (an ordinal without identifier as
/// an integer).
FormValue FormValueOfProperty(const TPropertyInfo& property, const TPropertyValue& value);

/// The registry value of a form value for a scalar property; none when the
/// form value is of a kind the property does not take. Integers are taken by
/// float properties, and by enumerations as ordinals; True and False in any
/// letter case.
std::optional<TPropertyValue> PropertyValueOfForm(const TPropertyInfo& property, const FormValue& value);

/// What a scalar property takes, for messages: "an integer", "True or False",
/// "an identifier of TFCBoxFilterMode" ...
std::string ExpectedFormValue(const TPropertyInfo& property);

}  // namespace fc

#endif
