#include "platform/runtime/error.h"

namespace fc {

EFCError EFCError::ForProperty(std::string_view ownerPath, std::string_view property,
                               std::string_view message) {
  std::string text(ownerPath);
  if (!text.empty()) text += '.';
  text += property;
  text += ": ";
  text += message;
  return EFCError(text);
}

}  // namespace fc
