#include "platform/runtime/component.h"

#include <algorithm>

#include "platform/runtime/error.h"

namespace fc {

namespace {

bool IsIdentifier(std::string_view name) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (name.empty() || !letter(name[0])) return false;
  return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c); });
}

}  // namespace

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TComponent>("TComponent", &TPersistent::StaticClassInfo()).Build();
  return info;
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  while (!components_.empty()) delete components_.back();  // each removes itself
  if (owner_) std::erase(owner_->components_, this);
}

void TComponent::SetName(std::string name) {
  if (name == name_) return;
  if (!name.empty() && !IsIdentifier(name))
    throw EFCError("'" + name + "' is not a valid component name");
  if (owner_ && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this)
      throw EFCError("A component named " + name + " already exists");
  }
  name_ = std::move(name);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (TComponent* c : components_)
    if (!c->name_.empty() && SameIdentifier(c->name_, name)) return c;
  return nullptr;
}

std::string TComponent::NamePath() const {
  return name_.empty() ? "<unnamed " + ClassInfo().Name() + ">" : name_;
}

}  // namespace fc
