#include "contracts/video/color_mode_conversion.h"

#include <cstring>

#include "contracts/video/helper_channels.h"
#include "dispatch/primitives.h"

namespace fc {

namespace {

struct TForwardConversion {
  IppStatus (*convert)(const Ipp8u*, int, Ipp8u*, int, IppiSize);
  std::string_view name;
};

#define FC_CONVERSION(entry) TForwardConversion{fc_entry(entry), #entry}

// The mode's conversion from red-green-blue order (blue-green-red for cmLab);
// none for cmRGB, whose channels are the colours themselves.
TForwardConversion ForwardConversion(TFCColorMode mode) {
  switch (mode) {
    case cmHLS: return FC_CONVERSION(ippiRGBToHLS_8u_C3R);
    case cmHSV: return FC_CONVERSION(ippiRGBToHSV_8u_C3R);
    case cmYUV: return FC_CONVERSION(ippiRGBToYUV_8u_C3R);
    case cmLUV: return FC_CONVERSION(ippiRGBToLUV_8u_C3R);
    case cmXYZ: return FC_CONVERSION(ippiRGBToXYZ_8u_C3R);
    case cmYCbCr: return FC_CONVERSION(ippiRGBToYCbCr_8u_C3R);
    case cmYCC: return FC_CONVERSION(ippiRGBToYCC_8u_C3R);
    case cmLab: return FC_CONVERSION(ippiBGRToLab_8u_C3R);
    case cmRGB: break;
  }
  return {nullptr, {}};
}

// The mode's conversion back to red-green-blue order (blue-green-red for
// cmLab).
TForwardConversion InverseConversion(TFCColorMode mode) {
  switch (mode) {
    case cmHLS: return FC_CONVERSION(ippiHLSToRGB_8u_C3R);
    case cmHSV: return FC_CONVERSION(ippiHSVToRGB_8u_C3R);
    case cmYUV: return FC_CONVERSION(ippiYUVToRGB_8u_C3R);
    case cmLUV: return FC_CONVERSION(ippiLUVToRGB_8u_C3R);
    case cmXYZ: return FC_CONVERSION(ippiXYZToRGB_8u_C3R);
    case cmYCbCr: return FC_CONVERSION(ippiYCbCrToRGB_8u_C3R);
    case cmYCC: return FC_CONVERSION(ippiYCCToRGB_8u_C3R);
    case cmLab: return FC_CONVERSION(ippiLabToBGR_8u_C3R);
    case cmRGB: break;
  }
  return {nullptr, {}};
}

#undef FC_CONVERSION

// Gives `work` the size of `like` in the three-byte format, keeping its
// memory when it has them already.
void ResizeWork(TFCImageBuffer& work, const TFCImageBuffer& like) {
  if (work.Width() != like.Width() || work.Height() != like.Height() || work.Format() != vfRGB24)
    work = TFCImageBuffer(like.Width(), like.Height(), vfRGB24);
}

}  // namespace

TFCGreyChannel GreyChannelOf(TFCColorMode mode, int channel) {
  switch (mode) {
    case cmHLS: return channel == 1 ? gcGrey : gcZero;  // the lightness
    case cmHSV: return channel == 2 ? gcGrey : gcZero;  // the value
    case cmYUV: return channel == 0 ? gcGrey : gcNeutral;
    default: return gcGrey;
  }
}

bool GreyNeedsColorFrame(TFCColorMode mode) { return mode >= cmLUV && mode <= cmLab; }

IppStatus ConvertToColorMode(const TFCImageBuffer& bgr, TFCColorMode mode, TFCImageBuffer& work,
                             TFCImageBuffer& out, std::string_view* failedEntry) {
  const TForwardConversion forward = ForwardConversion(mode);
  if (bgr.Size() == 0) {
    out = TFCImageBuffer(bgr.Width(), bgr.Height(), vfRGB24);
    return ippStsNoErr;
  }
  const TFCImageBuffer* ordered = &bgr;
  if (mode != cmLab) {
    static constexpr int kRedGreenBlue[3] = {2, 1, 0};
    TFCImageBuffer& swapped = forward.convert ? work : out;
    ResizeWork(swapped, bgr);
    std::memcpy(swapped.Overwrite(), bgr.Read(), bgr.Size());
    const IppStatus status =
        ippiSwapChannels_8u_C3IR(swapped.Modify(), swapped.Step(), swapped.SizeRecord(), kRedGreenBlue);
    if (status < ippStsNoErr) {
      if (failedEntry) *failedEntry = "ippiSwapChannels_8u_C3IR";
      return status;
    }
    ordered = &swapped;
  }
  if (!forward.convert) return ippStsNoErr;
  ResizeWork(out, bgr);
  const IppStatus status = forward.convert(ordered->Read(), ordered->Step(), out.Overwrite(), out.Step(), out.SizeRecord());
  if (status != ippStsNoErr && failedEntry) *failedEntry = forward.name;
  return status;
}

IppStatus ConvertFromColorMode(const TFCImageBuffer& channels, TFCColorMode mode, TFCImageBuffer& bgr,
                               std::string_view* failedEntry) {
  const TForwardConversion inverse = InverseConversion(mode);
  ResizeWork(bgr, channels);
  if (channels.Size() == 0) return ippStsNoErr;
  IppStatus status = ippStsNoErr;
  if (inverse.convert)
    status = inverse.convert(channels.Read(), channels.Step(), bgr.Overwrite(), bgr.Step(), bgr.SizeRecord());
  else
    std::memcpy(bgr.Overwrite(), channels.Read(), channels.Size());
  if (status != ippStsNoErr) {
    if (failedEntry) *failedEntry = inverse.name;
    return status;
  }
  if (mode == cmLab) return ippStsNoErr;
  static constexpr int kBlueGreenRed[3] = {2, 1, 0};
  status = ippiSwapChannels_8u_C3IR(bgr.Modify(), bgr.Step(), bgr.SizeRecord(), kBlueGreenRed);
  if (status != ippStsNoErr && failedEntry) *failedEntry = "ippiSwapChannels_8u_C3IR";
  return status;
}

}  // namespace fc
