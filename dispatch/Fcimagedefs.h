/*
 * Fcimagedefs.h - the C types, status codes and constants of the Framecraft
 * image primitives. Plain C, usable from any language with a C FFI.
 */
#ifndef FRAMECRAFT_FCIMAGEDEFS_H
#define FRAMECRAFT_FCIMAGEDEFS_H

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned char Ipp8u;   /* one 8-bit sample */
typedef unsigned short Ipp16u;
typedef int Ipp32s;
typedef float Ipp32f;

/* Result of every primitive: 0 success, negative error (nothing written),
 * positive warning (nothing or part written). */
typedef int IppStatus;

/* Width and height in pixels. */
typedef struct IppiSize {
  int width;
  int height;
} IppiSize;

/* A pixel position: column x, row y. */
typedef struct IppiPoint {
  int x;
  int y;
} IppiPoint;

/* A rectangle: top-left corner, width and height; passed by value. */
typedef struct TFCImageRect {
  int x;
  int y;
  int width;
  int height;
} TFCImageRect;

/* Morphology state record, created by ippiMorphologyInitAlloc_8u_C3R. */
typedef struct IppiMorphState IppiMorphState;

enum {
  ippStsNoErr = 0,
  ippStsWrongIntersectROI = 29,   /* source rectangle misses the source image */
  ippStsWrongIntersectQuad = 30,  /* transformed quadrangle misses the destination */
  ippStsSizeErr = -6,
  ippStsNullPtrErr = -8,
  ippStsMemAllocErr = -9,
  ippStsStepErr = -14,
  ippStsThresholdErr = -18,
  ippStsInterpolationErr = -22,
  ippStsResizeFactorErr = -23,
  ippStsMaskSizeErr = -33,
  ippStsAnchorErr = -34,
  ippStsStrideErr = -37,
  ippStsCoeffErr = -56,
  ippStsRectErr = -57,
  ippStsQuadErr = -58,
  ippStsZeroMaskValuesErr = -59,
  ippStsHistoNofLevelsErr = -107,
  ippStsResizeNoOperationErr = -201
};

/* Interpolation argument of the geometric primitives. */
#define IPPI_INTER_NN 1
#define IPPI_INTER_LINEAR 2
#define IPPI_INTER_CUBIC 4
#define IPPI_INTER_SUPER 8    /* resize only */
#define IPPI_INTER_LANCZOS 16 /* resize only */
#define IPPI_SMOOTH_EDGE ((int)0x80000000u) /* added for edge smoothing */

/* Mask-size codes of the fixed-kernel, cross-median and colour-median filters. */
enum { ippMskSize3x3 = 33, ippMskSize5x5 = 55 };

#ifdef __cplusplus
}
#endif

#endif
