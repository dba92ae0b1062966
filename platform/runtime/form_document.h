/*
 * form_document.h - the in-memory model of a form file.
 *
 * A form document is a tree of objects. Each object has a name, a class name,
 * an ordered list of properties and its child objects (a pipeline owns its
 * components). A property is a (possibly dotted) name and a typed value. The
 * reader fills the model from text, the writer turns it back into text; the
 * layers above map it onto live components. Every object, property and
 * collection item keeps the line it was read from, so errors found later
 * (unknown class, wrong value type ...) can still name the line; objects
 * built in memory have line 0.
 */
#ifndef FRAMECRAFT_FORM_DOCUMENT_H
#define FRAMECRAFT_FORM_DOCUMENT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/components_api.h"

namespace fc {

class FormValue;
struct FormItem;
struct FormProperty;

// A typed property value. Booleans and enumeration values are identifiers
// (True, False, bfmMedian); a reference to a pin is a dotted identifier.
class FC_COMPONENTS_API FormValue {
public:
  enum class Kind { Integer, Float, String, Identifier, Set, List, Binary, Collection };

  FormValue();  // the integer 0
  FormValue(const FormValue&);
  FormValue(FormValue&&) noexcept;
  FormValue& operator=(const FormValue&);
  FormValue& operator=(FormValue&&) noexcept;
  ~FormValue();

  static FormValue integer(std::int64_t value);
  static FormValue real(double value);
  static FormValue string(std::string text);
  static FormValue identifier(std::string name);
  static FormValue boolean(bool value);  // the identifier True or False
  static FormValue set(std::vector<std::string> names);
  static FormValue list(std::vector<FormValue> elements);
  static FormValue binary(std::vector<std::uint8_t> bytes);
  static FormValue collection(std::vector<FormItem> items);

  Kind kind() const { return kind_; }
  bool is(Kind kind) const { return kind_ == kind; }

  // Accessors of each kind; each is meaningful only for its own kind.
  std::int64_t asInteger() const { return integer_; }
  double asReal() const { return real_; }
  const std::string& text() const { return text_; }  // String and Identifier
  const std::vector<std::string>& names() const { return names_; }
  const std::vector<FormValue>& elements() const { return elements_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  const std::vector<FormItem>& items() const { return items_; }

  // Floats compare by bit pattern, so -0.0 differs from 0.0 and a NaN equals
  // itself: equality means "writes the same text".
  friend FC_COMPONENTS_API bool operator==(const FormValue&, const FormValue&);

private:
  Kind kind_ = Kind::Integer;
  std::int64_t integer_ = 0;
  double real_ = 0.0;
  std::string text_;
  std::vector<std::string> names_;
  std::vector<FormValue> elements_;
  std::vector<std::uint8_t> bytes_;
  std::vector<FormItem> items_;
};

// Name of a value kind for messages ("integer", "string" ...).
FC_COMPONENTS_API const char* formKindName(FormValue::Kind kind);

// One stored property: Name = value. Names of sub-object properties are
// dotted ("Region.Width"); pin connections are stored on the source pin as
// "<pin>.SinkPins" with a list of "<component>.<pin>" references.
struct FC_COMPONENTS_API FormProperty {
  std::string name;
  FormValue value;
  int line = 0;

  friend bool operator==(const FormProperty& a, const FormProperty& b) {
    return a.name == b.name && a.value == b.value;
  }
};

// The ordered properties of an object or of a collection item.
class FC_COMPONENTS_API FormPropertyList {
public:
  // Appends a property, or replaces the value of the one with that name.
  FormProperty& set(std::string name, FormValue value, int line = 0);
  // The property of that name, or null.
  const FormProperty* find(std::string_view name) const;
  FormProperty* find(std::string_view name);

  const std::vector<FormProperty>& all() const { return properties_; }
  std::vector<FormProperty>& all() { return properties_; }
  bool empty() const { return properties_.empty(); }
  std::size_t size() const { return properties_.size(); }

  friend bool operator==(const FormPropertyList& a, const FormPropertyList& b) {
    return a.properties_ == b.properties_;
  }

 private:
  std::vector<FormProperty> properties_;
};

// One item of a collection value: its properties.
struct FC_COMPONENTS_API FormItem {
  FormPropertyList properties;
  int line = 0;

  friend bool operator==(const FormItem& a, const FormItem& b) { return a.properties == b.properties; }
};

// object Name: TClass ... end
struct FC_COMPONENTS_API FormObject {
  std::string name;
  std::string className;
  FormPropertyList properties;
  std::vector<FormObject> children;
  int line = 0;

  // The direct child of that name, or null.
  const FormObject* findChild(std::string_view childName) const;

  // Equal names, classes, properties and children; lines are not compared.
  friend FC_COMPONENTS_API bool operator==(const FormObject&, const FormObject&);
};

// A whole file: its name (used in every error message) and its root object.
struct FC_COMPONENTS_API FormDocument {
  std::string fileName;
  FormObject root;
};

}  // namespace fc

#endif
