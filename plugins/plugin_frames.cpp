#include "plugins/plugin_frames.h"

#include "contracts/video/helper_primitives.h"

namespace fc {

IppStatus ToPluginLayout(const TFCImageBuffer& frame, IppiSize size, bool use32, TFCImageBuffer& out) {
  out = TFCImageBuffer(size.width, size.height, use32 ? vfRGB32 : vfRGB24);  // new frames are black
  out.SetTimeStamps(frame.TimeStamps());
  out.SetTimeCode(frame.TimeCode());
  const IppiSize region = frame.SizeRecord();
  // The frame's rows at the origin of the padded picture end up, reversed,
  // in its last rows.
  Ipp8u* const target = out.Write() + static_cast<std::size_t>(size.height - region.height) * out.Step();
  if (!use32) return ippiMirror_8u_C3R(frame.Read(), frame.Step(), target, out.Step(), region, ippAxsHorizontal);
  const IppStatus status = ippiCopy_8u_C3AC4R(frame.Read(), frame.Step(), target, out.Step(), region);
  if (status != ippStsNoErr) return status;
  return ippiMirror_8u_C1R(target, out.Step(), target, out.Step(), {region.width * 4, region.height},
                           ippAxsHorizontal);
}

IppStatus FromPluginLayout(TFCImageBuffer& work, TFCImageBuffer& out) {
  const IppiSize size = work.SizeRecord();
  out = TFCImageBuffer(size.width, size.height, vfRGB24);
  out.SetTimeStamps(work.TimeStamps());
  out.SetTimeCode(work.TimeCode());
  if (work.Format() == vfRGB24)
    return ippiMirror_8u_C3R(work.Read(), work.Step(), out.Overwrite(), out.Step(), size, ippAxsHorizontal);
  Ipp8u* const pixels = work.Modify();
  const IppStatus status =
      ippiMirror_8u_C1R(pixels, work.Step(), pixels, work.Step(), {size.width * 4, size.height}, ippAxsHorizontal);
  if (status != ippStsNoErr) return status;
  return ippiCopy_8u_AC4C3R(pixels, work.Step(), out.Overwrite(), out.Step(), size);
}

TFCImageBuffer AsRGB24(const TFCImageBuffer& frame) {
  TFCImageBuffer copy(frame);
  if (copy.Format() != vfRGB24) copy.ConvertTo(vfRGB24);
  return copy;
}

}  // namespace fc
