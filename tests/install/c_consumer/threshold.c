/* A plain C program that calls a primitive through the installed library:
 * samples above the threshold become the value, the others stay. */
#include <stdio.h>

#include <dispatch/primitives.h>

int main(void) {
  enum { kWidth = 4, kHeight = 2, kStep = 3 * kWidth };
  Ipp8u* src = ippsMalloc_8u(kStep * kHeight);
  Ipp8u* dst = ippsMalloc_8u(kStep * kHeight);
  if (!src || !dst) return 1;
  for (int i = 0; i < kStep * kHeight; ++i) src[i] = (Ipp8u)(i * 10);
  const Ipp8u threshold[3] = {50, 100, 150};
  const Ipp8u value[3] = {1, 2, 3};
  const IppiSize roi = {kWidth, kHeight};
  IppStatus status = ippiThreshold_GTVal_8u_C3R(src, kStep, dst, kStep, roi, threshold, value);
  int wrong = 0;
  for (int i = 0; i < kStep * kHeight; ++i) {
    const int channel = i % 3;
    const Ipp8u expected = src[i] > threshold[channel] ? value[channel] : src[i];
    wrong += dst[i] != expected;
  }
  ippsFree(src);
  ippsFree(dst);
  printf("status %d, %d wrong samples, processor class %d\n", status, wrong, Global_CPU());
  return status == ippStsNoErr && wrong == 0 ? 0 : 1;
}
