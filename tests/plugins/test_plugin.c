/* test_plugin.c - the plug-ins the host tests load. One source, built into
 * several libraries whose behaviour the TP_ macros choose; every one of them
 * records each call it receives, which the tests read through
 * fc_test_calls().
 *
 * Frames: in place, every colour byte is inverted (the fourth byte of 32-bit
 * pixels is set to 0x55, which the host must drop); frame copy writes the
 * average of the input bytes (rounded down). */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "framecraft/freeframe.h"
#include "tests/plugins/test_plugin_calls.h"

#ifndef TP_DEPTH24
#define TP_DEPTH24 1
#endif
#ifndef TP_DEPTH32
#define TP_DEPTH32 0
#endif
#ifndef TP_FRAME_COPY
#define TP_FRAME_COPY 0
#endif
#ifndef TP_MIN_INPUTS
#define TP_MIN_INPUTS 1
#endif
#ifndef TP_MAX_INPUTS
#define TP_MAX_INPUTS 1
#endif
#ifndef TP_COPY_PREFERENCE
#define TP_COPY_PREFERENCE FC_FF_NO_PREFERENCE
#endif


#define TP_MAX_CALLS 4096
static fc_test_call calls[TP_MAX_CALLS];
static int callCount;

FC_FF_EXPORT const fc_test_call* fc_test_calls(int* count) {
  *count = callCount;
  return calls;
}
FC_FF_EXPORT void fc_test_reset(void) { callCount = 0; }

/* The instance: its frame size and depth. */
typedef struct instance {
  fc_ff_video_info video;
} instance;

#define PARAMETER_COUNT 10
static const uint32_t types[PARAMETER_COUNT] = {
    FC_FF_TYPE_BOOLEAN, FC_FF_TYPE_EVENT, FC_FF_TYPE_RED, FC_FF_TYPE_GREEN, FC_FF_TYPE_BLUE,
    FC_FF_TYPE_XPOS,    FC_FF_TYPE_YPOS,  FC_FF_TYPE_STANDARD, FC_FF_TYPE_TEXT, 42};
/* The eighth name fills all 16 characters without a terminator. */
static const char names[PARAMETER_COUNT][16] = {
    "Switch", "Trigger", "Red", "Green", "Blue", "X", "Y",
    {'S', 'i', 'x', 't', 'e', 'e', 'n', 'C', 'h', 'a', 'r', 's', 'N', 'a', 'm', 'e'}, "Caption", "Other"};
static const float defaults[PARAMETER_COUNT] = {1.0f, 0.0f, 0.5f, 0.25f, 1.0f, 10.4f, 3.5f, 0.75f, 0.0f, 0.125f};
static float values[PARAMETER_COUNT];
static char caption[32];
static char display[32];

static uint32_t parameter_count(void) {
#ifdef TP_ALL_PARAMETER_TYPES
  return PARAMETER_COUNT;
#else
  return 0;
#endif
}

static uint32_t capability(uint32_t code) {
  switch (code) {
    case FC_FF_CAP_16BIT: return 0;
    case FC_FF_CAP_24BIT: return TP_DEPTH24;
    case FC_FF_CAP_32BIT: return TP_DEPTH32;
    case FC_FF_CAP_FRAME_COPY: return TP_FRAME_COPY;
    case FC_FF_CAP_MINIMUM_INPUT_FRAMES: return TP_MIN_INPUTS;
    case FC_FF_CAP_MAXIMUM_INPUT_FRAMES: return TP_MAX_INPUTS;
    case FC_FF_CAP_COPY_OR_IN_PLACE: return TP_COPY_PREFERENCE;
    default: return 0;
  }
}

static uint32_t pixel_bytes(const instance* self) { return self->video.bitDepth == FC_FF_DEPTH_32BIT ? 4 : 3; }

static fc_ff_mixed process(instance* self, uint8_t* pixels) {
  size_t bytes = (size_t)self->video.width * self->video.height * pixel_bytes(self);
  for (size_t i = 0; i < bytes; ++i) {
    if (pixel_bytes(self) == 4 && i % 4 == 3)
      pixels[i] = 0x55;
    else
      pixels[i] = (uint8_t)(255 - pixels[i]);
  }
  return fc_ff_uint(FC_FF_SUCCESS);
}

static fc_ff_mixed process_copy(instance* self, const fc_ff_frame_copy* copy) {
  size_t bytes = (size_t)self->video.width * self->video.height * pixel_bytes(self);
  uint8_t* out = copy->output;
  for (size_t i = 0; i < bytes; ++i) {
    unsigned sum = 0;
    for (uint32_t k = 0; k < copy->count; ++k) sum += ((const uint8_t*)copy->inputs[k])[i];
    out[i] = (uint8_t)(sum / copy->count);
  }
  return fc_ff_uint(FC_FF_SUCCESS);
}

static void record(uint32_t code, fc_ff_mixed input, void* instanceID) {
  if (callCount >= TP_MAX_CALLS) return;
  fc_test_call* call = &calls[callCount++];
  memset(call, 0, sizeof *call);
  call->code = code;
  call->input = input.UIntValue;
  call->instance = instanceID;
  if (code == FC_FF_SET_PARAMETER) {
    const fc_ff_set_parameter* set = input.PointerValue;
    call->index = set->index;
    if (set->index < PARAMETER_COUNT && types[set->index] == FC_FF_TYPE_TEXT)
      strncpy(call->text, set->value.PointerValue, sizeof call->text - 1);
    else
      call->value = set->value.FloatValue;
  } else if (code == FC_FF_INSTANTIATE) {
    call->video = *(const fc_ff_video_info*)input.PointerValue;
  } else if (code == FC_FF_PROCESS_FRAME) {
    memcpy(call->first, input.PointerValue, pixel_bytes(instanceID));
  } else if (code == FC_FF_PROCESS_FRAME_COPY) {
    const fc_ff_frame_copy* copy = input.PointerValue;
    call->count = copy->count;
    memcpy(call->first, copy->inputs[0], pixel_bytes(instanceID));
  }
}

static const fc_ff_extended_info extended = {3, 7, "test plug-in", "made for the host's tests"};

/* Without the entry point the same function is exported under another name. */
#ifdef TP_NO_ENTRY
#define plugMain fc_test_not_the_entry
#endif

FC_FF_EXPORT fc_ff_mixed plugMain(uint32_t functionCode, fc_ff_mixed inputValue, void* instanceID) {
  record(functionCode, inputValue, instanceID);
#ifdef TP_FAIL_ALL
  return fc_ff_uint(FC_FF_FAIL);
#endif
  instance* self = instanceID;
  switch (functionCode) {
    case FC_FF_INITIALISE:
#ifdef TP_FAIL_INITIALISE
      return fc_ff_uint(FC_FF_FAIL);
#endif
      for (uint32_t i = 0; i < PARAMETER_COUNT; ++i) values[i] = defaults[i];
      caption[0] = 0;
      return fc_ff_uint(FC_FF_SUCCESS);
    case FC_FF_DEINITIALISE: return fc_ff_uint(FC_FF_SUCCESS);
    case FC_FF_GET_NUM_PARAMETERS: return fc_ff_uint(parameter_count());
    case FC_FF_GET_PARAMETER_NAME:
      return inputValue.UIntValue < PARAMETER_COUNT ? fc_ff_pointer(names[inputValue.UIntValue])
                                                    : fc_ff_uint(FC_FF_FAIL);
    case FC_FF_GET_PARAMETER_DEFAULT:
      return inputValue.UIntValue < PARAMETER_COUNT ? fc_ff_float(defaults[inputValue.UIntValue])
                                                    : fc_ff_uint(FC_FF_FAIL);
    case FC_FF_GET_PARAMETER_TYPE:
      return inputValue.UIntValue < PARAMETER_COUNT ? fc_ff_uint(types[inputValue.UIntValue])
                                                    : fc_ff_uint(FC_FF_FAIL);
    case FC_FF_GET_PARAMETER_DISPLAY:
      if (inputValue.UIntValue >= PARAMETER_COUNT) return fc_ff_uint(FC_FF_FAIL);
      display[0] = (char)('0' + inputValue.UIntValue);
      display[1] = '=';
      display[2] = 0;
      return fc_ff_pointer(display);
    case FC_FF_SET_PARAMETER: {
      const fc_ff_set_parameter* set = inputValue.PointerValue;
      if (set->index >= PARAMETER_COUNT) return fc_ff_uint(FC_FF_FAIL);
      if (types[set->index] == FC_FF_TYPE_TEXT) {
        strncpy(caption, set->value.PointerValue, sizeof caption - 1);
      } else {
        float value = set->value.FloatValue;
        /* The standard parameter keeps to 0..1: the host must read it back. */
        if (types[set->index] == FC_FF_TYPE_STANDARD && value > 1.0f) value = 1.0f;
        values[set->index] = value;
      }
      return fc_ff_uint(FC_FF_SUCCESS);
    }
    case FC_FF_GET_PARAMETER:
      if (inputValue.UIntValue >= PARAMETER_COUNT) return fc_ff_uint(FC_FF_FAIL);
      if (types[inputValue.UIntValue] == FC_FF_TYPE_TEXT) return fc_ff_pointer(caption);
      return fc_ff_float(values[inputValue.UIntValue]);
    case FC_FF_GET_PLUGIN_CAPS: return fc_ff_uint(capability(inputValue.UIntValue));
    case FC_FF_INSTANTIATE: {
#ifdef TP_FAIL_INSTANTIATE
      return fc_ff_uint(FC_FF_FAIL);
#endif
      instance* made = malloc(sizeof *made);
      made->video = *(const fc_ff_video_info*)inputValue.PointerValue;
      return fc_ff_pointer(made);
    }
    case FC_FF_DEINSTANTIATE: free(self); return fc_ff_uint(FC_FF_SUCCESS);
    case FC_FF_GET_EXTENDED_INFO: return fc_ff_pointer(&extended);
    case FC_FF_PROCESS_FRAME:
#ifdef TP_FAIL_FRAMES
      return fc_ff_uint(FC_FF_FAIL);
#endif
      return process(self, inputValue.PointerValue);
    case FC_FF_PROCESS_FRAME_COPY:
#ifdef TP_FAIL_FRAMES
      return fc_ff_uint(FC_FF_FAIL);
#endif
      return process_copy(self, inputValue.PointerValue);
    default: return fc_ff_uint(FC_FF_FAIL);
  }
}
