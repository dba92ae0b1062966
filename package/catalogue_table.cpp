#include "package/catalogue_table.h"

namespace fc {

namespace {

constexpr TCatalogueEntry kPackageComponents[] = {
    {"TFCColorMerge", "Fccolormerge", "TFCMultiInput", "three 8-bit planes to one colour frame"},
    {"TFCRealToFrame", "Fcrealtoframe", "TComponent", "real-valued data to frames"},
    {"TFCChangeRate", "Fcchangerate", "TFCCommonFilter", "changes the frame rate"},
    {"TFCColorsToReal", "Fccolorstoreal", "TFCSinkFilter", "frame colours to real-valued data"},
    {"TFCASFPlayer", "Fcasfplayer", "TComponent", "plays ASF files"},
    {"TFCSwitch", "Fcswitch", "TComponent", "switches between frame streams"},
    {"TFCChangeFormat", "Fcchangeformat", "TFCCommonFilter", "converts the frame format"},
    {"TFCDSVideoCompressor", "Fcdsvideocompressor", "TComponent", "DirectShow compression"},
    {"TFCSnapshot", "Fcsnapshot", "TFCCommonFilter", "takes frame snapshots"},
    {"TFCBoxFilter", "Fcboxfilter", "TFCCommonROIMatrixFilterIntermidiate",
     "box average, minimum, maximum, median"},
    {"TFCColorTwist", "Fccolortwist", "TFCCommonFilter", "3x4 colour matrix"},
    {"TFCFixedFilter", "Fcfixedfilter", "TFCCommonROIFilter", "fixed-kernel filters"},
    {"TFCGammaFilter", "Fcgammafilter", "TFCCommonFilter", "gamma correction"},
    {"TFCGaussNoise", "Fcgaussnoise", "TFCCommonROIFilter", "adds Gaussian noise"},
    {"TFCGrayScale", "Fcgrayscale", "TFCCommonFilter", "converts to 8-bit grey"},
    {"TFCHistogram", "Fchistogram", "TFCSinkFilter", "histogram to data pins"},
    {"TFCJaehneGen", "Fcjaehnegen", "TFCCommonGen", "Jaehne test image"},
    {"TFCUniformNoise", "Fcuniformnoise", "TFCCommonROIFilter", "adds uniform noise"},
    {"TFCShear", "Fcshear", "TFCCommonROISizeFilter", "shear"},
    {"TFCRotate", "Fcrotate", "TFCCommonROISizeFilter", "rotation"},
    {"TFCMirror", "Fcmirror", "TFCCommonFilter", "mirroring"},
    {"TFCResize", "Fcresize", "TFCCommonROISizeFilter", "resizing"},
    {"TFCWarp", "Fcwarp", "TFCCommonROISizeFilter", "bilinear or perspective warp"},
    {"TFCCombine", "Fccombine", "TFCCommonCombine", "combines two frames"},
    {"TFCImageGen", "Fcimagegen", "TFCCommonGen", "frames from a picture"},
    {"TFCFrameChange", "Fcframechange", "TFCCommonFilter", "combines each frame with the one before"},
    {"TFCColorSplit", "Fccolorsplit", "TFCSinkFilter", "one colour frame to three planes"},
    {"TFCApplyMask", "Fcapplymask", "TFCCommonROIFilter", "overlays a masked picture"},
    {"TFCTransparentColor", "Fctransparentcolor", "TFCCommonCombine", "colour-keyed overlay"},
    {"TFCWienerFilter", "Fcwienerfilter", "TFCCommonROIMatrixFilterIntermidiate", "Wiener noise filter"},
    {"TFCMorphFilter", "Fcmorphfilter", "TFCCommonROIMatrixFilterIntermidiate", "erosion, dilation"},
    {"TFCFreeFrame", "Fcfreeframe", "TFCMultiInput", "effect plug-in host"},
    {"TFCImageAdjust", "Fcimageadjust", "TFCCommonFilter",
     "brightness, contrast, saturation, hue, lightness"},
    {"TFCDMOEffect", "Fcdmoeffect", "TFCCommonFilter", "DMO video effect host"},
    {"TFCDSVideoOut", "Fcdsvideoout", "TComponent", "DirectShow video output"},
    {"TFCVideoDecompressor", "Fcvideodecompressor", "TComponent", "decompression"},
    {"TFCVideoCompressor", "Fcvideocompressor", "TComponent", "compression"},
    {"TFCThreshold", "Fcthreshold", "TFCCommonFilter", "colour thresholds"},
    {"TFCCrop", "Fccrop", "TFCCommonFilter", "cropping"},
    {"TFCHistogramEqualize", "Fchistogramequalize", "TFCCommonFilter", "histogram equalisation"},
    {"TFCASFLogger", "Fcasflogger", "TFCDSCommonLogger", "writes ASF files"},
    {"TFCDelay", "Fcdelay", "TFCCommonFilter", "delays frames"},
    {"TFCQueuedSwitch", "Fcqueuedswitch", "TComponent", "switch with queued inputs"},
};

}  // namespace

std::span<const TCatalogueEntry> PackageCatalogueTable() { return kPackageComponents; }

}  // namespace fc
