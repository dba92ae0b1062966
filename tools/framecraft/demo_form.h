// demo_form.h - the demo pipeline, built into the tool from the example
// form file examples/demo.fcf.
#pragma once

#include <string_view>

namespace fc::tool {

/// The name error messages give the built-in form.
inline constexpr std::string_view kDemoFormName = "examples/demo.fcf";

/// The text of examples/demo.fcf as it was when the tool was built.
std::string_view DemoFormText();

}  // namespace fc::tool
