// pipeline.h - a pipeline of components driven from Python: loaded from a
// form file or built in code, properties by their published names, frames
// pushed in from arrays and pulled out as arrays.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "app_pins.h"
#include "contracts/video/generator.h"
#include "platform/runtime/component.h"

namespace fcpy {

namespace py = pybind11;

class TPipeline {
public:
  /// An empty pipeline: a root component named `name` that owns the rest.
  explicit TPipeline(const std::string& name = "Pipeline");
  /// The components of a form file; EFCError (with file and line) when it
  /// does not load.
  static std::unique_ptr<TPipeline> Load(const std::string& path);
  ~TPipeline();

  /// Makes a component of a registered class, named `name`, with `settings`
  /// as properties.
  void Add(const std::string& className, const std::string& name, const py::kwargs& settings);
  /// Connects "Comp.OutputPin" to "Comp2.InputPin".
  void Connect(const std::string& source, const std::string& sink);
  /// The names of the components, in creation order.
  std::vector<std::string> Components() const;

  py::object Get(const std::string& path);
  void Set(const std::string& path, py::handle value);

  /// Sends `image` into the input pin `pin`.
  void Push(const std::string& pin, py::handle image, double rate);
  /// Ends the stream pushed into `pin`.
  void EndStream(const std::string& pin);

  /// Starts the generators in their own pacing (a live pipeline).
  void Start();
  /// Stops the generators and ends every pushed stream.
  void Stop();
  bool Running() const { return started_; }

  fc::TComponent& Root() { return *root_; }
  fc::TPMPin& PinAt(const std::string& path);
  std::vector<fc::TFCCommonGen*> Generators() const;

private:
  explicit TPipeline(std::unique_ptr<fc::TComponent> root);
  fc::TComponent& ComponentNamed(const std::string& name) const;

  std::unique_ptr<fc::TComponent> root_;
  std::map<fc::TPMPin*, std::unique_ptr<TAppSource>> sources_;
  bool started_ = false;
};

/// Pulls the frames that reach one pin, as arrays: (H, W, 3) blue, green,
/// red, or (H, W) grey. A frame nobody else holds is handed over without a
/// copy. When the pipeline is not running and has generators, they are
/// pumped for each frame (and stopped at the end); otherwise frames are
/// awaited from pushes or a running pipeline.
class TFrameIterator {
public:
  TFrameIterator(TPipeline& pipeline, const std::string& pin, int count, double timeout);
  ~TFrameIterator();

  py::object Next();

private:
  std::shared_ptr<const fc::TFCImageBuffer> Pump();
  std::shared_ptr<const fc::TFCImageBuffer> Await();
  void Finish();

  TPipeline& pipeline_;
  std::string pin_;
  std::unique_ptr<TAppSink> sink_;
  int remaining_;
  double timeout_;
  std::vector<fc::TFCCommonGen*> pumped_;
};

/// The array of a frame: the frame's own pixels when nobody else holds them,
/// else a copy.
py::array FrameToArray(std::shared_ptr<const fc::TFCImageBuffer> frame);

}  // namespace fcpy
