#include "components/Fcmorphshapeformunit.h"

#include <algorithm>

#include "components/Fcmorphfilter.h"

namespace fc {

namespace {

const std::string kOne = "1", kZero = "0";

bool IsDigit(char key) { return key >= '0' && key <= '9'; }

// The side an edit's text gives: the current side when empty, otherwise the
// number limited to 1..max.
std::size_t SideOf(const std::string& text, std::size_t current, int max) {
  if (text.empty()) return current;
  long long value = 0;
  for (char digit : text) value = std::min<long long>(value * 10 + (digit - '0'), max);
  return static_cast<std::size_t>(std::clamp<long long>(value, 1, max));
}

}  // namespace

TFCMorphShapeForm::TFCMorphShapeForm() : TModalForm("FCMorphShapeForm") {}

bool TFCMorphShapeForm::Execute(TFCMorphFilter& filter) {
  TFCMaskSize& mask = *filter.GetMaskSize();
  const std::uint16_t width = mask.GetWidth(), height = mask.GetHeight();
  widthEdit_.text = std::to_string(width);
  heightEdit_.text = std::to_string(height);
  ResizeGrid(width, height);
  for (int row = 0; row < RowCount(); ++row)
    for (int col = 0; col < ColCount(); ++col)
      CellAt(col, row) = filter.GetMorphShape()->GetItem(col, row) ? kOne : kZero;
  statusText_ = "0:0";
  col_ = row_ = 0;
  focusedEdit_ = nullptr;
  okButton_.isDefault = true;
  if (ShowModal() != mrOk) return false;

  mask.SetWidth(static_cast<std::uint16_t>(cols_));
  mask.SetHeight(static_cast<std::uint16_t>(rows_));
  for (int row = 0; row < RowCount(); ++row)
    for (int col = 0; col < ColCount(); ++col) filter.GetMorphShape()->SetItem(col, row, Cell(col, row) == kOne);
  return true;
}

const std::string& TFCMorphShapeForm::Cell(int col, int row) const {
  return cells_.at(static_cast<std::size_t>(row) * cols_ + static_cast<std::size_t>(col));
}

void TFCMorphShapeForm::SelectCell(int col, int row) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return;
  col_ = col;
  row_ = row;
  statusText_ = std::to_string(col) + ":" + std::to_string(row);
}

void TFCMorphShapeForm::FocusGrid() {
  if (focusedEdit_) ApplyEdits();
  focusedEdit_ = nullptr;
}

void TFCMorphShapeForm::FocusEdit(TFCFormEdit& edit) {
  if (focusedEdit_ == &edit) return;
  if (focusedEdit_) ApplyEdits();
  focusedEdit_ = &edit;
  okButton_.isDefault = false;
}

void TFCMorphShapeForm::KeyPress(char key) {
  if (key == '\x1b') return ClickCancel();
  if (focusedEdit_) return EditKeyPress(*focusedEdit_, key);
  GridKeyPress(key);
}

void TFCMorphShapeForm::GridKeyPress(char key) {
  if (key == '\r') {
    if (okButton_.isDefault) ClickOK();
    return;
  }
  if (cells_.empty()) return;
  std::string& cell = CellAt(col_, row_);
  if (key == ' ') cell = cell == kOne ? kZero : kOne;
  if (key == '0') cell = kZero;
  if (key == '1') cell = kOne;
}

void TFCMorphShapeForm::EditKeyPress(TFCFormEdit& edit, char key) {
  if (key == '\r') {
    ApplyEdits();
    edit.textSelected = true;
    return;
  }
  if (key == '\b') {
    if (edit.textSelected) edit.text.clear();
    else if (!edit.text.empty()) edit.text.pop_back();
    edit.textSelected = false;
    return;
  }
  if (!IsDigit(key)) return;  // every other key is dropped
  if (edit.textSelected) edit.text.clear();
  edit.text += key;
  edit.textSelected = false;
}

void TFCMorphShapeForm::ApplyEdits() {
  const std::size_t cols = SideOf(widthEdit_.text, cols_, kMaxSide);
  const std::size_t rows = SideOf(heightEdit_.text, rows_, kMaxSide);
  widthEdit_.text = std::to_string(cols);
  heightEdit_.text = std::to_string(rows);
  ResizeGrid(cols, rows);
}

void TFCMorphShapeForm::ResizeGrid(std::size_t cols, std::size_t rows) {
  std::vector<std::string> cells(cols * rows, kZero);
  for (std::size_t row = 0; row < std::min(rows, rows_); ++row)
    for (std::size_t col = 0; col < std::min(cols, cols_); ++col)
      cells[row * cols + col] = cells_[row * cols_ + col];
  cells_ = std::move(cells);
  cols_ = cols;
  rows_ = rows;
  if (col_ >= ColCount() || row_ >= RowCount()) SelectCell(0, 0);
}

void TFCMorphShapeForm::ClickOK() {
  FocusGrid();
  ApplyEdits();
  SetModalResult(okButton_.modalResult);
}

void TFCMorphShapeForm::ClickCancel() { SetModalResult(cancelButton_.modalResult); }

}  // namespace fc

FC_DEFINE_UNIT(Fcmorphshapeformunit)
