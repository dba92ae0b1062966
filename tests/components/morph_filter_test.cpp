// The morphology filter and its structuring element: generated shapes,
// stored masks, form files and a running stream.
#include <gtest/gtest.h>

#include "components/Fcmorphfilter.h"
#include "dispatch/primitives.h"
#include "platform/runtime/error.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/form_reader.h"
#include "platform/runtime/form_saver.h"
#include "platform/runtime/form_writer.h"
#include "tests/components/filter_run.h"

namespace fc {
namespace {

using test::BytesOf;
using test::TFilterRun;

// The mask in use as rows of '#' (in the element) and '.'.
std::vector<std::string> Picture(const TFCMorphShape& shape) {
  std::vector<std::string> rows;
  for (std::uint32_t y = 0; y < shape.Height(); ++y) {
    std::string row;
    for (std::uint32_t x = 0; x < shape.Width(); ++x) row += shape.MaskInUse()[y * shape.Width() + x] ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

void SetMask(TFCMorphFilter& filter, int width, int height) {
  filter.GetMaskSize()->SetWidth(static_cast<std::uint16_t>(width));
  filter.GetMaskSize()->SetHeight(static_cast<std::uint16_t>(height));
}

using Rows = std::vector<std::string>;

TEST(MorphShape, GeneratesRectanglesCrossesAndEllipses) {
  TFCMorphFilter filter(nullptr);
  TFCMorphShape& shape = *filter.GetMorphShape();
  SetMask(filter, 5, 4);
  EXPECT_EQ(Picture(shape), (Rows{"#####", "#####", "#####", "#####"}));

  SetMask(filter, 5, 5);
  SetPropertyText(filter, "MorphShape.ShapeType", "stCross");
  EXPECT_EQ(Picture(shape), (Rows{"..#..", "..#..", "#####", "..#..", "..#.."}));

  SetMask(filter, 7, 7);
  shape.SetShapeType(stEllipse);
  EXPECT_EQ(Picture(shape), (Rows{"...#...", ".#####.", ".#####.", "#######", ".#####.", ".#####.", "...#..."}));
}

TEST(MorphShape, MasksBelowFourByFourKeepTheirCellsAndCustomCellsStayInPlace) {
  TFCMorphFilter filter(nullptr);
  TFCMorphShape& shape = *filter.GetMorphShape();
  EXPECT_EQ(Picture(shape), (Rows{"...", "...", "..."}));  // never built
  SetMask(filter, 4, 4);
  SetMask(filter, 3, 5);
  EXPECT_EQ(Picture(shape), (Rows{"###", "###", "###", "###", "..."}));

  shape.SetShapeType(stCustom);
  shape.SetItem(2, 1, true);
  shape.SetItem(0, 4, true);
  shape.SetItem(3, 0, true);  // outside the mask: ignored
  EXPECT_FALSE(shape.GetItem(-1, 0));
  SetMask(filter, 4, 2);
  EXPECT_EQ(Picture(shape), (Rows{"....", "..#."}));
}

TEST(MorphShape, AssignCopiesTypeAndMasksFittedToTheFiltersMaskSize) {
  TFCMorphFilter from(nullptr), to(nullptr);
  SetMask(from, 2, 2);
  from.GetMorphShape()->SetShapeType(stCustom);
  from.GetMorphShape()->SetItem(1, 1, true);
  to.SetMorphShape(*from.GetMorphShape());
  EXPECT_EQ(to.GetMorphShape()->GetShapeType(), stCustom);
  EXPECT_EQ(Picture(*to.GetMorphShape()), (Rows{"...", ".#.", "..."}));
}

// A form of one morphology filter with a 3 x 2 mask and `shapeData`.
std::string MorphForm(const std::string& shapeData) {
  return "object Form1: TComponent\n"
         "  object Morph1: TFCMorphFilter\n"
         "    MaskSize.Height = 2\n"
         "    MorphShape.ShapeType = stCustom\n" +
         shapeData +
         "  end\n"
         "end\n";
}

const TClassInfo* LookUp(std::string_view name) {
  if (name == "TFCMorphFilter") return &TFCMorphFilter::StaticClassInfo();
  if (name == "TComponent") return &TComponent::StaticClassInfo();
  return nullptr;
}

TFCMorphShape& ShapeOf(TComponent& root) {
  auto* filter = dynamic_cast<TFCMorphFilter*>(root.FindComponent("Morph1"));
  if (!filter) throw EFCError("no Morph1");
  return *filter->GetMorphShape();
}

TEST(MorphShapeForms, TheOlderMatrixStreamGivesTheSameMaskAsMatrixData) {
  const auto fromData =
      LoadForm(readForm(MorphForm("    MorphShape.MatrixData = (6, 1, 0, 1, 0, 1, 0)\n"), "a.fcf"), LookUp);
  // Count 6, then six little-endian words; 0x101 keeps only its low byte.
  const auto fromMatrix = LoadForm(readForm(MorphForm("    MorphShape.Matrix = {06000000"
                                                      "010000000000000001010000"
                                                      "000100000100000000000000}\n"),
                                            "b.fcf"),
                                   LookUp);
  EXPECT_EQ(Picture(ShapeOf(*fromData)), (Rows{"#.#", ".#."}));
  EXPECT_EQ(Picture(ShapeOf(*fromMatrix)), Picture(ShapeOf(*fromData)));
}

TEST(MorphShapeForms, ACustomShapeSurvivesSavingAndLoading) {
  TComponent root(nullptr);
  root.SetName("Form1");
  auto* filter = new TFCMorphFilter(&root);
  filter->SetName("Morph1");
  SetMask(*filter, 4, 3);
  filter->GetMorphShape()->SetShapeType(stCustom);
  for (auto [x, y] : {std::pair{0, 0}, {3, 0}, {1, 1}, {2, 2}}) filter->GetMorphShape()->SetItem(x, y, true);

  const FormDocument saved = SaveForm(root, "saved.fcf");
  const FormProperty* data = saved.root.findChild("Morph1")->properties.find("MorphShape.MatrixData");
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(saved.root.findChild("Morph1")->properties.find("MorphShape.Matrix"), nullptr);
  const auto loaded = LoadForm(readForm(writeForm(saved), "saved.fcf"), LookUp);
  EXPECT_EQ(ShapeOf(*loaded).GetShapeType(), stCustom);
  EXPECT_EQ(Picture(ShapeOf(*loaded)), (Rows{"#..#", ".#..", "..#."}));
}

TEST(MorphShapeForms, CellsThatDoNotFitTheMaskFailTheLoad) {
  for (const char* data : {"    MorphShape.MatrixData = (4, 1, 0, 1, 0)\n", "    MorphShape.MatrixData = (6, 1)\n",
                           "    MorphShape.Matrix = {0200000001000000}\n"})
    EXPECT_THROW(LoadForm(readForm(MorphForm(data), "bad.fcf"), LookUp), EFCError) << data;
}

TEST(MorphFilter, ErodesColourAndDilatesGreyFramesWithTheShape) {
  TFCMorphFilter morph(nullptr);
  TFilterRun run(morph);
  SetMask(morph, 3, 2);
  morph.GetAnchor()->SetY(0);
  TFCMorphShape& shape = *morph.GetMorphShape();
  shape.SetShapeType(stCustom);
  shape.SetItem(0, 0, true);
  shape.SetItem(2, 1, true);
  TFCRectRegion& region = *morph.GetRegion();
  region.SetX(1);
  region.SetY(0);
  region.SetWidth(6);
  region.SetHeight(5);
  region.SetEnabled(true);
  const Ipp8u mask[6] = {1, 0, 0, 0, 0, 1};

  for (TFCVideoFormat format : {vfRGB24, vfGray8}) {
    morph.SetMorphType(format == vfGray8 ? mtDilate : mtErode);
    const TFCImageBuffer in = test::CountingFrame(9, 7, format, 5);
    TFCImageBuffer expected = in;
    const int bpp = in.BytesPerPixel(), step = in.Step();
    const Ipp8u* src = in.Read() + bpp;
    Ipp8u* dst = expected.Modify() + bpp;
    const IppStatus status =
        format == vfGray8
            ? fc_entry(ippiDilate_8u_C1R)(src, step, dst, step, {6, 5}, mask, {3, 2}, {1, 0})
            : fc_entry(ippiErode_8u_C3R)(src, step, dst, step, {6, 5}, mask, {3, 2}, {1, 0});
    ASSERT_EQ(status, ippStsNoErr);
    const TFCImageBuffer out = run.RunOne(in);
    EXPECT_EQ(out.Format(), format);
    EXPECT_EQ(BytesOf(out), BytesOf(expected));
  }
}

// A 3 x 3 generated shape is never built, so its element is empty until a
// custom one is given: the primitive refuses it and no frame goes on.
TEST(MorphFilter, AnEmptyElementOrAnAnchorOutsideTheMaskDropsTheFrame) {
  TFCMorphFilter morph(nullptr);
  TFilterRun run(morph);
  const TFCImageBuffer in = test::CountingFrame(8, 6);
  std::vector<IppStatus> statuses;
  morph.SetOnError([&](const TFCFailure& failure) { statuses.push_back(failure.status); });
  EXPECT_TRUE(run.Run({in}).empty());
  morph.GetMorphShape()->SetItem(1, 1, true);
  morph.GetMorphShape()->SetShapeType(stCustom);
  EXPECT_EQ(run.Run({in}).size(), 1u);
  morph.GetAnchor()->SetX(9);
  EXPECT_TRUE(run.Run({in}).empty());
  EXPECT_EQ(statuses, (std::vector<IppStatus>{ippStsZeroMaskValuesErr, ippStsAnchorErr}));
}

}  // namespace
}  // namespace fc
