/*
 * primitives.h - the published C interface of the Framecraft image primitives.
 *
 * Every primitive is reached through a global function-pointer variable named
 * like the primitive (ippiGammaFwd_8u_C3R ...). The variable starts at a binder
 * that, on the first call, asks Global_CPU() for the processor class, stores
 * the chosen code variant in the variable and forwards the call; later calls go
 * straight to the variant. Each variant is also published as <tag>_<name>:
 *   px  generic code          a6  SSE2 (or forwards to px)
 *   w7  up to SSE4.1          t7  up to AVX2
 * All variants of an entry compute the same bytes.
 *
 * Primitives report only through IppStatus: they check their arguments first,
 * in a fixed order, and write nothing when a check fails.
 *
 * C++ callers inside the library call through fc_entry() (see below), which
 * reads the variable atomically.
 */
#ifndef FRAMECRAFT_PRIMITIVES_H
#define FRAMECRAFT_PRIMITIVES_H

#include "dispatch/Fcimagedefs.h"
#include "dispatch/entry_lists.h"
#include "dispatch/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Processor class: FRAMECRAFT_CPU_CODE (decimal 0..255) when set; otherwise
 * 16 with AVX2 (processor and operating system), 7 with SSE4.1, 6 on any
 * other x86-64, 0 elsewhere. Binders read its low 8 bits. */
FC_API int Global_CPU(void);

/* Work buffers of len elements (1, 2, 4 and 4 bytes), aligned to 32 bytes.
 * Null when len < 1, when the byte count does not fit or memory runs out. */
FC_API Ipp8u* ippsMalloc_8u(int len);
FC_API Ipp16u* ippsMalloc_16u(int len);
FC_API Ipp32s* ippsMalloc_32s(int len);
FC_API Ipp32f* ippsMalloc_32f(int len);
/* Releases a block from any ippsMalloc_*; null is ignored. */
FC_API void ippsFree(void* p);

#define FC_DECLARE_VARIANT(tag, name, params) FC_API IppStatus tag##_##name params;
#define FC_DECLARE_VARIANTS_A(name, params)                                       \
  FC_DECLARE_VARIANT(px, name, params) FC_DECLARE_VARIANT(a6, name, params)       \
  FC_DECLARE_VARIANT(w7, name, params) FC_DECLARE_VARIANT(t7, name, params)
#define FC_DECLARE_VARIANTS_B(name, params)                                 \
  FC_DECLARE_VARIANT(px, name, params) FC_DECLARE_VARIANT(a6, name, params) \
  FC_DECLARE_VARIANT(t7, name, params)
#define FC_DECLARE_VARIANTS_C(name, params)                                 \
  FC_DECLARE_VARIANT(px, name, params) FC_DECLARE_VARIANT(a6, name, params) \
  FC_DECLARE_VARIANT(w7, name, params)

/* For every row: the entry-point variable and its variant functions. */
#define FC_ENTRY(name, unit, pattern, fpu, params, args) \
  FC_API extern IppStatus(*name) params;                 \
  FC_DECLARE_VARIANTS_##pattern(name, params)
#include "dispatch/entry_table.def"
#undef FC_ENTRY

#ifdef __cplusplus
}

/* Reads an entry-point variable atomically; a binder on another thread may be
 * storing it at the same moment. Usage: fc_entry(ippiGammaFwd_8u_C3R)(...). */
template <typename Fn>
inline Fn* fc_entry(Fn*& entry) {
  return __atomic_load_n(&entry, __ATOMIC_RELAXED);
}
#endif

#endif
