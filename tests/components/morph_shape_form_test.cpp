// The structuring-element editor, driven by keys and clicks as a user would.
#include <gtest/gtest.h>

#include "components/Fcmorphfilter.h"
#include "components/Fcmorphshapeformunit.h"

namespace fc {
namespace {

using Rows = std::vector<std::string>;

Rows GridRows(const TFCMorphShapeForm& form) {
  Rows rows;
  for (int row = 0; row < form.RowCount(); ++row) {
    std::string text;
    for (int col = 0; col < form.ColCount(); ++col) text += form.Cell(col, row);
    rows.push_back(text);
  }
  return rows;
}

// Runs the shape's dialog with `user` playing the form.
bool RunDialog(TFCMorphFilter& filter, const std::function<void(TFCMorphShapeForm&)>& user) {
  TScopedModalRunner runner([&](TModalForm& form) { user(dynamic_cast<TFCMorphShapeForm&>(form)); });
  return filter.GetMorphShape()->ShowDialog();
}

TEST(MorphShapeForm, ShowsTheMaskAndWritesTheEditedCellsOnOK) {
  TFCMorphFilter filter(nullptr);
  filter.GetMorphShape()->SetItem(2, 0, true);
  const bool confirmed = RunDialog(filter, [](TFCMorphShapeForm& form) {
    EXPECT_EQ(form.Caption(), "FCMorphShapeForm");
    EXPECT_EQ(GridRows(form), (Rows{"001", "000", "000"}));
    EXPECT_EQ(form.WidthEdit().text, "3");
    EXPECT_EQ(form.StatusText(), "0:0");
    form.KeyPress(' ');
    form.SelectCell(1, 2);
    EXPECT_EQ(form.StatusText(), "1:2");
    form.KeyPress('1');
    form.KeyPress(' ');
    form.KeyPress(' ');
    form.SelectCell(2, 0);
    form.KeyPress('0');
    form.SelectCell(5, 5);  // outside: the selection stays
    EXPECT_EQ(form.StatusText(), "2:0");
    form.KeyPress('\r');    // OK is the default button
  });
  EXPECT_TRUE(confirmed);
  TFCMorphShape& shape = *filter.GetMorphShape();
  EXPECT_EQ(shape.GetShapeType(), stRect);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(shape.GetItem(x, y), (x == 0 && y == 0) || (x == 1 && y == 2)) << x << y;
}

TEST(MorphShapeForm, TheEditsTakeDigitsAndResizeTheGridAndTheMask) {
  TFCMorphFilter filter(nullptr);
  filter.GetMorphShape()->SetItem(0, 0, true);
  const bool confirmed = RunDialog(filter, [](TFCMorphShapeForm& form) {
    form.FocusWidthEdit();
    EXPECT_FALSE(form.OKButton().isDefault);
    for (char key : {'\b', 'x', '5', '-'}) form.KeyPress(key);
    EXPECT_EQ(form.WidthEdit().text, "5");
    form.KeyPress('\r');
    EXPECT_TRUE(form.WidthEdit().textSelected);
    EXPECT_EQ(GridRows(form), (Rows{"10000", "00000", "00000"}));
    form.KeyPress('2');  // replaces the selected text
    form.FocusHeightEdit();  // leaving the width edit applies it
    EXPECT_EQ(GridRows(form), (Rows{"10", "00", "00"}));
    form.KeyPress('\b');
    form.KeyPress('0');
    form.FocusGrid();  // a side of 0 becomes 1
    EXPECT_EQ(form.HeightEdit().text, "1");
    form.SelectCell(1, 0);
    form.KeyPress(' ');
    form.KeyPress('\r');  // OK is no longer the default
    EXPECT_EQ(form.ModalResult(), mrNone);
    form.FocusHeightEdit();
    form.KeyPress('\b');
    form.KeyPress('4');
    form.ClickOK();
  });
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(filter.GetMaskSize()->GetWidth(), 2);
  EXPECT_EQ(filter.GetMaskSize()->GetHeight(), 4);
  TFCMorphShape& shape = *filter.GetMorphShape();
  EXPECT_EQ(shape.Width(), 2u);
  EXPECT_TRUE(shape.GetItem(0, 0));
  EXPECT_TRUE(shape.GetItem(1, 0));
  EXPECT_FALSE(shape.GetItem(1, 3));
}

TEST(MorphShapeForm, CancelEscapeAndNoDisplayChangeNothing) {
  TFCMorphFilter filter(nullptr);
  EXPECT_FALSE(filter.GetMorphShape()->ShowDialog());  // no runner: closed at once
  for (char how : {'c', '\x1b', 'n'}) {
    const bool confirmed = RunDialog(filter, [how](TFCMorphShapeForm& form) {
      form.KeyPress('1');
      form.FocusWidthEdit();
      form.KeyPress('9');
      if (how == 'c') form.ClickCancel();
      if (how == '\x1b') form.KeyPress('\x1b');
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(filter.GetMaskSize()->GetWidth(), 3);
    EXPECT_FALSE(filter.GetMorphShape()->GetItem(0, 0));
  }
}

}  // namespace
}  // namespace fc
