// The extension module framecraft._framecraft: the primitives on NumPy
// arrays, the processor class and variant forcing, and the pipelines.
#include <pybind11/pybind11.h>

#include "bindings.h"
#include "entry_variants.h"

namespace py = pybind11;

namespace fcpy {

void BindVariants(py::module_& m) {
  m.def("cpu_code", &Global_CPU,
        "The processor class the entries bind by (Global_CPU): FRAMECRAFT_CPU_CODE when set, else 16 with AVX2, "
        "7 with SSE4.1, 6 on other x86-64, 0 elsewhere.");
  m.def(
      "_force_variant",
      [](const std::string& tag) {
        const TVariantTag previous = ForcedVariant();
        TVariantTag chosen;
        try {
          chosen = ParseVariantTag(tag);
        } catch (const std::invalid_argument& error) {
          throw py::value_error(error.what());
        }
        if (!ProcessorRuns(chosen))
          throw py::value_error(std::string("this processor cannot run the ") + VariantTagName(chosen) + " variant");
        SetForcedVariant(chosen);
        return std::string(VariantTagName(previous));
      },
      py::arg("tag"),
      "Makes this thread's primitive calls go to the variant tag ('px', 'a6', 'w7', 't7') or to the bound "
      "entries ('bound'); returns the previous setting. Use framecraft.variant().");
  m.def(
      "forced_variant", [] { return std::string(VariantTagName(ForcedVariant())); },
      "The variant this thread's calls are forced to, or 'bound'.");
}

}  // namespace fcpy

PYBIND11_MODULE(_framecraft, m) {
  m.doc() = "Framecraft primitives on NumPy arrays and pipelines of components.";
  fcpy::BindVariants(m);
  fcpy::BindGeometry(m);
  fcpy::BindFilters(m);
  fcpy::BindColorConversions(m);
  fcpy::BindPointOperations(m);
  fcpy::BindPipelines(m);
}
