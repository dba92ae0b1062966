// Pipelines of components from Python.
#include <pybind11/stl.h>

#include "bindings.h"
#include "package/framecraft_package.h"
#include "pipeline.h"
#include "platform/runtime/error.h"
#include "property_values.h"
#include "status_errors.h"

namespace fcpy {

void BindPipelines(py::module_& m) {
  // The package's components are registered once, as a host does when it
  // loads the package.
  fc::package::Initialize();
  fc::package::Register();
  py::register_exception_translator([](std::exception_ptr raised) {
    try {
      if (raised) std::rethrow_exception(raised);
    } catch (const fc::EFCError& error) {
      try {
        RaiseError(error.what());
      } catch (py::error_already_set& set) {
        set.restore();
      }
    }
  });

  m.def("describe", &DescribeClass, py::arg("class_name"),
        "The published description of a component class: {'class', 'parent', 'properties': {path: {'type', "
        "'kind', 'default' or 'initial', 'read_only', 'values'}}, 'pins': {path: direction}}.");

  py::class_<TFrameIterator>(m, "FrameIterator", "Frames pulled from a pin; see Pipeline.frames.")
      .def("__iter__", [](py::object self) { return self; })
      .def("__next__", &TFrameIterator::Next);

  py::class_<TPipeline>(m, "Pipeline",
                        "Components joined by their pins: loaded from a form file (Pipeline.load) or built with "
                        "add() and connect(). Properties by their published names: p['Resize1.Interpolation'].")
      .def(py::init<const std::string&>(), py::arg("name") = "Pipeline",
           "An empty pipeline whose root component has this name.")
      .def_static("load", &TPipeline::Load, py::arg("path"),
                  "The components of a form file (.fcf); framecraft.Error with the file and line when it does not "
                  "load.")
      .def("add", &TPipeline::Add, py::arg("class_name"), py::arg("name"),
           "Adds a component of a registered class (e.g. 'TFCResize') named name; keyword arguments set its "
           "properties: Interpolation='ifCubic', OutputSize=(640, 360).")
      .def("connect", &TPipeline::Connect, py::arg("source"), py::arg("sink"),
           "Connects a source pin to a sink pin: connect('Resize1.OutputPin', 'Grey1.InputPin').")
      .def_property_readonly("components", &TPipeline::Components, "Names of the components in creation order.")
      .def("__getitem__", &TPipeline::Get, py::arg("path"),
           "A property's value by 'Component.Property' (dotted into sub-objects): int, float, bool, str (an "
           "enumeration's identifier), a dict for a sub-object, a list of dicts for a collection.")
      .def("__setitem__", &TPipeline::Set, py::arg("path"), py::arg("value"),
           "Sets a property by 'Component.Property': a value of its type, its text, or a tuple or dict for a "
           "sub-object.")
      .def("push", &TPipeline::Push, py::arg("pin"), py::arg("image"), py::kw_only(), py::arg("rate") = 30.0,
           "Sends an image into the sink pin 'Component.InputPin' as the next frame of a stream: (H, W, 3) "
           "blue, green, red or (H, W) grey. The first frame, and one of another size, announce the stream.")
      .def("end_stream", &TPipeline::EndStream, py::arg("pin"), "Ends the stream pushed into pin.")
      .def(
          "frames",
          [](TPipeline& pipeline, const std::string& pin, int count, py::handle timeout) {
            return std::make_unique<TFrameIterator>(pipeline, pin, count,
                                                    timeout.is_none() ? -1.0 : timeout.cast<double>());
          },
          py::arg("pin"), py::kw_only(), py::arg("count") = -1, py::arg("timeout") = py::none(),
          py::keep_alive<0, 1>(),
          "Iterates over the frames reaching pin ('Grey1.OutputPin') as arrays, at most count (all when -1). A "
          "pipeline with generators that is not started is pumped, one frame per step; otherwise the frames of "
          "pushes or of the running pipeline are awaited, up to timeout seconds each (TimeoutError), until the "
          "stream stops.")
      .def("start", &TPipeline::Start, "Starts the generators in their own pacing (a live pipeline).")
      .def("stop", &TPipeline::Stop, "Stops the generators and ends every pushed stream.")
      .def_property_readonly("running", &TPipeline::Running, "True between start() and stop().");
}

}  // namespace fcpy
