// codec_threads.h - how many threads an FFmpeg encoder or decoder may use.
#pragma once

namespace fc::media {

/// The thread count to give a codec that asked for `wanted` (0: as many as
/// it can use). FFmpeg's worker threads synchronise inside the
/// uninstrumented library, where ThreadSanitizer cannot see it and reports
/// their hand-overs as races; under it every codec runs on its caller's
/// thread alone.
constexpr int CodecThreads(int wanted) {
#if defined(__SANITIZE_THREAD__)
  (void)wanted;
  return 1;
#else
  return wanted;
#endif
}

}  // namespace fc::media
