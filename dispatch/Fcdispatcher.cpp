// Fcdispatcher.cpp - entry-point variables and binders of the rows of unit Fcdispatcher.
#include "dispatch/binding.h"
#include "dispatch/primitives.h"
#include "dispatch/dispatcher_load_counts.h"

#define FC_WHEN_Fcdispatcher(...) __VA_ARGS__
#define FC_WHEN_Fcconvdispatcher(...)
#define FC_WHEN_Fcresizedispatcher(...)

#define FC_ENTRY(name, unit, pattern, fpu, params, args) \
  FC_WHEN_##unit(FC_DEFINE_ENTRY(name, pattern, fpu, params, args))
#include "dispatch/entry_table.def"
#undef FC_ENTRY

FC_DEFINE_UNIT_COUNTER(dispatcherUnit)
