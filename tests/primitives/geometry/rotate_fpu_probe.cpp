// rotate_fpu_probe - in a fresh process, loads the x87 control word 0x027F,
// makes the first call of the entry named by argv[1] (ippiRotate_8u_C3R or
// ippiRotate_8u_C1R) and prints the control word afterwards in hexadecimal.
#include <cstdio>
#include <cstring>

#include "dispatch/primitives.h"

int main(int argc, char** argv) {
#if defined(__x86_64__) || defined(__i386__)
  if (argc < 2) return 2;
  Ipp8u src[4 * 4 * 3] = {}, dst[4 * 4 * 3] = {};
  const TFCImageRect rect{0, 0, 4, 4};
  const bool threeChannel = std::strcmp(argv[1], "ippiRotate_8u_C3R") == 0;
  const unsigned short changed = 0x027F;
  __asm__ volatile("fldcw %0" : : "m"(changed));
  const IppStatus status = threeChannel ? ippiRotate_8u_C3R(src, {4, 4}, 12, rect, dst, 12, rect, 0.0, 0.0, 0.0, 1)
                                        : ippiRotate_8u_C1R(src, {4, 4}, 4, rect, dst, 4, rect, 0.0, 0.0, 0.0, 1);
  unsigned short after = 0;
  __asm__ volatile("fnstcw %0" : "=m"(after));
  std::printf("%d 0x%04X\n", status, after);
  return 0;
#else
  (void)argc;
  (void)argv;
  std::printf("0 none\n");
  return 0;
#endif
}
