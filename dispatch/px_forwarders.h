// px_forwarders.h - the stand-ins for variant functions not yet written.
//
// Every variant a row's pattern names must exist as <tag>_<name>. Until a
// variant is written with its own code, <tag>_<name> is a weak alias of
// fc_forwarder_<tag>_<name>, which forwards to px; a strong definition in the
// family's <family>_<tag>.cpp replaces it at link time. Code linked with the
// library can tell the two apart by address:
//   t7_ippiResize_8u_C3R == fc_forwarder_t7_ippiResize_8u_C3R  -> not written
// Internal to the library; the forwarders themselves are not published.
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

#define FC_DECLARE_FORWARDER(tag, name, pattern, params) \
  FC_HAS_##tag##_##pattern(extern "C" IppStatus fc_forwarder_##tag##_##name params;)

#define FC_ENTRY(name, unit, pattern, fpu, params, args) \
  FC_DECLARE_FORWARDER(a6, name, pattern, params)        \
  FC_DECLARE_FORWARDER(w7, name, pattern, params)        \
  FC_DECLARE_FORWARDER(t7, name, pattern, params)
#include "dispatch/entry_table.def"
#undef FC_ENTRY
