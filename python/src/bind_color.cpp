// The colour-space conversions: three-channel images in, three out.
#include <string>

#include "bindings.h"
#include "entry_variants.h"
#include "primitive_call.h"

namespace fcpy {

namespace {

using TTwoImageEntry = TEntry<IppStatus FC_TWO_IMAGE_PARAMS()>;

struct TConversion {
  const char* name;
  const TTwoImageEntry& entry;
  const char* from;
  const char* to;
};

const TConversion kConversions[] = {
    {"rgb_to_hls", kEntry_ippiRGBToHLS_8u_C3R, "RGB", "HLS"},
    {"rgb_to_hsv", kEntry_ippiRGBToHSV_8u_C3R, "RGB", "HSV"},
    {"rgb_to_luv", kEntry_ippiRGBToLUV_8u_C3R, "RGB", "LUV"},
    {"rgb_to_xyz", kEntry_ippiRGBToXYZ_8u_C3R, "RGB", "XYZ"},
    {"rgb_to_ycc", kEntry_ippiRGBToYCC_8u_C3R, "RGB", "PhotoYCC"},
    {"rgb_to_ycbcr", kEntry_ippiRGBToYCbCr_8u_C3R, "RGB", "YCbCr"},
    {"rgb_to_yuv", kEntry_ippiRGBToYUV_8u_C3R, "RGB", "YUV"},
    {"bgr_to_lab", kEntry_ippiBGRToLab_8u_C3R, "BGR", "Lab"},
    {"hls_to_rgb", kEntry_ippiHLSToRGB_8u_C3R, "HLS", "RGB"},
    {"hsv_to_rgb", kEntry_ippiHSVToRGB_8u_C3R, "HSV", "RGB"},
    {"luv_to_rgb", kEntry_ippiLUVToRGB_8u_C3R, "LUV", "RGB"},
    {"xyz_to_rgb", kEntry_ippiXYZToRGB_8u_C3R, "XYZ", "RGB"},
    {"ycc_to_rgb", kEntry_ippiYCCToRGB_8u_C3R, "PhotoYCC", "RGB"},
    {"ycbcr_to_rgb", kEntry_ippiYCbCrToRGB_8u_C3R, "YCbCr", "RGB"},
    {"yuv_to_rgb", kEntry_ippiYUVToRGB_8u_C3R, "YUV", "RGB"},
    {"lab_to_bgr", kEntry_ippiLabToBGR_8u_C3R, "Lab", "BGR"},
};

}  // namespace

void BindColorConversions(py::module_& m) {
  for (const TConversion& conversion : kConversions) {
    const TTwoImageEntry& entry = conversion.entry;
    const std::string doc = std::string("Converts a three-channel ") + conversion.from + " image to " + conversion.to +
                            " (" + entry.name + ").\n\nsrc: uint8 array (H, W, 3); out: optional array of the same "
                            "shape to write into (may be src itself). Returns the converted image.";
    m.def(
        conversion.name,
        [&entry](py::handle src, py::handle out) {
          TPointImages images = PointImages(src, out, TChannels::Three, false);
          const TImageView& s = images.source.view;
          const TImageView& d = images.destination;
          RunPrimitive(entry.name, [&] { return entry.Target()(s.data, s.step, d.data, d.step, s.Size()); });
          return images.result;
        },
        py::arg("src"), py::kw_only(), py::arg("out") = py::none(), doc.c_str());
  }
}

}  // namespace fcpy
