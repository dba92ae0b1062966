#include "platform/runtime/persistent.h"

#include "platform/runtime/error.h"

namespace fc {

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent", nullptr).Build();
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  if (&source == this) return;
  const TClassInfo& mine = ClassInfo();
  if (!source.ClassInfo().InheritsFrom(mine))
    throw EFCError("Cannot assign a " + source.ClassInfo().Name() + " to a " + mine.Name() + " (" +
                   NamePath() + ")");
  for (const TPropertyInfo* p : mine.Properties()) {
    if (p->IsScalar()) {
      if (!p->IsReadOnly()) p->SetValue(*this, p->GetValue(source));
    } else if (p->Kind() == TPropertyKind::Object || p->Kind() == TPropertyKind::Collection) {
      TPersistent* target = p->GetObject(*this);
      const TPersistent* from = p->GetObject(source);
      if (target && from) target->Assign(*from);
    }
  }
}

std::string TPersistent::NamePath() const { return ClassInfo().Name(); }

std::string TOwnedPersistent::NamePath() const {
  return owner_ ? owner_->NamePath() + "." + propertyName_ : propertyName_;
}

}  // namespace fc
