// Point operations and generators: gamma, colour twist, thresholds,
// histograms, noise, the Jaehne pattern, planar copy and byte fill.
#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <pybind11/numpy.h>

#include "bindings.h"
#include "entry_variants.h"
#include "primitive_call.h"
#include "value_arguments.h"

namespace fcpy {

namespace {

using TTwoImageEntry = TEntry<IppStatus FC_TWO_IMAGE_PARAMS()>;
using TInPlaceEntry = TEntry<IppStatus FC_IN_PLACE_PARAMS()>;

void BindGamma(py::module_& m, const char* name, const TTwoImageEntry& entry, const TInPlaceEntry& inPlace,
               const char* what) {
  const std::string doc = std::string("Applies the ") + what + " gamma table to every byte (" + entry.name +
                          "; with out=src in place, " + inPlace.name + ").\n\nsrc: uint8 array (H, W, 3).";
  m.def(
      name,
      [&entry, &inPlace](py::handle src, py::handle out) {
        TPointImages images = PointImages(src, out, TChannels::Three, true);
        const TImageView& s = images.source.view;
        const TImageView& d = images.destination;
        if (images.inPlace)
          RunPrimitive(inPlace.name, [&] { return inPlace.Target()(d.data, d.step, d.Size()); });
        else
          RunPrimitive(entry.name, [&] { return entry.Target()(s.data, s.step, d.data, d.step, s.Size()); });
        return images.result;
      },
      py::arg("src"), py::kw_only(), py::arg("out") = py::none(), doc.c_str());
}

void BindColorTwist(py::module_& m) {
  m.def(
      "color_twist",
      [](py::handle src, py::handle twist, py::handle out) {
        const auto matrix = MatrixArgument<3, 4>(twist, "twist");
        Ipp32f coefficients[3][4];
        for (int r = 0; r < 3; ++r)
          for (int c = 0; c < 4; ++c) coefficients[r][c] = static_cast<Ipp32f>(matrix[r][c]);
        TPointImages images = PointImages(src, out, TChannels::Three, false);
        const TImageView& s = images.source.view;
        const TImageView& d = images.destination;
        const auto& entry = kEntry_ippiColorTwist32f_8u_C3R;
        RunPrimitive(entry.name,
                     [&] { return entry.Target()(s.data, s.step, d.data, d.step, s.Size(), coefficients); });
        return images.result;
      },
      py::arg("src"), py::arg("twist"), py::kw_only(), py::arg("out") = py::none(),
      "Maps every pixel through the 3x4 colour matrix twist: channel i = twist[i][0]*s0 + twist[i][1]*s1 + "
      "twist[i][2]*s2 + twist[i][3], rounded and limited to 0..255 (ippiColorTwist32f_8u_C3R).");
}

void BindThresholds(py::module_& m) {
  m.def(
      "threshold_lt_val_gt_val",
      [](py::handle src, py::handle thresholdLT, py::handle valueLT, py::handle thresholdGT, py::handle valueGT,
         py::handle out) {
        const auto tLT = ByteTripleArgument(thresholdLT, "threshold_lt");
        const auto vLT = ByteTripleArgument(valueLT, "value_lt");
        const auto tGT = ByteTripleArgument(thresholdGT, "threshold_gt");
        const auto vGT = ByteTripleArgument(valueGT, "value_gt");
        TPointImages images = PointImages(src, out, TChannels::Three, true);
        const TImageView& s = images.source.view;
        const TImageView& d = images.destination;
        const auto& entry = kEntry_ippiThreshold_LTValGTVal_8u_C3R;
        RunPrimitive(entry.name, [&] {
          return entry.Target()(s.data, s.step, d.data, d.step, s.Size(), tLT.data(), vLT.data(), tGT.data(),
                                vGT.data());
        });
        return images.result;
      },
      py::arg("src"), py::arg("threshold_lt"), py::arg("value_lt"), py::arg("threshold_gt"), py::arg("value_gt"),
      py::kw_only(), py::arg("out") = py::none(),
      "Bytes above threshold_gt become value_gt, bytes below threshold_lt become value_lt, per channel "
      "(ippiThreshold_LTValGTVal_8u_C3R). Each threshold and value is one byte or three.");
  struct TSingle {
    const char* name;
    const decltype(kEntry_ippiThreshold_LTVal_8u_C3R)& entry;
    const char* doc;
  };
  static const TSingle singles[] = {
      {"threshold_lt_val", kEntry_ippiThreshold_LTVal_8u_C3R,
       "Bytes below threshold become value, per channel (ippiThreshold_LTVal_8u_C3R)."},
      {"threshold_gt_val", kEntry_ippiThreshold_GTVal_8u_C3R,
       "Bytes above threshold become value, per channel (ippiThreshold_GTVal_8u_C3R)."},
  };
  for (const TSingle& single : singles) {
    m.def(
        single.name,
        [&single](py::handle src, py::handle threshold, py::handle value, py::handle out) {
          const auto t = ByteTripleArgument(threshold, "threshold");
          const auto v = ByteTripleArgument(value, "value");
          TPointImages images = PointImages(src, out, TChannels::Three, true);
          const TImageView& s = images.source.view;
          const TImageView& d = images.destination;
          RunPrimitive(single.entry.name,
                       [&] { return single.entry.Target()(s.data, s.step, d.data, d.step, s.Size(), t.data(), v.data()); });
          return images.result;
        },
        py::arg("src"), py::arg("threshold"), py::arg("value"), py::kw_only(), py::arg("out") = py::none(),
        single.doc);
  }
}

std::array<int, 3> IntTriple(py::handle value, const char* what) {
  if (py::isinstance<py::int_>(value)) {
    const int v = value.cast<int>();
    return {v, v, v};
  }
  if (!py::isinstance<py::sequence>(value) || py::len(value) != 3)
    throw py::value_error(std::string(what) + " must be an int or three ints");
  py::sequence s = py::reinterpret_borrow<py::sequence>(value);
  return {s[0].cast<int>(), s[1].cast<int>(), s[2].cast<int>()};
}

// Counters and levels of a histogram of n levels (at least one entry each,
// so a refused level count still passes valid pointers).
struct THistogramArrays {
  py::array_t<Ipp32s> hist;
  py::array_t<Ipp32s> levels;
  explicit THistogramArrays(int nLevels)
      : hist(std::max(nLevels - 1, 1)), levels(std::max(nLevels, 1)) {}
  // Called after a successful call, when nLevels is at least 2.
  py::tuple Result() const { return py::make_tuple(hist, levels); }
};

py::tuple HistogramEven(py::handle src, py::handle nLevelsArgument, py::handle lowerArgument,
                        py::handle upperArgument) {
  TSource source = SourceImage(src, "src", TChannels::Either);
  const TImageView& s = source.view;
  if (s.channels == 1) {
    const int nLevels = nLevelsArgument.cast<int>();
    const int lower = lowerArgument.cast<int>(), upper = upperArgument.cast<int>();
    THistogramArrays arrays(nLevels);
    Ipp32s* hist = arrays.hist.mutable_data();
    Ipp32s* levels = arrays.levels.mutable_data();
    const auto& entry = kEntry_ippiHistogramEven_8u_C1R;
    RunPrimitive(entry.name,
                 [&] { return entry.Target()(s.data, s.step, s.Size(), hist, levels, nLevels, lower, upper); });
    return arrays.Result();
  }
  std::array<int, 3> nLevels = IntTriple(nLevelsArgument, "n_levels");
  std::array<int, 3> lower = IntTriple(lowerArgument, "lower");
  std::array<int, 3> upper = IntTriple(upperArgument, "upper");
  std::vector<THistogramArrays> arrays;
  Ipp32s* hist[3];
  Ipp32s* levels[3];
  for (int c = 0; c < 3; ++c) {
    arrays.emplace_back(nLevels[c]);
    hist[c] = arrays[c].hist.mutable_data();
    levels[c] = arrays[c].levels.mutable_data();
  }
  const auto& entry = kEntry_ippiHistogramEven_8u_C3R;
  RunPrimitive(entry.name, [&] {
    return entry.Target()(s.data, s.step, s.Size(), hist, levels, nLevels.data(), lower.data(), upper.data());
  });
  py::list hists, levelLists;
  for (int c = 0; c < 3; ++c) {
    py::tuple channel = arrays[c].Result();
    hists.append(channel[0]);
    levelLists.append(channel[1]);
  }
  return py::make_tuple(hists, levelLists);
}

using TNoiseEntry = decltype(kEntry_ippiAddRandUniform_Direct_8u_C3IR);

// Noise is added in place: into out (a copy of src unless out is src).
py::tuple AddNoise(const TNoiseEntry& entry, py::handle src, Ipp8u first, Ipp8u second, unsigned int seed,
                   py::handle out) {
  TPointImages images = PointImages(src, out, TChannels::Three, true);
  const TImageView& d = images.destination;
  if (!images.inPlace) {
    const TImageView& s = images.source.view;
    for (int y = 0; y < s.height; ++y)
      std::memcpy(d.data + static_cast<std::ptrdiff_t>(y) * d.step, s.data + static_cast<std::ptrdiff_t>(y) * s.step,
                  static_cast<std::size_t>(s.RowBytes()));
  }
  RunPrimitive(entry.name, [&] { return entry.Target()(d.data, d.step, d.Size(), first, second, &seed); });
  return py::make_tuple(images.result, seed);
}

void BindNoise(py::module_& m) {
  m.def(
      "add_rand_uniform",
      [](py::handle src, Ipp8u low, Ipp8u high, unsigned int seed, py::handle out) {
        return AddNoise(kEntry_ippiAddRandUniform_Direct_8u_C3IR, src, low, high, seed, out);
      },
      py::arg("src"), py::arg("low"), py::arg("high"), py::kw_only(), py::arg("seed") = 0u,
      py::arg("out") = py::none(),
      "Adds uniform noise between low and high to every byte (ippiAddRandUniform_Direct_8u_C3IR). Returns "
      "(image, next_seed); with out=src the noise goes into src itself.");
  m.def(
      "add_rand_gauss",
      [](py::handle src, Ipp8u mean, Ipp8u stdDev, unsigned int seed, py::handle out) {
        return AddNoise(kEntry_ippiAddRandGauss_Direct_8u_C3IR, src, mean, stdDev, seed, out);
      },
      py::arg("src"), py::arg("mean"), py::arg("std_dev"), py::kw_only(), py::arg("seed") = 0u,
      py::arg("out") = py::none(),
      "Adds Gaussian noise of mean and std_dev to every byte (ippiAddRandGauss_Direct_8u_C3IR). Returns "
      "(image, next_seed); with out=src the noise goes into src itself.");
}

void BindGenerators(py::module_& m) {
  m.def(
      "image_jaehne",
      [](py::handle size, py::handle out) {
        IppiSize s{};
        if (size.is_none() && out.is_none()) throw py::value_error("give size or out");
        if (!size.is_none()) s = SizeArgument(size, "size");
        if (size.is_none()) {
          const py::array array = py::reinterpret_borrow<py::array>(out);
          if (!py::isinstance<py::array>(out) || array.ndim() != 3) throw py::value_error("out must have shape (H, W, 3)");
          s = {static_cast<int>(array.shape(1)), static_cast<int>(array.shape(0))};
        }
        if (s.width < 0 || s.height < 0) throw py::value_error("size must not be negative");
        py::object result;
        const TImageView d = Destination(out, s.height, s.width, 3, false, result);
        const auto& entry = kEntry_ippiImageJaehne_8u_C3R;
        RunPrimitive(entry.name, [&] { return entry.Target()(d.data, d.step, d.Size()); });
        return result;
      },
      py::arg("size") = py::none(), py::kw_only(), py::arg("out") = py::none(),
      "The Jaehne test pattern (concentric rings) of size=(width, height), three channels "
      "(ippiImageJaehne_8u_C3R).");
  m.def(
      "copy_to_planes",
      [](py::handle src, py::handle out) {
        TSource source = SourceImage(src, "src", TChannels::Three);
        const TImageView& s = source.view;
        py::array planes;
        if (out.is_none()) {
          planes = py::array_t<Ipp8u>({3, s.height, s.width});
        } else {
          if (!py::isinstance<py::array>(out) || py::reinterpret_borrow<py::array>(out).dtype().kind() != 'u' ||
              py::reinterpret_borrow<py::array>(out).itemsize() != 1)
            throw py::type_error("out must be a numpy.ndarray of uint8");
          planes = py::reinterpret_borrow<py::array>(out);
          if (planes.ndim() != 3 || planes.shape(0) != 3 || planes.shape(1) != s.height || planes.shape(2) != s.width)
            throw py::value_error("out must have shape (3, H, W) for src of shape (H, W, 3)");
          if (!planes.writeable()) throw py::value_error("out is read-only");
          // One step serves the three planes: their rows must lie alike.
          if ((s.width > 1 && planes.strides(2) != 1) || planes.strides(1) < s.width || planes.strides(1) > INT_MAX)
            throw py::value_error("out's planes must have packed rows a positive step apart");
        }
        if (!out.is_none() && py::module_::import("numpy").attr("shares_memory")(source.array, planes).cast<bool>())
          source = PackedCopy(s);
        Ipp8u* base = static_cast<Ipp8u*>(planes.mutable_data());
        Ipp8u* const dst[3] = {base, base + planes.strides(0), base + 2 * planes.strides(0)};
        const int step = s.height > 1 ? static_cast<int>(planes.strides(1)) : std::max(s.width, 1);
        const auto& entry = kEntry_ippiCopy_8u_C3P3R;
        const TImageView& in = source.view;
        RunPrimitive(entry.name, [&] { return entry.Target()(in.data, in.step, dst, step, in.Size()); });
        return planes;
      },
      py::arg("src"), py::kw_only(), py::arg("out") = py::none(),
      "Splits a three-channel image into three planes, returned as an array (3, H, W) (ippiCopy_8u_C3P3R).");
  m.def(
      "fill",
      [](py::handle out, Ipp8u value) {
        TImageView d;
        py::object result;
        TSource target = SourceImage(out, "out", TChannels::Either);
        d = Destination(out, target.view.height, target.view.width, target.view.channels, false, result);
        const auto& entry = kEntry_ippsSet_8u;
        // One call per row: rows of a region are apart by the step.
        for (int y = 0; y < d.height; ++y) {
          Ipp8u* row = d.data + static_cast<std::ptrdiff_t>(y) * d.step;
          RunPrimitive(entry.name, [&] { return entry.Target()(value, row, d.RowBytes()); });
        }
        return result;
      },
      py::arg("out"), py::arg("value"),
      "Sets every byte of the image out to value (ippsSet_8u, row by row) and returns out.");
}

}  // namespace

void BindPointOperations(py::module_& m) {
  BindGamma(m, "gamma_fwd", kEntry_ippiGammaFwd_8u_C3R, kEntry_ippiGammaFwd_8u_C3IR, "forward");
  BindGamma(m, "gamma_inv", kEntry_ippiGammaInv_8u_C3R, kEntry_ippiGammaInv_8u_C3IR, "inverse");
  BindColorTwist(m);
  BindThresholds(m);
  m.def("histogram_even", &HistogramEven, py::arg("src"), py::arg("n_levels") = 257, py::kw_only(),
        py::arg("lower") = 0, py::arg("upper") = 256,
        "Counts the bytes of src into n_levels - 1 bins between evenly spaced levels from lower to upper "
        "(ippiHistogramEven_8u_C1R, ippiHistogramEven_8u_C3R). Returns (hist, levels): int32 arrays for a "
        "one-channel image, lists of three for a three-channel one (n_levels, lower and upper may then be "
        "triples).");
  BindNoise(m);
  BindGenerators(m);
}

}  // namespace fcpy
