// registered_unit.h - what a component unit of the package provides: its
// load counter and a `Register` that registers its one component class on
// the "Frame Craft" page.
//
// In the unit's header:  FC_DECLARE_REGISTERED_UNIT(Fcgammafilter)
// In its source file:    FC_DEFINE_REGISTERED_UNIT(Fcgammafilter, TFCGammaFilter)
// and one line FC_PACKAGE_UNIT(Fcgammafilter) in package/package_units.def.
// Abstract bases and support units use FC_DECLARE_UNIT / FC_DEFINE_UNIT
// (unit_load_counter.h) instead: they register nothing.
#pragma once

#include "package/catalogue.h"
#include "package/unit_load_counter.h"

#define FC_DECLARE_REGISTERED_UNIT(Unit) \
  FC_DECLARE_UNIT(Unit)                  \
  namespace fc::Unit {                   \
  FC_COMPONENTS_API void Register();     \
  }

#define FC_DEFINE_REGISTERED_UNIT(Unit, Class)                               \
  FC_DEFINE_UNIT(Unit)                                                       \
  namespace fc::Unit {                                                       \
  void Register() {                                                          \
    const ::fc::TClassInfo* const classes[] = {&Class::StaticClassInfo()};   \
    ::fc::RegisterComponents(::fc::kFrameCraftPage, classes, 0);             \
  }                                                                          \
  }
