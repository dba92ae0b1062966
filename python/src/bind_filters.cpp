// The neighbourhood filters: rank filters, fixed kernels, morphology.
//
// The primitives read a window around every pixel they write and have no
// border handling, so the binding hands them a source that holds the whole
// window: by default a copy with the edge pixels repeated (the result has
// the source's size); with border='none' the inside of the source, the
// caller's pixels around it serving as the border (the result is smaller).
#include <memory>
#include <string>
#include <vector>

#include <pybind11/numpy.h>

#include "bindings.h"
#include "entry_variants.h"
#include "primitive_call.h"
#include "value_arguments.h"

namespace fcpy {

namespace {

constexpr const char* kBorderDoc =
    "border='replicate' (default) repeats the edge pixels so the result has src's shape; border='none' "
    "filters only the pixels whose whole window lies in src (the result is smaller by the window).";

// The window around the written region must not share bytes with the
// destination: the filters read rows after writing earlier ones.
void SeparateFromDestination(TSource& readable, const TReach& reach, const TImageView& destination) {
  const TImageView& s = readable.view;
  if (s.width < 1 || s.height < 1) return;
  const TImageView window = s.Region(-reach.left, -reach.top, s.width + reach.left + reach.right,
                                     s.height + reach.top + reach.bottom);
  if (!Overlap(window, destination)) return;
  TSource copy = PackedCopy(window);
  readable = {copy.array, copy.view.Region(reach.left, reach.top, s.width, s.height)};
}

template <class Fn, class... Extra>
py::object Filter(const TEntry<Fn>& entry, const TSource& source, py::handle out, const std::string& border,
                  TReach reach, Extra... extra) {
  TSource readable = FilterSource(source, reach, ParseBorder(border));
  py::object result;
  const TImageView d =
      Destination(out, readable.view.height, readable.view.width, readable.view.channels, false, result);
  SeparateFromDestination(readable, reach, d);
  const TImageView& s = readable.view;
  RunPrimitive(entry.name, [&] { return entry.Target()(s.data, s.step, d.data, d.step, s.Size(), extra...); });
  return result;
}

// A rectangular window placed by its anchor; no reach for a window the
// primitive refuses before reading.
TReach WindowReach(IppiSize mask, IppiPoint anchor) {
  if (mask.width < 1 || mask.height < 1 || anchor.x < 0 || anchor.y < 0 || anchor.x >= mask.width ||
      anchor.y >= mask.height)
    return {};
  return {anchor.x, anchor.y, mask.width - 1 - anchor.x, mask.height - 1 - anchor.y};
}

IppiPoint AnchorOrCentre(py::handle anchor, IppiSize mask) {
  if (anchor.is_none()) return {mask.width / 2, mask.height / 2};
  return PointArgument(anchor, "anchor");
}

TReach Square(int reach) { return {reach, reach, reach, reach}; }

using TTwoImageEntry = TEntry<IppStatus FC_TWO_IMAGE_PARAMS()>;
using TRankEntry = TEntry<IppStatus FC_TWO_IMAGE_PARAMS(IppiSize maskSize, IppiPoint anchor)>;
using TMaskCodeEntry = TEntry<IppStatus FC_TWO_IMAGE_PARAMS(int mask)>;
using TMorphologyEntry =
    TEntry<IppStatus FC_TWO_IMAGE_PARAMS(const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor)>;

struct TRankFilter {
  const char* name;
  const TRankEntry& entry;
  const char* what;
};
const TRankFilter kRankFilters[] = {
    {"filter_box", kEntry_ippiFilterBox_8u_C3R, "the mean of the window (box filter)"},
    {"filter_min", kEntry_ippiFilterMin_8u_C3R, "the smallest value of the window"},
    {"filter_max", kEntry_ippiFilterMax_8u_C3R, "the largest value of the window"},
    {"filter_median", kEntry_ippiFilterMedian_8u_C3R, "the median of the window (odd mask sides)"},
};

struct TMaskCodeFilter {
  const char* name;
  const TMaskCodeEntry& entry;
  const char* what;
};
const TMaskCodeFilter kMaskCodeFilters[] = {
    {"filter_median_cross", kEntry_ippiFilterMedianCross_8u_C3R, "the median of a cross-shaped window"},
    {"filter_median_color", kEntry_ippiFilterMedianColor_8u_C3R,
     "the window pixel closest to all the others (colour median)"},
    {"filter_laplace", kEntry_ippiFilterLaplace_8u_C3R, "the Laplace kernel"},
    {"filter_gauss", kEntry_ippiFilterGauss_8u_C3R, "the Gauss kernel"},
    {"filter_hipass", kEntry_ippiFilterHipass_8u_C3R, "the high-pass kernel"},
    {"filter_lowpass", kEntry_ippiFilterLowpass_8u_C3R, "the low-pass (mean) kernel"},
};

struct TFixedFilter {
  const char* name;
  const TTwoImageEntry& entry;
  TReach reach;
  const char* what;
};
const TFixedFilter kFixedFilters[] = {
    {"filter_prewitt_horiz", kEntry_ippiFilterPrewittHoriz_8u_C3R, Square(1), "the horizontal Prewitt gradient"},
    {"filter_prewitt_vert", kEntry_ippiFilterPrewittVert_8u_C3R, Square(1), "the vertical Prewitt gradient"},
    {"filter_sobel_horiz", kEntry_ippiFilterSobelHoriz_8u_C3R, Square(1), "the horizontal Sobel gradient"},
    {"filter_sobel_vert", kEntry_ippiFilterSobelVert_8u_C3R, Square(1), "the vertical Sobel gradient"},
    // The Roberts differences read the row above and one pixel to the side.
    {"filter_roberts_down", kEntry_ippiFilterRobertsDown_8u_C3R, {1, 1, 0, 0}, "the Roberts difference down"},
    {"filter_roberts_up", kEntry_ippiFilterRobertsUp_8u_C3R, {0, 1, 1, 0}, "the Roberts difference up"},
    {"filter_sharpen", kEntry_ippiFilterSharpen_8u_C3R, Square(1), "the sharpening kernel"},
};

struct TMorphologyFilter {
  const char* name;
  const TMorphologyEntry& three;
  const TMorphologyEntry& one;
  const char* what;
};
const TMorphologyFilter kMorphologyFilters[] = {
    {"erode", kEntry_ippiErode_8u_C3R, kEntry_ippiErode_8u_C1R, "the smallest value under the mask (erosion)"},
    {"dilate", kEntry_ippiDilate_8u_C3R, kEntry_ippiDilate_8u_C1R, "the largest value under the mask (dilation)"},
};

using TMaskArray = py::array_t<Ipp8u, py::array::c_style | py::array::forcecast>;

// The structuring element: a 2-D array whose non-zero cells belong to it;
// a 3x3 square when none is given.
TMaskArray StructuringElement(py::handle mask) {
  if (mask.is_none()) {
    TMaskArray square({3, 3});
    std::fill_n(square.mutable_data(), 9, Ipp8u{1});
    return square;
  }
  TMaskArray array = TMaskArray::ensure(mask);
  if (!array || array.ndim() != 2) {
    PyErr_Clear();
    throw py::value_error("mask must be a 2-D array (rows of the structuring element), not " +
                          std::string(py::repr(mask)));
  }
  return array;
}

IppiSize MaskSizeOf(const TMaskArray& mask) {
  return {static_cast<int>(mask.shape(1)), static_cast<int>(mask.shape(0))};
}

/// The state record of the morphology entries, freed with the object.
class TMorphologyState {
public:
  TMorphologyState(int roiWidth, py::handle mask, py::handle anchor) {
    TMaskArray element = StructuringElement(mask);
    const IppiSize size = MaskSizeOf(element);
    const IppiPoint at = AnchorOrCentre(anchor, size);
    const auto& entry = kEntry_ippiMorphologyInitAlloc_8u_C3R;
    RunPrimitive(entry.name, [&] { return entry.Target()(roiWidth, element.data(), size, at, &state_); });
  }
  ~TMorphologyState() { Free(); }
  TMorphologyState(const TMorphologyState&) = delete;
  TMorphologyState& operator=(const TMorphologyState&) = delete;

  void Free() {
    if (!state_) return;
    const auto& entry = kEntry_ippiMorphologyFree;
    const IppStatus status = entry.Target()(&state_);
    state_ = nullptr;
    CheckStatus(entry.name, status);
  }
  bool Allocated() const { return state_ != nullptr; }

private:
  IppiMorphState* state_ = nullptr;
};

void BindRankFilters(py::module_& m) {
  for (const TRankFilter& filter : kRankFilters) {
    const TRankEntry& entry = filter.entry;
    const std::string doc = std::string("Writes each pixel as ") + filter.what + ", per channel (" + entry.name +
                            ").\n\nsrc: uint8 array (H, W, 3); mask: window (width, height) or one side; anchor: "
                            "the window cell on the pixel, its centre by default. " + kBorderDoc;
    m.def(
        filter.name,
        [&entry](py::handle src, py::handle mask, py::handle anchor, const std::string& border, py::handle out) {
          const IppiSize size = SizeArgument(mask, "mask");
          const IppiPoint at = AnchorOrCentre(anchor, size);
          return Filter(entry, SourceImage(src, "src", TChannels::Three), out, border, WindowReach(size, at), size,
                        at);
        },
        py::arg("src"), py::arg("mask") = py::make_tuple(3, 3), py::kw_only(), py::arg("anchor") = py::none(),
        py::arg("border") = "replicate", py::arg("out") = py::none(), doc.c_str());
  }
}

void BindFixedFilters(py::module_& m) {
  for (const TMaskCodeFilter& filter : kMaskCodeFilters) {
    const TMaskCodeEntry& entry = filter.entry;
    const std::string doc = std::string("Filters each channel with ") + filter.what + " (" + entry.name +
                            ").\n\nsrc: uint8 array (H, W, 3); mask: 3 (3x3) or 5 (5x5). " + kBorderDoc;
    m.def(
        filter.name,
        [&entry](py::handle src, int mask, const std::string& border, py::handle out) {
          const int code = MaskCodeArgument(mask);
          return Filter(entry, SourceImage(src, "src", TChannels::Three), out, border, Square(MaskCodeReach(code)),
                        code);
        },
        py::arg("src"), py::arg("mask") = 3, py::kw_only(), py::arg("border") = "replicate",
        py::arg("out") = py::none(), doc.c_str());
  }
  for (const TFixedFilter& filter : kFixedFilters) {
    const std::string doc = std::string("Filters each channel with ") + filter.what + " (" + filter.entry.name +
                            ").\n\nsrc: uint8 array (H, W, 3). " + kBorderDoc;
    m.def(
        filter.name,
        [&filter](py::handle src, const std::string& border, py::handle out) {
          return Filter(filter.entry, SourceImage(src, "src", TChannels::Three), out, border, filter.reach);
        },
        py::arg("src"), py::kw_only(), py::arg("border") = "replicate", py::arg("out") = py::none(), doc.c_str());
  }
}

void BindMorphology(py::module_& m) {
  for (const TMorphologyFilter& filter : kMorphologyFilters) {
    const std::string doc = std::string("Writes each pixel as ") + filter.what + " (" + filter.three.name + ", " +
                            filter.one.name + ").\n\nsrc: uint8 array (H, W) or (H, W, 3); mask: 2-D array, "
                            "non-zero cells belong to the structuring element (3x3 square by default); anchor: "
                            "the mask cell on the pixel, its centre by default. " + kBorderDoc;
    m.def(
        filter.name,
        [&filter](py::handle src, py::handle mask, py::handle anchor, const std::string& border, py::handle out) {
          TMaskArray element = StructuringElement(mask);
          const IppiSize size = MaskSizeOf(element);
          const IppiPoint at = AnchorOrCentre(anchor, size);
          const TSource source = SourceImage(src, "src", TChannels::Either);
          return Filter(ByChannels(source.view.channels, filter.three, filter.one), source, out, border,
                        WindowReach(size, at), element.data(), size, at);
        },
        py::arg("src"), py::arg("mask") = py::none(), py::kw_only(), py::arg("anchor") = py::none(),
        py::arg("border") = "replicate", py::arg("out") = py::none(), doc.c_str());
  }
  py::class_<TMorphologyState>(m, "MorphologyState",
                               "A morphology state record (ippiMorphologyInitAlloc_8u_C3R), freed with the object "
                               "or by free() (ippiMorphologyFree).")
      .def(py::init<int, py::handle, py::handle>(), py::arg("roi_width"), py::arg("mask") = py::none(),
           py::arg("anchor") = py::none(),
           "Allocates the state for regions roi_width pixels wide, with a structuring element as for erode().")
      .def("free", &TMorphologyState::Free, "Releases the record now; later calls do nothing.")
      .def_property_readonly("allocated", &TMorphologyState::Allocated, "False once released.");
}

}  // namespace

void BindFilters(py::module_& m) {
  BindRankFilters(m);
  BindFixedFilters(m);
  BindMorphology(m);
}

}  // namespace fcpy
