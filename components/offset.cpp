#include "components/offset.h"

namespace fc {

const TClassInfo& TFCOffset::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TFCOffset>("TFCOffset", &TPersistent::StaticClassInfo())
                                     .Property("X", &TFCOffset::GetX, &TFCOffset::SetX, kStartX)
                                     .Property("Y", &TFCOffset::GetY, &TFCOffset::SetY, kStartY)
                                     .Build();
  return info;
}

}  // namespace fc
