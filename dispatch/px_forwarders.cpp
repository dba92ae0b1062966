// px_forwarders.cpp - defines the forwarders to px and the weak variant
// symbols that stand for them (see px_forwarders.h).
#include "dispatch/px_forwarders.h"

#define FC_DEFINE_FORWARDER(tag, name, pattern, params, args)                             \
  FC_HAS_##tag##_##pattern(                                                               \
      extern "C" IppStatus fc_forwarder_##tag##_##name params { return px_##name args; } \
      extern "C" FC_API IppStatus tag##_##name params                                    \
      __attribute__((weak, alias("fc_forwarder_" #tag "_" #name)));)

#define FC_ENTRY(name, unit, pattern, fpu, params, args) \
  FC_DEFINE_FORWARDER(a6, name, pattern, params, args)   \
  FC_DEFINE_FORWARDER(w7, name, pattern, params, args)   \
  FC_DEFINE_FORWARDER(t7, name, pattern, params, args)
#include "dispatch/entry_table.def"
#undef FC_ENTRY
