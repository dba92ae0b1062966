#include "components/color_ranges.h"

#include <algorithm>
#include <cstdint>

namespace fc {

const TClassInfo& TFCColorRange::StaticClassInfo() {
  using R = TFCColorRange;
  static const TClassInfo info =
      TClassBuilder<R>("TFCColorRange", &TCollectionItem::StaticClassInfo())
          .Property<TColor, TColor>("Color", &R::GetColor, &R::SetColor, kColorDefault, kColorTypeName)
          .Property("ToleranceRed", &R::GetToleranceRed, &R::SetToleranceRed, kToleranceDefault)
          .Property("ToleranceGreen", &R::GetToleranceGreen, &R::SetToleranceGreen, kToleranceDefault)
          .Property("ToleranceBlue", &R::GetToleranceBlue, &R::SetToleranceBlue, kToleranceDefault)
          .Build();
  return info;
}

TFCColorRange::TFCColorRange(TCollection& collection)
    : TCollectionItem(collection), lock_(static_cast<TFCColorRanges&>(collection).Lock()) {
  CalcRange();
}

TColor TFCColorRange::GetColor() const {
  auto section = lock_.ReadLock();
  return color_;
}

std::int32_t TFCColorRange::GetToleranceRed() const {
  auto section = lock_.ReadLock();
  return tolerance_[kRed];
}

std::int32_t TFCColorRange::GetToleranceGreen() const {
  auto section = lock_.ReadLock();
  return tolerance_[kGreen];
}

std::int32_t TFCColorRange::GetToleranceBlue() const {
  auto section = lock_.ReadLock();
  return tolerance_[kBlue];
}

void TFCColorRange::SetColor(TColor color) {
  auto section = lock_.WriteLock();
  if (color == color_) return;
  color_ = color;
  CalcRange();
}

void TFCColorRange::SetTolerance(Part part, std::int32_t value) {
  auto section = lock_.WriteLock();
  if (value == tolerance_[part]) return;
  tolerance_[part] = value;
  CalcRange();
}

void TFCColorRange::SetToleranceRed(std::int32_t v) { SetTolerance(kRed, v); }
void TFCColorRange::SetToleranceGreen(std::int32_t v) { SetTolerance(kGreen, v); }
void TFCColorRange::SetToleranceBlue(std::int32_t v) { SetTolerance(kBlue, v); }

void TFCColorRange::CalcRange() {
  const TColorBytes parts = ColorBytes(color_);  // red, green, blue
  for (int part = kRed; part <= kBlue; ++part) {
    const std::int64_t k = parts.bytes[part], t = tolerance_[static_cast<std::size_t>(part)];
    const std::int64_t lower = k > t ? k - t : 0, upper = k < 255 - t ? k + t : 255;
    // A negative tolerance gives bounds past the part (an empty range);
    // clamped, they stay empty.
    lower_[static_cast<std::size_t>(part)] = static_cast<int>(std::min<std::int64_t>(lower, 256));
    upper_[static_cast<std::size_t>(part)] = static_cast<int>(std::max<std::int64_t>(upper, -1));
  }
}

bool TFCColorRange::InRage(std::uint32_t pixel) const {
  const int blue = static_cast<int>(pixel & 0xFF), green = static_cast<int>((pixel >> 8) & 0xFF),
            red = static_cast<int>((pixel >> 16) & 0xFF);
  return lower_[kRed] <= red && red <= upper_[kRed] && lower_[kGreen] <= green && green <= upper_[kGreen] &&
         lower_[kBlue] <= blue && blue <= upper_[kBlue];
}

std::string TFCColorRange::DisplayName() const {
  auto section = lock_.ReadLock();
  return ColorToString(color_) + " " + std::to_string(tolerance_[kRed]) + ":" + std::to_string(tolerance_[kGreen]) +
         ":" + std::to_string(tolerance_[kBlue]);
}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCColorRanges, TCollection)

bool TFCColorRanges::InRage(std::uint32_t pixel) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i).InRage(pixel)) return true;
  return false;
}

}  // namespace fc
