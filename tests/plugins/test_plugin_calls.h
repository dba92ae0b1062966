/* test_plugin_calls.h - the record the test plug-ins keep of each call they
 * receive; the tests read it through the plug-in's fc_test_calls(). */
#ifndef FRAMECRAFT_TEST_PLUGIN_CALLS_H
#define FRAMECRAFT_TEST_PLUGIN_CALLS_H

#include <stdint.h>

#include "framecraft/freeframe.h"

/* One call as received. */
typedef struct fc_test_call {
  uint32_t code;
  uint32_t input;      /* the input's UIntValue */
  void* instance;
  uint32_t index;      /* set parameter: the record's index */
  float value;         /* set parameter: the record's float */
  char text[32];       /* set parameter of the text parameter */
  fc_ff_video_info video; /* instantiate */
  uint32_t count;      /* frame copy: input count */
  uint8_t first[4];    /* processing: the first pixel's bytes as received */
} fc_test_call;

typedef const fc_test_call* (*fc_test_calls_function)(int* count);
typedef void (*fc_test_reset_function)(void);

#endif
