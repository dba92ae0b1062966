/*
 * framecraft/freeframe.h - the binary interface between Framecraft and the
 * FreeFrame video-effect plug-ins it loads. Plain C; a plug-in author needs
 * nothing else from Framecraft to build a plug-in.
 *
 * A plug-in is a shared library (.so) that exports one function with C
 * linkage, `plugMain`:
 *
 *     FC_FF_EXPORT fc_ff_mixed plugMain(uint32_t functionCode, fc_ff_mixed inputValue,
 *                                       void* instanceID);
 *
 * The host calls it with a function code (FC_FF_...), an input value and an
 * instance identifier. The classic interface passes every argument and
 * result as a 32-bit word, which cannot hold a pointer on a 64-bit system;
 * this interface passes a union of a 32-bit unsigned word, a 32-bit float
 * and a pointer instead, and the instance identifier is a pointer the
 * plug-in chooses. Records passed by pointer use the natural alignment of
 * the platform.
 *
 * Calls and their values (the input value's member, then the result's):
 *
 *   code  function               input                      result
 *   1     initialise             -                          UIntValue 0 on success
 *   2     deinitialise           -                          ignored
 *   3     process frame in place PointerValue: the pixels   UIntValue 0 on success
 *   4     number of parameters   -                          UIntValue
 *   5     parameter name         UIntValue: index           PointerValue: 16 characters,
 *                                                           zero-padded (need not be terminated
 *                                                           when all 16 are used)
 *   6     parameter default      UIntValue: index           FloatValue
 *   7     parameter display      UIntValue: index           PointerValue: a terminated string
 *   8     set parameter          PointerValue: fc_ff_set_parameter*  ignored
 *   9     get parameter          UIntValue: index           FloatValue, or PointerValue for text
 *   10    capability             UIntValue: FC_FF_CAP_...   UIntValue: 1 supported / the value
 *   11    instantiate            PointerValue: fc_ff_video_info*     PointerValue: the instance
 *   12    deinstantiate          -                          ignored
 *   13    extended information   -                          PointerValue: fc_ff_extended_info*
 *   14    process frame copy     PointerValue: fc_ff_frame_copy*     UIntValue 0 on success
 *   15    parameter type         UIntValue: index           UIntValue: FC_FF_TYPE_...
 *
 * Codes 1, 2, 4, 5, 6, 10, 11, 13 and 15 are global: the host passes a null
 * instance identifier. Codes 3, 7, 8, 9, 12 and 14 pass the identifier that
 * instantiate returned. A result whose UIntValue is FC_FF_FAIL (0xFFFFFFFF)
 * is a failure; for instantiate, so is a null pointer.
 *
 * Frames: rows of width x 3 bytes (blue, green, red) in 24-bit mode or
 * width x 4 bytes (blue, green, red, unused) in 32-bit mode, packed without
 * padding. The host asks for 24-bit when the plug-in supports it, else
 * 32-bit. Orientation 2 in the video information says the first row in
 * memory is the bottom row of the picture; the host always sends it so.
 *
 * A plug-in that supports frame copy (capability 3) may take several input
 * frames (capabilities 10 and 11: minimum and maximum; 0 for both means one).
 * The host then passes the input frames, all of the instance's size, and an
 * output frame of that size to code 14.
 *
 * The host serialises its calls to one instance; calls to different
 * instances may come from different threads.
 */
#ifndef FRAMECRAFT_FREEFRAME_H
#define FRAMECRAFT_FREEFRAME_H

#include <stdint.h>

#ifdef __cplusplus
#define FC_FF_EXTERN_C extern "C"
#else
#define FC_FF_EXTERN_C
#endif

/* Marks a plug-in's plugMain as the exported entry point. */
#define FC_FF_EXPORT FC_FF_EXTERN_C __attribute__((visibility("default")))

/* The name of the entry point the host looks up. */
#define FC_FF_ENTRY_NAME "plugMain"

/* Every argument and result of plugMain. */
typedef union fc_ff_mixed {
  uint32_t UIntValue;
  float FloatValue;
  void* PointerValue;
} fc_ff_mixed;

typedef fc_ff_mixed (*fc_ff_plug_main)(uint32_t functionCode, fc_ff_mixed inputValue, void* instanceID);

/* Values of each kind, the unused bytes zero. */
static inline fc_ff_mixed fc_ff_uint(uint32_t value) {
  fc_ff_mixed mixed;
  mixed.PointerValue = 0;
  mixed.UIntValue = value;
  return mixed;
}
static inline fc_ff_mixed fc_ff_float(float value) {
  fc_ff_mixed mixed;
  mixed.PointerValue = 0;
  mixed.FloatValue = value;
  return mixed;
}
static inline fc_ff_mixed fc_ff_pointer(const void* value) {
  fc_ff_mixed mixed;
  mixed.PointerValue = (void*)value;
  return mixed;
}

/* A failed call's UIntValue. */
#define FC_FF_FAIL 0xFFFFFFFFu
/* A successful call's UIntValue where success is all the result says. */
#define FC_FF_SUCCESS 0u

/* Function codes. */
enum {
  FC_FF_INITIALISE = 1,
  FC_FF_DEINITIALISE = 2,
  FC_FF_PROCESS_FRAME = 3,
  FC_FF_GET_NUM_PARAMETERS = 4,
  FC_FF_GET_PARAMETER_NAME = 5,
  FC_FF_GET_PARAMETER_DEFAULT = 6,
  FC_FF_GET_PARAMETER_DISPLAY = 7,
  FC_FF_SET_PARAMETER = 8,
  FC_FF_GET_PARAMETER = 9,
  FC_FF_GET_PLUGIN_CAPS = 10,
  FC_FF_INSTANTIATE = 11,
  FC_FF_DEINSTANTIATE = 12,
  FC_FF_GET_EXTENDED_INFO = 13,
  FC_FF_PROCESS_FRAME_COPY = 14,
  FC_FF_GET_PARAMETER_TYPE = 15
};

/* Capability codes (input of FC_FF_GET_PLUGIN_CAPS). */
enum {
  FC_FF_CAP_16BIT = 0,
  FC_FF_CAP_24BIT = 1,
  FC_FF_CAP_32BIT = 2,
  FC_FF_CAP_FRAME_COPY = 3,
  FC_FF_CAP_MINIMUM_INPUT_FRAMES = 10,
  FC_FF_CAP_MAXIMUM_INPUT_FRAMES = 11,
  FC_FF_CAP_COPY_OR_IN_PLACE = 15
};

/* Answers to FC_FF_CAP_COPY_OR_IN_PLACE. */
enum { FC_FF_NO_PREFERENCE = 0, FC_FF_PREFER_IN_PLACE = 1, FC_FF_PREFER_COPY = 2 };

/* Parameter types (results of FC_FF_GET_PARAMETER_TYPE). Values of every
 * type but text travel as floats from 0 to 1; text as a pointer to a
 * terminated string. An unknown type is taken as standard. */
enum {
  FC_FF_TYPE_BOOLEAN = 0,
  FC_FF_TYPE_EVENT = 1,
  FC_FF_TYPE_RED = 2,
  FC_FF_TYPE_GREEN = 3,
  FC_FF_TYPE_BLUE = 4,
  FC_FF_TYPE_XPOS = 5,
  FC_FF_TYPE_YPOS = 6,
  FC_FF_TYPE_STANDARD = 10,
  FC_FF_TYPE_TEXT = 100
};

/* Bit depths of fc_ff_video_info. */
enum { FC_FF_DEPTH_16BIT = 0, FC_FF_DEPTH_24BIT = 1, FC_FF_DEPTH_32BIT = 2 };
/* Orientations of fc_ff_video_info. */
enum { FC_FF_ORIENTATION_TOP_FIRST = 1, FC_FF_ORIENTATION_BOTTOM_FIRST = 2 };

/* Input of FC_FF_SET_PARAMETER. */
typedef struct fc_ff_set_parameter {
  uint32_t index;
  fc_ff_mixed value;
} fc_ff_set_parameter;

/* Input of FC_FF_INSTANTIATE: the frames the instance will process. */
typedef struct fc_ff_video_info {
  uint32_t width;
  uint32_t height;
  uint32_t bitDepth;    /* FC_FF_DEPTH_... */
  uint32_t orientation; /* FC_FF_ORIENTATION_... */
} fc_ff_video_info;

/* Result of FC_FF_GET_EXTENDED_INFO. */
typedef struct fc_ff_extended_info {
  uint32_t majorVersion;
  uint32_t minorVersion;
  const char* description; /* terminated, or null */
  const char* about;       /* terminated, or null */
} fc_ff_extended_info;

/* Input of FC_FF_PROCESS_FRAME_COPY. */
typedef struct fc_ff_frame_copy {
  uint32_t count;  /* input frames */
  void** inputs;   /* count pointers to frames */
  void* output;
} fc_ff_frame_copy;

#endif
