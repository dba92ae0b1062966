// forwarders.cpp - w7 variant symbols not yet written with their own code.
#include "dispatch/variants/forwarders.h"

#define FC_ENTRY(name, unit, pattern, fpu, params, args) \
  FC_DEFINE_FORWARDER(w7, name, pattern, params, args)
#include "dispatch/entry_table.def"
#undef FC_ENTRY
