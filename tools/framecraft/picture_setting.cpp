#include "tools/framecraft/picture_setting.h"

#include <string>

#include "platform/runtime/error.h"
#include "platform/runtime/picture.h"

namespace fc::tool {

void LoadPictureFromFile(TComponent& component, std::string_view path, std::string_view value) {
  TPropertyTarget target = ResolveProperty(component, path);
  auto* picture = target.property->Kind() == TPropertyKind::Object
                      ? dynamic_cast<TPicture*>(target.property->GetObject(*target.object))
                      : nullptr;
  if (!picture)
    throw EFCError::ForProperty(target.object->NamePath(), target.property->Name(),
                                "is not a picture, so it cannot be loaded from a file");
  const std::string file(value.substr(1));
  if (file.empty()) throw EFCError(picture->NamePath() + ": no file named after '@'");
  try {
    picture->LoadFromFile(file);  // the change notification updates the component under its lock
  } catch (const EFCError& error) {
    throw EFCError(file + ": " + error.what());
  }
}

}  // namespace fc::tool
