// Fcimagegen.h - a generator that sends one picture as every frame.
#pragma once

#include "contracts/video/generator.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/picture.h"

namespace fc {

/// Publishes `Picture` (empty at first). Each change of the picture draws it
/// on a bitmap of its size (transparent parts black) and caches that as a
/// frame; every generated frame is the cached one, and a stream's frame size
/// is the picture's. Form files keep the picture's file bytes.
class FC_COMPONENTS_API TFCImageGen : public TFCCommonGen {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCImageGen(TComponent* owner);
  ~TFCImageGen() override { RetirePins(); }

  TPicture* GetPicture() { return &picture_; }
  /// Copies `picture` into the owned picture under the write lock.
  void SetPicture(const TPicture& picture);

  /// Sets ImageSize to the picture's size and returns it.
  TFCSize* GetImageSize() override;

protected:
  void GenerateFrame(TFCImageBuffer& Buffer, bool& Send, bool& EndOfStream) override;

private:
  void PictureChanged();

  TPicture picture_;
  TBitmap bitmap_;
  TFCImageBuffer cached_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcimagegen)
