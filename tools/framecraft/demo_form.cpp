#include "tools/framecraft/demo_form.h"

namespace fc::tool {

std::string_view DemoFormText() {
  static constexpr std::string_view text =
#include "demo_form_text.inc"
      ;
  return text;
}

}  // namespace fc::tool
