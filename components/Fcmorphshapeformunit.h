// Fcmorphshapeformunit.h - the modal editor of a morphology filter's custom
// structuring element.
#pragma once

#include <string>
#include <vector>

#include "package/unit_load_counter.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/modal_form.h"

namespace fc {

class TFCMorphFilter;

/// An edit box of the form: its text and whether all of it is selected
/// (typing then replaces it).
struct FC_COMPONENTS_API TFCFormEdit {
  std::string name;
  std::string text;
  bool textSelected = false;
};

/// A button of the form: pressing it sets its modal result.
struct FC_COMPONENTS_API TFCFormButton {
  std::string name;
  std::string caption;
  TModalResult modalResult = mrNone;
  bool isDefault = false;
};

/// The editor of a custom structuring element (caption "FCMorphShapeForm"):
/// a grid of "1" and "0" cells filling the form, the edits `WidthEdit` and
/// `HeightEdit` labelled "Width :" and "Height :", `OKButton` and
/// `CancelButton`, and a status bar showing the selected cell as
/// "column:row".
///
/// Keys go to the control with the focus. In the grid, space toggles the
/// selected cell and "0" or "1" set it; Enter presses the default button,
/// Escape cancels. The edits take the digits "0" to "9" (other printable keys
/// are dropped) and backspace. Entering an edit makes OK no longer the
/// default button; leaving it, or Enter in it (which also selects its text),
/// resizes the grid to the edits' values, new cells "0". A side is at least 1
/// and at most kMaxSide; an empty edit keeps the grid's side.
class FC_COMPONENTS_API TFCMorphShapeForm : public TModalForm {
public:
  static constexpr int kMaxSide = 255;

  TFCMorphShapeForm();

  /// Shows the filter's mask size and custom mask and runs the form
  /// modally. OK sets the filter's mask size to the grid's and writes every
  /// cell into the custom mask, and gives true; Cancel changes nothing and
  /// gives false. The shape type is left as it is.
  bool Execute(TFCMorphFilter& filter);

  const std::string& WidthLabel() const { return widthLabel_; }
  const std::string& HeightLabel() const { return heightLabel_; }
  const TFCFormEdit& WidthEdit() const { return widthEdit_; }
  const TFCFormEdit& HeightEdit() const { return heightEdit_; }
  const TFCFormButton& OKButton() const { return okButton_; }
  const TFCFormButton& CancelButton() const { return cancelButton_; }
  const std::string& StatusText() const { return statusText_; }

  int ColCount() const { return static_cast<int>(cols_); }
  int RowCount() const { return static_cast<int>(rows_); }
  /// The text of cell (col, row).
  const std::string& Cell(int col, int row) const;
  int Col() const { return col_; }
  int Row() const { return row_; }
  /// Selects a cell of the grid; cells outside it are not selected.
  void SelectCell(int col, int row);

  /// Moves the focus to the grid or to an edit; leaving an edit applies it.
  void FocusGrid();
  void FocusWidthEdit() { FocusEdit(widthEdit_); }
  void FocusHeightEdit() { FocusEdit(heightEdit_); }
  /// A key typed into the control with the focus: a character, '\r' for
  /// Enter, '\b' for backspace, '\x1b' for Escape.
  void KeyPress(char key);

  /// Presses OK (taking the focus from an edit first).
  void ClickOK();
  /// Presses Cancel.
  void ClickCancel();

private:
  void FocusEdit(TFCFormEdit& edit);
  void GridKeyPress(char key);
  void EditKeyPress(TFCFormEdit& edit, char key);
  /// Resizes the grid to the edits' values.
  void ApplyEdits();
  void ResizeGrid(std::size_t cols, std::size_t rows);
  std::string& CellAt(int col, int row) { return cells_[static_cast<std::size_t>(row) * cols_ + col]; }

  std::string widthLabel_ = "Width :", heightLabel_ = "Height :";
  TFCFormEdit widthEdit_{"WidthEdit", "", false}, heightEdit_{"HeightEdit", "", false};
  TFCFormButton okButton_{"OKButton", "OK", mrOk, true}, cancelButton_{"CancelButton", "Cancel", mrCancel, false};
  std::string statusText_;
  TFCFormEdit* focusedEdit_ = nullptr;

  std::size_t cols_ = 0, rows_ = 0;
  std::vector<std::string> cells_;
  int col_ = 0, row_ = 0;
};

}  // namespace fc

FC_DECLARE_UNIT(Fcmorphshapeformunit)
