#include "property_values.h"

#include <pybind11/stl.h>

#include <memory>
#include <string>

#include "contracts/pins/pin.h"
#include "contracts/pins/pin_list.h"
#include "package/catalogue.h"
#include "platform/runtime/collection.h"
#include "platform/runtime/component.h"
#include "platform/runtime/error.h"

namespace fcpy {

namespace {

py::object ScalarToPython(const fc::TPropertyInfo& property, const fc::TPropertyValue& value) {
  if (property.Kind() == fc::TPropertyKind::Enum) return py::str(property.FormatValue(value));
  return std::visit([](const auto& v) -> py::object { return py::cast(v); }, value);
}

py::dict ScalarsOf(fc::TPersistent& object) {
  py::dict values;
  for (const fc::TPropertyInfo* p : object.ClassInfo().Properties()) {
    if (p->IsScalar()) {
      values[p->Name().c_str()] = ScalarToPython(*p, p->GetValue(object));
    } else if (p->Kind() == fc::TPropertyKind::Object) {
      if (fc::TPersistent* sub = p->GetObject(object)) values[p->Name().c_str()] = ScalarsOf(*sub);
    }
  }
  return values;
}

fc::TPropertyValue ScalarFromPython(const fc::TPropertyInfo& property, py::handle value) {
  using Kind = fc::TPropertyKind;
  const bool isBool = py::isinstance<py::bool_>(value);
  switch (property.Kind()) {
    case Kind::Boolean:
      if (isBool) return value.cast<bool>();
      break;
    case Kind::Integer:
    case Kind::Enum:
      if (py::isinstance<py::int_>(value) && !isBool) return value.cast<std::int64_t>();
      break;
    case Kind::Float:
      if ((py::isinstance<py::float_>(value) || py::isinstance<py::int_>(value)) && !isBool)
        return value.cast<double>();
      break;
    case Kind::String:
      if (py::isinstance<py::str>(value)) return value.cast<std::string>();
      break;
    default: break;
  }
  throw py::type_error(property.Name() + " (" + property.TypeName() + ") cannot take " +
                       std::string(py::repr(value)));
}

void SetScalar(fc::TPersistent& object, const fc::TPropertyInfo& property, py::handle value) {
  // Text goes through the registry's own parsing: enumeration identifiers,
  // numbers written as the form files write them.
  if (py::isinstance<py::str>(value) && property.Kind() != fc::TPropertyKind::String)
    property.SetText(object, value.cast<std::string>());
  else
    property.SetValue(object, ScalarFromPython(property, value));
}

void SetObject(fc::TPersistent& object, py::handle value) {
  if (py::isinstance<py::dict>(value)) {
    for (auto [name, item] : py::reinterpret_borrow<py::dict>(value))
      PropertyFromPython(fc::ResolveProperty(object, name.cast<std::string>()), item);
    return;
  }
  if (!py::isinstance<py::tuple>(value) && !py::isinstance<py::list>(value))
    throw py::type_error(object.NamePath() + " takes a tuple or a dict of its properties, not " +
                         std::string(py::repr(value)));
  std::vector<const fc::TPropertyInfo*> scalars;
  for (const fc::TPropertyInfo* p : object.ClassInfo().Properties())
    if (p->IsScalar() && !p->IsReadOnly()) scalars.push_back(p);
  py::sequence items = py::reinterpret_borrow<py::sequence>(value);
  if (py::len(items) > scalars.size())
    throw fc::EFCError(object.NamePath() + ": has " + std::to_string(scalars.size()) + " settable properties, not " +
                       std::to_string(py::len(items)));
  for (std::size_t i = 0; i < py::len(items); ++i) SetScalar(object, *scalars[i], items[i]);
}

const char* KindName(fc::TPropertyKind kind) {
  switch (kind) {
    case fc::TPropertyKind::Integer: return "integer";
    case fc::TPropertyKind::Float: return "float";
    case fc::TPropertyKind::Boolean: return "boolean";
    case fc::TPropertyKind::String: return "string";
    case fc::TPropertyKind::Enum: return "enum";
    case fc::TPropertyKind::Object: return "object";
    case fc::TPropertyKind::Collection: return "collection";
    case fc::TPropertyKind::Pin: return "pin";
    case fc::TPropertyKind::PinList: return "pin list";
  }
  return "";
}

py::dict ScalarDescription(const fc::TPropertyInfo& p, fc::TPersistent* object) {
  py::dict entry;
  entry["type"] = p.TypeName();
  entry["kind"] = KindName(p.Kind());
  if (p.HasDefault()) entry["default"] = ScalarToPython(p, p.Default());
  else if (object) entry["initial"] = ScalarToPython(p, p.GetValue(*object));
  entry["read_only"] = p.IsReadOnly();
  if (p.Enum()) entry["values"] = py::cast(p.Enum()->Identifiers());
  return entry;
}

std::string Direction(const fc::TPMPin& pin) {
  if (pin.CanSend() && pin.CanReceive()) return "source and sink";
  return pin.CanSend() ? "source" : "sink";
}

void Describe(fc::TPersistent& object, const std::string& prefix, py::dict& properties, py::dict& pins) {
  for (const fc::TPropertyInfo* p : object.ClassInfo().Properties()) {
    const std::string path = prefix + p->Name();
    if (p->IsScalar()) {
      properties[path.c_str()] = ScalarDescription(*p, &object);
      continue;
    }
    fc::TPersistent* sub = p->GetObject(object);
    if (p->Kind() == fc::TPropertyKind::Object && sub) {
      Describe(*sub, path + ".", properties, pins);
    } else if (p->Kind() == fc::TPropertyKind::Collection) {
      auto* collection = dynamic_cast<fc::TCollection*>(sub);
      py::dict entry;
      entry["type"] = p->TypeName();
      entry["kind"] = "collection";
      if (collection) {
        py::dict items;
        for (const fc::TPropertyInfo* item : collection->ItemClassInfo().Properties())
          if (item->IsScalar()) items[item->Name().c_str()] = ScalarDescription(*item, nullptr);
        entry["items"] = items;
      }
      properties[path.c_str()] = entry;
    } else if (auto* pin = dynamic_cast<fc::TPMPin*>(sub)) {
      pins[path.c_str()] = Direction(*pin);
    } else if (auto* list = dynamic_cast<fc::TPMPinList*>(sub)) {
      for (int i = 0; i < list->GetCount(); ++i)
        pins[(path + "." + std::to_string(i)).c_str()] = Direction(*list->GetPin(i));
    }
  }
}

}  // namespace

py::object PropertyToPython(const fc::TPropertyTarget& target) {
  const fc::TPropertyInfo& p = *target.property;
  if (p.IsScalar()) return ScalarToPython(p, p.GetValue(*target.object));
  fc::TPersistent* sub = p.GetObject(*target.object);
  if (p.Kind() == fc::TPropertyKind::Object && sub) return ScalarsOf(*sub);
  if (auto* collection = dynamic_cast<fc::TCollection*>(sub)) {
    py::list items;
    for (int i = 0; i < collection->Count(); ++i) items.append(ScalarsOf(collection->Items(i)));
    return items;
  }
  throw fc::EFCError::ForProperty(target.object->NamePath(), p.Name(),
                                  "is a pin; connect it with Pipeline.connect or read it with Pipeline.frames");
}

void PropertyFromPython(const fc::TPropertyTarget& target, py::handle value) {
  const fc::TPropertyInfo& p = *target.property;
  if (p.IsScalar()) return SetScalar(*target.object, p, value);
  fc::TPersistent* sub = p.GetObject(*target.object);
  if (p.Kind() == fc::TPropertyKind::Object && sub) return SetObject(*sub, value);
  throw fc::EFCError::ForProperty(target.object->NamePath(), p.Name(), "cannot be set from Python");
}

py::dict DescribeClass(const std::string& className) {
  const fc::TClassInfo* info = fc::PackageCatalogue().FindClass(className);
  if (!info) throw fc::EFCError("unknown class '" + className + "'");
  std::unique_ptr<fc::TComponent> sample = info->Create(nullptr);
  py::dict description, properties, pins;
  Describe(*sample, "", properties, pins);
  description["class"] = info->Name();
  description["parent"] = info->Parent() ? py::object(py::str(info->Parent()->Name())) : py::object(py::none());
  description["properties"] = properties;
  description["pins"] = pins;
  return description;
}

}  // namespace fcpy
