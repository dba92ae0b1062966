// Fcasflogger.h - records a video stream, and optionally its sound, into a
// Windows Media (ASF) file or another container of its profile.
#pragma once

#include "media/Fcdscommonlogger.h"
#include "media/asf_profile.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A logger whose graph ends in the writer stage "ASF Writer", encoding with
/// `Profile` (by default ASF, WMV2 video, WMA2 audio). The graph is built in
/// this order, each failure reported through `Graph` with its message and
/// FFmpeg's code, leaving nothing running:
///
///  1. the profile is loaded; 2. the graph is emptied;
///  3.-5. (the builder steps of other graph systems; nothing can fail here);
///  6. the writer stage of the profile's container is made and added as
///     "ASF Writer": "Can't create ASF writer.";
///  7. the output file is created: "Can't create file : <name> .";
///  8. the writer is configured with the profile's codecs: "Can't configure
///     ASF writer.";
///  9. with `FrameIndexing`, the index is asked for; an output that cannot
///     carry one is a warning "Can't set frame indexing." and the build goes
///     on; without it nothing is asked;
/// 10. with audio, "AudioSource" is added ("Can't set audio source filter.")
///     and its stream rendered to the writer ("Can't render audio output.");
/// 11. "VideoSource" (YUY2 for a stream of pixel format 1, else three-byte
///     frames) is added ("Can't set video source filter.") and rendered to
///     the writer ("Can't render video output.");
/// 12. the graph's notification event fires and the graph runs: "Can't
///     start logger." when it does not.
class FC_COMPONENTS_API TFCASFLogger : public TFCDSCommonLogger {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kFrameIndexingDefault = true;

  explicit TFCASFLogger(TComponent* owner);
  ~TFCASFLogger() override;

  bool GetFrameIndexing() const;
  void SetFrameIndexing(bool indexing);
  TKSASFProfile* GetProfile() { return &profile_; }
  /// Copies `profile` into the owned one.
  void SetProfile(const TKSASFProfile& profile) { profile_.Assign(profile); }

protected:
  bool BuildGraph() override;

private:
  bool Fail(const std::string& message, int code);

  bool frameIndexing_ = kFrameIndexingDefault;
  TKSASFProfile profile_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcasflogger)
