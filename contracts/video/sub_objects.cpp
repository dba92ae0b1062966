#include "contracts/video/sub_objects.h"

#include <algorithm>

#include "platform/runtime/resource_budget.h"

namespace fc {

const TClassInfo& TFCRectRegion::StaticClassInfo() {
  using R = TFCRectRegion;
  static const TClassInfo info = TClassBuilder<R>("TFCRectRegion", &TPersistent::StaticClassInfo())
                                     .Property("X", &R::GetX, &R::SetX, kStartX)
                                     .Property("Y", &R::GetY, &R::SetY, kStartY)
                                     .Property("Width", &R::GetWidth, &R::SetWidth, kStartWidth)
                                     .Property("Height", &R::GetHeight, &R::SetHeight, kStartHeight)
                                     .Property("Enabled", &R::GetEnabled, &R::SetEnabled, kStartEnabled)
                                     .Build();
  return info;
}

TFCImageRect TFCRectRegion::Clip(IppiSize frame) const {
  const int width = std::max(frame.width, 0), height = std::max(frame.height, 0);
  auto section = Lock().ReadLock();
  if (!enabled_) return {0, 0, width, height};
  // The lower bound of 0 keeps an empty frame from giving a negative origin.
  const int x = std::max(0, std::min<int>(x_, width - 1));
  const int y = std::max(0, std::min<int>(y_, height - 1));
  return {x, y, std::min<int>(width_, width - x), std::min<int>(height_, height - y)};
}

const TClassInfo& TFCSize::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TFCSize>("TFCSize", &TPersistent::StaticClassInfo())
                                     .Property("Width", &TFCSize::GetWidth, &TFCSize::SetWidth, kStartWidth)
                                     .Property("Height", &TFCSize::GetHeight, &TFCSize::SetHeight, kStartHeight)
                                     .Build();
  return info;
}

void TFCSize::SetWidth(std::uint32_t v) {
  CheckFrameSide(NamePath(), "Width", v);
  Store(width_, v);
}

void TFCSize::SetHeight(std::uint32_t v) {
  CheckFrameSide(NamePath(), "Height", v);
  Store(height_, v);
}

IppiSize TFCSize::Get() const {
  auto section = Lock().ReadLock();
  return {static_cast<int>(width_), static_cast<int>(height_)};
}

const TClassInfo& TFCMaskSize::StaticClassInfo() {
  using M = TFCMaskSize;
  static const TClassInfo info = TClassBuilder<M>("TFCMaskSize", &TPersistent::StaticClassInfo())
                                     .Property("Width", &M::GetWidth, &M::SetWidth, kStartWidth)
                                     .Property("Height", &M::GetHeight, &M::SetHeight, kStartHeight)
                                     .Build();
  return info;
}

// A mask's cells are a work buffer of their own (the morphology element).
void TFCMaskSize::CheckCells(const char* property, std::uint16_t side, std::uint16_t otherSide) const {
  CheckFrameSide(NamePath(), property, side);
  CheckBufferBudget(NamePath(), property, std::uint64_t{side} * otherSide);
}

void TFCMaskSize::SetWidth(std::uint16_t v) {
  CheckCells("Width", v, GetHeight());
  auto section = Lock().WriteLock();
  if (v == width_) return;
  width_ = v;
  if (changed_) changed_();
}

void TFCMaskSize::SetHeight(std::uint16_t v) {
  CheckCells("Height", v, GetWidth());
  auto section = Lock().WriteLock();
  if (v == height_) return;
  height_ = v;
  if (changed_) changed_();
}

IppiSize TFCMaskSize::Get() const {
  auto section = Lock().ReadLock();
  return {width_, height_};
}

const TClassInfo& TFCMaskAnchor::StaticClassInfo() {
  using A = TFCMaskAnchor;
  static const TClassInfo info = TClassBuilder<A>("TFCMaskAnchor", &TPersistent::StaticClassInfo())
                                     .Property("X", &A::GetX, &A::SetX, kStartX)
                                     .Property("Y", &A::GetY, &A::SetY, kStartY)
                                     .Build();
  return info;
}

IppiPoint TFCMaskAnchor::Get() const {
  auto section = Lock().ReadLock();
  return {x_, y_};
}

const TClassInfo& TFCWienerNoiseLevels::StaticClassInfo() {
  using W = TFCWienerNoiseLevels;
  static const TClassInfo info = TClassBuilder<W>("TFCWienerNoiseLevels", &TPersistent::StaticClassInfo())
                                     .Property("Level1", &W::GetLevel1, &W::SetLevel1, kStartLevel)
                                     .Property("Level2", &W::GetLevel2, &W::SetLevel2, kStartLevel)
                                     .Property("Level3", &W::GetLevel3, &W::SetLevel3, kStartLevel)
                                     .Build();
  return info;
}

}  // namespace fc
