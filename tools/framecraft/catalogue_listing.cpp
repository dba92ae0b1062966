#include "tools/framecraft/catalogue_listing.h"

#include <algorithm>
#include <string>
#include <vector>

#include "contracts/pins/pin.h"
#include "contracts/pins/pin_list.h"
#include "platform/runtime/collection.h"
#include "platform/runtime/component.h"
#include "platform/runtime/error.h"

namespace fc::tool {

namespace {

using TRow = std::vector<std::string>;

// Prints rows with each column but the last padded to its widest cell.
void PrintColumns(const std::vector<TRow>& rows, std::ostream& out, std::string_view indent = "") {
  std::vector<std::size_t> widths;
  for (const TRow& row : rows)
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], row[i].size());
    }
  for (const TRow& row : rows) {
    std::string line(indent);
    for (std::size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

std::string EnumValues(const TPropertyInfo& p) {
  if (!p.Enum()) return {};
  std::string text = "values: ";
  for (std::size_t i = 0; i < p.Enum()->Identifiers().size(); ++i)
    text += (i ? ", " : "") + p.Enum()->Identifiers()[i];
  return text;
}

TRow ScalarRow(const std::string& path, const TPropertyInfo& p, const TPersistent* object) {
  std::string value;
  if (p.HasDefault())
    value = "default " + p.DefaultText();
  else if (object)
    value = "starts " + p.GetText(*object);
  if (p.IsReadOnly()) value += value.empty() ? "read-only" : ", read-only";
  return {path, p.TypeName(), value, EnumValues(p)};
}

std::string Direction(const TPMPin& pin) {
  if (pin.CanSend() && pin.CanReceive()) return "source and sink";
  return pin.CanSend() ? "source" : "sink";
}

struct TDescription {
  std::vector<TRow> properties;
  std::vector<TRow> pins;
};

void DescribeObject(TPersistent& object, const std::string& prefix, TDescription& out);

void DescribeCollection(TCollection& collection, const std::string& path, TDescription& out) {
  // A collection class of its own is named too ("TFCColorRanges: collection of TFCColorRange").
  const std::string& own = collection.ClassInfo().Name();
  const std::string kind = own == TCollection::StaticClassInfo().Name() ? "" : own + ": ";
  out.properties.push_back({path, kind + "collection of " + collection.ItemClassInfo().Name(), "", ""});
  for (const TPropertyInfo* p : collection.ItemClassInfo().Properties())
    if (p->IsScalar()) out.properties.push_back(ScalarRow(path + ".N." + p->Name(), *p, nullptr));
}

void DescribeProperty(TPersistent& object, const TPropertyInfo& p, const std::string& path, TDescription& out) {
  switch (p.Kind()) {
    case TPropertyKind::Object:
      if (TPersistent* sub = p.GetObject(object)) DescribeObject(*sub, path + ".", out);
      break;
    case TPropertyKind::Collection:
      if (auto* items = dynamic_cast<TCollection*>(p.GetObject(object))) DescribeCollection(*items, path, out);
      break;
    case TPropertyKind::Pin:
      if (auto* pin = dynamic_cast<TPMPin*>(p.GetObject(object)))
        out.pins.push_back({path, std::string(pin->MediaType()), Direction(*pin)});
      break;
    case TPropertyKind::PinList:
      if (auto* list = dynamic_cast<TPMPinList*>(p.GetObject(object))) {
        out.pins.push_back({path, "pin list", std::to_string(list->GetCount()) + " pins"});
        for (int i = 0; i < list->GetCount(); ++i) {
          TPMPin* pin = list->GetPin(i);
          out.pins.push_back({path + "." + std::to_string(i), std::string(pin->MediaType()),
                              Direction(*pin) + " '" + pin->Name() + "'"});
        }
      }
      break;
    default:
      out.properties.push_back(ScalarRow(path, p, &object));
  }
}

void DescribeObject(TPersistent& object, const std::string& prefix, TDescription& out) {
  for (const TPropertyInfo* p : object.ClassInfo().Properties()) DescribeProperty(object, *p, prefix + p->Name(), out);
}

const TCatalogueItem* FindItem(const std::vector<TCatalogueItem>& items, const TClassInfo* info) {
  for (const TCatalogueItem& item : items)
    if (item.classInfo == info) return &item;
  return nullptr;
}

}  // namespace

void PrintCatalogue(const TFCCatalogue& catalogue, std::ostream& out) {
  std::vector<TRow> rows{{"CLASS", "UNIT", "BASE", "ROLE"}};
  for (const TCatalogueItem& item : catalogue.Components())
    rows.push_back({std::string(item.entry->className), std::string(item.entry->unit),
                    std::string(item.entry->base), std::string(item.entry->role)});
  PrintColumns(rows, out);
}

void DescribeClass(const TFCCatalogue& catalogue, std::string_view className, std::ostream& out) {
  const TClassInfo* info = catalogue.FindClass(className);
  if (!info) throw EFCError("unknown class '" + std::string(className) + "'");
  std::vector<TCatalogueItem> items = catalogue.Components();
  const TCatalogueItem* item = FindItem(items, info);
  out << info->Name() << " (unit " << item->entry->unit << ", base " << item->entry->base << ", page '"
      << item->page << "'): " << item->entry->role << '\n';

  std::unique_ptr<TComponent> sample = info->Create(nullptr);
  TDescription description;
  DescribeObject(*sample, "", description);
  out << "properties:\n";
  PrintColumns(description.properties, out, "  ");
  out << "pins:\n";
  PrintColumns(description.pins, out, "  ");
}

}  // namespace fc::tool
