// forwarders.h - default SIMD variant symbols that forward to px.
//
// Every variant a row's pattern names must exist as <tag>_<name>. Until a
// variant is written with its own instructions, a weak forwarder to px stands
// in; a strong definition in the variant's folder replaces it at link time.
#pragma once

#include "dispatch/primitives.h"

#define FC_HAS_a6_A(...) __VA_ARGS__
#define FC_HAS_a6_B(...) __VA_ARGS__
#define FC_HAS_a6_C(...) __VA_ARGS__
#define FC_HAS_w7_A(...) __VA_ARGS__
#define FC_HAS_w7_B(...)
#define FC_HAS_w7_C(...) __VA_ARGS__
#define FC_HAS_t7_A(...) __VA_ARGS__
#define FC_HAS_t7_B(...) __VA_ARGS__
#define FC_HAS_t7_C(...)

#define FC_DEFINE_FORWARDER(tag, name, pattern, params, args)                 \
  FC_HAS_##tag##_##pattern(extern "C" __attribute__((weak)) FC_API IppStatus \
                               tag##_##name params { return px_##name args; })
