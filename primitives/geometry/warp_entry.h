// warp_entry.h - defines the generic variant of a geometric entry point as a
// call of its engine with the channel count of the entry.
#pragma once

#include "dispatch/primitives.h"
#include "primitives/geometry/warp_kernels.h"
#include "primitives/geometry/warp_types.h"

#define FC_WARP_EXPAND(...) __VA_ARGS__

/// <tag>_<name>(geometric list, extra params) runs
/// engine(GeometricArgs with `kernels`, channels, extra args).
#define FC_DEFINE_WARP_VARIANT_ENTRY(tag, kernels, name, channels, engine, params, args)                \
  extern "C" FC_API IppStatus tag##_##name FC_GEOMETRIC_PARAMS params {                                 \
    const ::fc::primitives::warp::GeometricArgs geometric{pSrc, srcSize, srcStep, srcRoi,               \
                                                          pDst, dstStep, dstRoi, &(kernels)};           \
    return engine(geometric, channels, FC_WARP_EXPAND args);                                            \
  }

/// The generic variant px_<name>, with the generic kernels.
#define FC_DEFINE_WARP_ENTRY(name, channels, engine, params, args) \
  FC_DEFINE_WARP_VARIANT_ENTRY(px, ::fc::primitives::warp::kGenericWarpKernels, name, channels, engine, params, args)
