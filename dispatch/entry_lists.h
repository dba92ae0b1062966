/*
 * entry_lists.h - argument lists shared by many rows of the entry table.
 * Each list comes twice: as parameters (types and names) and as the
 * argument names alone, so binders and forwarders can pass the call on.
 */
#ifndef FRAMECRAFT_ENTRY_LISTS_H
#define FRAMECRAFT_ENTRY_LISTS_H

/* Source and destination images of the same region size. */
#define FC_TWO_IMAGE_PARAMS(...) \
  (const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize __VA_OPT__(, ) __VA_ARGS__)
#define FC_TWO_IMAGE_ARGS(...) (pSrc, srcStep, pDst, dstStep, roiSize __VA_OPT__(, ) __VA_ARGS__)

/* One image changed where it lies. */
#define FC_IN_PLACE_PARAMS(...) (Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize __VA_OPT__(, ) __VA_ARGS__)
#define FC_IN_PLACE_ARGS(...) (pSrcDst, srcDstStep, roiSize __VA_OPT__(, ) __VA_ARGS__)

/* Source image with its region, destination with its region. */
#define FC_GEOMETRIC_PARAMS(...)                                                          \
  (const Ipp8u* pSrc, IppiSize srcSize, int srcStep, TFCImageRect srcRoi, Ipp8u* pDst, \
   int dstStep, TFCImageRect dstRoi __VA_OPT__(, ) __VA_ARGS__)
#define FC_GEOMETRIC_ARGS(...) \
  (pSrc, srcSize, srcStep, srcRoi, pDst, dstStep, dstRoi __VA_OPT__(, ) __VA_ARGS__)

#endif
