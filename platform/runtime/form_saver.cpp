#include "platform/runtime/form_saver.h"

#include <utility>

#include "contracts/pins/pin.h"
#include "contracts/pins/pin_list.h"
#include "platform/runtime/collection.h"
#include "platform/runtime/form_defined_data.h"
#include "platform/runtime/form_error.h"
#include "platform/runtime/form_property_values.h"
#include "platform/runtime/form_writer.h"

namespace fc {

namespace {

// Stores each defined item that has data, under the object's prefix.
class WritingFiler : public TFormFiler {
 public:
  WritingFiler(FormPropertyList& out, std::string prefix) : out_(out), prefix_(std::move(prefix)) {}

  void DefineProperty(std::string_view name, const Reader&, const Writer& write, bool hasData) override {
    if (hasData && write) out_.set(prefix_ + std::string(name), write());
  }

 private:
  FormPropertyList& out_;
  std::string prefix_;
};

class FormSaver {
 public:
  FormSaver(TComponent& root, std::string fileName) : root_(root), fileName_(std::move(fileName)) {}

  FormDocument save() {
    FormDocument document;
    document.fileName = fileName_;
    document.root = saveComponent(root_);
    return document;
  }

 private:
  [[noreturn]] void fail(const std::string& message) const { throw EFormError(fileName_, 0, message); }

  FormObject saveComponent(TComponent& component) {
    FormObject object;
    object.name = component.Name();
    object.className = component.ClassInfo().Name();
    saveProperties(component, "", object.properties);
    for (int i = 0; i < component.ComponentCount(); ++i)
      object.children.push_back(saveComponent(*component.Components(i)));
    return object;
  }

  void saveProperties(TPersistent& object, const std::string& prefix, FormPropertyList& out) {
    for (const TPropertyInfo* property : object.ClassInfo().Properties()) {
      std::string name = prefix + property->Name();
      switch (property->Kind()) {
        case TPropertyKind::Object:
          if (TPersistent* sub = property->GetObject(object)) saveProperties(*sub, name + ".", out);
          break;
        case TPropertyKind::PinList:
          if (auto* list = dynamic_cast<TPMPinList*>(property->GetObject(object)))
            for (int i = 0; i < list->GetCount(); ++i)
              saveConnections(list->GetPin(i), name + "." + std::to_string(i), out);
          break;
        case TPropertyKind::Collection:
          if (auto* collection = dynamic_cast<TCollection*>(property->GetObject(object));
              collection && collection->Count())
            out.set(name, saveCollection(*collection));
          break;
        case TPropertyKind::Pin:
          saveConnections(dynamic_cast<TPMPin*>(property->GetObject(object)), name, out);
          break;
        default:
          if (!property->IsReadOnly() && !property->IsDefault(object))
            out.set(name, FormValueOfProperty(*property, property->GetValue(object)));
          break;
      }
    }
    if (auto* defined = dynamic_cast<TFormDefinedData*>(&object)) {
      WritingFiler filer(out, prefix);
      defined->DefineProperties(filer);
    }
  }

  FormValue saveCollection(TCollection& collection) {
    std::vector<FormItem> items(static_cast<std::size_t>(collection.Count()));
    for (int i = 0; i < collection.Count(); ++i)
      saveProperties(collection.Items(i), "", items[static_cast<std::size_t>(i)].properties);
    return FormValue::collection(std::move(items));
  }

  void saveConnections(TPMPin* pin, const std::string& name, FormPropertyList& out) {
    if (!pin || !pin->CanSend()) return;
    std::vector<FormValue> references;
    for (TPMPin* sink : pin->ConnectedSinks())
      references.push_back(FormValue::identifier(referenceOf(*pin, *sink)));
    if (!references.empty()) out.set(name + ".SinkPins", FormValue::list(std::move(references)));
  }

  // "<component>.<pin path>" of a sink pin inside the saved components.
  std::string referenceOf(TPMPin& source, TPMPin& sink) const {
    std::string cannot =
        "cannot store the connection from " + source.NamePath() + " to " + sink.NamePath() + ": ";
    TComponent* owner = sink.Owner();
    if (!owner || !insideForm(*owner)) fail(cannot + "the pin is not on a component of the form");
    if (owner->Name().empty()) fail(cannot + "its component has no name");
    std::string path = pinPath(*owner, sink, "");
    if (path.empty()) fail(cannot + "the pin is not published by its component");
    return owner->Name() + "." + path;
  }

  bool insideForm(const TComponent& component) const {
    for (const TComponent* c = &component; c; c = c->Owner())
      if (c == &root_) return true;
    return false;
  }

  // The dotted property path under which `object` publishes `pin`, a pin of
  // a pin list or an item of a collection by its index; empty when there is
  // none.
  static std::string pinPath(TPersistent& object, const TPMPin& pin, const std::string& prefix) {
    for (const TPropertyInfo* property : object.ClassInfo().Properties()) {
      if (property->IsScalar()) continue;
      TPersistent* sub = property->GetObject(object);
      if (!sub) continue;
      std::string path = prefix + property->Name();
      std::string found = sub == &pin ? path : pinPathWithin(*sub, pin, path);
      if (!found.empty()) return found;
    }
    return {};
  }

  static std::string pinPathWithin(TPersistent& sub, const TPMPin& pin, const std::string& path) {
    if (auto* list = dynamic_cast<TPMPinList*>(&sub)) {
      int index = list->IndexOf(&pin);
      return index >= 0 ? path + "." + std::to_string(index) : std::string();
    }
    if (auto* collection = dynamic_cast<TCollection*>(&sub)) {
      for (int i = 0; i < collection->Count(); ++i) {
        std::string found = pinPath(collection->Items(i), pin, path + "." + std::to_string(i) + ".");
        if (!found.empty()) return found;
      }
      return {};
    }
    return dynamic_cast<TPMPin*>(&sub) ? std::string() : pinPath(sub, pin, path + ".");
  }

  TComponent& root_;
  std::string fileName_;
};

}  // namespace

FormDocument SaveForm(TComponent& root, std::string fileName) {
  return FormSaver(root, std::move(fileName)).save();
}

void SaveFormFile(TComponent& root, const std::filesystem::path& path) {
  writeFormFile(SaveForm(root, path.string()), path);
}

}  // namespace fc
