#include "tools/framecraft/video_preview.h"

#include "platform/media/output_devices.h"
#include "platform/media/preview_window.h"
#include "platform/runtime/error.h"

namespace fc::tool {

std::unique_ptr<TFCDSVideoOut> AttachPreview(TPMPin& pin, const std::string& argument) {
  if (const std::string why = media::PreviewDisplayError(); !why.empty())
    throw EFCError("--preview " + argument + ": no display to open the preview window on (" + why +
                   "); run it where a display is, or with SDL_VIDEODRIVER=offscreen to show it nowhere");
  auto preview = std::make_unique<TFCDSVideoOut>(nullptr);
  preview->SetName("Preview");
  preview->SetEnableMasterPumping(false);
  preview->GetVideoOutputDevice()->SetDeviceName(std::string(media::kPreviewWindowDevice));
  pin.Connect(*preview->GetInputPin());
  return preview;
}

bool PacedByDevice(TComponent& root) {
  if (auto* out = dynamic_cast<TFCDSVideoOut*>(&root))
    if (out->GetEnableMasterPumping() && out->GetInputPin()->IsConnected()) return true;
  for (int i = 0; i < root.ComponentCount(); ++i)
    if (PacedByDevice(*root.Components(i))) return true;
  return false;
}

}  // namespace fc::tool
