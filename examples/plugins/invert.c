/* invert.c - an example effect plug-in: inverts the colours of a frame, in
 * place, blended with the original by the parameter "Amount" (1 inverts
 * fully, 0 leaves the frame as it is).
 *
 * Build it with only the plug-in header:
 *   cc -shared -fPIC -O2 -I<prefix>/include -o ff_invert.so invert.c
 * and load it in a TFCFreeFrame (FilterFileName = 'ff_invert.so'). */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <framecraft/freeframe.h>

typedef struct invert {
  uint32_t width, height, bytesPerPixel;
  float amount;
  uint8_t table[256]; /* each byte value's result for the amount */
} invert;

static const fc_ff_extended_info information = {1, 0, "Inverts the colours of a frame",
                                                "An example plug-in of Framecraft"};

static void set_amount(invert* self, float amount) {
  if (amount < 0) amount = 0;
  if (amount > 1) amount = 1;
  self->amount = amount;
  for (int v = 0; v < 256; ++v) self->table[v] = (uint8_t)(v + (int)((255 - 2 * v) * amount + (v < 128 ? 0.5f : -0.5f)));
}

static fc_ff_mixed instantiate(const fc_ff_video_info* video) {
  if (video->bitDepth != FC_FF_DEPTH_24BIT && video->bitDepth != FC_FF_DEPTH_32BIT) return fc_ff_uint(FC_FF_FAIL);
  invert* self = calloc(1, sizeof *self);
  if (!self) return fc_ff_uint(FC_FF_FAIL);
  self->width = video->width;
  self->height = video->height;
  self->bytesPerPixel = video->bitDepth == FC_FF_DEPTH_32BIT ? 4 : 3;
  set_amount(self, 1.0f);
  return fc_ff_pointer(self);
}

static fc_ff_mixed process(const invert* self, uint8_t* pixels) {
  const size_t count = (size_t)self->width * self->height;
  for (size_t i = 0; i < count; ++i, pixels += self->bytesPerPixel)
    for (int c = 0; c < 3; ++c) pixels[c] = self->table[pixels[c]];
  return fc_ff_uint(FC_FF_SUCCESS);
}

FC_FF_EXPORT fc_ff_mixed plugMain(uint32_t functionCode, fc_ff_mixed inputValue, void* instanceID) {
  invert* self = instanceID;
  switch (functionCode) {
    case FC_FF_INITIALISE:
    case FC_FF_DEINITIALISE: return fc_ff_uint(FC_FF_SUCCESS);
    case FC_FF_GET_PLUGIN_CAPS:
      switch (inputValue.UIntValue) {
        case FC_FF_CAP_24BIT:
        case FC_FF_CAP_32BIT: return fc_ff_uint(1);
        case FC_FF_CAP_COPY_OR_IN_PLACE: return fc_ff_uint(FC_FF_PREFER_IN_PLACE);
        default: return fc_ff_uint(0);
      }
    case FC_FF_GET_EXTENDED_INFO: return fc_ff_pointer(&information);
    case FC_FF_GET_NUM_PARAMETERS: return fc_ff_uint(1);
    case FC_FF_GET_PARAMETER_NAME: return inputValue.UIntValue == 0 ? fc_ff_pointer("Amount") : fc_ff_uint(FC_FF_FAIL);
    case FC_FF_GET_PARAMETER_TYPE: return fc_ff_uint(FC_FF_TYPE_STANDARD);
    case FC_FF_GET_PARAMETER_DEFAULT: return fc_ff_float(1.0f);
    case FC_FF_INSTANTIATE: return instantiate(inputValue.PointerValue);
    case FC_FF_DEINSTANTIATE: free(self); return fc_ff_uint(FC_FF_SUCCESS);
    case FC_FF_SET_PARAMETER: {
      const fc_ff_set_parameter* set = inputValue.PointerValue;
      if (!self || set->index != 0) return fc_ff_uint(FC_FF_FAIL);
      set_amount(self, set->value.FloatValue);
      return fc_ff_uint(FC_FF_SUCCESS);
    }
    case FC_FF_GET_PARAMETER:
      return self && inputValue.UIntValue == 0 ? fc_ff_float(self->amount) : fc_ff_uint(FC_FF_FAIL);
    case FC_FF_PROCESS_FRAME: return self ? process(self, inputValue.PointerValue) : fc_ff_uint(FC_FF_FAIL);
    default: return fc_ff_uint(FC_FF_FAIL);
  }
}
