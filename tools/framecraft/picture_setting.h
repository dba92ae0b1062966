// picture_setting.h - `--set Comp.Picture=@file`: a picture property loaded
// from a file named on the command line.
#pragma once

#include <string_view>

#include "platform/runtime/component.h"

namespace fc::tool {

/// True when `value` asks for a file ("@path").
inline bool IsFileValue(std::string_view value) { return value.starts_with('@'); }

/// Loads the picture at `path` (from the component) from the file named by
/// `value` after its '@'. EFCError naming the file when it is missing or no
/// picture, and naming the property when it is no picture property.
void LoadPictureFromFile(TComponent& component, std::string_view path, std::string_view value);

}  // namespace fc::tool
