// color_conversion_fpu_probe - in a fresh process, changes the x87 control
// word, makes the first and then a second call of one colour conversion
// entry (argv[1]: "luv" for ippiRGBToLUV_8u_C3R, "yuv" for
// ippiRGBToYUV_8u_C3R) and prints the control word after each call in hex:
//   <after first call> <after second call>
// Prints "unsupported" off x86.
#include <cstdio>
#include <cstring>

#include "dispatch/primitives.h"

namespace {

#if defined(__x86_64__) || defined(__i386__)
unsigned short controlWord() {
  unsigned short word = 0;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

void setControlWord(unsigned short word) { asm volatile("fldcw %0" : : "m"(word)); }
#endif

}  // namespace

int main(int argc, char** argv) {
#if defined(__x86_64__) || defined(__i386__)
  if (argc != 2) return 2;
  const bool luv = std::strcmp(argv[1], "luv") == 0;
  const Ipp8u src[3] = {10, 200, 30};
  Ipp8u dst[3];
  // 53-bit precision instead of the power-on 64-bit.
  const unsigned short changed = 0x027F;
  unsigned short after[2];
  for (unsigned short& word : after) {
    setControlWord(changed);
    const IppStatus status = luv ? fc_entry(ippiRGBToLUV_8u_C3R)(src, 3, dst, 3, {1, 1})
                                 : fc_entry(ippiRGBToYUV_8u_C3R)(src, 3, dst, 3, {1, 1});
    word = controlWord();
    if (status != ippStsNoErr) return 1;
  }
  std::printf("%04x %04x\n", after[0], after[1]);
#else
  (void)argc;
  (void)argv;
  std::printf("unsupported\n");
#endif
  return 0;
}
