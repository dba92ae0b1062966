#include "platform/signal/real_convert.h"

namespace fc {

IppStatus ippsConvert_32s64f(const Ipp32s* pSrc, Ipp64f* pDst, int len) {
  if (!pSrc || !pDst) return ippStsNullPtrErr;
  if (len < 1) return ippStsSizeErr;
  for (int i = 0; i < len; ++i) pDst[i] = static_cast<Ipp64f>(pSrc[i]);
  return ippStsNoErr;
}

}  // namespace fc
