/* blend.c - an example effect plug-in with two inputs: mixes the second
 * frame into the first by the parameter "Mix" (0 gives the first frame, 1 the
 * second). It takes its frames through frame copy, so a TFCFreeFrame that
 * loads it has two inputs.
 *
 * Build it with only the plug-in header:
 *   cc -shared -fPIC -O2 -I<prefix>/include -o ff_blend.so blend.c */
#include <stdint.h>
#include <stdlib.h>

#include <framecraft/freeframe.h>

typedef struct blend {
  size_t bytes; /* of one frame */
  float mix;
} blend;

static const fc_ff_extended_info information = {1, 0, "Mixes two frames", "An example plug-in of Framecraft"};

static uint32_t capability(uint32_t code) {
  switch (code) {
    case FC_FF_CAP_24BIT:
    case FC_FF_CAP_32BIT:
    case FC_FF_CAP_FRAME_COPY: return 1;
    case FC_FF_CAP_MINIMUM_INPUT_FRAMES:
    case FC_FF_CAP_MAXIMUM_INPUT_FRAMES: return 2;
    case FC_FF_CAP_COPY_OR_IN_PLACE: return FC_FF_PREFER_COPY;
    default: return 0;
  }
}

static fc_ff_mixed instantiate(const fc_ff_video_info* video) {
  if (video->bitDepth != FC_FF_DEPTH_24BIT && video->bitDepth != FC_FF_DEPTH_32BIT) return fc_ff_uint(FC_FF_FAIL);
  blend* self = calloc(1, sizeof *self);
  if (!self) return fc_ff_uint(FC_FF_FAIL);
  self->bytes = (size_t)video->width * video->height * (video->bitDepth == FC_FF_DEPTH_32BIT ? 4 : 3);
  self->mix = 0.5f;
  return fc_ff_pointer(self);
}

static fc_ff_mixed process_copy(const blend* self, const fc_ff_frame_copy* copy) {
  if (copy->count < 2) return fc_ff_uint(FC_FF_FAIL);
  const uint8_t* a = copy->inputs[0];
  const uint8_t* b = copy->inputs[1];
  uint8_t* out = copy->output;
  const unsigned weight = (unsigned)(self->mix * 256.0f + 0.5f); /* 0 to 256 */
  for (size_t i = 0; i < self->bytes; ++i) out[i] = (uint8_t)((a[i] * (256 - weight) + b[i] * weight + 128) >> 8);
  return fc_ff_uint(FC_FF_SUCCESS);
}

FC_FF_EXPORT fc_ff_mixed plugMain(uint32_t functionCode, fc_ff_mixed inputValue, void* instanceID) {
  blend* self = instanceID;
  switch (functionCode) {
    case FC_FF_INITIALISE:
    case FC_FF_DEINITIALISE: return fc_ff_uint(FC_FF_SUCCESS);
    case FC_FF_GET_PLUGIN_CAPS: return fc_ff_uint(capability(inputValue.UIntValue));
    case FC_FF_GET_EXTENDED_INFO: return fc_ff_pointer(&information);
    case FC_FF_GET_NUM_PARAMETERS: return fc_ff_uint(1);
    case FC_FF_GET_PARAMETER_NAME: return inputValue.UIntValue == 0 ? fc_ff_pointer("Mix") : fc_ff_uint(FC_FF_FAIL);
    case FC_FF_GET_PARAMETER_TYPE: return fc_ff_uint(FC_FF_TYPE_STANDARD);
    case FC_FF_GET_PARAMETER_DEFAULT: return fc_ff_float(0.5f);
    case FC_FF_INSTANTIATE: return instantiate(inputValue.PointerValue);
    case FC_FF_DEINSTANTIATE: free(self); return fc_ff_uint(FC_FF_SUCCESS);
    case FC_FF_SET_PARAMETER: {
      const fc_ff_set_parameter* set = inputValue.PointerValue;
      if (!self || set->index != 0) return fc_ff_uint(FC_FF_FAIL);
      const float mix = set->value.FloatValue;
      self->mix = mix < 0 ? 0 : mix > 1 ? 1 : mix;
      return fc_ff_uint(FC_FF_SUCCESS);
    }
    case FC_FF_GET_PARAMETER:
      return self && inputValue.UIntValue == 0 ? fc_ff_float(self->mix) : fc_ff_uint(FC_FF_FAIL);
    case FC_FF_PROCESS_FRAME_COPY:
      return self ? process_copy(self, inputValue.PointerValue) : fc_ff_uint(FC_FF_FAIL);
    default: return fc_ff_uint(FC_FF_FAIL);
  }
}
