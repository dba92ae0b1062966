#include "platform/runtime/form_loader.h"

#include <charconv>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "contracts/pins/pin.h"
#include "contracts/pins/pin_list.h"
#include "platform/runtime/collection.h"
#include "platform/runtime/error.h"
#include "platform/runtime/form_defined_data.h"
#include "platform/runtime/form_error.h"
#include "platform/runtime/form_property_values.h"
#include "platform/runtime/form_reader.h"

namespace fc {

namespace {

constexpr std::string_view kSinkPins = "SinkPins";

// A form value for messages: an identifier by its text, others by kind.
std::string describeValue(const FormValue& value) {
  switch (value.kind()) {
    case FormValue::Kind::Identifier:
      return "'" + value.text() + "'";
    case FormValue::Kind::Integer:
      return "an integer";
    case FormValue::Kind::Binary:
      return "binary data";
    default:
      return std::string("a ") + formKindName(value.kind());
  }
}

// Finds the stored item of a given name among an object's defined data and
// hands it the value.
class ReadingFiler : public TFormFiler {
 public:
  ReadingFiler(std::string_view name, const FormValue& value) : name_(name), value_(value) {}

  void DefineProperty(std::string_view name, const Reader& read, const Writer&, bool) override {
    if (matched_ || !read || !FormNamesEqual(name, name_)) return;
    matched_ = true;
    read(value_);
  }
  bool matched() const { return matched_; }

 private:
  std::string_view name_;
  const FormValue& value_;
  bool matched_ = false;
};

class FormLoader {
 public:
  FormLoader(const FormDocument& document, const TFormClassLookup& classes)
      : document_(document), classes_(classes) {}

  std::unique_ptr<TComponent> load() {
    std::unique_ptr<TComponent> root = create(document_.root, nullptr);
    root_ = root.get();
    fill(document_.root, *root);
    connectPins();
    return root;
  }

 private:
  // A source pin's connections, made once every component exists.
  struct PendingConnections {
    TPMPin* source;
    TComponent* scope;  // where the references' component names are looked up
    std::string pinPath;
    const FormProperty* property;
  };

  [[noreturn]] void fail(int line, const std::string& message) const {
    throw EFormError(document_.fileName, line, message);
  }

  // Runs a registry call, giving an EFCError it throws the file and line.
  template <typename Call>
  decltype(auto) guarded(int line, Call call) const {
    try {
      return call();
    } catch (const EFormError&) {
      throw;
    } catch (const EFCError& error) {
      fail(line, error.what());
    }
  }

  std::unique_ptr<TComponent> create(const FormObject& object, TComponent* owner) {
    const TClassInfo* info = classes_ ? classes_(object.className) : nullptr;
    if (!info) fail(object.line, "unknown class '" + object.className + "' of object '" + object.name + "'");
    if (!info->CanCreate()) fail(object.line, "class '" + object.className + "' cannot be created");
    std::unique_ptr<TComponent> component = guarded(object.line, [&] { return info->Create(owner); });
    guarded(object.line, [&] { component->SetName(object.name); });
    return component;
  }

  // Sets the properties, then builds the children, which the component owns.
  void fill(const FormObject& object, TComponent& component) {
    TComponent* scope = component.Owner() ? component.Owner() : &component;
    for (const FormProperty& property : object.properties.all()) apply(component, property, *scope);
    for (const FormObject& childObject : object.children) {
      TComponent* child = create(childObject, &component).release();
      fill(childObject, *child);
    }
  }

  void apply(TPersistent& object, const FormProperty& property, TComponent& scope) {
    TPersistent* target = &object;
    std::string_view path = property.name;
    for (std::size_t dot; (dot = path.find('.')) != std::string_view::npos;) {
      std::string_view head = path.substr(0, dot);
      std::string_view rest = path.substr(dot + 1);
      TPersistent* next = stepInto(*target, head, property.line);
      if (!next) {
        const TPropertyInfo* scalar = target->ClassInfo().FindProperty(head);
        if (!scalar) unknownProperty(*target, head, property.line);
        fail(property.line,
             target->NamePath() + "." + scalar->Name() + ": has no property '" + std::string(rest) + "'");
      }
      if (auto* pin = dynamic_cast<TPMPin*>(next); pin && rest == kSinkPins) {
        pending_.push_back(
            PendingConnections{pin, &scope, target->NamePath() + "." + std::string(head), &property});
        return;
      }
      target = next;
      path = rest;
    }
    if (const TPropertyInfo* info = target->ClassInfo().FindProperty(path)) {
      assign(*target, *info, property, scope);
    } else if (!readDefinedData(*target, path, property)) {
      unknownProperty(*target, path, property.line);
    }
  }

  // The object a segment of a dotted name leads to: a sub-object, a pin, or
  // by its index the pin of a pin list or the item of a collection; null
  // when the segment names none.
  TPersistent* stepInto(TPersistent& target, std::string_view segment, int line) const {
    if (auto* list = dynamic_cast<TPMPinList*>(&target)) {
      std::optional<int> index = parseIndex(segment, list->GetCount());
      return index ? list->GetPin(*index) : nullptr;
    }
    if (auto* collection = dynamic_cast<TCollection*>(&target)) {
      std::optional<int> index = parseIndex(segment, collection->Count());
      return index ? &collection->Items(*index) : nullptr;
    }
    const TPropertyInfo* info = target.ClassInfo().FindProperty(segment);
    if (!info || info->IsScalar()) return nullptr;
    return subObject(target, *info, line);
  }

  static std::optional<int> parseIndex(std::string_view segment, int count) {
    int index = 0;
    auto result = std::from_chars(segment.data(), segment.data() + segment.size(), index);
    bool valid = result.ec == std::errc() && result.ptr == segment.data() + segment.size();
    if (!valid || index < 0 || index >= count) return std::nullopt;
    return index;
  }

  [[noreturn]] void unknownProperty(TPersistent& target, std::string_view name, int line) const {
    if (dynamic_cast<TPMPinList*>(&target) || dynamic_cast<TCollection*>(&target))
      fail(line, "no index " + std::string(name) + " in " + target.NamePath() +
                     " (pins of a list and items of a collection are named by index)");
    fail(line, "unknown property '" + std::string(name) + "' of " + target.NamePath() + " (" +
                   target.ClassInfo().Name() + ")");
  }

  TPersistent* subObject(TPersistent& target, const TPropertyInfo& info, int line) const {
    TPersistent* sub = guarded(line, [&] { return info.GetObject(target); });
    if (!sub) fail(line, target.NamePath() + "." + info.Name() + ": is not set");
    return sub;
  }

  void assign(TPersistent& target, const TPropertyInfo& info, const FormProperty& property,
              TComponent& scope) {
    std::string where = target.NamePath() + "." + info.Name();
    if (info.IsScalar()) {
      std::optional<TPropertyValue> value = PropertyValueOfForm(info, property.value);
      if (!value)
        fail(property.line,
             where + ": expects " + ExpectedFormValue(info) + ", not " + describeValue(property.value));
      guarded(property.line, [&] { info.SetValue(target, *value); });
    } else if (info.Kind() == TPropertyKind::Collection) {
      if (!property.value.is(FormValue::Kind::Collection))
        fail(property.line,
             where + ": expects a collection < item ... end >, not " + describeValue(property.value));
      auto* collection = dynamic_cast<TCollection*>(subObject(target, info, property.line));
      if (!collection) fail(property.line, where + ": is not a collection");
      fillCollection(*collection, property, scope);
    } else if (info.Kind() == TPropertyKind::Pin) {
      fail(property.line, where + ": is a pin; its connections are stored as " + info.Name() + ".SinkPins");
    } else {
      fail(property.line, where + ": is an object; set its properties as " + info.Name() + ".<property>");
    }
  }

  void fillCollection(TCollection& collection, const FormProperty& property, TComponent& scope) {
    guarded(property.line, [&] { collection.Clear(); });
    for (const FormItem& item : property.value.items()) {
      TCollectionItem& added = guarded(item.line, [&]() -> TCollectionItem& { return collection.Add(); });
      for (const FormProperty& itemProperty : item.properties.all()) apply(added, itemProperty, scope);
    }
  }

  bool readDefinedData(TPersistent& target, std::string_view name, const FormProperty& property) {
    auto* defined = dynamic_cast<TFormDefinedData*>(&target);
    if (!defined) return false;
    ReadingFiler filer(name, property.value);
    guarded(property.line, [&] { defined->DefineProperties(filer); });
    return filer.matched();
  }

  void connectPins() {
    for (const PendingConnections& pending : pending_) {
      const FormProperty& property = *pending.property;
      bool references = property.value.is(FormValue::Kind::List);
      for (const FormValue& element : property.value.elements())
        references = references && element.is(FormValue::Kind::Identifier);
      if (!references)
        fail(property.line, pending.pinPath +
                                ".SinkPins: expects a list of pins such as (Resize1.InputPin), not " +
                                describeValue(property.value));
      for (const FormValue& reference : property.value.elements()) {
        TPMPin& sink = resolvePin(reference.text(), *pending.scope, property.line);
        guarded(property.line, [&] { pending.source->Connect(sink); });
      }
    }
  }

  // "<component>.<pin path>" seen from `scope`.
  TPMPin& resolvePin(const std::string& reference, TComponent& scope, int line) const {
    std::size_t dot = reference.find('.');
    std::string dangling = "dangling connection '" + reference + "': ";
    if (dot == std::string::npos) fail(line, dangling + "expects <component>.<pin>");
    std::string_view componentName = std::string_view(reference).substr(0, dot);
    TComponent* component = findComponent(scope, componentName);
    if (!component) fail(line, dangling + "no component '" + std::string(componentName) + "'");
    TPersistent* target = component;
    std::string_view pinPath = std::string_view(reference).substr(dot + 1);
    for (std::string_view path = pinPath; target;) {
      std::size_t next = path.find('.');
      target = stepInto(*target, path.substr(0, next), line);
      if (next == std::string_view::npos) break;
      path.remove_prefix(next + 1);
    }
    auto* pin = dynamic_cast<TPMPin*>(target);
    if (!pin)
      fail(line, dangling + component->NamePath() + " (" + component->ClassInfo().Name() + ") has no pin '" +
                     std::string(pinPath) + "'");
    return *pin;
  }

  TComponent* findComponent(TComponent& scope, std::string_view name) const {
    for (TComponent* place : {&scope, root_}) {
      if (FormNamesEqual(place->Name(), name)) return place;
      if (TComponent* found = place->FindComponent(name)) return found;
    }
    return nullptr;
  }

  const FormDocument& document_;
  const TFormClassLookup& classes_;
  TComponent* root_ = nullptr;
  std::vector<PendingConnections> pending_;
};

}  // namespace

std::unique_ptr<TComponent> LoadForm(const FormDocument& document, const TFormClassLookup& classes) {
  return FormLoader(document, classes).load();
}

std::unique_ptr<TComponent> LoadFormFile(const std::filesystem::path& path, const TFormClassLookup& classes) {
  return LoadForm(readFormFile(path), classes);
}

}  // namespace fc
