// Fcjaehnegen.h - a generator of the Jaehne test pattern.
#pragma once

#include "contracts/video/generator.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Fills each frame of `ImageSize` with the Jaehne pattern: concentric rings
/// whose frequency grows from the centre outwards. No properties of its own.
class FC_COMPONENTS_API TFCJaehneGen : public TFCCommonGen {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCJaehneGen(TComponent* owner) : TFCCommonGen(owner) {}
  ~TFCJaehneGen() override { RetirePins(); }

protected:
  void GenerateFrame(TFCImageBuffer& Buffer, bool& Send, bool& EndOfStream) override;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcjaehnegen)
