// combine_layout.h - where two images lie on the canvas of a combiner, as
// panes: parts of the output showing image 1, image 2, both or background.
#pragma once

#include <vector>

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/properties.h"

namespace fc {

/// How the output size of a combiner follows from its inputs.
enum TFCCombineSizeMode { smIntersect, smWrappingRect, smVerticalIntersect, smHorizontalIntersect, smCustom };
FC_COMPONENTS_API const TEnumInfo& CombineSizeModeInfo();

/// What one pane of the canvas shows.
enum TFCCombinePicToShow { psNone, psImage1, psImage2, psImageBoth, psBackground };

/// One rectangle of the output: what it shows, where it lies in the output
/// and where its content starts in image 1 and in image 2 (meaningful for
/// the images it shows).
struct TFCCombinePane {
  TFCCombinePicToShow show = psNone;
  int x = 0, y = 0, width = 0, height = 0;
  int x1 = 0, y1 = 0;
  int x2 = 0, y2 = 0;
};

/// What a layout is computed from. Image 1 lies at (offsetX, offsetY)
/// relative to the origin of image 2.
struct TFCCombineLayoutInput {
  IppiSize image1{0, 0}, image2{0, 0};
  int offsetX = 0, offsetY = 0;
  /// The size mode as its three flags.
  bool custom = false, wrapWidth = true, wrapHeight = true;
  IppiSize customSize{0, 0};
  /// True at the start of a stream: the output size is chosen from the mode.
  /// False later: `outputSize` stays and the panes are cut to it.
  bool setSize = true;
  IppiSize outputSize{0, 0};
};

/// The computed layout.
struct TFCCombineLayout {
  bool overlap = false;
  IppiSize overlapSize{0, 0};
  IppiSize wrapping{0, 0};
  IppiSize output{0, 0};
  /// The image panes (psImage1, psImage2, psImageBoth), each inside the
  /// output; every other part of the output shows the background.
  std::vector<TFCCombinePane> panes;
};

/// Lays the two images out.
///
/// When they overlap (-w1 <= ox <= w2 and -h1 <= oy <= h2) the canvas is a
/// grid of 3 x 3 panes: on each axis a leading margin (the image that starts
/// first), the overlap, and a trailing margin (the image that reaches
/// further). Margins exist on the axes whose wrap flag is set; each pane
/// shows the images covering it on both axes (both in the centre, the
/// background in a corner no image covers). The output size is the
/// wrapping rectangle (which, on an axis without margins, is the overlap),
/// or the custom size; panes beyond it are cut from the right and the
/// bottom: the trailing margin first, then the overlap, then the leading
/// margin.
///
/// When they do not overlap, each image is one pane on a canvas wrapping
/// both, clipped to the output (the wrapping rectangle, or the custom size).
FC_COMPONENTS_API TFCCombineLayout LayoutCombinePanes(const TFCCombineLayoutInput& input);

/// The three flags of a size mode, and back: custom sets all three; both
/// wraps without custom is smWrappingRect, only the width smHorizontalIntersect,
/// only the height smVerticalIntersect, none smIntersect.
FC_COMPONENTS_API void SizeModeFlags(TFCCombineSizeMode mode, bool& custom, bool& wrapWidth, bool& wrapHeight);
FC_COMPONENTS_API TFCCombineSizeMode SizeModeOfFlags(bool custom, bool wrapWidth, bool wrapHeight);

}  // namespace fc
