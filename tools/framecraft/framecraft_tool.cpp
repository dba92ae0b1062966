#include "tools/framecraft/framecraft_tool.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <vector>

#include "contracts/pins/pin.h"
#include "contracts/pins/pin_graph.h"
#include "contracts/pins/pin_path.h"
#include "platform/runtime/error.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/form_reader.h"
#include "platform/runtime/resource_budget.h"
#include "tools/framecraft/catalogue_listing.h"
#include "tools/framecraft/command_help.h"
#include "tools/framecraft/command_line.h"
#include "tools/framecraft/demo_form.h"
#include "tools/framecraft/play_command.h"
#include "tools/framecraft/effect_listing.h"
#include "tools/framecraft/failure_watch.h"
#include "tools/framecraft/media_listing.h"
#include "tools/framecraft/picture_setting.h"
#include "tools/framecraft/pin_dump.h"
#include "tools/framecraft/pipeline_runner.h"
#include "tools/framecraft/player_runner.h"
#include "tools/framecraft/video_preview.h"

namespace fc::tool {

namespace {

constexpr const char* kDemoDirectory = "demo-out";

TComponent* FindComponentIn(TComponent& root, std::string_view name) {
  if (SameIdentifier(root.Name(), name)) return &root;
  for (int i = 0; i < root.ComponentCount(); ++i)
    if (TComponent* found = FindComponentIn(*root.Components(i), name)) return found;
  return nullptr;
}

TComponent& ComponentNamedIn(TComponent& root, const TAssignment& assignment, std::string_view option) {
  TComponent* component = FindComponentIn(root, assignment.component);
  if (!component)
    throw EFCError(std::string(option) + " " + assignment.argument + ": no component named " +
                   assignment.component + " in the form");
  return *component;
}

void ApplySettings(TComponent& root, const std::vector<TAssignment>& sets) {
  for (const TAssignment& set : sets) {
    TComponent& component = ComponentNamedIn(root, set, "--set");
    if (IsFileValue(set.value))
      LoadPictureFromFile(component, set.path, set.value);
    else
      SetPropertyText(component, set.path, set.value);
  }
}

// One spelling of a directory: "out", "./out/" and "a/../out" are the same.
std::filesystem::path DirectoryKey(const std::string& directory) {
  const auto path = std::filesystem::weakly_canonical(std::filesystem::absolute(directory)).lexically_normal();
  return path.has_filename() ? path : path.parent_path();
}

// Two pins dumped into one directory would overwrite each other's files.
void RefuseSharedDirectories(const std::vector<TAssignment>& dumps) {
  std::map<std::filesystem::path, const TAssignment*> byDirectory;
  for (const TAssignment& dump : dumps) {
    const auto [at, added] = byDirectory.emplace(DirectoryKey(dump.value), &dump);
    if (!added)
      throw EFCError("--dump " + dump.argument + ": " + at->second->component + "." + at->second->path +
                     " already writes into " + dump.value + "; give each pin a directory of its own");
  }
}

std::vector<std::unique_ptr<TPinDump>> AttachDumps(TComponent& root, const std::vector<TAssignment>& dumps) {
  RefuseSharedDirectories(dumps);
  std::vector<std::unique_ptr<TPinDump>> attached;
  for (const TAssignment& dump : dumps) {
    TPMPin& pin = PinAtPath(ComponentNamedIn(root, dump, "--dump"), dump.path);
    attached.push_back(AttachDump(pin, dump.component + "." + dump.path, dump.value));
  }
  return attached;
}

std::vector<std::unique_ptr<TFCDSVideoOut>> AttachPreviews(TComponent& root, const std::vector<TAssignment>& previews) {
  std::vector<std::unique_ptr<TFCDSVideoOut>> attached;
  for (const TAssignment& preview : previews)
    attached.push_back(AttachPreview(PinAtPath(ComponentNamedIn(root, preview, "--preview"), preview.path), preview.argument));
  return attached;
}

// Shows "frame i/N" on a terminal, at most ten times a second.
class TProgress {
public:
  TProgress(const TToolOutput& io, int total) : io_(io), total_(total) {}
  ~TProgress() {
    if (shown_) io_.out << "\r\033[K" << std::flush;
  }
  /// `detail` (what the loggers wrote) is made only when it is shown.
  void Update(int done, const std::function<std::string()>& detail = {}) {
    if (!io_.terminal) return;
    auto now = std::chrono::steady_clock::now();
    if (shown_ && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    shown_ = true;
    io_.out << "\r\033[Kframe " << done << "/" << total_;
    if (detail)
      if (const std::string text = detail(); !text.empty()) io_.out << ", " << text;
    io_.out << std::flush;
  }

private:
  const TToolOutput& io_;
  int total_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_;
};

std::string Rate(const TRunResult& result) {
  char text[96];
  const double perSecond = result.seconds > 0 ? result.frames / result.seconds : 0;
  std::snprintf(text, sizeof text, "%d frames in %.3f s, %.1f frames/s", result.frames, result.seconds, perSecond);
  return text;
}

TRunResult RunPipeline(TComponent& root, const std::vector<std::unique_ptr<TPinDump>>& dumps, int frames,
                       const TToolOutput& io, bool realtime = false) {
  TProgress progress(io, frames);
  const std::vector<TFCDSCommonLogger*> loggers = FindLoggers(root);
  const auto afterStep = [&](int done) {
    for (const auto& dump : dumps)
      if (std::string failure = dump->Failure(); !failure.empty()) throw EFCError(failure);
    progress.Update(done, [&] { return RecordingProgress(loggers); });
  };
  if (!FindPlayers(root).empty()) {
    LimitFrameDumps(dumps, frames);
    TPlayerRunner players(root);
    players.SetPace(PacedByDevice(root) ? TPlayerRunner::TPace::kDevice
                    : realtime          ? TPlayerRunner::TPace::kRealtime
                                        : TPlayerRunner::TPace::kClock);
    return players.Run(frames, afterStep);
  }
  TPipelineRunner runner(root);
  runner.SetRealtime(realtime);
  runner.SetPacedByDevice(PacedByDevice(root));
  return runner.Run(frames, afterStep);
}

// Prints each failure the components reported; a run with any is a failed run.
void ThrowIfComponentsFailed(const TFailureWatch& failures, const TToolOutput& io) {
  const int count = failures.ErrorCount();
  if (count == 0) return;
  for (const std::string& message : failures.Messages()) io.err << "framecraft: " << message << '\n';
  throw EFCError(std::to_string(count) + (count == 1 ? " frame" : " frames") +
                 " failed in the pipeline's components and were not sent");
}

// Frames sent round a loop never end, and a loop nothing else feeds never
// receives any: such a pipeline is refused before it runs.
void RefuseLoops(TComponent& root, std::string_view where) {
  if (const auto loop = FindLoop(root); !loop.empty())
    throw EFCError(std::string(where) + ": the connections form a loop, " + LoopText(loop));
}

void RunForm(const TCommandLine& line, const TFCCatalogue& catalogue, const TToolOutput& io) {
  std::unique_ptr<TComponent> root = LoadFormFile(line.operand, catalogue.ClassLookup());
  ApplySettings(*root, line.sets);
  RefuseLoops(*root, line.operand);
  auto dumps = AttachDumps(*root, line.dumps);
  auto previews = AttachPreviews(*root, line.previews);
  const TFailureWatch failures(*root);
  TRunResult result = RunPipeline(*root, dumps, line.frames, io, line.realtime);
  for (const auto& dump : dumps)
    io.out << dump->Label() << ": " << dump->Written() << " " << dump->WrittenWhat() << " written to "
           << dump->Directory().string() << '\n';
  PrintRecordings(FindLoggers(*root), io.out);
  io.out << Rate(result) << '\n';
  ThrowIfComponentsFailed(failures, io);
}

// Writes each component's output into demo-out/<component>/.
void RunDemo(const TCommandLine& line, const TFCCatalogue& catalogue, const TToolOutput& io) {
  std::unique_ptr<TComponent> root =
      LoadForm(readForm(DemoFormText(), std::string(kDemoFormName)), catalogue.ClassLookup());
  std::vector<TAssignment> outputs;
  std::string chain;
  for (int i = 0; i < root->ComponentCount(); ++i) {
    const std::string& name = root->Components(i)->Name();
    outputs.push_back({name, name, "OutputPin", std::string(kDemoDirectory) + "/" + name});
    chain += (chain.empty() ? "" : " > ") + name;
  }
  auto dumps = AttachDumps(*root, outputs);
  const TFailureWatch failures(*root);
  TRunResult result = RunPipeline(*root, dumps, line.frames, io);
  io.out << "demo: " << chain << ": " << Rate(result) << ", PNG files in " << kDemoDirectory << "/\n";
  ThrowIfComponentsFailed(failures, io);
}

void Execute(const TCommandLine& line, const TFCCatalogue& catalogue, const TToolOutput& io) {
  if (line.maxFrameBytes) SetMaxBufferBytes(line.maxFrameBytes);
  switch (line.command) {
    case TCommand::Help: io.out << (line.operand.empty() ? UsageText() : CommandHelp(line.operand)); break;
    case TCommand::Version: io.out << "framecraft " << FRAMECRAFT_VERSION << '\n'; break;
    case TCommand::List: PrintCatalogue(catalogue, io.out); break;
    case TCommand::Codecs: PrintCodecs(io.out); break;
    case TCommand::Describe: DescribeClass(catalogue, line.operand, io.out); break;
    case TCommand::Run: RunForm(line, catalogue, io); break;
    case TCommand::Demo: RunDemo(line, catalogue, io); break;
    case TCommand::Play: RunPlay(line, io); break;
    case TCommand::Effects: PrintEffects(io.out); break;
    case TCommand::Plugin: PrintFreeFramePlugin(line.operand, io.out); break;
  }
}

}  // namespace

int RunFramecraft(std::span<const std::string> args, const TFCCatalogue& catalogue, TToolOutput io) {
  try {
    Execute(ParseCommandLine(args), catalogue, io);
    return 0;
  } catch (const EUsageError& error) {
    io.err << "framecraft: " << error.what() << '\n' << UsageText();
    return 2;
  } catch (const std::bad_alloc&) {
    // Components name themselves when memory runs out while they stream;
    // this is what is left: loading or setting up.
    io.err << "framecraft: out of memory while loading or setting up the pipeline\n";
    return 1;
  } catch (const std::exception& error) {
    // EFCError and its form errors carry the file and line, or the component
    // and property at fault, in their text.
    io.err << "framecraft: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace fc::tool
