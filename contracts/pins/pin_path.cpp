#include "contracts/pins/pin_path.h"

#include <charconv>
#include <string>

#include "contracts/pins/pin_list.h"
#include "platform/runtime/error.h"
#include "platform/runtime/properties.h"

namespace fc {

namespace {

// "OutputPins[2]" written as "OutputPins.2".
std::string IndexesAsSegments(std::string path) {
  for (std::size_t open = path.find('['); open != std::string::npos; open = path.find('[', open)) {
    const std::size_t close = path.find(']', open);
    if (close != path.size() - 1 && (close == std::string::npos || path[close + 1] != '.')) break;
    path.erase(close, 1);
    path[open] = '.';
  }
  return path;
}

}  // namespace

TPMPin& PinAtPath(TComponent& component, std::string_view written) {
  const std::string path = IndexesAsSegments(std::string(written));
  std::size_t dot = path.rfind('.');
  if (dot != std::string::npos) {
    TPropertyTarget list = ResolveProperty(component, path.substr(0, dot));
    if (list.property->Kind() == TPropertyKind::PinList) {
      auto* pins = dynamic_cast<TPMPinList*>(list.property->GetObject(*list.object));
      const std::string_view index = std::string_view(path).substr(dot + 1);
      int i = 0;
      auto parsed = std::from_chars(index.data(), index.data() + index.size(), i);
      if (pins && parsed.ec == std::errc() && parsed.ptr == index.data() + index.size())
        return *pins->GetPin(i);
    }
  }
  TPropertyTarget target = ResolveProperty(component, path);
  auto* pin = target.property->Kind() == TPropertyKind::Pin
                  ? dynamic_cast<TPMPin*>(target.property->GetObject(*target.object))
                  : nullptr;
  if (!pin) throw EFCError::ForProperty(target.object->NamePath(), target.property->Name(), "is not a pin");
  return *pin;
}

}  // namespace fc
