// morph_shape.cpp - the morphology filter's structuring element.
#include "components/morph_shape.h"

#include <algorithm>
#include <cmath>

#include "components/Fcmorphfilter.h"
#include "components/Fcmorphshapeformunit.h"
#include "platform/runtime/error.h"

namespace fc {

const TEnumInfo& MorphShapeTypeInfo() {
  static const TEnumInfo info("TFCMorphShapeType", {"stRect", "stCross", "stEllipse", "stCustom"});
  return info;
}

const TClassInfo& TFCMorphShape::StaticClassInfo() {
  using S = TFCMorphShape;
  static const TClassInfo info =
      TClassBuilder<S>("TFCMorphShape", &TPersistent::StaticClassInfo())
          .Enum("ShapeType", &S::GetShapeType, &S::SetShapeType, MorphShapeTypeInfo())
          .Build();
  return info;
}

namespace {

// The cells of a w x h mask reshaped to W x H: the overlapping top-left part
// keeps its cells, new cells are 0.
std::vector<Ipp8u> Reshaped(const std::vector<Ipp8u>& cells, std::size_t w, std::size_t h, std::size_t W,
                            std::size_t H) {
  std::vector<Ipp8u> out(W * H, 0);
  const std::size_t copyW = std::min(w, W), copyH = std::min(h, H);
  for (std::size_t y = 0; y < copyH; ++y)
    std::copy_n(cells.begin() + static_cast<std::ptrdiff_t>(y * w), copyW,
                out.begin() + static_cast<std::ptrdiff_t>(y * W));
  return out;
}

// The ellipse's half axis along a side: W / 2 for odd sides, W / 2 - 1 for
// even ones.
int HalfAxis(int side) { return side % 2 ? side / 2 : side / 2 - 1; }

}  // namespace

TFCMorphShape::TFCMorphShape(TFCMorphFilter& filter)
    : TPMLockedPersistent(&filter, "MorphShape", filter), filter_(filter) {}

TFCMorphShapeType TFCMorphShape::GetShapeType() const { return Load(shapeType_); }

void TFCMorphShape::SetShapeType(TFCMorphShapeType type) {
  auto section = Lock().WriteLock();
  if (type == shapeType_) return;
  shapeType_ = type;
  SetDataPerShape();
  filter_.Changed();
}

bool TFCMorphShape::GetItem(int x, int y) const {
  auto section = Lock().ReadLock();
  if (x < 0 || y < 0 || static_cast<std::uint32_t>(x) >= width_ || static_cast<std::uint32_t>(y) >= height_)
    return false;
  return custom_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)] != 0;
}

void TFCMorphShape::SetItem(int x, int y, bool value) {
  auto section = Lock().WriteLock();
  if (x < 0 || y < 0 || static_cast<std::uint32_t>(x) >= width_ || static_cast<std::uint32_t>(y) >= height_)
    return;
  custom_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)] = value ? 1 : 0;
}

void TFCMorphShape::RecalcArray(std::uint32_t W, std::uint32_t H) {
  auto section = Lock().WriteLock();
  custom_ = Reshaped(custom_, width_, height_, W, H);
  generated_ = Reshaped(generated_, width_, height_, W, H);
  width_ = W;
  height_ = H;
  SetDataPerShape();
}

void TFCMorphShape::SetDataPerShape() {
  auto section = Lock().WriteLock();
  if (shapeType_ == stCustom) {
    inUse_ = &custom_;
    return;
  }
  inUse_ = &generated_;
  if (width_ >= 4 && height_ >= 4) BuildGenerated();
}

void TFCMorphShape::BuildGenerated() {
  const int W = static_cast<int>(width_), H = static_cast<int>(height_);
  const int cx = static_cast<int>((W + 0.5) * 0.5), cy = static_cast<int>((H + 0.5) * 0.5);
  auto cell = [&](int x, int y) -> Ipp8u& { return generated_[static_cast<std::size_t>(y) * width_ + x]; };
  const int rx = HalfAxis(W), ry = HalfAxis(H), r = std::max(rx, ry);
  for (int y = cy; y < H; ++y)
    for (int x = cx; x < W; ++x) {
      bool in = true;
      if (shapeType_ == stCross) {
        in = x == cx || y == cy;
      } else if (shapeType_ == stEllipse) {
        const int dx = x - cx, dy = y - cy;
        const double a = std::sqrt(std::max(r * r - dx * dx, 0)), b = std::sqrt(std::max(r * r - dy * dy, 0));
        in = dy <= static_cast<int>(ry * a / rx) && dx <= static_cast<int>(rx * b / ry);
      }
      cell(x, y) = in ? 1 : 0;
    }
  for (int y = cy; y < H; ++y)
    for (int x = 0; x < cx; ++x) cell(x, y) = cell(W - 1 - x, y);
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < W; ++x) cell(x, y) = cell(x, H - 1 - y);
}

void TFCMorphShape::Assign(const TPersistent& source) {
  const auto* shape = dynamic_cast<const TFCMorphShape*>(&source);
  if (!shape) return TPersistent::Assign(source);
  if (shape == this) return;
  TFCMorphShapeType type;
  std::vector<Ipp8u> custom, generated;
  std::uint32_t w, h;
  {
    auto section = shape->Lock().ReadLock();
    type = shape->shapeType_;
    custom = shape->custom_;
    generated = shape->generated_;
    w = shape->width_;
    h = shape->height_;
  }
  auto section = Lock().WriteLock();
  shapeType_ = type;
  // The masks take this filter's mask size, so the mask in use always
  // matches the size the primitives are told.
  custom_ = Reshaped(custom, w, h, width_, height_);
  generated_ = Reshaped(generated, w, h, width_, height_);
  SetDataPerShape();
  filter_.Changed();
}

bool TFCMorphShape::ShowDialog() {
  TFCMorphShapeForm form;
  return form.Execute(filter_);
}

bool TFCMorphShape::HasCustomCells() const {
  return std::any_of(custom_.begin(), custom_.end(), [](Ipp8u cell) { return cell != 0; });
}

void TFCMorphShape::DefineProperties(TFormFiler& filer) {
  bool hasData;
  {
    auto section = Lock().ReadLock();
    hasData = HasCustomCells();
  }
  filer.DefineProperty(
      "MatrixData", [this](const FormValue& value) { ReadMatrixData(value); },
      [this] { return WriteMatrixData(); }, hasData);
  filer.DefineProperty(
      "Matrix", [this](const FormValue& value) { ReadMatrix(value); }, nullptr, false);
}

FormValue TFCMorphShape::WriteMatrixData() const {
  auto section = Lock().ReadLock();
  std::vector<std::int64_t> values{static_cast<std::int64_t>(custom_.size())};
  values.insert(values.end(), custom_.begin(), custom_.end());
  return FormListOf(values);
}

void TFCMorphShape::ReadCells(const std::vector<std::int64_t>& cells, const std::string& item) {
  auto section = Lock().WriteLock();
  if (cells.size() != custom_.size())
    throw EFCError(item + ": " + std::to_string(cells.size()) + " cells for a " + std::to_string(width_) + " x " +
                   std::to_string(height_) + " mask");
  for (std::size_t i = 0; i < cells.size(); ++i) custom_[i] = static_cast<Ipp8u>(cells[i] & 0xFF);
  SetDataPerShape();
}

void TFCMorphShape::ReadMatrixData(const FormValue& value) {
  const std::string item = NamePath() + ".MatrixData";
  std::vector<std::int64_t> values = FormIntegerList(value, item);
  if (values.empty() || values[0] != static_cast<std::int64_t>(values.size() - 1))
    throw EFCError(item + ": the cell count does not match the cells");
  values.erase(values.begin());
  ReadCells(values, item);
}

void TFCMorphShape::ReadMatrix(const FormValue& value) {
  const std::string item = NamePath() + ".Matrix";
  const std::vector<std::uint8_t>& bytes = value.bytes();
  auto word = [&](std::size_t at) {
    return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 | std::uint32_t(bytes[at + 2]) << 16 |
           std::uint32_t(bytes[at + 3]) << 24;
  };
  if (!value.is(FormValue::Kind::Binary) || bytes.size() < 4 || (bytes.size() - 4) / 4 != word(0) ||
      bytes.size() % 4 != 0)
    throw EFCError(item + ": expects binary data of a cell count and as many 4-byte cells");
  std::vector<std::int64_t> cells;
  for (std::size_t at = 4; at < bytes.size(); at += 4) cells.push_back(word(at));
  ReadCells(cells, item);
}

}  // namespace fc
