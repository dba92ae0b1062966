#include "contracts/pins/pin_graph.h"

#include <algorithm>
#include <set>

#include "contracts/pins/pin_list.h"

namespace fc {

namespace {

bool CarriesStreamOut(const TPMPin& pin) { return pin.CanSend() && !pin.CanReceive(); }

void AddPinsOf(TPersistent* object, const TPropertyInfo& property, std::vector<TPMPin*>& pins) {
  TPersistent* held = property.GetObject(*object);
  if (property.Kind() == TPropertyKind::Pin) {
    auto* pin = dynamic_cast<TPMPin*>(held);
    if (pin && CarriesStreamOut(*pin)) pins.push_back(pin);
  } else if (auto* list = dynamic_cast<TPMPinList*>(held)) {
    for (int i = 0; i < list->GetCount(); ++i)
      if (TPMPin* pin = list->GetPin(i); pin && CarriesStreamOut(*pin)) pins.push_back(pin);
  }
}

}  // namespace

std::vector<TPMPin*> StreamSourcePinsOf(TComponent& component) {
  std::vector<TPMPin*> pins;
  for (const TPropertyInfo* property : component.ClassInfo().Properties())
    if (property->Kind() == TPropertyKind::Pin || property->Kind() == TPropertyKind::PinList)
      AddPinsOf(&component, *property, pins);
  return pins;
}

namespace {

// Depth-first search; a component met again while it is still on the path
// closes a loop.
class TLoopSearch {
public:
  std::vector<TComponent*> From(TComponent& component) {
    if (done_.contains(&component)) return {};
    if (const auto at = std::find(path_.begin(), path_.end(), &component); at != path_.end()) {
      std::vector<TComponent*> loop(at, path_.end());
      loop.push_back(&component);
      return loop;
    }
    path_.push_back(&component);
    for (TPMPin* pin : StreamSourcePinsOf(component))
      for (TPMPin* sink : pin->ConnectedSinks())
        if (TComponent* next = sink->Owner(); next && !sink->CanSend())
          if (auto loop = From(*next); !loop.empty()) return loop;
    path_.pop_back();
    done_.insert(&component);
    return {};
  }

private:
  std::vector<TComponent*> path_;
  std::set<TComponent*> done_;
};

std::vector<TComponent*> SearchTree(TComponent& component, TLoopSearch& search) {
  if (auto loop = search.From(component); !loop.empty()) return loop;
  for (int i = 0; i < component.ComponentCount(); ++i)
    if (auto loop = SearchTree(*component.Components(i), search); !loop.empty()) return loop;
  return {};
}

}  // namespace

std::vector<TComponent*> FindLoop(TComponent& root) {
  TLoopSearch search;
  return SearchTree(root, search);
}

std::string LoopText(const std::vector<TComponent*>& loop) {
  std::string text;
  for (const TComponent* c : loop) text += (text.empty() ? "" : " > ") + c->NamePath();
  return text;
}

}  // namespace fc
