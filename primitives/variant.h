// variant.h - what a source needs to compile shared code for one code variant.
//
// A family's SIMD variants live beside its generic sources, one file per
// variant tag: <family>_<tag>.cpp (resize_t7.cpp, color_conversions_w7.cpp).
// fc_add_primitive_variants() in primitives/CMakeLists.txt adds them and
// compiles each with FC_VARIANT_TAG set to its tag; generic sources leave it
// unset and get px.
//
// Code written once for all variants (kernels the compiler vectorises for
// each instruction set) is included between FC_VARIANT_TARGET_BEGIN() and
// FC_VARIANT_TARGET_END(); whatever it shares with other sources is included
// before, so no shared inline code is compiled for the variant's
// instructions. Headers compiled per variant put their definitions in the
// inline namespace FC_VARIANT_TAG, so each variant's copy has symbols of its
// own and the linker can never hand one variant's code to another.
#pragma once

#ifndef FC_VARIANT_TAG
#define FC_VARIANT_TAG px
#endif

#define FC_VARIANT_JOIN_(tag, name) tag##_##name
#define FC_VARIANT_JOIN(tag, name) FC_VARIANT_JOIN_(tag, name)
/// The variant symbol <tag>_<name> of the variant being compiled.
#define FC_VARIANT(name) FC_VARIANT_JOIN(FC_VARIANT_TAG, name)

#define FC_VARIANT_PRAGMA(...) _Pragma(#__VA_ARGS__)
#if defined(__clang__)
#define FC_VARIANT_PUSH_TARGET(instructions) \
  FC_VARIANT_PRAGMA(clang attribute push(__attribute__((target(instructions))), apply_to = function))
#define FC_VARIANT_POP_TARGET() FC_VARIANT_PRAGMA(clang attribute pop)
#else
#define FC_VARIANT_PUSH_TARGET(instructions) \
  FC_VARIANT_PRAGMA(GCC push_options) FC_VARIANT_PRAGMA(GCC target(instructions))
#define FC_VARIANT_POP_TARGET() FC_VARIANT_PRAGMA(GCC pop_options)
#endif

// The instructions each tag may use: a6 SSE2, w7 up to SSE4.1, t7 up to AVX2.
#define FC_VARIANT_BEGIN_px()
#define FC_VARIANT_BEGIN_a6() FC_VARIANT_PUSH_TARGET("sse2")
#define FC_VARIANT_BEGIN_w7() FC_VARIANT_PUSH_TARGET("sse4.1")
#define FC_VARIANT_BEGIN_t7() FC_VARIANT_PUSH_TARGET("avx2")
#define FC_VARIANT_END_px()
#define FC_VARIANT_END_a6() FC_VARIANT_POP_TARGET()
#define FC_VARIANT_END_w7() FC_VARIANT_POP_TARGET()
#define FC_VARIANT_END_t7() FC_VARIANT_POP_TARGET()

/// Compile what follows for the instructions of FC_VARIANT_TAG.
#define FC_VARIANT_TARGET_BEGIN() FC_VARIANT_JOIN(FC_VARIANT_BEGIN, FC_VARIANT_TAG)()
/// Back to the instructions of the build.
#define FC_VARIANT_TARGET_END() FC_VARIANT_JOIN(FC_VARIANT_END, FC_VARIANT_TAG)()
