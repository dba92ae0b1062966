// video_preview.h - the tool's preview windows (--preview Comp.Pin), and the
// pipelines whose pace an output device sets.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "media/Fcdsvideoout.h"

namespace fc::tool {

/// A preview window showing the frames that leave `pin` ("Comp.Pin" as
/// given, for messages): a video output on the "Preview Window" device that
/// renders frames as they come (it does not pace the pipeline). EFCError
/// naming the option when there is no display to open a window on.
std::unique_ptr<TFCDSVideoOut> AttachPreview(TPMPin& pin, const std::string& argument);

/// True when a video output in `root`'s tree paces its stream with master
/// pumps: then its device's clock, not the tool, decides when frames are
/// made.
bool PacedByDevice(TComponent& root);

}  // namespace fc::tool
