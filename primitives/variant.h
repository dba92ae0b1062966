// filter_isa.h - the code variant that the filter headers are compiled for.
//
// The fixed-kernel and morphology code is written once and compiled once per
// variant: the generic sources include it as it is (px), a variant's source
// in dispatch/variants/<tag>/ defines FC_FILTER_ISA to its tag and includes
// it under that instruction set. Everything such a header defines lives in
// the inline namespace FC_FILTER_ISA, so each variant's copy has symbols of
// its own and the linker can never hand one variant's code to another.
#pragma once

#ifndef FC_FILTER_ISA
#define FC_FILTER_ISA px
#endif

#define FC_FILTER_JOIN_(tag, name) tag##_##name
#define FC_FILTER_JOIN(tag, name) FC_FILTER_JOIN_(tag, name)
/// The variant symbol <tag>_<name> of the variant being compiled.
#define FC_FILTER_VARIANT(name) FC_FILTER_JOIN(FC_FILTER_ISA, name)
